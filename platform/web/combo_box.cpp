#include "platform/web/combo_box.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/texts.h"
#include "platform/web/dom.h"

namespace vaskelo::web {

namespace {

constexpr int kAlt = 1;  // the modifier bit listen.js gives the Alt key

// An entry's row from its part's name ("option:3"), or -1 for any other part.
int optionRow(const std::string& part) {
    if (part.rfind("option:", 0) != 0) return -1;
    return std::atoi(part.c_str() + 7);
}

}  // namespace

ComboBox::ComboBox(const ControlDescription& c, const std::string& id, val client, val popups, val frame,
                   const Zoom& zoom, Opening opening, Picked picked)
    : frame_(std::move(frame)), zoom_(zoom), opening_(std::move(opening)), picked_(std::move(picked)) {
    box_ = element("div", std::move(client), "vaskelo-combo");
    field_ = element("input", box_, "vaskelo-field");
    field_.set("id", id + "-field");
    attribute(field_, "type", "text");
    attribute(field_, "role", "combobox");
    attribute(field_, "aria-autocomplete", "none");
    attribute(field_, "aria-expanded", "false");
    attribute(field_, "aria-controls", id + "-list");
    attribute(field_, "autocomplete", "off");
    attribute(field_, "spellcheck", "false");
    // Typing picks nothing, so a phone raises no keyboard for it; a real keyboard still types.
    attribute(field_, "inputmode", "none");
    attribute(field_, "maxlength", "32767");  // what a desktop list's field holds
    attribute(field_, "data-part", "field");
    std::string css;
    addStyle(css, "background-color", cssColour(c.background));
    addStyle(css, "color", cssColour(c.foreground));
    // A fixed colour stays as it is in forced colours too, with its text made readable on it.
    if (!isSystemColour(c.background)) addStyle(css, "forced-color-adjust", "none");
    setStyle(field_, css);
    button_ = element("button", box_, "vaskelo-combo-button");
    attribute(button_, "type", "button");
    attribute(button_, "tabindex", "-1");
    attribute(button_, "aria-label", std::string(c.accessibleName) + std::string(texts::kOpenList));
    attribute(button_, "aria-controls", id + "-list");
    attribute(button_, "aria-expanded", "false");
    attribute(button_, "data-part", "button");
    // The open list drops out of the client area, as a desktop list drops out of its window;
    // its events still name the list.
    list_ = element("ul", std::move(popups), "vaskelo-list");
    list_.set("id", id + "-list");
    attribute(list_, "data-control", c.name);
    attribute(list_, "role", "listbox");
    attribute(list_, "aria-label", c.accessibleName);
    list_.set("hidden", true);
    int row = 0;
    for (const std::string_view entry : c.entries) {
        val option = element("li", list_, "vaskelo-option");
        option.set("id", id + "-" + std::to_string(row));
        attribute(option, "role", "option");
        attribute(option, "aria-selected", "false");
        attribute(option, "data-part", "option:" + std::to_string(row));
        option.set("textContent", std::string(entry));
        options_.push_back(option);
        ++row;
    }
    showText(c.text);
}

std::string ComboBox::text() const { return field_["value"].as<std::string>(); }

bool ComboBox::pressed(const std::string& part, bool touch) {
    if (part == "button" || (touch && part == "field")) {
        const bool wasOpen = open_;
        opening_();
        if (!wasOpen) open();
        field_.call<void>("focus");
        return true;  // the focus stays in the field
    }
    // A press on an entry keeps the focus in the field; the click that follows picks it.
    return optionRow(part) >= 0;
}

bool ComboBox::clicked(const std::string& part) {
    if (optionRow(part) < 0 || !open_) return false;
    pick(optionRow(part));
    return true;
}

bool ComboBox::key(const std::string& key, int modifiers) {
    const bool alt = (modifiers & kAlt) != 0;
    const int count = static_cast<int>(options_.size());
    if (!open_) {
        if ((key == "ArrowDown" && alt) || key == "F4") {
            opening_();
            open();
            return true;
        }
        if (key == "ArrowDown" || key == "ArrowUp") {
            const int row = selected_ + (key == "ArrowDown" ? 1 : -1);
            if (selected_ == -1 && key == "ArrowUp") return true;
            if (row >= 0 && row < count) pick(row);
            return true;
        }
        // Enter on a closed list picks nothing, not even an entry its text equals.
        return key == "Enter";
    }
    if ((key == "ArrowUp" && alt) || key == "F4" || key == "Escape") {
        close();
        return true;
    }
    if (key == "ArrowDown") highlight(std::min(highlighted_ + 1, count - 1));
    else if (key == "ArrowUp") highlight(std::max(highlighted_ - 1, 0));
    else if (key == "Home") highlight(0);
    else if (key == "End") highlight(count - 1);
    else if (key == "PageDown") highlight(std::min(highlighted_ + 10, count - 1));
    else if (key == "PageUp") highlight(std::max(highlighted_ - 10, 0));
    else if (key == "Enter") {
        if (highlighted_ >= 0) {
            pick(highlighted_);
        } else {
            close();
        }
    } else {
        if (key == "Tab") close();
        return false;
    }
    return true;
}

void ComboBox::focusLost() {
    if (open_) close();
}

void ComboBox::open() {
    open_ = true;
    list_.set("hidden", false);
    place();
    attribute(field_, "aria-expanded", "true");
    attribute(button_, "aria-expanded", "true");
    highlight(selected_);
}

void ComboBox::close() {
    open_ = false;
    list_.set("hidden", true);
    attribute(field_, "aria-expanded", "false");
    attribute(button_, "aria-expanded", "false");
    field_.call<void>("removeAttribute", std::string("aria-activedescendant"));
    highlight(-1);
}

void ComboBox::highlight(int row) {
    if (highlighted_ >= 0 && highlighted_ < static_cast<int>(options_.size())) {
        options_[static_cast<std::size_t>(highlighted_)]["classList"].call<void>("remove", std::string("active"));
    }
    highlighted_ = row;
    if (row < 0 || row >= static_cast<int>(options_.size())) return;
    val option = options_[static_cast<std::size_t>(row)];
    option["classList"].call<void>("add", std::string("active"));
    attribute(field_, "aria-activedescendant", option["id"].as<std::string>());
    // Only the list scrolls to the entry: scrollIntoView would scroll the window too.
    const int top = option["offsetTop"].as<int>();
    const int bottom = top + option["offsetHeight"].as<int>();
    const int shownFrom = list_["scrollTop"].as<int>();
    const int shownTo = shownFrom + list_["clientHeight"].as<int>();
    if (top < shownFrom) list_.set("scrollTop", top);
    if (bottom > shownTo) list_.set("scrollTop", shownFrom + bottom - shownTo);
}

void ComboBox::place() {
    // Below the field, or above it where the viewport has more room there; where neither
    // side holds the whole list, it scrolls within the larger room. Rooms are the
    // viewport's pixels, the list's place the zoomed window's own.
    setStyle(list_, "");
    const Box field = shownBoxOf(box_, zoom_);
    const Box frame = shownBoxOf(frame_, zoom_);
    const double zoom = zoom_.level;
    const double natural = list_["offsetHeight"].as<double>() * zoom;
    const double roomBelow = document()["documentElement"]["clientHeight"].as<double>() - field.bottom;
    const double roomAbove = field.top;
    const bool above = roomBelow < natural && roomAbove > roomBelow;
    const double height = std::min(natural, std::max(above ? roomAbove : roomBelow, 0.0));
    std::string css;
    addStyle(css, "left", px((field.left - frame.left) / zoom));
    addStyle(css, "top", px(((above ? field.top - height : field.bottom) - frame.top) / zoom));
    addStyle(css, "width", px((field.right - field.left) / zoom));
    if (height < natural) addStyle(css, "max-height", px(height / zoom));
    setStyle(list_, css);
}

void ComboBox::pick(int row) {
    close();
    showText(options_[static_cast<std::size_t>(row)]["textContent"].as<std::string>());
    picked_();
}

void ComboBox::showText(std::string_view text) {
    field_.set("value", std::string(text));
    selected_ = -1;
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const bool chosen = selected_ < 0 && options_[i]["textContent"].as<std::string>() == text;
        if (chosen) selected_ = static_cast<int>(i);
        attribute(options_[i], "aria-selected", chosen ? "true" : "false");
    }
}

}  // namespace vaskelo::web
