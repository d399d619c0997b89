#include "ui/scaled_box.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "ui/resistor_picture.h"

namespace vaskelo {

namespace {

constexpr ColourValue kBorder = 0x000000u;

// A bordered, filled box drawn into `pixels` (rows of `stride`), clipped to the outer box.
void frame(std::vector<ColourValue>& pixels, int stride, int left, int top, int width, int height, ColourValue fill,
           int clipWidth, int clipHeight) {
    const int x0 = std::max(left, 0);
    const int x1 = std::min(left + width, clipWidth);
    for (int y = std::max(top, 0); y < std::min(top + height, clipHeight); ++y) {
        if (x0 >= x1) break;
        auto* row = pixels.data() + static_cast<std::ptrdiff_t>(y) * stride;
        const bool edgeRow = y == top || y == top + height - 1;
        std::fill(row + x0, row + x1, edgeRow ? kBorder : fill);
        if (x0 == left) row[x0] = kBorder;
        if (x1 == left + width) row[x1 - 1] = kBorder;
    }
}

// For each device pixel along one axis of a box starting at 96-dpi pixel `first` and
// `pixels` long, the box's pixel it shows.
std::vector<int> sourceOf(int first, int pixels, double scale) {
    std::vector<int> source;
    for (int i = 0; i < pixels; ++i) {
        for (int d = scaledEdge(first + i, scale); d < scaledEdge(first + i + 1, scale); ++d) source.push_back(i);
    }
    return source;
}

}  // namespace

int scaledEdge(int pixel, double scale) { return static_cast<int>(std::lround(pixel * scale)); }

void drawScaledBox(const PlacedBox& outer, bool showsPicture, std::span<const PlacedBox> inner, double scale,
                   BoxImage& image) {
    const int width = std::max(outer.width, 0);
    const int height = std::max(outer.height, 0);
    // The box at 96 dpi, composed in a buffer kept from one call to the next.
    thread_local std::vector<ColourValue> box;
    box.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), outer.fill);
    frame(box, width, 0, 0, width, height, outer.fill, width, height);
    if (showsPicture) {
        // The picture stands at the interior's top-left corner, clipped by the border.
        static const std::vector<ColourValue> picture = drawResistorPicture();
        const int columns = std::min(kPictureWidth, width - 2);
        for (int y = 0; y < std::min(kPictureHeight, height - 2) && columns > 0; ++y) {
            std::copy_n(picture.begin() + static_cast<std::ptrdiff_t>(y) * kPictureWidth, columns,
                        box.begin() + static_cast<std::ptrdiff_t>(y + 1) * width + 1);
        }
    }
    for (const PlacedBox& b : inner) {
        frame(box, width, b.left - outer.left, b.top - outer.top, b.width, b.height, b.fill, width, height);
    }

    const std::vector<int> columns = sourceOf(outer.left, width, scale);
    const std::vector<int> rows = sourceOf(outer.top, height, scale);
    image.width = static_cast<int>(columns.size());
    image.height = static_cast<int>(rows.size());
    image.pixels.resize(columns.size() * rows.size());
    for (std::size_t y = 0; y < rows.size(); ++y) {
        auto* out = image.pixels.data() + y * columns.size();
        if (y > 0 && rows[y] == rows[y - 1]) {
            std::copy_n(out - columns.size(), columns.size(), out);  // the same picture row again
            continue;
        }
        const ColourValue* in = box.data() + static_cast<std::ptrdiff_t>(rows[y]) * width;
        for (std::size_t x = 0; x < columns.size(); ++x) out[x] = in[columns[x]];
    }
}

}  // namespace vaskelo
