#include "platform/web/web_form.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/readable_text.h"
#include "core/runtime_error.h"
#include "core/texts.h"
#include "platform/web/dom.h"

namespace vaskelo::web {

namespace {

constexpr int kByTouch = 16;  // the bit listen.js adds to a press a finger made

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
    fit();
    // In the page whole, and painted once there: the picture's device pixels are counted
    // from where the client area stands. It takes the place of the page's still picture of
    // it, which stood there from the first frame on, in the same frame.
    val still = parent_.call<val>("querySelector", std::string(".vaskelo-still"));
    if (still.isNull()) {
        parent_.call<void>("append", window_);
    } else {
        still.call<void>("replaceWith", window_);
    }
    measure();
    applyColours();
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
    menuBar_.emplace(
        description.menus, idOf("menu-"), window_, [this](std::string_view item, int index) { run(item, index); },
        [this] { closeEverythingOpen(); }, [this] { focusFirst(); });

    client_ = element("div", window_, "vaskelo-client");
    css.clear();
    addStyle(css, "width", px(twipsToPixels(description.clientWidth)));
    addStyle(css, "height", px(twipsToPixels(description.clientHeight)));
    addStyle(css, "background-color", cssColour(description.background));
    addStyle(css, "color", cssColour(kButtonText));
    setStyle(client_, css);

    // Open lists drop out of the client area, as a desktop list drops out of its window.
    popups_ = element("div", window_, "vaskelo-popups");

    for (const ControlDescription& c : description.controls) {
        Control& record = controls_[std::string(c.name)];
        record.described = &c;
        record.element = buildControl(c, record);
    }
    // A label whose caption names a list is that list's label, for assistive technology.
    for (const ControlDescription& c : description.controls) {
        const ControlDescription* caption = captionLabelOf(description, c);
        ComboBox* list = combo(c.name);
        if (caption == nullptr || list == nullptr) continue;
        val label = control(caption->name);
        if (!label.isUndefined()) label.set("htmlFor", list->field()["id"]);
    }
    for (const Swatch swatch : kAllSwatches) nameSwatch(swatch);
    buildDialog();
}

val WebForm::buildControl(const ControlDescription& c, Control& record) {
    const PlacedBox at = clientPlace(description_, c, c.background);
    val e = val::undefined();
    std::string css;
    switch (c.kind) {
        case ControlKind::PictureBox:
            if (c.container.empty()) {
                e = element("canvas", client_, "vaskelo-picture");
            } else {
                // Its border and colour are painted by the box it stands in, on the same device pixels.
                e = element("div", client_, "vaskelo-swatch");
                record.fill = c.background;
            }
            attribute(e, "role", "img");
            attribute(e, "tabindex", "0");
            attribute(e, "aria-label", c.accessibleName);
            place(css, at.left, at.top, at.width, at.height);
            break;
        case ControlKind::ComboBox:
            record.list.emplace(c, idOf(c.name), client_, popups_, window_, zoom_, [this] { closeEverythingOpen(); },
                                [this, name = c.name] { run(name, 0); });
            e = record.list->box();
            place(css, at.left, at.top, at.width, at.height);
            break;
        case ControlKind::Label:
            e = element("label", client_, "vaskelo-label");
            e.set("textContent", std::string(c.text));
            place(css, at.left, at.top, refitsToCaption(c) ? -1 : at.width, refitsToCaption(c) ? -1 : at.height);
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
            place(css, at.left, at.top, at.width, at.height);
            break;
    }
    attribute(e, "data-control", c.name);
    e.set("id", idOf(c.name));
    if (c.font) setFont(css, *c.font);
    if (c.kind != ControlKind::ComboBox && c.kind != ControlKind::PictureBox) {
        addStyle(css, "background-color", cssColour(c.background));
        addStyle(css, "color", cssColour(c.foreground));
    }
    setStyle(e, css);
    return e;
}

void WebForm::buildDialog() {
    const std::string prefix = idOf("");
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

std::string WebForm::idOf(std::string_view name) const { return "vaskelo-" + std::to_string(id_) + "-" + std::string(name); }

void WebForm::check(const WindowDescription& description, std::span<const EventBinding> bindings) const {
    const auto kindOf = [this](std::string_view name) -> std::optional<ControlKind> {
        const Control* c = find(name);
        if (c == nullptr || c->described == nullptr) return std::nullopt;
        return c->described->kind;
    };
    checkWindow(description, bindings, kindOf, [this](std::string_view name) { return !menuItem(name).isUndefined(); });
}

void WebForm::wire(std::span<const EventBinding> bindings) {
    for (const EventBinding& b : bindings) {
        switch (b.event) {
            // A menu item's click gets a record of its own too (its element is the menu bar's).
            case ControlEvent::Click: controls_[std::string(b.control)].click = &b; break;
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
    const Control* c = find(name);
    if (c == nullptr || !c->fill || !c->element["isConnected"].as<bool>()) return std::nullopt;
    return shown(*c->fill);
}

void WebForm::focusFirst() {
    if (description_.controls.empty()) return;
    val first = control(description_.controls.front().name);
    // The window stands at the top of the page: nothing to scroll to, and no layout asked for early.
    val noScroll = val::object();
    noScroll.set("preventScroll", true);
    if (!first.isUndefined()) first.call<void>("focus", noScroll);
}

const WebForm::Control* WebForm::find(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

val WebForm::control(std::string_view name) const {
    const Control* c = find(name);
    return c == nullptr || c->described == nullptr ? val::undefined() : c->element;
}

val WebForm::menuItem(std::string_view name) const { return menuBar_ ? menuBar_->item(name) : val::undefined(); }

ComboBox* WebForm::combo(std::string_view name) {
    const auto it = controls_.find(name);
    return it == controls_.end() || !it->second.list ? nullptr : &*it->second.list;
}

void WebForm::applyColours() {
    schemeColours_.clear();  // the scheme may have changed
    for (auto& [name, c] : controls_) {
        if (!c.list || isSystemColour(c.described->background)) continue;
        const ControlDescription& d = *c.described;
        const ColourValue text = readableTextColour(d.foreground, d.background, shown(d.foreground));
        val field = c.list->field();
        styleOf(field, "color", cssColour(text == shown(d.foreground) ? d.foreground : text));
    }
    // Some browsers' highlight pair falls short of readable (white on a light blue, or on
    // a translucent highlight): an open menu's title, over the button face, and the entries
    // of open lists and menus, over the window background, then write in black on it, as
    // band 4's list does on its white.
    const auto readableOn = [this](ColourValue under, const char* property) {
        const ColourValue text = shown(kHighlightText);
        const ColourValue readable = readableTextColour(kHighlightText, shownColour(parent_, kHighlight, shown(under)), text);
        styleOf(window_, property, cssColour(readable == text ? kHighlightText : readable));
    };
    readableOn(kButtonFace, "--vaskelo-menu-highlight-text");
    // And the button face's own pair: WebKitGTK's dark scheme keeps a light face under white text.
    const ColourValue buttonText = shown(kButtonText);
    const ColourValue onFace = readableTextColour(kButtonText, shown(kButtonFace), buttonText);
    styleOf(window_, "--vaskelo-button-text", onFace == buttonText ? "ButtonText" : cssColour(onFace));
    readableOn(kWindowBackground, "--vaskelo-list-highlight-text");
    paintPicture();
}

void WebForm::paintPicture() {
    for (const ControlDescription& c : description_.controls) {
        if (c.kind != ControlKind::PictureBox || !c.container.empty()) continue;
        val canvas = control(c.name);
        if (canvas.isUndefined() || canvas["parentNode"].isNull()) continue;  // taken out of the window
        std::vector<PlacedBox> swatches;
        for (const ControlDescription& s : description_.controls) {
            const Control* swatch = s.container == c.name ? find(s.name) : nullptr;
            if (swatch == nullptr || !swatch->fill || swatch->element["parentNode"].isNull()) continue;
            swatches.push_back(clientPlace(description_, s, shown(*swatch->fill)));
        }
        picture_.paint(canvas, clientPlace(description_, c, shown(c.background)), c.showsPicture, swatches, zoom_.level,
                       clientInPage_);
    }
}

void WebForm::fit() {
    const double level = val::global("vaskeloFit")(window_, twipsToPixels(description_.clientWidth),
                                                   kMenuBarHeight + twipsToPixels(description_.clientHeight))
                             .as<double>();
    zoom_.level = level;
    measure();
}

void WebForm::measure() {
    if (!window_["isConnected"].as<bool>()) return;
    zoom_.toViewport = 1;
    if (zoom_.level != 1) {
        const Box asShown = boxOf(window_);
        const double across = asShown.right - asShown.left;
        if (across > 0) zoom_.toViewport = zoom_.level * window_["offsetWidth"].as<double>() / across;
    }
    // In the page rather than the viewport, which a scroll moves by whole device pixels.
    const Box client = shownBox(client_);
    const double x = val::global("scrollX").as<double>();
    const double y = val::global("scrollY").as<double>();
    clientInPage_ = {client.left + x, client.top + y, client.right + x, client.bottom + y};
}

bool WebForm::handle(const std::string& type, const std::string& name, const std::string& part, const std::string& key,
                     int modifiers) {
    if (type == "scheme" || type == "rescale") {
        fit();
        applyColours();
        return false;
    }
    // A new size of the viewport (a phone turned), or a move from a fine to a coarse pointer.
    if (type == "resize") {
        fit();
        paintPicture();
        return false;
    }
    if (ended_) return false;
    ComboBox* list = combo(name);
    const bool inMenu = menuBar_->owns(name);

    if (type == "outside") {
        closeEverythingOpen();
        return false;
    }
    if (type == "mousedown") {
        if (list != nullptr && list->pressed(part, (modifiers & kByTouch) != 0)) return true;
        if (inMenu && menuBar_->pressed(name, part)) return true;
        closeEverythingOpen();
        // A click on a label or the window's ground leaves the focus where it is, as on the desktop.
        const Control* clicked = find(name);
        return clicked == nullptr || clicked->described == nullptr || clicked->described->kind == ControlKind::Label;
    }
    if (type == "click") {
        if (list != nullptr) return list->clicked(part);
        if (inMenu) return menuBar_->clicked(name, part);
        run(name, 0);
        return false;
    }
    if (type == "keydown") {
        // F10 goes to the menu bar from wherever the focus is, as on the desktop.
        if (key == "F10" && menuBar_->hasMenus()) {
            closeEverythingOpen();
            menuBar_->enter();
            return true;
        }
        if (list != nullptr && part == "field") return list->key(key, modifiers);
        return inMenu && menuBar_->key(name, part, key);
    }
    if (type == "focusout" && list != nullptr) list->focusLost();
    return false;
}

void WebForm::closeEverythingOpen() {
    menuBar_->close();
    for (auto& [name, c] : controls_) {
        if (c.list && c.list->isOpen()) c.list->close();
    }
}

void WebForm::run(std::string_view name, int index) {
    const Control* c = find(name);
    if (ended_ || c == nullptr || c->click == nullptr) return;
    runBound(*c->click, form_, index, [this](std::string_view title, std::string_view message) { report(title, message); });
}

void WebForm::report(std::string_view title, std::string_view message) {
    if (ended_) return;
    dialog_.call<val>("querySelector", std::string("h2")).set("textContent", std::string(title));
    dialog_.call<val>("querySelector", std::string("p")).set("textContent", std::string(message));
    if (!dialog_["open"].as<bool>()) dialog_.call<void>("showModal");
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
    element("p", notice).set("textContent", std::string(texts::kEnded));
    val again = element("a", element("p", notice));
    attribute(again, "href", "");
    again.set("textContent", std::string(texts::kStartAgain));
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
