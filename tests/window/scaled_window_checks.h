// What a window shows at any display scale, checked the same way on every toolkit:
// the picture box's pixels as grabbed from the screen, and the controls' rectangles.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/resistor_picture.h"
#include "ui/scaled_box.h"
#include "ui/window_description.h"

namespace vaskelo::scaling {

constexpr std::uint32_t kBlack = 0x000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFu;

// Device pixel (x, y) from the box's first device pixel, as 0x00BBGGRR.
using BoxPixels = std::function<std::uint32_t(int x, int y)>;

// The picture box as it must show at `scale`, standing at `left`, `top` in the client
// area's 96-dpi pixels. At 96 dpi: a black border, the picture inside it, and over it
// each swatch, a black ring round its colour in `fills`, all where the window's
// description puts them. At any scale each of those pixels is the block of device
// pixels from one scaled edge to the next. Returns the first few pixels that differ.
inline std::vector<std::string> pictureBoxFaults(const BoxPixels& at, double scale, int left, int top,
                                                 const std::array<std::uint32_t, 4>& fills) {
    const WindowDescription& window = mainWindowDescription();
    const TwipRect place = findControl(window, "pd1")->rect;
    const int width = twipsToPixels(place.width);
    const int height = twipsToPixels(place.height);
    static const std::vector<std::uint32_t> picture = drawResistorPicture();
    std::vector<std::uint32_t> box(static_cast<std::size_t>(width * height), kBlack);
    const auto set = [&](int x, int y, std::uint32_t c) { box[static_cast<std::size_t>(y * width + x)] = c; };
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) set(x, y, picture[static_cast<std::size_t>((y - 1) * kPictureWidth + x - 1)]);
    }
    for (std::size_t k = 0; k < fills.size(); ++k) {
        // A swatch stands in the picture box's client area, inside its border.
        const TwipRect s = findControl(window, "pr" + std::to_string(k + 1))->rect;
        const int x0 = 1 + twipsToPixels(s.left), y0 = 1 + twipsToPixels(s.top);
        const int x1 = x0 + twipsToPixels(s.width), y1 = y0 + twipsToPixels(s.height);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const bool ring = x == x0 || x == x1 - 1 || y == y0 || y == y1 - 1;
                set(x, y, ring ? kBlack : fills[k]);
            }
        }
    }

    std::vector<std::string> faults;
    const auto column = [=](int i) { return scaledEdge(left + i, scale) - scaledEdge(left, scale); };
    const auto row = [=](int i) { return scaledEdge(top + i, scale) - scaledEdge(top, scale); };
    for (int j = 0; j < height && faults.size() < 8; ++j) {
        for (int i = 0; i < width && faults.size() < 8; ++i) {
            const std::uint32_t expected = box[static_cast<std::size_t>(j * width + i)];
            for (int y = row(j); y < row(j + 1) && faults.size() < 8; ++y) {
                for (int x = column(i); x < column(i + 1) && faults.size() < 8; ++x) {
                    if (at(x, y) == expected) continue;
                    std::ostringstream line;
                    line << "device pixel " << x << "," << y << " is 0x" << std::hex << at(x, y) << ", the box's pixel "
                         << std::dec << i << "," << j << " is 0x" << std::hex << expected;
                    faults.push_back(line.str());
                }
            }
        }
    }
    return faults;
}

struct NamedRect {
    std::string name;
    int left, top, right, bottom;  // right and bottom exclusive
    bool operator==(const NamedRect&) const = default;
};

// Pairs of controls whose rectangles meet, apart from the band lists' one-pixel overlap.
inline std::vector<std::string> overlappingControls(const std::vector<NamedRect>& rects) {
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            const NamedRect& a = rects[i];
            const NamedRect& b = rects[j];
            const bool meet = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            const bool bandLists = a.name.starts_with("Cr") && b.name.starts_with("Cr");
            if (meet && !bandLists) faults.push_back(a.name + " overlaps " + b.name);
        }
    }
    return faults;
}

// The first and last device columns holding text (pixels much darker than the
// rectangle's top-left one) inside a rectangle of device pixels; last < first if none.
inline std::pair<int, int> inkColumns(const BoxPixels& at, const NamedRect& r) {
    const auto lightness = [](std::uint32_t c) { return static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)); };
    const int ground = lightness(at(r.left, r.top));
    int first = r.right;
    int last = r.left - 1;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (lightness(at(x, y)) < ground - 240) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

}  // namespace vaskelo::scaling
