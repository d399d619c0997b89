// The main window in a web page: built from the window description as DOM elements,
// it carries out the commands' control operations, runs the bound commands on their
// events and reports a failed operation in a modal dialog.
#pragma once

#include <emscripten/val.h>

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/form_ops.h"
#include "core/main_form.h"
#include "ui/event_wiring.h"
#include "ui/form_binder.h"
#include "ui/scaled_box.h"
#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

// The menu bar's height in CSS pixels: a whole number of device pixels at the
// usual zoom levels (125 %, 150 %, ...), so the client area starts on a device pixel.
inline constexpr int kMenuBarHeight = 20;

class WebForm final : public FormOps {
public:
    // Builds the window into `parent` and checks that every control the commands and
    // the event table name exists; throws std::runtime_error otherwise, leaving nothing.
    WebForm(const WindowDescription& description, std::span<const EventBinding> bindings, val parent);
    ~WebForm() override;
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;

    MainForm& mainForm() { return form_; }
    // The window's element (menu bar and client area), the client area alone, and a
    // control or menu item by name (undefined if there is none).
    val window() const { return window_; }
    val client() const { return client_; }
    val control(std::string_view name) const;
    val menuItem(std::string_view name) const;
    bool ended() const { return ended_; }
    void setOperationGate(OperationGate gate) { gate_ = std::move(gate); }
    void focusFirst();
    // A colour as the page shows it now, a system colour as the browser's scheme has it.
    ColourValue shown(ColourValue colour) const;
    // The colour a swatch shows, if it is there.
    std::optional<ColourValue> swatchColour(std::string_view name) const;

    // A DOM event the page's listener passed on; true if the browser's own handling
    // of it is to be prevented.
    bool handle(const std::string& type, const std::string& control, const std::string& part, const std::string& key,
                int modifiers);

    Status bandText(BandList list, std::string& text) override;
    Status setBandText(BandList list, std::string_view text) override;
    Status setSwatchColour(Swatch swatch, ColourValue colour) override;
    Status setCaption(Label label, std::string_view caption) override;
    Status setFontSize(Label label, float points) override;
    Status setTop(Label label, float twips) override;
    void endProgram() override;

private:
    struct Combo {
        val box = val::undefined();
        val field = val::undefined();
        val button = val::undefined();
        val list = val::undefined();
        std::vector<val> options;
        int selected = -1;     // the entry the field shows, if it shows one
        int highlighted = -1;  // in the open list
        bool open = false;
    };
    struct Menu {
        val title = val::undefined();
        val popup = val::undefined();
        val item = val::undefined();
        bool open = false;
    };

    void build(const WindowDescription& description);
    void buildMenus(const WindowDescription& description);
    val buildCombo(const ControlDescription& c);
    void check(const WindowDescription& description, std::span<const EventBinding> bindings) const;
    void wire(std::span<const EventBinding> bindings);
    // Colours that CSS cannot follow by itself: the picture's swatches and band 4's
    // text on its fixed white; again whenever the scheme or the zoom changes.
    void applyColours();
    void paintPicture();
    void run(std::string_view control, int index);
    void report(std::string_view title, std::string_view message);

    bool comboKey(Combo& combo, std::string_view name, const std::string& key, int modifiers);
    void openList(Combo& combo);
    void placeList(Combo& combo);
    void closeList(Combo& combo);
    void highlight(Combo& combo, int row);
    void pick(Combo& combo, std::string_view name, int row);
    void showText(Combo& combo, std::string_view text);
    bool menuKey(std::size_t menu, const std::string& part, const std::string& key);
    void openMenu(std::size_t menu, bool focusItem);
    void closeMenus();
    // Notes where the focus is before it moves into the menu bar.
    void enterMenuBar();
    void leaveMenuBar();
    void closeEverythingOpen();
    void nameSwatch(Swatch swatch);

    Combo* combo(std::string_view name);
    // An element id of this window's own, so that two windows in one page never share one.
    std::string idOf(std::string_view name) const;
    template <typename Check>
    Status admit(std::string_view name, Operation operation, Check kind, val& element) const;

    const WindowDescription& description_;
    val parent_;
    val window_ = val::undefined();
    val client_ = val::undefined();
    val popups_ = val::undefined();  // open lists, over the client area and whatever lies below the window
    val dialog_ = val::undefined();
    val menuBar_ = val::undefined();
    val focusBeforeMenus_ = val::undefined();  // where the focus goes back to when the menus close
    val listening_ = val::undefined();
    std::map<std::string, val, std::less<>> controls_;
    std::map<std::string, Combo, std::less<>> combos_;
    std::map<std::string, ColourValue, std::less<>> swatchFills_;
    // System colours as the browser's scheme has them, read back once per scheme.
    mutable std::map<ColourValue, ColourValue> schemeColours_;
    std::vector<Menu> menus_;
    std::map<std::string, std::string, std::less<>> menuItemNames_;  // item name to its menu's
    std::map<std::string, const EventBinding*, std::less<>> clicks_;
    BoxImage pixels_{};
    MainForm form_{*this};
    OperationGate gate_;
    int id_;
    bool ended_ = false;
};

// Opens the program's one window in `parent` through the main-window reference;
// `holder` owns it from then on.
WebForm& openMainWindow(std::unique_ptr<WebForm>& holder, val parent);

}  // namespace vaskelo::web
