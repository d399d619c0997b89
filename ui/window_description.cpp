#include "ui/window_description.h"

#include <algorithm>
#include <array>

#include "core/band_colours.h"
#include "core/texts.h"

namespace vaskelo {

namespace {

constexpr FontDescription kWindowFont{"MS Sans Serif", 8.0f, false};
constexpr FontDescription kButtonFont{"MS Sans Serif", 12.0f, true};
constexpr FontDescription kResultFont{"Arial", 48.0f, true};

const std::array<ControlDescription, 18>& controls() {
    using K = ControlKind;
    namespace T = texts;
    static const std::array<ControlDescription, 18> table{{
        {"pd1", K::PictureBox, "", {120, 120, 5355, 1455}, "", {}, kScrollBarColour, kWindowText, false, true, true, {}, T::kPictureName},
        {"pr1", K::PictureBox, "pd1", {720, 120, 630, 1170}, "", {}, kWhite, kWindowText, false, true, false, {}, T::kSwatch1},
        {"pr2", K::PictureBox, "pd1", {1680, 120, 630, 1170}, "", {}, kWindowBackground, kWindowText, false, true, false, {}, T::kSwatch2},
        {"pr3", K::PictureBox, "pd1", {2640, 120, 630, 1170}, "", {}, kWindowBackground, kWindowText, false, true, false, {}, T::kSwatch3},
        {"pr4", K::PictureBox, "pd1", {3600, 120, 630, 1170}, "", {}, kWindowBackground, kWindowText, false, true, false, {}, T::kSwatch4},
        {"Cr1", K::ComboBox, "", {120, 2040, 1215, 315}, T::kUnchosen, {}, kWindowBackground, kWindowText, false, false, false, bandEntries(BandList::Cr1), T::kBand1},
        {"Cr2", K::ComboBox, "", {1320, 2040, 1215, 315}, T::kUnchosen, {}, kWindowBackground, kWindowText, false, false, false, bandEntries(BandList::Cr2), T::kBand2},
        {"Cr3", K::ComboBox, "", {2520, 2040, 1215, 315}, T::kUnchosen, {}, kWindowBackground, kWindowText, false, false, false, bandEntries(BandList::Cr3), T::kBand3},
        {"Cr4", K::ComboBox, "", {3720, 2040, 1215, 315}, T::kUnchosen, {}, kWhite, kWindowText, false, false, false, bandEntries(BandList::Cr4), T::kBand4},
        {"Lr1", K::Label, "", {120, 1800, 525, 195}, T::kBand1, {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Lr2", K::Label, "", {1320, 1800, 525, 195}, T::kBand2, {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Lr3", K::Label, "", {2520, 1800, 525, 195}, T::kBand3, {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Lr4", K::Label, "", {3720, 1800, 525, 195}, T::kBand4, {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"CommDH", K::CommandButton, "", {120, 2400, 4815, 375}, T::kCalculateCaption, kButtonFont, kButtonFace, kButtonText, false, false, false, {}, T::kCalculateName},
        {"Ls1", K::Label, "", {120, 3000, 315, 1125}, T::kDash, kResultFont, kButtonFace, kButtonText, true, false, false, {}, "", T::kResultDescription},
        {"DYeni", K::CommandButton, "", {5000, 2040, 495, 735}, T::kNew, {}, kButtonFace, kButtonText, false, false, false, {}, T::kNew},
        {"LTolerans", K::Label, "", {3840, 2880, 660, 195}, T::kToleranceCaption, {}, kButtonFace, kButtonText, true, false, false, {}, ""},
        {"Les2", K::Label, "", {4560, 2880, 45, 195}, T::kDash, {}, kButtonFace, kButtonText, true, false, false, {}, "", T::kToleranceDescription},
    }};
    return table;
}

// Menus left to right; their numbers follow the order they were made in, not their place.
constexpr std::array<MenuDescription, 3> kMenus{{
    {"Dosya", texts::kFileMenu, "Çıkış", texts::kExit, 11},
    {"Düzenleme", texts::kEditMenu, "Yeni", texts::kNew, 31},
    {"Yardım", texts::kHelpMenu, "Hakkında", texts::kAbout, 21},
}};

}  // namespace

const WindowDescription& mainWindowDescription() {
    static const WindowDescription window{"MainForm", texts::kVaskelo, 5625, 4275, kWindowFont, kButtonFace, controls(), kMenus};
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
