// A decoded program icon as plain 32-bit pixels, read from a single-image,
// 16-colour .ico without any toolkit so the Qt layer and build tools can share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vaskelo {

struct IconImage {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB, row 0 at the top. Alpha is 0 or 255; masked-out pixels are 0.
    std::vector<std::uint32_t> argb;
    // Size of the image entry as the directory records it.
    std::size_t imageBytes = 0;
};

// Nothing when the bytes are not a well-formed single 4-bit image.
std::optional<IconImage> readIcon(std::span<const std::uint8_t> bytes);

// Nothing when the file cannot be read or is not such an icon.
std::optional<IconImage> readIconFile(const std::string& path);

}  // namespace vaskelo
