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

#include "ui/scaled_box.h"

namespace vaskelo::scaling {

constexpr std::uint32_t kBlack = 0x000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFu;
constexpr std::uint32_t kGreen = 0xB1EDC4u;  // the body, 0x00BBGGRR

// Device pixel (x, y) from the box's first device pixel, as 0x00BBGGRR.
using BoxPixels = std::function<std::uint32_t(int x, int y)>;

// The picture box (357 x 97 pixels at 96 dpi, its swatches over the picture's columns
// 48 + 64 k to 89 + 64 k and rows 8 to 85), standing at `left`, `top` in the client
// area's 96-dpi pixels, as grabbed at `scale`. Returns what is wrong, at most a few lines.
inline std::vector<std::string> pictureBoxFaults(const BoxPixels& at, double scale, int left, int top,
                                                 const std::array<std::uint32_t, 4>& fills) {
    std::vector<std::string> faults;
    // Where the box's pixel i begins, from the box's first device pixel.
    const auto column = [=](int i) { return scaledEdge(left + i, scale) - scaledEdge(left, scale); };
    const auto row = [=](int i) { return scaledEdge(top + i, scale) - scaledEdge(top, scale); };
    const auto expect = [&](bool ok, const char* what, int x, int y) {
        if (ok || faults.size() >= 8) return;
        std::ostringstream line;
        line << what << " at device pixel " << x << "," << y << ": 0x" << std::hex << at(x, y);
        faults.push_back(line.str());
    };
    const int width = column(357);
    const int height = row(97);
    // The box's border: whole picture pixels thick, black all round.
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const bool border = x < column(1) || x >= column(356) || y < row(1) || y >= row(96);
            if (border) expect(at(x, y) == kBlack, "box border not black", x, y);
        }
    }
    // Swatches: border black on all four sides and as thick as a picture pixel there,
    // interior the chosen colour, body green just beside them.
    std::array<std::array<int, 4>, 4> swatches{};
    for (int k = 0; k < 4; ++k) {
        const int first = 1 + 48 + 64 * k;  // box pixels: past the box's border
        const int x0 = column(first), x1 = column(first + 42), y0 = row(9), y1 = row(87);
        swatches[static_cast<std::size_t>(k)] = {x0, y0, x1, y1};
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const bool ring = x < column(first + 1) || x >= column(first + 41) || y < row(10) || y >= row(86);
                expect(at(x, y) == (ring ? kBlack : fills[static_cast<std::size_t>(k)]),
                       ring ? "swatch border broken" : "swatch interior not its colour", x, y);
            }
        }
        const int middle = (y0 + y1) / 2;
        expect(at(x0 - 1, middle) == kGreen, "no body left of swatch", x0 - 1, middle);
        expect(at(x1, middle) == kGreen, "no body right of swatch", x1, middle);
    }
    // The body's top and bottom edges, where no swatch covers them, are on exactly the
    // swatches' border rows; the leads on the picture's rows 43 and 44.
    for (const int between : {1 + 45, 1 + 300}) {
        const int x = column(between);
        for (int y = row(1); y < row(96); ++y) {
            const bool edgeRow = (y >= row(9) && y < row(10)) || (y >= row(86) && y < row(87));
            const bool inside = y >= row(10) && y < row(86);
            expect(at(x, y) == (edgeRow ? kBlack : inside ? kGreen : kWhite), "body edge off the swatch rows", x, y);
        }
    }
    for (int y = row(1); y < row(96); ++y) {
        const bool lead = y >= row(1 + 43) && y < row(1 + 44);
        expect(at(column(1), y) == (lead ? kBlack : kWhite), "left lead misplaced", column(1), y);
    }
    // Everything else inside the border is one of the picture's three colours.
    for (int y = row(1); y < row(96); ++y) {
        for (int x = column(1); x < column(356); ++x) {
            bool swatch = false;
            for (const auto& s : swatches) swatch = swatch || (x >= s[0] && x < s[2] && y >= s[1] && y < s[3]);
            const std::uint32_t c = at(x, y);
            if (!swatch) expect(c == kBlack || c == kWhite || c == kGreen, "colour not in the picture", x, y);
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
