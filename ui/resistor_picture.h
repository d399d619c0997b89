// The resistor picture behind the four band swatches, drawn without any toolkit
// so every front end shows the same pixels and tests can check them directly.
#pragma once

#include <cstdint>
#include <vector>

namespace vaskelo {

inline constexpr int kPictureWidth = 355;
inline constexpr int kPictureHeight = 95;

// Colours as 0x00BBGGRR, red in the low byte.
inline constexpr std::uint32_t kPictureGround = 0xFFFFFFu;
inline constexpr std::uint32_t kPictureBody = 0xB1EDC4u;  // red 196, green 237, blue 177
inline constexpr std::uint32_t kPictureOutline = 0x000000u;

// kPictureWidth * kPictureHeight colours, row 0 first, each row left to right.
std::vector<std::uint32_t> drawResistorPicture();

}  // namespace vaskelo
