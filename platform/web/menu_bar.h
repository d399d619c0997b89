// The window's menu bar in the page: a title per menu, each opening a popup with its
// one item. Entered by F10 or a press on a title, it gives the focus back to the
// control that had it when it is left; an item runs through its owner's callback.
#pragma once

#include <emscripten/val.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

// The menu bar's height in CSS pixels: a whole number of device pixels at the
// usual zoom levels (125 %, 150 %, ...), so the client area starts on a device pixel.
inline constexpr int kMenuBarHeight = 20;

class MenuBar {
public:
    // Runs a menu item: its name and its number in the description.
    using Run = std::function<void(std::string_view item, int index)>;
    // Closes whatever is open in the window, these menus too.
    using CloseAll = std::function<void()>;
    // Puts the focus on the window's first control, where the one that had it is gone.
    using FocusFirst = std::function<void()>;

    // Builds the bar into `window`; element ids start with `idPrefix`.
    MenuBar(std::span<const MenuDescription> menus, const std::string& idPrefix, val window, Run run, CloseAll closeAll,
            FocusFirst focusFirst);

    // Whether `name` is one of its menus' titles or items.
    bool owns(std::string_view name) const { return indexOf(name).has_value(); }
    val item(std::string_view name) const;
    bool hasMenus() const { return !menus_.empty(); }

    // The page's events on a title or an item of menu `name`; each returns true where
    // the browser's own handling is to be prevented. A press or a click elsewhere than
    // on a title or an item is not the bar's own: it returns false and does nothing.
    bool pressed(std::string_view name, const std::string& part);
    bool clicked(std::string_view name, const std::string& part);
    bool key(std::string_view name, const std::string& part, const std::string& key);
    // F10: the focus goes to the first title, from wherever it is.
    void enter();
    void close();

private:
    struct Menu {
        val title = val::undefined();
        val popup = val::undefined();
        val item = val::undefined();
        bool open = false;
    };

    std::optional<std::size_t> indexOf(std::string_view name) const;
    void open(std::size_t index, bool focusItem);
    // Notes where the focus is before it moves into the menu bar.
    void noteFocus();
    void leave();
    void runItem(std::size_t index);

    std::span<const MenuDescription> described_;
    val window_;
    val bar_ = val::undefined();
    val focusBefore_ = val::undefined();  // where the focus goes back to when the menus close
    std::vector<Menu> menus_;
    Run run_;
    CloseAll closeAll_;
    FocusFirst focusFirst_;
};

}  // namespace vaskelo::web
