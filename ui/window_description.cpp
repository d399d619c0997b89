#include "ui/window_description.h"

#include <algorithm>
#include <array>

#include "core/band_colours.h"

namespace vaskelo {

namespace {

constexpr FontDescription kWindowFont{"MS Sans Serif", 8.0f, false};
constexpr FontDescription kButtonFont{"MS Sans Serif", 12.0f, true};
constexpr FontDescription kResultFont{"Arial", 48.0f, true};

const std::array<ControlDescription, 18>& controls() {
    using K = ControlKind;
    static const std::array<ControlDescription, 18> table{{
        {"pd1", K::PictureBox, "", {120, 120, 5355, 1455}, "", {}, kScrollBarColour, kWindowText, false, true, true, {}, "Direnç resmi"},
        {"pr1", K::PictureBox, "pd1", {720, 120, 630, 1170}, "", {}, kWhite, kWindowText, false, true, false, {}, "1. bandın rengi"},
        {"pr2", K::PictureBox, "pd1", {1680, 120, 630, 1170}, "", {}, kWindowBackground, kWindowText, false, true, false, {}, "2. bandın rengi"},
        {"pr3", K::PictureBox, "pd1", {2640, 120, 630, 1170}, "", {}, kWindowBackground, kWindowText, false, true, false, {}, "3. bandın rengi"},
        {"pr4", K::PictureBox, "pd1", {3600, 120, 630, 1170}, "", {}, kWindowBackground, kWindowText, false, true, false, {}, "4. bandın rengi"},
        {"Cr1", K::ComboBox, "", {120, 2040, 1215, 315}, "?", {}, kWindowBackground, kWindowText, false, false, false, bandEntries(BandList::Cr1), "1.Renk"},
        {"Cr2", K::ComboBox, "", {1320, 2040, 1215, 315}, "?", {}, kWindowBackground, kWindowText, false, false, false, bandEntries(BandList::Cr2), "2.Renk"},
        {"Cr3", K::ComboBox, "", {2520, 2040, 1215, 315}, "?", {}, kWindowBackground, kWindowText, false, false, false, bandEntries(BandList::Cr3), "3.Renk"},
        {"Cr4", K::ComboBox, "", {3720, 2040, 1215, 315}, "?", {}, kWhite, kWindowText, false, false, false, bandEntries(BandList::Cr4), "4.Renk"},
        {"Lr1", K::Label, "", {120, 1800, 525, 195}, "1.Renk", {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Lr2", K::Label, "", {1320, 1800, 525, 195}, "2.Renk", {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Lr3", K::Label, "", {2520, 1800, 525, 195}, "3.Renk", {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Lr4", K::Label, "", {3720, 1800, 525, 195}, "4.Renk", {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"CommDH", K::CommandButton, "", {120, 2400, 4815, 375}, "D e ğ e r i   H e s a p l a", kButtonFont, kButtonFace, kButtonText, false, false, false, {}, "Değeri Hesapla"},
        {"Ls1", K::Label, "", {120, 3000, 315, 1125}, "-", kResultFont, kButtonFace, kButtonText, true, false, false, {}, "", "Sonuç"},
        {"DYeni", K::CommandButton, "", {5000, 2040, 495, 735}, "Yeni", {}, kButtonFace, kButtonText, false, false, false, {}, "Yeni"},
        {"LTolerans", K::Label, "", {3840, 2880, 660, 195}, "Tolerans:", {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Les2", K::Label, "", {4560, 2880, 45, 195}, "-", {}, kButtonFace, kButtonText, true, false, false, {}, "", "Tolerans"},
    }};
    return table;
}

// Menus left to right; their numbers follow the order they were made in, not their place.
constexpr std::array<MenuDescription, 3> kMenus{{
    {"Dosya", "Dosya", "Çıkış", "Çıkış", 11},
    {"Düzenleme", "Düzenleme", "Yeni", "Yeni", 31},
    {"Yardım", "Yardım", "Hakkında", "Hakkında", 21},
}};

}  // namespace

const WindowDescription& mainWindowDescription() {
    static const WindowDescription window{"MainForm", "Vaskelo", 5625, 4275, kWindowFont, kButtonFace, controls(), kMenus};
    return window;
}

const ControlDescription* findControl(const WindowDescription& window, std::string_view name) {
    const auto it = std::find_if(window.controls.begin(), window.controls.end(),
                                 [name](const ControlDescription& c) { return c.name == name; });
    return it == window.controls.end() ? nullptr : &*it;
}

const MenuDescription* findMenuItem(const WindowDescription& window, std::string_view itemName) {
    const auto it = std::find_if(window.menus.begin(), window.menus.end(),
                                 [itemName](const MenuDescription& m) { return m.itemName == itemName; });
    return it == window.menus.end() ? nullptr : &*it;
}

const ControlDescription* captionLabelOf(const WindowDescription& window, const ControlDescription& control) {
    if (control.accessibleName.empty()) return nullptr;
    const auto it = std::find_if(window.controls.begin(), window.controls.end(), [&control](const ControlDescription& c) {
        return c.kind == ControlKind::Label && c.text == control.accessibleName;
    });
    return it == window.controls.end() ? nullptr : &*it;
}

}  // namespace vaskelo
