// Colour values as the window stores them: 0x00BBGGRR, red in the low byte.
// A value 0x800000nn names system colour nn and follows the user's colour scheme.
#pragma once

#include <cstdint>

namespace vaskelo {

using ColourValue = std::uint32_t;

inline constexpr ColourValue kSystemColourFlag = 0x80000000u;

constexpr ColourValue systemColour(unsigned index) { return kSystemColourFlag | index; }
constexpr bool isSystemColour(ColourValue c) { return (c & kSystemColourFlag) != 0; }
constexpr unsigned systemColourIndex(ColourValue c) { return c & 0xFFu; }

constexpr unsigned redOf(ColourValue c) { return c & 0xFFu; }
constexpr unsigned greenOf(ColourValue c) { return (c >> 8) & 0xFFu; }
constexpr unsigned blueOf(ColourValue c) { return (c >> 16) & 0xFFu; }

// The system colour numbers the window uses.
inline constexpr ColourValue kScrollBarColour = systemColour(0);
inline constexpr ColourValue kWindowBackground = systemColour(5);
inline constexpr ColourValue kWindowText = systemColour(8);
inline constexpr ColourValue kHighlight = systemColour(13);
inline constexpr ColourValue kHighlightText = systemColour(14);
inline constexpr ColourValue kButtonFace = systemColour(15);
inline constexpr ColourValue kButtonText = systemColour(18);

inline constexpr ColourValue kWhite = 0xFFFFFFu;
inline constexpr ColourValue kBlackColour = 0x000000u;

}  // namespace vaskelo
