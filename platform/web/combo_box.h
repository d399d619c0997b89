// A band list in the page, drawn as a desktop drop-down list is: an editable field, a
// button that opens the list, and the list itself in the window's popup layer, below
// or above the field. Only a choice from the list (a click or Enter on an entry, an
// arrow key on the closed list) is a pick; what it picks goes to its owner's callback.
#pragma once

#include <emscripten/val.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/web/dom.h"
#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

class ComboBox {
public:
    // Called before the list opens, to close whatever is open in the window (this list too).
    using Opening = std::function<void()>;
    // Called after a pick, with the picked entry shown in the field.
    using Picked = std::function<void()>;

    // Builds the field and its button into `client` and the closed list into `popups`,
    // whose open lists are placed from `frame`'s corner, at the frame's `zoom`; element
    // ids start with `id`.
    ComboBox(const ControlDescription& described, const std::string& id, val client, val popups, val frame,
             const Zoom& zoom, Opening opening, Picked picked);

    val box() const { return box_; }
    val field() const { return field_; }
    std::string text() const;
    bool isOpen() const { return open_; }
    void close();
    // Shows `text` in the field with the entry of that name selected, if any, without
    // counting as a pick. Text that is no entry leaves no entry selected, so the next
    // arrow key starts from the first entry.
    void showText(std::string_view text);

    // The page's events on its parts (named by their data-part); each returns true where
    // the browser's own handling is to be prevented. A press elsewhere than on the
    // button or an entry is not the list's own: it returns false and does nothing. A
    // finger's press (`touch`) on the field opens the list too, without a keyboard.
    bool pressed(const std::string& part, bool touch);
    bool clicked(const std::string& part);
    bool key(const std::string& key, int modifiers);
    void focusLost();

private:
    void open();
    void place();
    void highlight(int row);
    void pick(int row);

    val frame_;
    const Zoom& zoom_;
    val box_ = val::undefined();
    val field_ = val::undefined();
    val button_ = val::undefined();
    val list_ = val::undefined();
    std::vector<val> options_;
    Opening opening_;
    Picked picked_;
    int selected_ = -1;     // the entry the field shows, if it shows one
    int highlighted_ = -1;  // in the open list
    bool open_ = false;
};

}  // namespace vaskelo::web
