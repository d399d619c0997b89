// The program's fixed vocabulary: the band colour names, the digit each numeric
// colour stands for, the colour its swatch takes, and what each band list offers.
// Names are UTF-8 and compared byte for byte, so they are the same keys whatever
// the system's locale.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "colour.h"
#include "texts.h"

namespace vaskelo {

enum class BandList { Cr1, Cr2, Cr3, Cr4 };
inline constexpr std::array kAllBandLists{BandList::Cr1, BandList::Cr2, BandList::Cr3, BandList::Cr4};

struct BandColour {
    std::string_view name;
    std::optional<int> digit;                 // the ten numeric colours only
    ColourValue swatch;
    std::optional<std::string_view> tolerance;  // the two tolerance colours only
};

// In the order every command tests them.
inline constexpr std::array<BandColour, 12> kBandColours{{
    {texts::kSiyah, 0, 0x000000u, std::nullopt},
    {texts::kKahverengi, 1, 0x0040C0u, std::nullopt},
    {texts::kKirmizi, 2, 0x0000FFu, std::nullopt},
    {texts::kTuruncu, 3, 0x80C0FFu, std::nullopt},
    {texts::kSari, 4, 0x00FFFFu, std::nullopt},
    {texts::kYesil, 5, 0x00FF00u, std::nullopt},
    {texts::kMavi, 6, 0xFF0000u, std::nullopt},
    {texts::kMor, 7, 0x800080u, std::nullopt},
    {texts::kGri, 8, 0x808080u, std::nullopt},
    {texts::kBeyaz, 9, 0xFFFFFFu, std::nullopt},
    {texts::kAltin, std::nullopt, 0xC0FFFFu, texts::kFivePercent},
    {texts::kGumus, std::nullopt, 0xE0E0E0u, texts::kTenPercent},
}};

// Shown by every list after start and after a reset; in no list, it means "not chosen".
inline constexpr std::string_view kUnchosen = texts::kUnchosen;
// The band 3 entry that puts the decimal comma after the first digit and reads in Ohm.
inline constexpr std::string_view kNoMultiplier = texts::kDash;
// The name band 2 is compared with to decide whether the value has a decimal part.
inline constexpr std::string_view kBlack = "Siyah";

// The row whose name is exactly `text`, or nothing.
const BandColour* findBandColour(std::string_view text);

// The entries of a band list, in list order.
std::span<const std::string_view> bandEntries(BandList list);
bool isEntryOf(BandList list, std::string_view text);

std::string_view controlName(BandList list);

}  // namespace vaskelo
