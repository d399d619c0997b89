#include "platform/web/web_form.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>

#include "core/readable_text.h"
#include "core/runtime_error.h"
#include "ui/spoken_names.h"

namespace vaskelo::web {

namespace {

val document() { return val::global("document"); }

val element(const char* tag, val parent, const char* className = nullptr) {
    val made = document().call<val>("createElement", std::string(tag));
    if (className != nullptr) made.set("className", std::string(className));
    if (!parent.isUndefined()) parent.call<void>("append", made);
    return made;
}

void attribute(val& e, const char* name, std::string_view value) {
    e.call<void>("setAttribute", std::string(name), std::string(value));
}

void styleOf(val& e, const char* property, const std::string& value) {
    e["style"].call<void>("setProperty", std::string(property), value);
}

// A CSS number to a millionth, which is finer than layout resolves, written without
// printf: its formatting code would be a third of the page's program.
std::string cssNumber(double value, const char* unit) {
    const auto millionths = static_cast<long long>(std::fabs(value) * 1e6 + 0.5);
    std::string text = value < 0 && millionths != 0 ? "-" : "";
    text += std::to_string(millionths / 1000000);
    if (const long long fraction = millionths % 1000000; fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 6 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text + unit;
}

std::string px(double pixels) { return cssNumber(pixels, "px"); }

// A new element's inline style, gathered and set in one call: each call into the page
// costs more than the text it carries, and the window is built from many.
void addStyle(std::string& css, const char* property, const std::string& value) {
    css.append(property).append(":").append(value).append(";");
}

void setStyle(val& e, const std::string& css) { e["style"].set("cssText", css); }

void place(std::string& css, int left, int top, int width, int height) {
    addStyle(css, "left", px(left));
    addStyle(css, "top", px(top));
    if (width >= 0) addStyle(css, "width", px(width));
    if (height >= 0) addStyle(css, "height", px(height));
}

std::string points(double size) { return cssNumber(size, "pt"); }

// An element's border box in the viewport, in CSS pixels.
struct Box {
    double left, top, right, bottom;
};
Box boxOf(const val& e) {
    val r = e.call<val>("getBoundingClientRect");
    return {r["left"].as<double>(), r["top"].as<double>(), r["right"].as<double>(), r["bottom"].as<double>()};
}

// The CSS system colour that matches a system colour number, so the page follows
// the browser's light, dark and forced colours by itself.
std::string cssColour(ColourValue colour) {
    if (isSystemColour(colour)) {
        switch (systemColourIndex(colour)) {
            case systemColourIndex(kScrollBarColour):
            case systemColourIndex(kWindowBackground): return "Canvas";
            case systemColourIndex(kWindowText): return "CanvasText";
            case systemColourIndex(kButtonText): return "ButtonText";
            case systemColourIndex(kHighlight): return "Highlight";
            case systemColourIndex(kHighlightText): return "HighlightText";
            default: return "ButtonFace";  // the button face, and the closest match for any other
        }
    }
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string text = "#";
    for (const unsigned part : {redOf(colour), greenOf(colour), blueOf(colour)}) {
        text += kHex[part >> 4];
        text += kHex[part & 15];
    }
    return text;
}

// The window's fonts are Windows fonts; the page carries their free stand-in, Liberation
// Sans cut to the window's letters under a name of its own.
std::string cssFamily(const FontDescription& font) {
    return "\"Vaskelo Sans\", \"" + std::string(font.family) + "\", sans-serif";
}

void setFont(std::string& css, const FontDescription& font) {
    addStyle(css, "font-family", cssFamily(font));
    addStyle(css, "font-size", points(font.points));
    addStyle(css, "font-weight", font.bold ? "700" : "400");
}

// A colour as the page shows it now, as a plain colour: a system colour is read
// back from a probe that the browser's forced colours leave alone. The probe stands
// beside the window, so that reading it restyles the probe alone.
ColourValue shownColour(val place, ColourValue colour) {
    if (!isSystemColour(colour)) return colour;
    val probe = element("span", place, "vaskelo-probe");
    styleOf(probe, "color", cssColour(colour));
    const std::string computed = val::global("getComputedStyle")(probe)["color"].as<std::string>();
    probe.call<void>("remove");
    // "rgb(r, g, b)" or "rgba(r, g, b, a)": the first three whole numbers.
    unsigned channels[3] = {0, 0, 0};
    std::size_t found = 0;
    unsigned number = 0;
    bool inNumber = false, inFraction = false;
    for (const char ch : computed) {
        const bool digit = ch >= '0' && ch <= '9';
        if (digit && !inFraction) number = number * 10 + static_cast<unsigned>(ch - '0');
        if (!digit && inNumber && !inFraction && found < 3) channels[found++] = number;
        inFraction = (inFraction && digit) || ch == '.';
        inNumber = digit;
        if (!digit) number = 0;
    }
    return (channels[0] & 0xFFu) | ((channels[1] & 0xFFu) << 8) | ((channels[2] & 0xFFu) << 16);
}

std::map<int, WebForm*>& liveForms() {
    static std::map<int, WebForm*> forms;
    return forms;
}

// The browser's own handling is prevented here rather than by the caller, so that the
// decision never depends on a value handed back across the call.
void dispatchEvent(int form, std::string type, std::string control, std::string part, std::string key, int modifiers, val event) {
    const auto it = liveForms().find(form);
    if (it != liveForms().end() && it->second->handle(type, control, part, key, modifiers) && !event.isNull()) {
        event.call<void>("preventDefault");
    }
}

int optionRow(const std::string& part) {
    if (part.rfind("option:", 0) != 0) return -1;
    return std::atoi(part.c_str() + 7);
}

constexpr int kAlt = 1;

}  // namespace

WebForm::WebForm(const WindowDescription& description, std::span<const EventBinding> bindings, val parent)
    : description_(description), parent_(std::move(parent)) {
    static int lastId = 0;
    id_ = ++lastId;
    // A new window takes the place of the notice that the last one ended.
    val notices = parent_.call<val>("querySelectorAll", std::string(".vaskelo-ended"));
    for (int i = 0; i < notices["length"].as<int>(); ++i) notices[i].call<void>("remove");
    build(description);
    try {
        check(description, bindings);
    } catch (...) {
        window_.call<void>("remove");
        throw;
    }
    wire(bindings);
    liveForms()[id_] = this;
    listening_ = val::module_property("vaskeloListen")(window_, id_);
    applyColours();
    // In the page last, whole: the browser lays the window out once, for its first frame.
    parent_.call<void>("append", window_);
}

WebForm::~WebForm() {
    liveForms().erase(id_);
    if (!listening_.isUndefined()) listening_.call<void>("abort");
    window_.call<void>("remove");
}

void WebForm::build(const WindowDescription& description) {
    window_ = element("div", val::undefined(), "vaskelo-window");
    document().set("title", std::string(description.caption));  // the tab is the window's frame
    // The caption a title bar would show, for a screen reader's heading navigation only.
    element("h1", window_, "vaskelo-caption").set("textContent", std::string(description.caption));
    std::string css;
    setFont(css, description.font);
    addStyle(css, "width", px(twipsToPixels(description.clientWidth)));
    setStyle(window_, css);
    buildMenus(description);

    client_ = element("div", window_, "vaskelo-client");
    css.clear();
    addStyle(css, "width", px(twipsToPixels(description.clientWidth)));
    addStyle(css, "height", px(twipsToPixels(description.clientHeight)));
    addStyle(css, "background-color", cssColour(description.background));
    addStyle(css, "color", cssColour(kButtonText));
    setStyle(client_, css);

    // Open lists drop out of the client area, as a desktop list drops out of its window.
    popups_ = element("div", window_, "vaskelo-popups");

    const std::string prefix = idOf("");
    for (const ControlDescription& c : description.controls) {
        int left = twipsToPixels(c.rect.left);
        int top = twipsToPixels(c.rect.top);
        if (!c.container.empty()) {
            // A child of a bordered box is placed from the inside of the border.
            // Without the box it stands in, start-up names that box as missing.
            if (const ControlDescription* outer = findControl(description, c.container)) {
                left += twipsToPixels(outer->rect.left) + 1;
                top += twipsToPixels(outer->rect.top) + 1;
            }
        }
        const int width = twipsToPixels(c.rect.width);
        const int height = twipsToPixels(c.rect.height);
        val e = val::undefined();
        css.clear();
        switch (c.kind) {
            case ControlKind::PictureBox:
                if (c.container.empty()) {
                    e = element("canvas", client_, "vaskelo-picture");
                } else {
                    // Its border and colour are painted by the box it stands in, on the same device pixels.
                    e = element("div", client_, "vaskelo-swatch");
                    swatchFills_[std::string(c.name)] = c.background;
                }
                attribute(e, "role", "img");
                attribute(e, "tabindex", "0");
                attribute(e, "aria-label", c.accessibleName);
                place(css, left, top, width, height);
                break;
            case ControlKind::ComboBox:
                e = buildCombo(c);
                place(css, left, top, width, height);
                break;
            case ControlKind::Label:
                e = element("label", client_, "vaskelo-label");
                e.set("textContent", std::string(c.text));
                place(css, left, top, refitsToCaption(c) ? -1 : width, refitsToCaption(c) ? -1 : height);
                if (!refitsToCaption(c)) addStyle(css, "overflow", "hidden");
                if (!c.accessibleDescription.empty()) {
                    // A label that speaks its changing caption says each new one.
                    attribute(e, "aria-live", "polite");
                    attribute(e, "aria-description", c.accessibleDescription);
                }
                break;
            case ControlKind::CommandButton:
                e = element("button", client_, "vaskelo-button");
                attribute(e, "type", "button");
                e.set("textContent", std::string(c.text));
                if (!c.accessibleName.empty() && c.accessibleName != c.text) attribute(e, "aria-label", c.accessibleName);
                place(css, left, top, width, height);
                break;
        }
        attribute(e, "data-control", c.name);
        e.set("id", prefix + std::string(c.name));
        if (c.font) setFont(css, *c.font);
        if (c.kind != ControlKind::ComboBox && c.kind != ControlKind::PictureBox) {
            addStyle(css, "background-color", cssColour(c.background));
            addStyle(css, "color", cssColour(c.foreground));
        }
        setStyle(e, css);
        controls_.emplace(std::string(c.name), e);
    }
    // A label whose caption names a list is that list's label, for assistive technology.
    for (const ControlDescription& c : description.controls) {
        const ControlDescription* caption = captionLabelOf(description, c);
        Combo* list = combo(c.name);
        if (caption == nullptr || list == nullptr) continue;
        val label = control(caption->name);
        if (!label.isUndefined()) label.set("htmlFor", list->field["id"]);
    }
    for (const Swatch swatch : kAllSwatches) nameSwatch(swatch);

    dialog_ = element("dialog", window_, "vaskelo-dialog");
    attribute(dialog_, "role", "alertdialog");
    attribute(dialog_, "aria-modal", "true");
    attribute(dialog_, "aria-labelledby", prefix + "dialog-title");
    attribute(dialog_, "aria-describedby", prefix + "dialog-text");
    val title = element("h2", dialog_, "vaskelo-dialog-title");
    title.set("id", prefix + "dialog-title");
    val text = element("p", dialog_, "vaskelo-dialog-text");
    text.set("id", prefix + "dialog-text");
    val answer = element("form", dialog_);
    attribute(answer, "method", "dialog");
    val ok = element("button", answer, "vaskelo-button");
    ok.set("textContent", std::string("Tamam"));
}

void WebForm::buildMenus(const WindowDescription& description) {
    val bar = element("div", window_, "vaskelo-menubar");
    menuBar_ = bar;
    attribute(bar, "role", "menubar");
    attribute(bar, "aria-label", "Menüler");
    styleOf(bar, "height", px(kMenuBarHeight));
    const std::string prefix = idOf("menu-");
    for (const MenuDescription& m : description.menus) {
        val holder = element("div", bar, "vaskelo-menu");
        Menu menu;
        menu.title = element("div", holder, "vaskelo-menu-title");
        attribute(menu.title, "role", "menuitem");
        attribute(menu.title, "tabindex", "-1");
        attribute(menu.title, "aria-haspopup", "menu");
        attribute(menu.title, "aria-expanded", "false");
        attribute(menu.title, "data-control", m.name);
        attribute(menu.title, "data-part", "title");
        menu.title.set("id", prefix + std::string(m.name));
        menu.title.set("textContent", std::string(m.caption));
        menu.popup = element("div", holder, "vaskelo-menu-popup");
        attribute(menu.popup, "role", "menu");
        attribute(menu.popup, "aria-labelledby", prefix + std::string(m.name));
        menu.popup.set("hidden", true);
        menu.item = element("div", menu.popup, "vaskelo-menu-item");
        attribute(menu.item, "role", "menuitem");
        attribute(menu.item, "tabindex", "-1");
        attribute(menu.item, "data-control", m.itemName);
        attribute(menu.item, "data-part", "item");
        menu.item.set("textContent", std::string(m.itemCaption));
        menuItemNames_.emplace(std::string(m.itemName), std::string(m.name));
        menus_.push_back(menu);
    }
}

val WebForm::buildCombo(const ControlDescription& c) {
    const std::string id = idOf(c.name);
    Combo list;
    list.box = element("div", client_, "vaskelo-combo");
    list.field = element("input", list.box, "vaskelo-field");
    list.field.set("id", id + "-field");
    attribute(list.field, "type", "text");
    attribute(list.field, "role", "combobox");
    attribute(list.field, "aria-autocomplete", "none");
    attribute(list.field, "aria-expanded", "false");
    attribute(list.field, "aria-controls", id + "-list");
    attribute(list.field, "autocomplete", "off");
    attribute(list.field, "spellcheck", "false");
    attribute(list.field, "maxlength", "32767");  // what a desktop list's field holds
    attribute(list.field, "data-part", "field");
    std::string css;
    addStyle(css, "background-color", cssColour(c.background));
    addStyle(css, "color", cssColour(c.foreground));
    // A fixed colour stays as it is in forced colours too, with its text made readable on it.
    if (!isSystemColour(c.background)) addStyle(css, "forced-color-adjust", "none");
    setStyle(list.field, css);
    list.button = element("button", list.box, "vaskelo-combo-button");
    attribute(list.button, "type", "button");
    attribute(list.button, "tabindex", "-1");
    attribute(list.button, "aria-label", std::string(c.accessibleName) + " listesini aç");
    attribute(list.button, "aria-controls", id + "-list");
    attribute(list.button, "aria-expanded", "false");
    attribute(list.button, "data-part", "button");
    list.list = element("ul", popups_, "vaskelo-list");
    list.list.set("id", id + "-list");
    attribute(list.list, "data-control", c.name);
    attribute(list.list, "role", "listbox");
    attribute(list.list, "aria-label", c.accessibleName);
    list.list.set("hidden", true);
    int row = 0;
    for (const std::string_view entry : c.entries) {
        val option = element("li", list.list, "vaskelo-option");
        option.set("id", id + "-" + std::to_string(row));
        attribute(option, "role", "option");
        attribute(option, "aria-selected", "false");
        attribute(option, "data-part", "option:" + std::to_string(row));
        option.set("textContent", std::string(entry));
        list.options.push_back(option);
        ++row;
    }
    val box = list.box;
    auto& made = combos_[std::string(c.name)] = std::move(list);
    showText(made, c.text);
    return box;
}

std::string WebForm::idOf(std::string_view name) const { return "vaskelo-" + std::to_string(id_) + "-" + std::string(name); }

void WebForm::check(const WindowDescription& description, std::span<const EventBinding> bindings) const {
    const auto kindOf = [this](std::string_view name) -> std::optional<ControlKind> {
        const ControlDescription* c = findControl(description_, name);
        if (c == nullptr || control(name).isUndefined()) return std::nullopt;
        return c->kind;
    };
    checkWindow(description, bindings, kindOf, [this](std::string_view name) { return !menuItem(name).isUndefined(); });
}

void WebForm::wire(std::span<const EventBinding> bindings) {
    for (const EventBinding& b : bindings) {
        switch (b.event) {
            case ControlEvent::Click: clicks_[std::string(b.control)] = &b; break;
        }
    }
}

ColourValue WebForm::shown(ColourValue colour) const {
    if (!isSystemColour(colour)) return colour;
    const auto known = schemeColours_.find(colour);
    if (known != schemeColours_.end()) return known->second;
    return schemeColours_[colour] = shownColour(parent_, colour);
}

std::optional<ColourValue> WebForm::swatchColour(std::string_view name) const {
    const auto fill = swatchFills_.find(name);
    val box = control(name);
    if (fill == swatchFills_.end() || box.isUndefined() || !box["isConnected"].as<bool>()) return std::nullopt;
    return shown(fill->second);
}

void WebForm::focusFirst() {
    if (description_.controls.empty()) return;
    val first = control(description_.controls.front().name);
    // The window stands at the top of the page: nothing to scroll to, and no layout asked for early.
    val noScroll = val::object();
    noScroll.set("preventScroll", true);
    if (!first.isUndefined()) first.call<void>("focus", noScroll);
}

val WebForm::control(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? val::undefined() : it->second;
}

val WebForm::menuItem(std::string_view name) const {
    for (std::size_t i = 0; i < description_.menus.size() && i < menus_.size(); ++i) {
        if (description_.menus[i].itemName == name) return menus_[i].item;
    }
    return val::undefined();
}

WebForm::Combo* WebForm::combo(std::string_view name) {
    const auto it = combos_.find(name);
    return it == combos_.end() ? nullptr : &it->second;
}

void WebForm::applyColours() {
    schemeColours_.clear();  // the scheme may have changed
    for (const ControlDescription& c : description_.controls) {
        Combo* list = combo(c.name);
        if (list == nullptr || isSystemColour(c.background)) continue;
        const ColourValue text = readableTextColour(c.foreground, c.background, shown(c.foreground));
        styleOf(list->field, "color", cssColour(text == shown(c.foreground) ? c.foreground : text));
    }
    // Some browsers' highlight pair falls short of readable (white on a light blue): open
    // menus and lists then write in black on it, as band 4's list does on its white.
    const ColourValue highlightText = shown(kHighlightText);
    const ColourValue readable = readableTextColour(kHighlightText, shown(kHighlight), highlightText);
    styleOf(window_, "--vaskelo-highlight-text", cssColour(readable == highlightText ? kHighlightText : readable));
    paintPicture();
}

void WebForm::paintPicture() {
    for (const ControlDescription& c : description_.controls) {
        if (c.kind != ControlKind::PictureBox || !c.container.empty()) continue;
        val canvas = control(c.name);
        if (canvas.isUndefined() || canvas["parentNode"].isNull()) continue;  // taken out of the window
        const double scale = val::global("devicePixelRatio").as<double>();
        const PlacedBox outer{twipsToPixels(c.rect.left), twipsToPixels(c.rect.top), twipsToPixels(c.rect.width),
                              twipsToPixels(c.rect.height), shown(c.background)};
        std::vector<PlacedBox> inner;
        for (const ControlDescription& s : description_.controls) {
            const auto fill = swatchFills_.find(s.name);
            if (s.container != c.name || fill == swatchFills_.end() || control(s.name)["parentNode"].isNull()) continue;
            inner.push_back({outer.left + 1 + twipsToPixels(s.rect.left), outer.top + 1 + twipsToPixels(s.rect.top),
                             twipsToPixels(s.rect.width), twipsToPixels(s.rect.height), shown(fill->second)});
        }
        drawScaledBox(outer, c.showsPicture, inner, scale, pixels_);
        // The canvas covers exactly the device pixels the box's image holds, from the
        // device pixel its corner falls on.
        canvas.set("width", pixels_.width);
        canvas.set("height", pixels_.height);
        styleOf(canvas, "left", px(scaledEdge(outer.left, scale) / scale));
        styleOf(canvas, "top", px(scaledEdge(outer.top, scale) / scale));
        styleOf(canvas, "width", px(pixels_.width / scale));
        styleOf(canvas, "height", px(pixels_.height / scale));
        if (pixels_.width <= 0 || pixels_.height <= 0) continue;
        std::vector<std::uint8_t> rgba(pixels_.pixels.size() * 4);
        for (std::size_t i = 0; i < pixels_.pixels.size(); ++i) {
            const ColourValue p = pixels_.pixels[i];
            rgba[4 * i] = static_cast<std::uint8_t>(redOf(p));
            rgba[4 * i + 1] = static_cast<std::uint8_t>(greenOf(p));
            rgba[4 * i + 2] = static_cast<std::uint8_t>(blueOf(p));
            rgba[4 * i + 3] = 255;
        }
        val bytes = val::global("Uint8ClampedArray").new_(emscripten::typed_memory_view(rgba.size(), rgba.data()));
        val image = val::global("ImageData").new_(bytes, pixels_.width, pixels_.height);
        canvas.call<val>("getContext", std::string("2d")).call<void>("putImageData", image, 0, 0);
    }
}

bool WebForm::handle(const std::string& type, const std::string& name, const std::string& part, const std::string& key,
                     int modifiers) {
    if (type == "scheme" || type == "rescale") {
        applyColours();
        return false;
    }
    if (ended_) return false;
    Combo* list = combo(name);
    const auto menu = std::find_if(description_.menus.begin(), description_.menus.end(),
                                   [&](const MenuDescription& m) { return m.name == name || m.itemName == name; });
    const std::size_t menuIndex = static_cast<std::size_t>(menu - description_.menus.begin());
    const bool inMenu = menu != description_.menus.end() && menuIndex < menus_.size();

    if (type == "outside") {
        closeEverythingOpen();
        return false;
    }
    if (type == "mousedown") {
        if (list != nullptr && part == "button") {
            const bool wasOpen = list->open;
            closeEverythingOpen();
            if (!wasOpen) openList(*list);
            list->field.call<void>("focus");
            return true;  // the focus stays in the field
        }
        if (list != nullptr && optionRow(part) >= 0) return true;
        if (inMenu && part == "title") {
            const bool wasOpen = menus_[menuIndex].open;
            closeEverythingOpen();
            if (!wasOpen) {
                enterMenuBar();
                openMenu(menuIndex, false);
            }
            return true;
        }
        if (inMenu && part == "item") return true;
        closeEverythingOpen();
        // A click on a label or the window's ground leaves the focus where it is, as on the desktop.
        const ControlDescription* clicked = findControl(description_, name);
        return clicked == nullptr || clicked->kind == ControlKind::Label;
    }
    if (type == "click") {
        if (list != nullptr && optionRow(part) >= 0 && list->open) {
            pick(*list, name, optionRow(part));
            return true;
        }
        if (inMenu && part == "item") {
            closeMenus();
            leaveMenuBar();
            run(name, menu->itemIndex);
            return true;
        }
        if (list == nullptr && !inMenu && clicks_.count(name) != 0) run(name, 0);
        return false;
    }
    if (type == "keydown") {
        // F10 goes to the menu bar from wherever the focus is, as on the desktop.
        if (key == "F10" && !menus_.empty()) {
            closeEverythingOpen();
            enterMenuBar();
            menus_.front().title.call<void>("focus");
            return true;
        }
        if (list != nullptr && part == "field") return comboKey(*list, name, key, modifiers);
        if (inMenu) return menuKey(menuIndex, part, key);
        return false;
    }
    if (type == "focusout" && list != nullptr && list->open) closeList(*list);
    return false;
}

bool WebForm::comboKey(Combo& list, std::string_view name, const std::string& key, int modifiers) {
    const bool alt = (modifiers & kAlt) != 0;
    const int count = static_cast<int>(list.options.size());
    if (!list.open) {
        if ((key == "ArrowDown" && alt) || key == "F4") {
            closeEverythingOpen();
            openList(list);
            return true;
        }
        if (key == "ArrowDown" || key == "ArrowUp") {
            const int row = list.selected + (key == "ArrowDown" ? 1 : -1);
            if (list.selected == -1 && key == "ArrowUp") return true;
            if (row >= 0 && row < count) pick(list, name, row);
            return true;
        }
        // Enter on a closed list picks nothing, not even an entry its text equals.
        return key == "Enter";
    }
    if ((key == "ArrowUp" && alt) || key == "F4" || key == "Escape") {
        closeList(list);
        return true;
    }
    if (key == "ArrowDown") highlight(list, std::min(list.highlighted + 1, count - 1));
    else if (key == "ArrowUp") highlight(list, std::max(list.highlighted - 1, 0));
    else if (key == "Home") highlight(list, 0);
    else if (key == "End") highlight(list, count - 1);
    else if (key == "PageDown") highlight(list, std::min(list.highlighted + 10, count - 1));
    else if (key == "PageUp") highlight(list, std::max(list.highlighted - 10, 0));
    else if (key == "Enter") {
        if (list.highlighted >= 0) {
            pick(list, name, list.highlighted);
        } else {
            closeList(list);
        }
    } else {
        if (key == "Tab") closeList(list);
        return false;
    }
    return true;
}

void WebForm::openList(Combo& list) {
    list.open = true;
    list.list.set("hidden", false);
    placeList(list);
    attribute(list.field, "aria-expanded", "true");
    attribute(list.button, "aria-expanded", "true");
    highlight(list, list.selected);
}

void WebForm::closeList(Combo& list) {
    list.open = false;
    list.list.set("hidden", true);
    attribute(list.field, "aria-expanded", "false");
    attribute(list.button, "aria-expanded", "false");
    list.field.call<void>("removeAttribute", std::string("aria-activedescendant"));
    highlight(list, -1);
}

void WebForm::highlight(Combo& list, int row) {
    if (list.highlighted >= 0 && list.highlighted < static_cast<int>(list.options.size())) {
        list.options[static_cast<std::size_t>(list.highlighted)]["classList"].call<void>("remove", std::string("active"));
    }
    list.highlighted = row;
    if (row < 0 || row >= static_cast<int>(list.options.size())) return;
    val option = list.options[static_cast<std::size_t>(row)];
    option["classList"].call<void>("add", std::string("active"));
    attribute(list.field, "aria-activedescendant", option["id"].as<std::string>());
    // Only the list scrolls to the entry: scrollIntoView would scroll the window too.
    const int top = option["offsetTop"].as<int>();
    const int bottom = top + option["offsetHeight"].as<int>();
    const int shownFrom = list.list["scrollTop"].as<int>();
    const int shownTo = shownFrom + list.list["clientHeight"].as<int>();
    if (top < shownFrom) list.list.set("scrollTop", top);
    if (bottom > shownTo) list.list.set("scrollTop", shownFrom + bottom - shownTo);
}

void WebForm::placeList(Combo& list) {
    // Below the field, or above it where the viewport has more room there; where neither
    // side holds the whole list, it scrolls within the larger room.
    setStyle(list.list, "");
    const Box field = boxOf(list.box);
    const Box frame = boxOf(window_);
    const double natural = list.list["offsetHeight"].as<double>();
    const double roomBelow = document()["documentElement"]["clientHeight"].as<double>() - field.bottom;
    const double roomAbove = field.top;
    const bool above = roomBelow < natural && roomAbove > roomBelow;
    const double height = std::min(natural, std::max(above ? roomAbove : roomBelow, 0.0));
    std::string css;
    addStyle(css, "left", px(field.left - frame.left));
    addStyle(css, "top", px((above ? field.top - height : field.bottom) - frame.top));
    addStyle(css, "width", px(field.right - field.left));
    if (height < natural) addStyle(css, "max-height", px(height));
    setStyle(list.list, css);
}

void WebForm::pick(Combo& list, std::string_view name, int row) {
    closeList(list);
    showText(list, list.options[static_cast<std::size_t>(row)]["textContent"].as<std::string>());
    run(name, 0);
}

void WebForm::showText(Combo& list, std::string_view text) {
    list.field.set("value", std::string(text));
    list.selected = -1;
    for (std::size_t i = 0; i < list.options.size(); ++i) {
        const bool chosen = list.selected < 0 && list.options[i]["textContent"].as<std::string>() == text;
        if (chosen) list.selected = static_cast<int>(i);
        attribute(list.options[i], "aria-selected", chosen ? "true" : "false");
    }
}

bool WebForm::menuKey(std::size_t index, const std::string& part, const std::string& key) {
    const std::size_t count = menus_.size();
    if (key == "ArrowRight" || key == "ArrowLeft") {
        const std::size_t next = (index + (key == "ArrowRight" ? 1 : count - 1)) % count;
        const bool wasOpen = menus_[index].open;
        closeMenus();
        if (wasOpen) {
            openMenu(next, true);
        } else {
            menus_[next].title.call<void>("focus");
        }
        return true;
    }
    if (key == "Escape") {
        // The first Escape closes the menu, the next leaves the menu bar.
        if (menus_[index].open) {
            closeMenus();
            menus_[index].title.call<void>("focus");
        } else {
            leaveMenuBar();
        }
        return true;
    }
    if (part == "title" && (key == "ArrowDown" || key == "Enter" || key == " ")) {
        openMenu(index, true);
        return true;
    }
    if (part == "item" && (key == "Enter" || key == " ")) {
        closeMenus();
        leaveMenuBar();
        run(description_.menus[index].itemName, description_.menus[index].itemIndex);
        return true;
    }
    if (key == "Tab") {
        closeMenus();
        leaveMenuBar();
        return true;
    }
    return key == "ArrowDown" || key == "ArrowUp";
}

void WebForm::openMenu(std::size_t index, bool focusItem) {
    Menu& menu = menus_[index];
    menu.open = true;
    menu.popup.set("hidden", false);
    attribute(menu.title, "aria-expanded", "true");
    (focusItem ? menu.item : menu.title).call<void>("focus");
}

void WebForm::enterMenuBar() {
    val active = document()["activeElement"];
    if (!active.isNull() && !menuBar_.call<bool>("contains", active)) focusBeforeMenus_ = active;
}

void WebForm::closeMenus() {
    for (Menu& menu : menus_) {
        if (!menu.open) continue;
        menu.open = false;
        menu.popup.set("hidden", true);
        attribute(menu.title, "aria-expanded", "false");
    }
}

void WebForm::leaveMenuBar() {
    // Leaving the menus gives the focus back to the control that had it, as on the desktop.
    val active = document()["activeElement"];
    if (active.isNull() || !menuBar_.call<bool>("contains", active)) return;
    if (!focusBeforeMenus_.isUndefined() && focusBeforeMenus_["isConnected"].as<bool>() &&
        window_.call<bool>("contains", focusBeforeMenus_)) {
        focusBeforeMenus_.call<void>("focus");
    } else {
        focusFirst();
    }
}

void WebForm::closeEverythingOpen() {
    closeMenus();
    for (auto& [name, list] : combos_) {
        if (list.open) closeList(list);
    }
}

void WebForm::nameSwatch(Swatch swatch) {
    val box = control(controlName(swatch));
    const auto fill = swatchFills_.find(controlName(swatch));
    if (box.isUndefined() || fill == swatchFills_.end()) return;
    Combo* list = combo(controlName(bandListOf(swatch)));
    const std::string bandText = list != nullptr ? list->field["value"].as<std::string>() : std::string(kUnchosen);
    attribute(box, "aria-label", swatchName(description_, swatch, fill->second, bandText));
}

void WebForm::run(std::string_view name, int index) {
    const auto it = clicks_.find(name);
    if (ended_ || it == clicks_.end()) return;
    runBound(*it->second, form_, index, [this](std::string_view title, std::string_view message) { report(title, message); });
}

void WebForm::report(std::string_view title, std::string_view message) {
    if (ended_) return;
    dialog_.call<val>("querySelector", std::string("h2")).set("textContent", std::string(title));
    dialog_.call<val>("querySelector", std::string("p")).set("textContent", std::string(message));
    if (!dialog_["open"].as<bool>()) dialog_.call<void>("showModal");
}

template <typename Check>
Status WebForm::admit(std::string_view name, Operation operation, Check kind, val& e) const {
    e = control(name);
    const ControlDescription* c = findControl(description_, name);
    if (e.isUndefined() || !e["isConnected"].as<bool>() || c == nullptr || !kind(*c)) return kControlUnavailable;
    return gate_ ? gate_(name, operation) : kOk;
}

namespace {
bool isList(const ControlDescription& c) { return c.kind == ControlKind::ComboBox; }
bool isBox(const ControlDescription& c) { return c.kind == ControlKind::PictureBox; }
bool isLabel(const ControlDescription& c) { return c.kind == ControlKind::Label; }
}  // namespace

Status WebForm::bandText(BandList list, std::string& text) {
    val e = val::undefined();
    if (const Status s = admit(controlName(list), Operation::ReadText, isList, e); s.failed()) return s;
    text = combo(controlName(list))->field["value"].as<std::string>();
    return kOk;
}

Status WebForm::setBandText(BandList list, std::string_view text) {
    val e = val::undefined();
    if (const Status s = admit(controlName(list), Operation::SetText, isList, e); s.failed()) return s;
    showText(*combo(controlName(list)), text);
    return kOk;
}

Status WebForm::setSwatchColour(Swatch swatch, ColourValue colour) {
    val e = val::undefined();
    if (const Status s = admit(controlName(swatch), Operation::SetBackColour, isBox, e); s.failed()) return s;
    swatchFills_[std::string(controlName(swatch))] = colour;
    paintPicture();
    nameSwatch(swatch);
    return kOk;
}

Status WebForm::setCaption(Label label, std::string_view caption) {
    val e = val::undefined();
    if (const Status s = admit(controlName(label), Operation::SetCaption, isLabel, e); s.failed()) return s;
    e.set("textContent", std::string(caption));
    return kOk;
}

Status WebForm::setFontSize(Label label, float size) {
    val e = val::undefined();
    if (const Status s = admit(controlName(label), Operation::SetFontSize, isLabel, e); s.failed()) return s;
    if (!fontSizeInRange(size)) return kInvalidValue;
    styleOf(e, "font-size", points(static_cast<double>(size)));
    return kOk;
}

Status WebForm::setTop(Label label, float twips) {
    val e = val::undefined();
    if (const Status s = admit(controlName(label), Operation::SetTop, isLabel, e); s.failed()) return s;
    if (!topInRange(twips)) return kInvalidValue;
    styleOf(e, "top", px(twipsToPixels(static_cast<double>(twips))));
    return kOk;
}

void WebForm::endProgram() {
    if (ended_) return;
    closeEverythingOpen();
    if (dialog_["open"].as<bool>()) dialog_.call<void>("close");
    ended_ = true;
    window_.call<void>("remove");
    // The tab stays; it says what happened and how to start again.
    val notice = element("div", parent_, "vaskelo-ended");
    attribute(notice, "role", "status");
    element("p", notice).set("textContent", std::string("Vaskelo kapandı."));
    val again = element("a", element("p", notice));
    attribute(again, "href", "");
    again.set("textContent", std::string("Vaskelo'yu yeniden başlat"));
}

WebForm& openMainWindow(std::unique_ptr<WebForm>& holder, val parent) {
    return vaskelo::openMainWindow<WebForm>(holder, [parent] {
        auto form = std::make_unique<WebForm>(mainWindowDescription(), eventBindings(), parent);
        form->focusFirst();
        return form;
    });
}

}  // namespace vaskelo::web

EMSCRIPTEN_BINDINGS(vaskelo_web) { emscripten::function("vaskeloEvent", &vaskelo::web::dispatchEvent); }
