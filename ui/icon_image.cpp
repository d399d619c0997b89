#include "icon_image.h"

#include <array>
#include <fstream>
#include <iterator>

namespace vaskelo {

namespace {

constexpr std::size_t kDirSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kMaxPalette = 16;
// Far beyond any icon; keeps a stray large file from being read whole.
constexpr std::uintmax_t kMaxFileBytes = 1u << 20;

// Little-endian field reads; the caller has already checked the range.
std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t i32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

}  // namespace

std::optional<IconImage> readIcon(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kDirSize + kEntrySize) return std::nullopt;
    if (u16(bytes, 0) != 0 || u16(bytes, 2) != 1 || u16(bytes, 4) != 1) return std::nullopt;

    const std::size_t entry = kDirSize;
    // A zero byte in the directory means 256.
    const int dirWidth = bytes[entry] == 0 ? 256 : bytes[entry];
    const int dirHeight = bytes[entry + 1] == 0 ? 256 : bytes[entry + 1];
    const unsigned dirColours = bytes[entry + 2];
    const unsigned dirPlanes = u16(bytes, entry + 4);
    const unsigned dirBits = u16(bytes, entry + 6);
    const std::uint32_t resBytes = u32(bytes, entry + 8);
    const std::uint32_t offset = u32(bytes, entry + 12);
    // Many writers leave these directory fields zero and let the bitmap header speak.
    if (dirColours != 0 && dirColours != kMaxPalette) return std::nullopt;
    if (dirPlanes > 1 || (dirBits != 0 && dirBits != 4)) return std::nullopt;
    if (offset < kDirSize + kEntrySize) return std::nullopt;
    // 64-bit sum so a huge offset cannot wrap around the bound.
    if (std::uint64_t{offset} + resBytes > bytes.size()) return std::nullopt;

    const auto image = bytes.subspan(offset, resBytes);
    if (image.size() < kInfoHeaderSize) return std::nullopt;
    const std::uint32_t headerSize = u32(image, 0);
    const std::int32_t width = i32(image, 4);
    const std::int32_t doubledHeight = i32(image, 8);
    const unsigned planes = u16(image, 12);
    const unsigned bits = u16(image, 14);
    const std::uint32_t compression = u32(image, 16);
    const std::uint32_t coloursUsed = u32(image, 32);
    if (headerSize < kInfoHeaderSize || headerSize > image.size()) return std::nullopt;
    if (planes != 1 || bits != 4 || compression != 0) return std::nullopt;
    // The bitmap's height covers the colour rows and the mask rows stacked.
    if (width != dirWidth || doubledHeight != 2 * dirHeight) return std::nullopt;
    if (coloursUsed > kMaxPalette) return std::nullopt;

    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(dirHeight);
    const std::size_t paletteSize = coloursUsed == 0 ? kMaxPalette : coloursUsed;
    // Rows of both bitmaps are padded to whole 32-bit words.
    const std::size_t xorStride = (w * 4 + 31) / 32 * 4;
    const std::size_t andStride = (w + 31) / 32 * 4;
    const std::size_t paletteAt = headerSize;
    const std::size_t xorAt = paletteAt + paletteSize * 4;
    const std::size_t andAt = xorAt + xorStride * h;
    if (andAt + andStride * h > image.size()) return std::nullopt;

    std::array<std::uint32_t, kMaxPalette> palette{};
    for (std::size_t i = 0; i < paletteSize; ++i) {
        const std::size_t at = paletteAt + i * 4;  // stored blue, green, red, unused
        palette[i] = 0xFF000000u | (std::uint32_t{image[at + 2]} << 16) |
                     (std::uint32_t{image[at + 1]} << 8) | image[at];
    }

    IconImage icon;
    icon.width = width;
    icon.height = dirHeight;
    icon.imageBytes = resBytes;
    icon.argb.resize(w * h);
    for (std::size_t y = 0; y < h; ++y) {
        // Both bitmaps are stored bottom row first.
        const std::size_t xorRow = xorAt + (h - 1 - y) * xorStride;
        const std::size_t andRow = andAt + (h - 1 - y) * andStride;
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t pair = image[xorRow + x / 2];
            const std::size_t index = x % 2 == 0 ? pair >> 4 : pair & 0x0Fu;
            const bool masked = ((image[andRow + x / 8] >> (7 - x % 8)) & 1u) != 0;
            if (index >= paletteSize) return std::nullopt;
            icon.argb[y * w + x] = masked ? 0u : palette[index];
        }
    }
    return icon;
}

std::optional<IconImage> readIconFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::istreambuf_iterator<char> it(in);
    const std::istreambuf_iterator<char> end;
    for (; it != end; ++it) {
        if (bytes.size() >= kMaxFileBytes) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*it));
    }
    if (in.bad()) return std::nullopt;
    return readIcon(bytes);
}

}  // namespace vaskelo
