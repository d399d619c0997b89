// The main window in a web page: built from the window description as DOM elements,
// it carries out the commands' control operations, runs the bound commands on their
// events and reports a failed operation in a modal dialog.
#pragma once

#include <emscripten/val.h>

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/form_ops.h"
#include "core/main_form.h"
#include "platform/web/combo_box.h"
#include "platform/web/dom.h"
#include "platform/web/menu_bar.h"
#include "platform/web/picture.h"
#include "ui/event_wiring.h"
#include "ui/form_binder.h"
#include "ui/gated_form.h"
#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

class WebForm final : public GatedForm {
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
    void focusFirst();
    // How much the page enlarges the window now, and an element of it as the viewport shows it.
    double zoom() const { return zoom_.level; }
    Box shownBox(const val& e) const { return shownBoxOf(e, zoom_); }
    // A colour as the page shows it now, a system colour as the browser's scheme has it.
    ColourValue shown(ColourValue colour) const;
    // The colour a swatch shows, if it is there.
    std::optional<ColourValue> swatchColour(std::string_view name) const;

    // A DOM event the page's listener passed on; true if the browser's own handling
    // of it is to be prevented.
    bool handle(const std::string& type, const std::string& control, const std::string& part, const std::string& key,
                int modifiers);

    void endProgram() override;

private:
    bool present(std::string_view name, ControlKind kind) const override;
    Status readBandText(BandList list, std::string& text) override;
    Status writeBandText(BandList list, std::string_view text) override;
    Status fillSwatch(Swatch swatch, ColourValue colour) override;
    Status writeCaption(Label label, std::string_view caption) override;
    Status applyFontSize(Label label, float points) override;
    Status moveTop(Label label, float twips) override;
    // All the window knows of one control, in one place. A bound menu item has one too,
    // for its click alone: the menu bar holds its element.
    struct Control {
        const ControlDescription* described = nullptr;  // none for a menu item
        val element = val::undefined();
        std::optional<ComboBox> list;       // a band list's field, button and list
        std::optional<ColourValue> fill;    // a swatch's colour, painted by the picture it stands in
        const EventBinding* click = nullptr;
    };

    void build(const WindowDescription& description);
    val buildControl(const ControlDescription& c, Control& record);
    void buildDialog();
    void check(const WindowDescription& description, std::span<const EventBinding> bindings) const;
    void wire(std::span<const EventBinding> bindings);
    // Colours that CSS cannot follow by itself: the picture's swatches and band 4's
    // text on its fixed white; again whenever the scheme or the zoom changes.
    void applyColours();
    void paintPicture();
    // On a touch screen, or in a viewport narrower than the window, the whole window is
    // enlarged or reduced to the largest size the viewport holds (fit.js); elsewhere it
    // is as described.
    void fit();
    // Reads back where the page shows the window now: its zoom as getBoundingClientRect
    // gives it, and the client area's corner in the page, which the picture is drawn from.
    void measure();
    void run(std::string_view control, int index);
    void report(std::string_view title, std::string_view message);
    void closeEverythingOpen();
    void nameSwatch(Swatch swatch);

    const Control* find(std::string_view name) const;
    ComboBox* combo(std::string_view name);
    // An element id of this window's own, so that two windows in one page never share one.
    std::string idOf(std::string_view name) const;

    const WindowDescription& description_;
    val parent_;
    val window_ = val::undefined();
    val client_ = val::undefined();
    val popups_ = val::undefined();  // open lists, over the client area and whatever lies below the window
    val dialog_ = val::undefined();
    val listening_ = val::undefined();
    std::optional<MenuBar> menuBar_;
    std::map<std::string, Control, std::less<>> controls_;
    // System colours as the browser's scheme has them, read back once per scheme.
    mutable std::map<ColourValue, ColourValue> schemeColours_;
    Picture picture_;
    Zoom zoom_;
    Box clientInPage_{0, 0, 0, 0};
    MainForm form_{*this};
    int id_;
    bool ended_ = false;
};

// Opens the program's one window in `parent` through the main-window reference;
// `holder` owns it from then on.
WebForm& openMainWindow(std::unique_ptr<WebForm>& holder, val parent);

}  // namespace vaskelo::web
