#include "tests/window/window_suite.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <new>
#include <tuple>

#include "core/band_colours.h"
#include "core/readable_text.h"
#include "core/runtime_error.h"
#include "ui/resistor_picture.h"
#include "ui/scaled_box.h"

namespace vaskelo::suite {

using model::Action;
using model::Kind;

std::string Checks::joined() const {
    std::string all;
    for (const std::string& fault : faults_) all += "\n  " + fault;
    return all;
}

namespace {

using Key = WindowDriver::Key;

// Opens the list from the keyboard (Alt+Down, or F4 for odd rows), goes up to its top
// and down to the entry, and takes it with Enter. Up rather than Home: in a field that
// keeps the focus while its list is open, Home moves the caret.
bool pickWithKeys(WindowDriver& d, int band, int row) {
    d.keys(band, {row % 2 == 0 ? Key::AltDown : Key::F4});
    if (!d.listBecomes(band, true)) return false;
    std::vector<Key> moves(model::entries(band).size(), Key::Up);
    moves.insert(moves.end(), static_cast<std::size_t>(row), Key::Down);
    moves.push_back(Key::Enter);
    d.keys(band, moves);
    return d.listBecomes(band, false) && d.selectedRow(band) == row &&
           d.caption(listName(band)) == model::entries(band)[static_cast<std::size_t>(row)];
}

bool input(WindowDriver& d, const Action& a) {
    switch (a.kind) {
        case Kind::KeyDown: d.keys(a.band, {Key::Down}); return true;
        case Kind::KeyUp: d.keys(a.band, {Key::Up}); return true;
        case Kind::MousePick: return d.pickWithMouse(a.band, a.row);
        case Kind::KeyPick: return pickWithKeys(d, a.band, a.row);
        case Kind::Type: d.type(a.band, a.text); return true;
        case Kind::Enter: d.keys(a.band, {Key::Enter}); return true;
        case Kind::Leave: d.keys(a.band, {Key::Tab}); return true;
        case Kind::Calculate: d.click("CommDH"); return true;
        case Kind::ResetButton: d.click("DYeni"); return true;
        // Row 1 chooses a menu's item with the mouse, row 0 the other way.
        case Kind::ResetMenu: return d.chooseMenu(1, a.row == 1);
        case Kind::About: return d.chooseMenu(2, a.row == 1);
        case Kind::Exit: return d.exitByMenu(a.row == 1);
        case Kind::ClickElsewhere: d.click(model::kClickTargets[static_cast<std::size_t>(a.row)]); return true;
    }
    return false;
}

}  // namespace

bool act(WindowDriver& d, const Action& a) {
    return d.guarded([&] { return input(d, a); });
}

model::State shown(WindowDriver& d, bool pixels) {
    model::State s;
    if (d.gone()) {
        s.result = "(the window gone)";  // which no window shows
        return s;
    }
    const std::array<ColourValue, 4> swatches = d.swatches(pixels);
    for (int band = 0; band < 4; ++band) {
        const auto i = static_cast<std::size_t>(band);
        s.texts[i] = d.caption(listName(band));
        s.selected[i] = d.selectedRow(band);
        s.swatches[i] = swatches[i];
    }
    s.first = d.mainForm().digits().FirstDigit;
    s.second = d.mainForm().digits().SecondDigit;
    s.result = d.caption("Ls1");
    std::tie(s.points, s.top) = d.resultPointsAndTop();
    s.tolerance = d.caption("Les2");
    return s;
}

// A field holds 32,767 UTF-16 units, on every toolkit; a character that would not fit
// whole is left out.
void WindowDriver::noteTyped(model::State& expected, int band, const std::string& text) {
    std::size_t units = 0;
    std::size_t end = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units += bytes == 4 ? 2 : 1;
        if (units > 32767) break;
        end += bytes;
    }
    expected.texts[static_cast<std::size_t>(band)] = text.substr(0, end);
}

void Session::open() {
    driver_.open();
    expected = model::initial(driver_.windowBackground());
}

std::optional<std::vector<model::Write>> Session::make(const Action& a) {
    const bool arrow = a.kind == Kind::KeyDown || a.kind == Kind::KeyUp;
    const std::optional<int> row = arrow ? driver_.arrowPick(expected, a.band, a.kind == Kind::KeyDown) : std::nullopt;
    std::vector<model::Write> writes = a.kind == Kind::Calculate ? model::calculate(expected) : std::vector<model::Write>{};
    const bool made = act(driver_, a);
    switch (a.kind) {
        case Kind::KeyDown:
        case Kind::KeyUp:
            if (made && row) writes = model::pickRow(expected, a.band, *row);
            break;
        case Kind::MousePick:
        case Kind::KeyPick:
            if (made) writes = model::pickRow(expected, a.band, a.row);
            break;
        case Kind::Type:
            if (made) driver_.noteTyped(expected, a.band, a.text);
            break;
        case Kind::ResetButton:
        case Kind::ResetMenu: writes = model::reset(); break;
        case Kind::About: writes = model::about(); break;
        case Kind::Exit:
            // The window goes; the next action finds a new one, as after a new start.
            if (made) {
                open();
            } else {
                expected.result = "(the window gone)";  // which no window shows
            }
            return writes;
        case Kind::Enter:
        case Kind::Leave:
        case Kind::Calculate:
        case Kind::ClickElsewhere: break;
    }
    if (!made) return std::nullopt;
    return writes;
}

bool Session::perform(const Action& action) {
    const auto writes = make(action);
    if (writes) model::applyAll(expected, *writes);
    return writes.has_value();
}

void Session::perform(std::initializer_list<Action> actions) {
    for (const Action& a : actions) perform(a);
}

bool Session::matches(bool pixels) { return model::matches(shown(driver_, pixels), expected); }

std::string Session::mismatch(bool pixels) {
    const model::State now = shown(driver_, pixels);
    if (model::matches(now, expected)) return {};
    return "window " + model::describe(now) + "\n  model  " + model::describe(expected);
}

namespace {

constexpr ColourValue kYellow = 0x00FFFF;
constexpr ColourValue kPurple = 0x800080;
constexpr ColourValue kBlue = 0xFF0000;
constexpr ColourValue kBrown = 0x0040C0;

int rowOf(int band, std::string_view entry) {
    const auto list = model::entries(band);
    return static_cast<int>(std::find(list.begin(), list.end(), entry) - list.begin());
}

// A pick with the arrow keys on the closed list, from wherever the list stands.
void pickWithKeys(Session& s, Checks& c, int band, std::string_view entry) {
    const auto i = static_cast<std::size_t>(band);
    for (int tries = 0; tries < 20 && s.expected.texts[i] != entry; ++tries) {
        const bool down = s.expected.selected[i] < 0 || s.expected.selected[i] < rowOf(band, entry);
        s.perform({down ? Kind::KeyDown : Kind::KeyUp, band});
    }
    c.equal(s.expected.texts[i], std::string(entry), "the arrow keys reach the entry");
}

void pick(Session& s, int band, std::string_view entry, Kind how) { s.perform({how, band, rowOf(band, entry)}); }

void expectModel(Session& s, Checks& c, std::string_view when, bool pixels = true) {
    const std::string difference = s.mismatch(pixels);
    if (!difference.empty()) c.add(std::string(when) + ":\n  " + difference);
}

// Window scenarios. Bands are counted from 0 here: band 0 is Cr1.

void startsInItsInitialState(WindowDriver& d, Checks& c) {
    Session s(d);
    c.expect(designatedMainForm() == &d.mainForm(), "the window's form is the designated main form");
    c.equal(d.title(), "Vaskelo", "title");
    c.equal(d.clientSize(), Size{375, 285}, "client area");
    expectModel(s, c, "after start");
    const NamedRect result = d.place("Ls1");
    c.equal(std::pair(result.left, result.top), std::pair(8, 200), "Ls1's place");
    struct FontRow {
        const char* control;
        const char* family;
        double points;
        bool bold;
    };
    const FontRow fonts[] = {{"Ls1", "Arial", 48, true}, {"CommDH", "MS Sans Serif", 12, true}, {"Lr1", "MS Sans Serif", 8, false}};
    for (const FontRow& row : fonts) {
        const FontFacts font = d.font(row.control);
        const std::string what = std::string(row.control) + "'s font";
        // The family described, or on Linux its metric-compatible stand-in (in the web page,
        // the stand-in cut to the window's letters and renamed, as its licence asks).
        c.expect(font.family == row.family || font.family == "Liberation Sans" || font.family == "Vaskelo Sans",
                 what + " is " + font.family);
        // Within half a pixel at 96 dpi: a toolkit may keep a size in whole pixels.
        c.expect(std::abs(font.points - row.points) <= 0.375, what + "'s size is " + std::to_string(font.points));
        c.equal(font.bold, row.bold, what + " bold");
        c.expect(font.turkishCharset.value_or(true) && font.drawsTurkishLetters, what + " lacks Turkish letters");
    }
    c.equal(d.caption("CommDH"), "D e ğ e r i   H e s a p l a", "CommDH's caption");
    c.equal(d.focused(), "pd1", "the focus at start");
}

void controlsStandWhereTheDescriptionPutsThem(WindowDriver& d, Checks& c) {
    const NamedRect rows[] = {
        {"pd1", 8, 8, 365, 105},        // the picture, its border included
        {"pr1", 49, 9, 91, 87},         // band 1's swatch, inside the picture's border
        {"pr4", 241, 9, 283, 87},       //
        {"Cr1", 8, 136, 89, -1},        // a list's height: its font decides it
        {"Cr4", 248, 136, 329, -1},     // one pixel over band 3's list
        {"CommDH", 8, 160, 329, 185},   //
        {"DYeni", 333, 136, 366, 185},  // at 333 1/3 pixels
    };
    for (NamedRect row : rows) {
        const NamedRect place = d.place(row.name);
        if (row.bottom < 0) row.bottom = place.bottom;
        c.equal(place, row, row.name + "'s place");
    }
}

void resizingMovesNothing(WindowDriver& d, Checks& c) {
    const auto places = [&d] {
        std::vector<NamedRect> all;
        for (const ControlDescription& control : mainWindowDescription().controls) all.push_back(d.place(control.name));
        return all;
    };
    const std::vector<NamedRect> before = places();
    d.resize(900, 700);
    d.resize(120, 90);
    const std::vector<NamedRect> after = places();
    for (std::size_t i = 0; i < before.size(); ++i) c.equal(after[i], before[i], "after resizing");
    // With little room below the lists, band 3's last entry is still there to click.
    d.resize(480, 330);
    Session s(d);
    pick(s, 2, "-", Kind::MousePick);
    pick(s, 2, "Siyah", Kind::MousePick);
    expectModel(s, c, "after picking at both ends of a list in a short window");
}

void menusHaveNoAccessKeysOrShortcuts(WindowDriver& d, Checks& c) {
    struct Row {
        const char* title;
        const char* item;
        unsigned number;
    };
    const Row rows[] = {{"Dosya", "Çıkış", 11}, {"Düzenleme", "Yeni", 31}, {"Yardım", "Hakkında", 21}};
    const std::vector<MenuFacts> menus = d.menus();
    c.equal(menus.size(), std::size(rows), "menus on the bar");
    for (std::size_t i = 0; i < std::min(menus.size(), std::size(rows)); ++i) {
        c.equal(menus[i].title, rows[i].title, "menu title");
        c.equal(menus[i].items.size(), 1u, std::string(rows[i].title) + "'s items");
        if (menus[i].items.empty()) continue;
        const MenuItemFacts& item = menus[i].items[0];
        c.equal(item.text, rows[i].item, "menu item, with no '&' and no shortcut after it");
        c.expect(!item.hasShortcut && !item.checkable, item.text + " has a shortcut or a check mark");
        if (item.number) c.equal(*item.number, rows[i].number, item.text + "'s number");
    }
}

void listsOfferTheirEntriesUnsorted(WindowDriver& d, Checks& c) {
    c.equal(d.entries(0), std::vector<std::string>{"Kahverengi", "Kırmızı", "Turuncu", "Sarı", "Yeşil", "Mavi", "Mor", "Gri", "Beyaz"},
            "Cr1's entries");
    const std::vector<std::string> multipliers = d.entries(2);
    c.equal(multipliers.size() > 10 ? multipliers[10] : "", "-", "Cr3's last entry");
    c.equal(d.entries(3), std::vector<std::string>{"Altın", "Gümüş"}, "Cr4's entries");
}

void arrowKeysPickFromTheFirstEntry(WindowDriver& d, Checks& c) {
    Session s(d);
    s.perform({Kind::KeyDown, 0});
    model::State now = shown(d, true);
    c.equal(now.texts[0], "Kahverengi", "Down on a new list");
    c.equal(now.swatches[0], kBrown, "pr1 after Kahverengi");
    c.equal(now.first, "1", "FirstDigit after Kahverengi");
    pickWithKeys(s, c, 0, "Mor");
    now = shown(d, true);
    c.equal(now.swatches[0], kPurple, "pr1 after Mor");
    c.equal(now.first, "7", "FirstDigit after Mor");
    expectModel(s, c, "after the arrow keys");
}

void onlyAConfirmedChoiceFromTheOpenListIsAPick(WindowDriver& d, Checks& c) {
    Session s(d);
    for (const Kind how : {Kind::KeyPick, Kind::MousePick}) {
        const std::string via = how == Kind::KeyPick ? " with Enter" : " with a click";
        pick(s, 1, "Siyah", how);
        c.equal(shown(d, true).swatches[1], kBlackColour, "pr2 after Siyah" + via);
        c.equal(shown(d, false).second, "0", "SecondDigit after Siyah" + via);
        pick(s, 1, "Mavi", how);
        c.equal(shown(d, true).swatches[1], kBlue, "pr2 after Mavi" + via);
        c.equal(shown(d, false).second, "6", "SecondDigit after Mavi" + via);
    }
    // Band 3's "-" divides and has no colour: the swatch keeps the last one.
    pick(s, 2, "Mavi", Kind::MousePick);
    pick(s, 2, "-", Kind::MousePick);
    c.equal(shown(d, false).texts[2], "-", "Cr3 after \"-\"");
    c.equal(shown(d, true).swatches[2], kBlue, "pr3 after \"-\"");
    // Moving through the open list and leaving it with Escape runs nothing (the field
    // may show the highlighted entry, as the toolkit's list has it).
    const model::State before = shown(d, true);
    c.expect(d.browseOpenListAndCancel(1), "the open list opens, its keys move nothing else, and it closes");
    const model::State after = shown(d, true);
    c.equal(after.swatches, before.swatches, "swatches after browsing the open list");
    c.equal(std::pair(after.first, after.second), std::pair(before.first, before.second), "digits after browsing the open list");
}

void typingEnterAndLeavingRunNothing(WindowDriver& d, Checks& c) {
    Session s(d);
    for (const char* typed : {"Sarı", "Ka", "Kirmizi", "مرحبا 🙂"}) {
        pickWithKeys(s, c, 0, "Mor");
        s.perform({{Kind::Type, 0, 0, typed}, {Kind::Enter, 0}, {Kind::Leave, 0}});
        c.equal(shown(d, false).texts[0], typed, "Cr1 after typing, Enter and Tab");
        c.expect(d.focused() != "Cr1", "Tab leaves the field");
        expectModel(s, c, std::string("after typing ") + typed);
    }
}

void calculationShowsValueAndTolerance(WindowDriver& d, Checks& c) {
    Session s(d);
    pickWithKeys(s, c, 0, "Sarı");
    pickWithKeys(s, c, 1, "Mor");
    pick(s, 2, "Kırmızı", Kind::MousePick);
    pickWithKeys(s, c, 3, "Altın");
    s.perform({Kind::Calculate});
    c.equal(d.caption("Ls1"), "4,7K", "the value");
    c.equal(d.caption("Les2"), "%5", "the tolerance");
    // The labels fit their text.
    const Size value = d.textExtent("Ls1", "4,7K");
    c.equal(d.place("Ls1"), NamedRect{"Ls1", 8, 200, 8 + value.width, 200 + value.height}, "Ls1 around its text");
    const NamedRect tolerance = d.place("Les2");
    c.equal(tolerance.right - tolerance.left, d.textExtent("Les2", "%5").width, "Les2's width");
    expectModel(s, c, "after calculating");
    // Typed text over a pick makes the result a prompt.
    s.perform({{Kind::Type, 0, 0, "Mor"}, {Kind::Calculate}});
    c.equal(d.caption("Ls1"), "Renk Girin", "the result with typed text over a pick");
    c.equal(shown(d, true).swatches[0], kYellow, "pr1 keeps the picked colour");
    expectModel(s, c, "after typing over a pick");
}

void aboutThenCalculate(WindowDriver& d, Checks& c) {
    Session s(d);
    s.perform({Kind::About, 0, 1});
    c.equal(d.caption("Ls1"), "     Hazırlayan: Tolvend, Versiyon:1.1", "the About text");
    c.equal(d.font("Ls1").points, 12.0, "its size");
    c.equal(d.place("Ls1").top, 220, "its top");
    s.perform({Kind::Calculate});
    c.equal(d.caption("Ls1"), "Renk Girin", "the result after About");
    c.equal(d.font("Ls1").points, 48.0, "the result's size again");
    c.equal(d.place("Ls1").top, 200, "the result's top again");
    expectModel(s, c, "after About and calculating");
}

void buttonAndMenuResetLeaveIdenticalWindows(WindowDriver& d, Checks& c) {
    Session s(d);
    // Each reset's operations, in order, as the controls receive them.
    const auto session = [&](bool byMenu) {
        s.open();
        pickWithKeys(s, c, 0, "Turuncu");
        pickWithKeys(s, c, 1, "Beyaz");
        pickWithKeys(s, c, 3, "Gümüş");
        s.perform({{Kind::Calculate}, {Kind::About, 0, 1}});
        std::vector<std::pair<std::string, Operation>> operations;
        d.setOperationGate([&operations](std::string_view control, Operation operation) {
            operations.emplace_back(control, operation);
            return kOk;
        });
        s.perform(byMenu ? Action{Kind::ResetMenu, 0, 1} : Action{Kind::ResetButton});
        d.setOperationGate(nullptr);
        expectModel(s, c, byMenu ? "after Yeni" : "after DYeni");
        return std::tuple(shown(d, true), d.place("Ls1"), operations);
    };
    const auto [byButton, buttonPlace, buttonOperations] = session(false);
    const auto [byMenu, menuPlace, menuOperations] = session(true);
    c.expect(model::matches(byMenu, byButton), "the menu's reset differs from the button's:\n  " + model::describe(byMenu) +
                                                   "\n  " + model::describe(byButton));
    c.equal(menuPlace, buttonPlace, "Ls1 after either reset");
    c.expect(menuOperations == buttonOperations && menuOperations.size() == 10, "the resets' operations differ");
    c.equal(byMenu.texts, std::array<std::string, 4>{"?", "?", "?", "?"}, "lists after a reset");
    c.equal(byMenu.selected, std::array<int, 4>{-1, -1, -1, -1}, "rows after a reset");
    c.equal(byMenu.swatches, std::array<ColourValue, 4>{kWhite, kWhite, kWhite, kWhite}, "swatches after a reset");
    c.equal(byMenu.result, "-", "Ls1 after a reset");
    c.equal(byMenu.points, 12.0f, "Ls1's size after a reset");
    c.equal(byMenu.first, "3", "a reset keeps FirstDigit");
    // After a reset the arrow keys start again from the first entry.
    s.perform({Kind::KeyDown, 1});
    c.equal(shown(d, false).texts[1], "Siyah", "Down after a reset");
}

void clicksElsewhereAndDialogKeysRunNothing(WindowDriver& d, Checks& c) {
    Session s(d);
    pickWithKeys(s, c, 0, "Sarı");
    const model::State before = shown(d, true);
    for (std::size_t target = 0; target < model::kClickTargets.size(); ++target) {
        s.perform({Kind::ClickElsewhere, 0, static_cast<int>(target)});
    }
    c.expect(d.cancelMenuAndPressDialogKeys(), "a menu opens and closes with Escape");
    c.expect(model::matches(shown(d, true), before), "clicks elsewhere changed the window: " + s.mismatch(true));
}

void failedOperationIsReportedAndTheWindowGoesOn(WindowDriver& d, Checks& c) {
    struct Row {
        const char* destroyed;
        Action action;
        Operation failing;
    };
    // The last row leaves the window for what follows.
    const Row rows[] = {
        {"Cr3", {Kind::Calculate}, Operation::ReadText},
        {"Ls1", {Kind::About, 0, 1}, Operation::SetTop},
        {"Les2", {Kind::ResetMenu, 0, 1}, Operation::SetCaption},
        {"pr2", {Kind::ResetButton}, Operation::SetBackColour},
    };
    Session s(d);
    for (const Row& row : rows) {
        s.open();
        pickWithKeys(s, c, 0, "Sarı");
        pickWithKeys(s, c, 1, "Mor");
        d.destroyControl(row.destroyed);
        const Report report = d.reportDuring([&] { act(d, row.action); });
        c.equal(report.title, kRuntimeErrorTitle, std::string("the report's title when ") + row.destroyed + " is gone");
        c.equal(report.text, runtimeErrorMessage(row.destroyed, row.failing, kControlUnavailable.code), "the report");
        if (!d.okButton().empty()) c.equal(report.button, d.okButton(), "the report's button");
    }
    // The reset stopped at pr2, after band 1 and band 2's text.
    const model::State stopped = shown(d, true);
    c.equal(stopped.texts[0], "?", "Cr1 after the stopped reset");
    c.equal(stopped.swatches[0], kWhite, "pr1 after the stopped reset");
    c.equal(stopped.texts[1], "?", "Cr2 after the stopped reset");
    c.equal(stopped.result, "-", "Ls1 after the stopped reset");
    // The window goes on.
    s.expected = stopped;
    pickWithKeys(s, c, 0, "Mor");
    s.perform({Kind::Calculate});
    c.equal(d.caption("Ls1"), "Renk Girin", "calculating after the report");
    c.equal(shown(d, true).swatches[0], kPurple, "picking after the report");
}

void exitAndClosingEndTheProgramWithoutAQuestion(WindowDriver& d, Checks& c) {
    for (const bool byMenu : {true, false}) {
        const std::string how = byMenu ? "Çıkış" : "closing the window";
        d.open();
        const Ending ending = d.end(byMenu);
        c.equal(ending.code, 0, "the exit code after " + how);
        c.expect(ending.windowGone, "the window stays after " + how);
        c.equal(ending.report.title, "", "a question on " + how);
    }
}

void startUpRefusesAWindowWithoutANamedControl(WindowDriver& d, Checks& c) {
    const std::vector<EventBinding> bindings(eventBindings().begin(), eventBindings().end());
    auto clickOnALabel = bindings;
    clickOnALabel.push_back({"Lr1", ControlEvent::Click, "Lr1_Click", [](MainForm&, int) {}});
    struct Row {
        const char* removed;  // from the description
        const std::vector<EventBinding>* bindings;
        const char* named;  // by the error
    };
    const Row rows[] = {
        {"Cr2", &bindings, "Cr2"},       // a list the commands read
        {"Cr4", &bindings, "Cr4"},       //
        {"pr3", &bindings, "pr3"},       // a swatch they paint
        {"pd1", &bindings, "pd1"},       // the swatches' container
        {"Ls1", &bindings, "Ls1"},       //
        {"Les2", &bindings, "Les2"},     //
        {"CommDH", &bindings, "CommDH"}, // a button in the event table
        {"DYeni", &bindings, "DYeni"},   //
        {"", &clickOnALabel, "Lr1"},     // a click bound to a control that takes none
    };
    for (const Row& row : rows) {
        std::vector<ControlDescription> controls;
        std::copy_if(mainWindowDescription().controls.begin(), mainWindowDescription().controls.end(), std::back_inserter(controls),
                     [&](const ControlDescription& control) { return control.name != row.removed; });
        WindowDescription window = mainWindowDescription();
        window.controls = controls;
        const std::string error = d.buildError(window, *row.bindings);
        c.expect(error.find(std::string("'") + row.named + "'") != std::string::npos,
                 std::string("the start-up error names ") + row.named + ": '" + error + "'");
        c.expect(!d.strayWindow(), std::string("a half-built window stays without ") + row.named);
    }
}

void screenReadersHearNamesAndValues(WindowDriver& d, Checks& c) {
    struct Row {
        const char* step;
        const char* control;
        const char* name;
    };
    const Row rows[] = {
        {"start", "pd1", "Direnç resmi"},
        {"start", "pr1", "1. bandın rengi: seçilmedi"},
        {"start", "pr2", "2. bandın rengi: seçilmedi"},
        {"start", "Cr1", "1.Renk ?"},
        {"start", "Cr4", "4.Renk ?"},
        {"start", "Lr1", "1.Renk"},
        {"start", "CommDH", "Değeri Hesapla"},
        {"start", "DYeni", "Yeni"},
        {"start", "LTolerans", "Tolerans:"},
        {"start", "Ls1", "-"},
        {"start", "Les2", "-"},
        {"white picked", "pr1", "1. bandın rengi: Beyaz"},
        {"calculated", "pr1", "1. bandın rengi: Sarı"},
        {"calculated", "pr3", "3. bandın rengi: Kırmızı"},
        {"calculated", "pr4", "4. bandın rengi: Altın"},
        {"calculated", "Cr1", "1.Renk Sarı"},
        {"calculated", "Ls1", "4,7K"},
        {"calculated", "Les2", "%5"},
        {"reset", "pr1", "1. bandın rengi: seçilmedi"},
        {"reset", "Ls1", "-"},
    };
    Session s(d);
    std::string step = "start";
    for (const Row& row : rows) {
        if (step != row.step) {
            step = row.step;
            if (step == "white picked") {
                pickWithKeys(s, c, 0, "Beyaz");
            } else if (step == "calculated") {
                d.listenForRenames();
                pickWithKeys(s, c, 0, "Sarı");
                pickWithKeys(s, c, 1, "Mor");
                pick(s, 2, "Kırmızı", Kind::MousePick);
                pickWithKeys(s, c, 3, "Altın");
                const auto announced = [&d](const char* control) { return d.announcedRename(control).value_or(true); };
                c.expect(announced("pr1") && announced("pr4"), "the swatches announce their new colours");
                s.perform({Kind::Calculate});
                c.expect(announced("Ls1") && announced("Les2"), "the results announce their new texts");
            } else if (step == "reset") {
                s.perform({Kind::ResetButton});
            }
        }
        c.equal(d.spoken(row.control), row.name, std::string(row.step) + ", " + row.control);
    }
    // What the result labels are goes with them, not in place of their value.
    c.equal(d.spokenDescription("Ls1"), "Sonuç", "Ls1's description");
    c.equal(d.spokenDescription("Les2"), "Tolerans", "Les2's description");
}

// The picture pixel for pixel, with the swatches over it, as the screen shows it.
void screenShowsThePictureAndSwatches(WindowDriver& d, Checks& c) {
    Session s(d);
    const auto compare = [&](const std::string& when, const std::array<ColourValue, 4>& fill) {
        const Grab grab = d.grab();
        const NamedRect corner = d.devicePlace("pd1");
        const NamedRect box = d.surfacePlace("pd1");
        const auto at = [&](int x, int y) { return grab(corner.left + x, corner.top + y); };
        for (const std::string& fault : scaling::pictureBoxFaults(at, d.scale(), box.left, box.top, fill)) c.add(when + ": " + fault);
    };
    // At start the picture box has the focus, and nothing that shows it lies on the picture.
    compare("at start", {kWhite, d.windowBackground(), d.windowBackground(), d.windowBackground()});
    pickWithKeys(s, c, 0, "Kırmızı");
    pickWithKeys(s, c, 3, "Gümüş");
    compare("after two picks", {0x0000FF, d.windowBackground(), d.windowBackground(), 0xE0E0E0});
}

// At the display scale this run was started with, after a reading (4,7K, %5) made with
// the keys, or with taps on a touch screen: the window shows what the model does, the
// picture box as shown equals the 96-dpi one enlarged by nearest neighbour, the client
// area is the scaled one, and no label runs into another control.
constexpr std::array<std::string_view, 4> kScalePicks{"Sarı", "Mor", "Kırmızı", "Altın"};

}  // namespace

void windowHoldsAtThisDisplayScale(WindowDriver& d, Checks& c) {
    if (const auto expected = d.expectedScale()) c.equal(d.scale(), *expected, "the window's scale");
    Session s(d);
    for (int band = 0; band < 4; ++band) {
        const std::string_view entry = kScalePicks[static_cast<std::size_t>(band)];
        if (!d.touchScreen()) {
            pickWithKeys(s, c, band, entry);
        } else if (!s.perform({Kind::MousePick, band, rowOf(band, entry)})) {
            c.add("a tap on band " + std::to_string(band + 1) + " did not pick " + std::string(entry));
        }
    }
    s.perform({Kind::Calculate});
    expectModel(s, c, "after the reading");
    drawnAtThisScale(d, c);
}

void drawnAtThisScale(WindowDriver& d, Checks& c) {
    const double scale = d.scale();
    const Grab grab = d.grab();
    // The client area as the scaling rule places it from where it stands on the
    // surface (pd1 stands at 8, 8 in it), all of it on the screen.
    const NamedRect box = d.surfacePlace("pd1");
    const auto span = [scale](int from, int length) { return scaledEdge(from + length, scale) - scaledEdge(from, scale); };
    c.equal(d.deviceClientSize(), Size{span(box.left - 8, 375), span(box.top - 8, 285)}, "the client area on the screen");

    std::array<std::uint32_t, 4> fills{};
    for (std::size_t band = 0; band < 4; ++band) fills[band] = findBandColour(kScalePicks[band])->swatch;
    const NamedRect corner = d.devicePlace("pd1");
    const auto at = [&](int x, int y) { return grab(corner.left + x, corner.top + y); };
    for (const std::string& fault : scaling::pictureBoxFaults(at, scale, box.left, box.top, fills)) c.add(fault);

    std::vector<NamedRect> rects;
    for (const ControlDescription& control : mainWindowDescription().controls) {
        if (control.container.empty()) rects.push_back(d.place(control.name));
    }
    for (const std::string& fault : scaling::overlappingControls(rects)) c.add(fault);
    // "Tolerans:" as drawn ends before the tolerance text begins.
    const auto [toleransFirst, toleransLast] = scaling::inkColumns(grab, d.devicePlace("LTolerans"));
    const auto [valueFirst, valueLast] = scaling::inkColumns(grab, d.devicePlace("Les2"));
    c.expect(toleransLast > toleransFirst && valueLast >= valueFirst, "no ink found in LTolerans or Les2");
    c.expect(toleransLast < valueFirst, "'Tolerans:' ends at " + std::to_string(toleransLast) + ", the tolerance begins at " +
                                            std::to_string(valueFirst));
}

namespace {

constexpr Scheme kLight{0xFFFFFF, 0x000000, 0xF0F0F0, 0x000000, 0xD77800, 0xFFFFFF};
// Near-white text on near-black: the white of a fixed background makes it vanish.
constexpr Scheme kDark{0x202020, 0xF0F0F0, 0x383838, 0xF0F0F0, 0x8F5A1F, 0xFFFFFF};
// Windows' "High Contrast Black".
constexpr Scheme kHighContrast{0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFEB1A, 0x000000};

std::string hex(std::uint32_t colour) {
    std::ostringstream out;
    out << "0x" << std::hex << colour;
    return out.str();
}

// Under light, dark and high-contrast schemes, and after a switch while the window is
// shown: every text in a list or label stands out from its background, band 4's list
// and swatch 1 stay white, and the rest take the scheme's window background.
void readableInEveryScheme(WindowDriver& d, Checks& c) {
    struct Row {
        const char* name;
        const Scheme* opened;
        const Scheme* switchedTo;  // while the window is shown
    };
    const Row rows[] = {
        {"light", &kLight, nullptr},
        {"dark", &kDark, nullptr},
        {"high contrast", &kHighContrast, nullptr},
        {"light, switched to dark", &kLight, &kDark},
    };
    Session s(d);
    for (const Row& row : rows) {
        Scheme switched{};
        const Scheme opened = d.setScheme(row.opened);
        s.open();
        if (row.switchedTo != nullptr) {
            // A colour the program set stays; swatches 2 and 4, in a system colour, follow.
            pickWithKeys(s, c, 2, "Mor");
            d.focus("pd1");  // no caret in a field
            switched = d.setScheme(row.switchedTo);
        }
        const Scheme& now = row.switchedTo != nullptr ? switched : opened;
        // Each control's background, and whether it shows text that must be readable on it.
        const std::tuple<const char*, ColourValue, bool> areas[] = {
            {"pr1", kWhite, false},      {"pr2", now.window, false}, {"pr3", row.switchedTo != nullptr ? kPurple : now.window, false},
            {"pr4", now.window, false},  {"Cr1", now.window, true},  {"Cr2", now.window, true},
            {"Cr3", now.window, true},   {"Cr4", kWhite, true},      {"Lr4", now.buttonFace, true},
            {"LTolerans", now.buttonFace, true},
        };
        Grab grab = d.grab();
        // The colour most of an area shows is its background; its text is its most
        // contrasting pixel.
        const auto look = [&](const std::string& what, const NamedRect& r, std::optional<ColourValue> background, bool text) {
            std::map<std::uint32_t, int> counts;
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) ++counts[grab(x, y)];
            }
            if (counts.empty()) {
                c.add(what + ": no area to look at");
                return;
            }
            const std::uint32_t ground =
                std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first;
            if (background) c.expect(ground == *background, what + ": background " + hex(ground) + ", expected " + hex(*background));
            double best = 1;
            for (const auto& [colour, count] : counts) best = std::max(best, contrastRatio(colour, ground));
            c.expect(!text || best >= kReadableContrast, what + ": text reaches only " + std::to_string(best) + ":1");
        };
        for (const auto& [name, background, text] : areas) look(std::string(row.name) + ", " + name, d.deviceArea(name), background, text);
        // An open menu's title, on the toolkit's own highlight.
        if (const auto title = d.openMenuTitle(0)) {
            grab = d.grab();
            look(std::string(row.name) + ", the open menu's title", *title, std::nullopt, true);
        }
    }
    d.setScheme(nullptr);
}

// Model scenarios.

// Replays while shrinking are bounded by the actions they make, so a failing run ends
// with the shortest sequence found well within its test's time on any build.
constexpr long kReplayBudget = 30'000;

void randomActionsMatchTheModel(WindowDriver& d, Checks& c) {
    const WindowDriver::RandomRun run = d.defaultRandomRun();
    const std::uint32_t seed = model::seedFromEnvironment(run.seed);
    const int count = model::actionsFromEnvironment(run.actions);
    c.equal(d.notReady(), "", "the window takes input");
    model::ActionSource source(seed);
    std::vector<Action> actions;
    Session s(d);
    s.open();
    const bool trace = std::getenv("VASKELO_MODEL_TRACE") != nullptr;  // says where a run hangs
    for (int i = 0; i < count; ++i) {
        actions.push_back(source.next());
        if (trace) std::fprintf(stderr, "%d %s\n", i, model::actionText(actions.back()).c_str());
        const bool made = s.perform(actions.back());
        const std::string difference = s.mismatch(i % 64 == 63);  // now and then, the swatches' pixels
        if (made && difference.empty()) continue;

        std::string report = "seed " + std::to_string(seed) + " diverged after action " + std::to_string(i) + " (" +
                             model::actionText(actions.back()) + (made ? "" : ", which could not be made") + "):\n  " +
                             (difference.empty() ? "(the same state)" : difference);
        const std::vector<Action> shortest = model::shrink(
            actions,
            [&](const std::vector<Action>& replay) {
                s.open();
                for (std::size_t j = 0; j < replay.size(); ++j) {
                    if (!s.perform(replay[j]) || !s.matches(j % 64 == 63)) return static_cast<int>(j);
                }
                return -1;
            },
            kReplayBudget);
        report += "\nshortest sequence found (" + std::to_string(shortest.size()) + " actions):";
        for (const Action& a : shortest) report += "\n  " + model::actionText(a);
        c.add(report);
        return;
    }
    std::printf("seed %u: %d actions matched the model\n", seed, count);
}

// Every control operation of each command fails in turn: the report names the control,
// the operation and the code, the command stops just there, and the window goes on.
// Anything else a command throws is reported the same way, naming the command.
void everyOperationFailsOnceInTurn(WindowDriver& d, Checks& c) {
    struct Row {
        Action action;
        const char* procedure;
    };
    const Row rows[] = {
        {{Kind::KeyDown, 0}, "Cr1_Click"},       {{Kind::KeyDown, 3}, "Cr4_Click"},
        {{Kind::Calculate}, "CommDH_Click"},     {{Kind::ResetButton}, "DYeni_Click"},
        {{Kind::ResetMenu, 0, 1}, "Yeni_Click"}, {{Kind::About, 0, 1}, "Hakkında_Click"},
    };
    Session s(d);
    const auto setUp = [&] {
        s.open();
        s.perform({{Kind::KeyDown, 0}, {Kind::KeyDown, 0}, {Kind::KeyDown, 1}, {Kind::KeyDown, 1}, {Kind::KeyDown, 2},
                   {Kind::KeyDown, 2}, {Kind::KeyDown, 2}, {Kind::KeyDown, 3}});
    };
    const auto goesOn = [&](const std::string& when) {
        d.setOperationGate(nullptr);
        s.perform({{Kind::KeyDown, 1}, {Kind::Calculate}});
        expectModel(s, c, "the window going on after " + when, false);
    };
    for (const Row& row : rows) {
        // How many control operations the command performs from this state.
        int operations = 0;
        setUp();
        d.setOperationGate([&operations](std::string_view, Operation) {
            ++operations;
            return kOk;
        });
        s.perform(row.action);
        c.expect(operations > 0, std::string(row.procedure) + " performs no operation");

        for (int failing = 1; failing <= operations; ++failing) {
            const std::string when = std::string(row.procedure) + " failing at operation " + std::to_string(failing);
            setUp();
            int seen = 0;
            int writesBefore = 0;
            std::string failedControl;
            Operation failedOperation = Operation::ReadText;
            d.setOperationGate([&](std::string_view control, Operation operation) {
                if (++seen == failing) {
                    failedControl = control;
                    failedOperation = operation;
                    return Status{0x4D2};
                }
                if (operation != Operation::ReadText) ++writesBefore;
                return kOk;
            });
            std::optional<std::vector<model::Write>> writes;
            const Report report = d.reportDuring([&] { writes = s.make(row.action); });
            if (writes) model::applyPrefix(s.expected, *writes, writesBefore);
            expectModel(s, c, when, false);
            c.equal(report.title, kRuntimeErrorTitle, when + ": the report's title");
            c.expect(report.text.find(failedControl) != std::string::npos &&
                         report.text.find(describe(failedOperation)) != std::string::npos &&
                         report.text.find("0x4D2") != std::string::npos,
                     when + ": the report '" + report.text + "'");
            goesOn(when);
        }

        setUp();
        d.setOperationGate([](std::string_view, Operation) -> Status { throw std::bad_alloc(); });
        std::optional<std::vector<model::Write>> writes;
        const Report report = d.reportDuring([&] { writes = s.make(row.action); });
        if (writes) model::applyPrefix(s.expected, *writes, 0);
        c.equal(report.title, kRuntimeErrorTitle, std::string(row.procedure) + " out of memory: the report's title");
        c.equal(report.text, unexpectedErrorMessage(row.procedure, true), std::string(row.procedure) + " out of memory: the report");
        goesOn(std::string(row.procedure) + " out of memory");
    }
}

const Scenario kWindowScenarios[] = {
    {"startsInItsInitialState", startsInItsInitialState},
    {"controlsStandWhereTheDescriptionPutsThem", controlsStandWhereTheDescriptionPutsThem},
    {"resizingMovesNothing", resizingMovesNothing},
    {"menusHaveNoAccessKeysOrShortcuts", menusHaveNoAccessKeysOrShortcuts},
    {"listsOfferTheirEntriesUnsorted", listsOfferTheirEntriesUnsorted},
    {"arrowKeysPickFromTheFirstEntry", arrowKeysPickFromTheFirstEntry},
    {"onlyAConfirmedChoiceFromTheOpenListIsAPick", onlyAConfirmedChoiceFromTheOpenListIsAPick},
    {"typingEnterAndLeavingRunNothing", typingEnterAndLeavingRunNothing},
    {"calculationShowsValueAndTolerance", calculationShowsValueAndTolerance},
    {"aboutThenCalculate", aboutThenCalculate},
    {"buttonAndMenuResetLeaveIdenticalWindows", buttonAndMenuResetLeaveIdenticalWindows},
    {"clicksElsewhereAndDialogKeysRunNothing", clicksElsewhereAndDialogKeysRunNothing},
    {"failedOperationIsReportedAndTheWindowGoesOn", failedOperationIsReportedAndTheWindowGoesOn},
    {"exitAndClosingEndTheProgramWithoutAQuestion", exitAndClosingEndTheProgramWithoutAQuestion},
    {"startUpRefusesAWindowWithoutANamedControl", startUpRefusesAWindowWithoutANamedControl},
    {"screenReadersHearNamesAndValues", screenReadersHearNamesAndValues},
    {"screenShowsThePictureAndSwatches", screenShowsThePictureAndSwatches},
    {"windowHoldsAtThisDisplayScale", windowHoldsAtThisDisplayScale},
    {"readableInEveryScheme", readableInEveryScheme},
};

const Scenario kModelScenarios[] = {
    {"randomActionsMatchTheModel", randomActionsMatchTheModel},
    {"everyOperationFailsOnceInTurn", everyOperationFailsOnceInTurn},
};

}  // namespace

std::span<const Scenario> windowScenarios() { return kWindowScenarios; }
std::span<const Scenario> modelScenarios() { return kModelScenarios; }

}  // namespace vaskelo::suite
