#include "platform/web/menu_bar.h"

#include <utility>

#include "core/texts.h"
#include "platform/web/dom.h"

namespace vaskelo::web {

MenuBar::MenuBar(std::span<const MenuDescription> menus, const std::string& idPrefix, val window, Run run,
                 CloseAll closeAll, FocusFirst focusFirst)
    : described_(menus), window_(std::move(window)), run_(std::move(run)), closeAll_(std::move(closeAll)),
      focusFirst_(std::move(focusFirst)) {
    bar_ = element("div", window_, "vaskelo-menubar");
    attribute(bar_, "role", "menubar");
    attribute(bar_, "aria-label", texts::kMenus);
    styleOf(bar_, "height", px(kMenuBarHeight));
    for (const MenuDescription& m : menus) {
        val holder = element("div", bar_, "vaskelo-menu");
        Menu menu;
        menu.title = element("div", holder, "vaskelo-menu-title");
        attribute(menu.title, "role", "menuitem");
        attribute(menu.title, "tabindex", "-1");
        attribute(menu.title, "aria-haspopup", "menu");
        attribute(menu.title, "aria-expanded", "false");
        attribute(menu.title, "data-control", m.name);
        attribute(menu.title, "data-part", "title");
        menu.title.set("id", idPrefix + std::string(m.name));
        menu.title.set("textContent", std::string(m.caption));
        menu.popup = element("div", holder, "vaskelo-menu-popup");
        attribute(menu.popup, "role", "menu");
        attribute(menu.popup, "aria-labelledby", idPrefix + std::string(m.name));
        menu.popup.set("hidden", true);
        menu.item = element("div", menu.popup, "vaskelo-menu-item");
        attribute(menu.item, "role", "menuitem");
        attribute(menu.item, "tabindex", "-1");
        attribute(menu.item, "data-control", m.itemName);
        attribute(menu.item, "data-part", "item");
        menu.item.set("textContent", std::string(m.itemCaption));
        menus_.push_back(menu);
    }
}

std::optional<std::size_t> MenuBar::indexOf(std::string_view name) const {
    for (std::size_t i = 0; i < described_.size() && i < menus_.size(); ++i) {
        if (described_[i].name == name || described_[i].itemName == name) return i;
    }
    return std::nullopt;
}

val MenuBar::item(std::string_view name) const {
    for (std::size_t i = 0; i < described_.size() && i < menus_.size(); ++i) {
        if (described_[i].itemName == name) return menus_[i].item;
    }
    return val::undefined();
}

bool MenuBar::pressed(std::string_view name, const std::string& part) {
    const std::optional<std::size_t> index = indexOf(name);
    if (!index) return false;
    if (part == "title") {
        const bool wasOpen = menus_[*index].open;
        closeAll_();
        if (!wasOpen) {
            noteFocus();
            open(*index, false);
        }
        return true;
    }
    return part == "item";
}

bool MenuBar::clicked(std::string_view name, const std::string& part) {
    const std::optional<std::size_t> index = indexOf(name);
    if (!index || part != "item") return false;
    runItem(*index);
    return true;
}

bool MenuBar::key(std::string_view name, const std::string& part, const std::string& key) {
    const std::optional<std::size_t> found = indexOf(name);
    if (!found) return false;
    const std::size_t index = *found;
    const std::size_t count = menus_.size();
    if (key == "ArrowRight" || key == "ArrowLeft") {
        const std::size_t next = (index + (key == "ArrowRight" ? 1 : count - 1)) % count;
        const bool wasOpen = menus_[index].open;
        close();
        if (wasOpen) {
            open(next, true);
        } else {
            menus_[next].title.call<void>("focus");
        }
        return true;
    }
    if (key == "Escape") {
        // The first Escape closes the menu, the next leaves the menu bar.
        if (menus_[index].open) {
            close();
            menus_[index].title.call<void>("focus");
        } else {
            leave();
        }
        return true;
    }
    if (part == "title" && (key == "ArrowDown" || key == "Enter" || key == " ")) {
        open(index, true);
        return true;
    }
    if (part == "item" && (key == "Enter" || key == " ")) {
        runItem(index);
        return true;
    }
    if (key == "Tab") {
        close();
        leave();
        return true;
    }
    return key == "ArrowDown" || key == "ArrowUp";
}

void MenuBar::enter() {
    noteFocus();
    menus_.front().title.call<void>("focus");
}

void MenuBar::open(std::size_t index, bool focusItem) {
    Menu& menu = menus_[index];
    menu.open = true;
    menu.popup.set("hidden", false);
    attribute(menu.title, "aria-expanded", "true");
    (focusItem ? menu.item : menu.title).call<void>("focus");
}

void MenuBar::noteFocus() {
    val active = document()["activeElement"];
    if (!active.isNull() && !bar_.call<bool>("contains", active)) focusBefore_ = active;
}

void MenuBar::close() {
    for (Menu& menu : menus_) {
        if (!menu.open) continue;
        menu.open = false;
        menu.popup.set("hidden", true);
        attribute(menu.title, "aria-expanded", "false");
    }
}

void MenuBar::leave() {
    // Leaving the menus gives the focus back to the control that had it, as on the desktop.
    val active = document()["activeElement"];
    if (active.isNull() || !bar_.call<bool>("contains", active)) return;
    if (!focusBefore_.isUndefined() && focusBefore_["isConnected"].as<bool>() &&
        window_.call<bool>("contains", focusBefore_)) {
        focusBefore_.call<void>("focus");
    } else {
        focusFirst_();
    }
}

void MenuBar::runItem(std::size_t index) {
    close();
    leave();
    run_(described_[index].itemName, described_[index].itemIndex);
}

}  // namespace vaskelo::web
