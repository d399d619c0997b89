// What the window suite asks of a toolkit: a driver opens the real window, makes a
// user's actions on it with real input, and reads back what the window shows, in
// toolkit-free terms (UTF-8 texts, colours 0x00BBGGRR, pixels). Each toolkit's test
// programs implement it once; the scenarios in window_suite.h are written against it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/band_colours.h"
#include "core/main_form.h"
#include "model/window_model.h"
#include "tests/window/scaled_window_checks.h"
#include "ui/event_wiring.h"
#include "ui/form_binder.h"
#include "ui/window_description.h"

namespace vaskelo::suite {

using scaling::NamedRect;

// The band's list, bands counted from 0.
inline std::string listName(int band) { return std::string(controlName(static_cast<BandList>(band))); }

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Device pixels of the surface the toolkit draws the window on, 0x00BBGGRR.
struct Grab {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t operator()(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0xFF000000u;  // matches no colour
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// A message box the program showed: read while it was up, then answered.
struct Report {
    std::string title;
    std::string text;
    std::string button;
};

struct MenuItemFacts {
    std::string text;
    bool hasShortcut = false;
    bool checkable = false;
    std::optional<unsigned> number;  // where the toolkit carries the item's number
};
struct MenuFacts {
    std::string title;
    std::vector<MenuItemFacts> items;
};

struct FontFacts {
    double points = 0;
    bool bold = false;
    std::string family;  // as the toolkit resolved it
    std::optional<bool> turkishCharset;  // where the toolkit has character sets
    bool drawsTurkishLetters = false;    // "ıİşŞğĞüÜöÖçÇ", each with a glyph of its own
};

inline constexpr std::u16string_view kTurkishLetters = u"ıİşŞğĞüÜöÖçÇ";

// How the program ended: its exit code, whether its window and controls are gone,
// and any question or message it showed on the way.
struct Ending {
    int code = -1;
    bool windowGone = false;
    Report report;
};

// The system colours a desktop's colour scheme gives, as plain colours.
struct Scheme {
    ColourValue window;      // the window background, system colour 5
    ColourValue windowText;  // 8
    ColourValue buttonFace;  // 15: the window's own background and the labels'
    ColourValue buttonText;  // 18
    ColourValue highlight;
    ColourValue highlightText;
};

class WindowDriver {
public:
    virtual ~WindowDriver() = default;

    // A new window, as after the program's start, in front and taking input.
    virtual void open() = 0;
    virtual void close() = 0;
    // Why the window could not take a user's input, or nothing.
    virtual std::string notReady() = 0;
    virtual MainForm& mainForm() = 0;

    // The user's input, each piece real input through the toolkit; the suite makes every
    // action of the model from these (act() in window_suite.h).
    enum class Key { Down, Up, Enter, Tab, AltDown, F4 };
    // Presses the keys in turn in the band's list, which first takes the focus as a user
    // gives it, unless it has it; while the list is open they go to the open list.
    virtual void keys(int band, const std::vector<Key>& keys) = 0;
    // Whether the band's list comes to be open (`open`) or closed after the input so far.
    virtual bool listBecomes(int band, bool open) = 0;
    // Opens the band's list with the mouse (a finger on a touch screen) and picks the
    // row; false if the pick did not take.
    virtual bool pickWithMouse(int band, int row) = 0;
    // Replaces the text of the band's list with `text`, typed.
    virtual void type(int band, const std::string& text) = 0;
    // Clicks the control, or taps it on a touch screen, where it shows in the window.
    virtual void click(std::string_view control) = 0;
    // Chooses the one item of the menu at `position` on the bar, with the mouse or the
    // way the toolkit's other input reaches it; false if the menu stayed open.
    virtual bool chooseMenu(int position, bool byMouse) = 0;
    // Ends the program with its Exit item: true if it ended with code 0 and its window went.
    virtual bool exitByMenu(bool /*byMouse*/) {
        const Ending ending = end(true);
        return ending.code == 0 && ending.windowGone;
    }
    // Makes one action's input; a toolkit whose input can be caught in a loop of its
    // own (a menu's, a list's) ends it there and says false.
    virtual bool guarded(const std::function<bool()>& input) { return input(); }

    // The row an arrow key on a closed list picks, as this toolkit's list moves from
    // what the model expects; nothing if the key picks nothing.
    virtual std::optional<int> arrowPick(const model::State& expected, int band, bool down) {
        return model::arrowRow(band, expected.selected[static_cast<std::size_t>(band)], down);
    }
    // What typing `text` into the list leaves in the model: its text, and its row.
    virtual void noteTyped(model::State& expected, int band, const std::string& text);

    // What the window shows, for shown() in window_suite.h: whether it is gone, each
    // list's selected row, the swatches' colours (with `pixels`, as the screen shows
    // their middles), and the result's size in points and its top in twips.
    virtual bool gone() { return false; }
    virtual int selectedRow(int band) = 0;
    virtual std::array<ColourValue, 4> swatches(bool pixels) = 0;
    virtual std::pair<float, float> resultPointsAndTop() = 0;
    virtual ColourValue windowBackground() = 0;
    // The seeded random run a plain test run makes (VASKELO_MODEL_SEED and
    // VASKELO_MODEL_ACTIONS override it): builds that run the same window give
    // themselves different seeds, so that together they make more distinct sequences.
    struct RandomRun {
        std::uint32_t seed;
        int actions;
    };
    virtual RandomRun defaultRandomRun() = 0;

    // Opens the band's list with the keyboard, moves through it and leaves it with
    // Escape; false if the list did not open or close, or the window moved meanwhile.
    virtual bool browseOpenListAndCancel(int band) = 0;
    // Opens a menu and closes it with Escape, and presses the keys a dialog answers
    // (Enter, Escape) where no field has the focus; false if the menu did not open or close.
    virtual bool cancelMenuAndPressDialogKeys() = 0;
    // Opens the menu at `position` with the mouse and gives its title's device area while
    // it is open, for a look at it; nothing where the toolkit cannot hold it open for a grab.
    virtual std::optional<NamedRect> openMenuTitle(int /*position*/) { return std::nullopt; }
    virtual void resize(int width, int height) = 0;
    virtual void focus(std::string_view control) = 0;
    // Sets the system colours as a desktop's colour scheme does, also while the window
    // is shown; nullptr gives back the ones the run began with. Returns the colours the
    // window now has for them: the same, where the toolkit takes any (a browser has its
    // own light, dark and forced colours, and takes the nearest).
    virtual Scheme setScheme(const Scheme* scheme) = 0;
    virtual Ending end(bool byMenu) = 0;

    virtual std::string title() = 0;
    virtual Size clientSize() = 0;
    // The control's rectangle in its container, in the toolkit's own pixels (at 96
    // dpi, the description's).
    virtual NamedRect place(std::string_view control) = 0;
    // The control in the surface the toolkit scales as a whole (the window, or its
    // client area): in 96-dpi pixels, and in device pixels as grab() holds them.
    virtual NamedRect surfacePlace(std::string_view control) = 0;
    virtual NamedRect devicePlace(std::string_view control) = 0;
    // Where the control shows its colours and text, in device pixels as grab() holds
    // them: a list's field, a box's interior, a label's whole box.
    virtual NamedRect deviceArea(std::string_view control) = 0;
    // The client area on the screen in device pixels, as far as the grab holds it.
    virtual Size deviceClientSize() = 0;
    virtual std::string caption(std::string_view control) = 0;
    virtual std::vector<std::string> entries(int band) = 0;
    virtual FontFacts font(std::string_view control) = 0;
    virtual Size textExtent(std::string_view control, std::string_view text) = 0;
    virtual std::string focused() = 0;  // the control with the keyboard focus, or ""
    virtual std::vector<MenuFacts> menus() = 0;
    virtual double scale() = 0;
    // Whether a finger makes the input, on a touch screen: a pick there is a tap.
    virtual bool touchScreen() { return false; }
    virtual std::optional<double> expectedScale() = 0;  // the scale this run was started at
    virtual Grab grab() = 0;

    // What a screen reader says for the control (its name, with its label's or its
    // value), and what it adds about it.
    virtual std::string spoken(std::string_view control) = 0;
    virtual std::string spokenDescription(std::string_view control) = 0;
    // From now on, notes which controls announce a new name to screen readers;
    // nothing where the toolkit announces only to a listening screen reader.
    virtual void listenForRenames() = 0;
    virtual std::optional<bool> announcedRename(std::string_view control) = 0;

    // Whatever message box the action shows, read and answered; empty if none.
    virtual Report reportDuring(const std::function<void()>& action) = 0;
    // The text on the button of the program's message boxes, where it is the toolkit's.
    virtual std::string okButton() = 0;
    virtual void setOperationGate(OperationGate gate) = 0;
    // Takes the control away from under the program, so the next operation on it fails.
    virtual void destroyControl(std::string_view control) = 0;
    // Builds a window from the description: the start-up error, or "" if it was built.
    virtual std::string buildError(const WindowDescription& description, std::span<const EventBinding> bindings) = 0;
    // Whether a window of the program other than the driver's own is left on the screen.
    virtual bool strayWindow() = 0;
};

}  // namespace vaskelo::suite
