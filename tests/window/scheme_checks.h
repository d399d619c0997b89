// What the window shows under light, dark and high-contrast colour schemes, checked
// the same way on every toolkit: each toolkit sets the scheme its own way, grabs the
// window's pixels and names the controls' rectangles; the checks here say what is wrong.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/colour.h"
#include "core/readable_text.h"
#include "tests/window/scaled_window_checks.h"

namespace vaskelo::schemes {

// The system colours a scheme gives, as plain colours (0x00BBGGRR).
struct Scheme {
    const char* name;
    ColourValue window;  // window background, system colour 5
    ColourValue windowText;  // 8
    ColourValue buttonFace;  // 15: the window's own background and the labels'
    ColourValue buttonText;  // 18
    ColourValue highlight;
    ColourValue highlightText;
};

inline constexpr Scheme kLight{"light", 0xFFFFFF, 0x000000, 0xF0F0F0, 0x000000, 0xD77800, 0xFFFFFF};
// Near-white text on near-black: the white of a fixed background makes it vanish.
inline constexpr Scheme kDark{"dark", 0x202020, 0xF0F0F0, 0x383838, 0xF0F0F0, 0x8F5A1F, 0xFFFFFF};
// Windows' "High Contrast Black".
inline constexpr Scheme kHighContrast{"high contrast", 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFEB1A, 0x000000};

// One row: the window opened in `opened`, then, if `switchedTo` is set, that scheme
// set while the window is shown. Before the switch band 3 is picked "Mor": a colour
// the program set, which must stay, while swatches 2 and 4 still show the window
// background, a system colour, which must follow.
struct Row {
    const char* name;
    const Scheme* opened;
    const Scheme* switchedTo;
};

inline const std::array<Row, 4> kRows{{
    {"light", &kLight, nullptr},
    {"dark", &kDark, nullptr},
    {"high contrast", &kHighContrast, nullptr},
    {"light, switched to dark while shown", &kLight, &kDark},
}};

inline constexpr ColourValue kPickedBand3 = 0x800080;  // "Mor"

// A control's rectangle in the grab's pixels and what should show there.
struct Area {
    scaling::NamedRect rect;  // a swatch's or field's interior, a label's whole box
    ColourValue background;
    bool text;  // whether it shows text that must be readable on its background
};

// The controls checked, by name, with their background in `scheme`, as the row
// leaves them (band 3 picked only where the row switches schemes).
inline std::map<std::string, Area> expectedAreas(const Row& row) {
    const Scheme& s = row.switchedTo != nullptr ? *row.switchedTo : *row.opened;
    const ColourValue band3 = row.switchedTo != nullptr ? kPickedBand3 : s.window;
    return {
        {"pr1", {{}, kWhite, false}},       {"pr2", {{}, s.window, false}},      {"pr3", {{}, band3, false}},
        {"pr4", {{}, s.window, false}},     {"Cr1", {{}, s.window, true}},       {"Cr2", {{}, s.window, true}},
        {"Cr3", {{}, s.window, true}},      {"Cr4", {{}, kWhite, true}},         {"Lr4", {{}, s.buttonFace, true}},
        {"LTolerans", {{}, s.buttonFace, true}},
    };
}

// Device pixel (x, y) of the grab, as 0x00BBGGRR.
using Pixels = std::function<std::uint32_t(int x, int y)>;

inline std::string hex(std::uint32_t c) {
    std::ostringstream out;
    out << "0x" << std::hex << c;
    return out.str();
}

// What is wrong in the areas: a background (the colour most of the area shows) that
// is not the expected one, or text whose most contrasting pixel does not reach
// kReadableContrast against that background.
inline std::vector<std::string> schemeFaults(const Pixels& at, const std::map<std::string, Area>& areas) {
    std::vector<std::string> faults;
    for (const auto& [name, area] : areas) {
        const scaling::NamedRect& r = area.rect;
        if (r.right <= r.left || r.bottom <= r.top) {
            faults.push_back(name + ": no rectangle to look at");
            continue;
        }
        std::map<std::uint32_t, int> counts;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) ++counts[at(x, y)];
        }
        const std::uint32_t ground =
            std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first;
        if (ground != area.background) faults.push_back(name + ": background " + hex(ground) + ", expected " + hex(area.background));
        if (!area.text) continue;
        double best = 1;
        for (const auto& entry : counts) best = std::max(best, contrastRatio(entry.first, ground));
        if (best < kReadableContrast) {
            std::ostringstream line;
            line << name << ": text reaches only " << best << ":1 against its background " << hex(ground);
            faults.push_back(line.str());
        }
    }
    return faults;
}

}  // namespace vaskelo::schemes
