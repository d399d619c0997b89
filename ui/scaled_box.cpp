#include "ui/scaled_box.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "ui/resistor_picture.h"

namespace vaskelo {

namespace {

constexpr ColourValue kBorder = 0x000000u;

// A rectangle of the image in one colour, clipped to the image.
void fill(BoxImage& image, const DeviceRect& r, ColourValue colour) {
    const int left = std::max(r.left, 0);
    const int right = std::min(r.right, image.width);
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, image.height) && left < right; ++y) {
        auto* row = image.pixels.data() + static_cast<std::ptrdiff_t>(y) * image.width;
        std::fill(row + left, row + right, colour);
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

ScaledFrame scaledFrame(const PlacedBox& box, const PlacedBox& outer, double scale) {
    const int x = scaledEdge(outer.left, scale);
    const int y = scaledEdge(outer.top, scale);
    const int right = box.left + box.width;
    const int bottom = box.top + box.height;
    return {{scaledEdge(box.left, scale) - x, scaledEdge(box.top, scale) - y, scaledEdge(right, scale) - x,
             scaledEdge(bottom, scale) - y},
            {scaledEdge(box.left + 1, scale) - x, scaledEdge(box.top + 1, scale) - y, scaledEdge(right - 1, scale) - x,
             scaledEdge(bottom - 1, scale) - y}};
}

void drawScaledBox(const PlacedBox& outer, bool showsPicture, std::span<const PlacedBox> inner, double scale,
                   BoxImage& image) {
    const int width = std::max(outer.width, 0);
    const int height = std::max(outer.height, 0);
    // The box at 96 dpi, composed in a buffer kept from one call to the next.
    thread_local std::vector<ColourValue> box;
    box.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), outer.fill);
    for (int y = 0; y < height && width > 0; ++y) {
        const bool edgeRow = y == 0 || y == height - 1;
        auto* row = box.data() + static_cast<std::ptrdiff_t>(y) * width;
        if (edgeRow) std::fill_n(row, width, kBorder);
        row[0] = kBorder;
        row[width - 1] = kBorder;
    }
    if (showsPicture) {
        // The picture stands at the interior's top-left corner, clipped by the border.
        static const std::vector<ColourValue> picture = drawResistorPicture();
        const int columns = std::min(kPictureWidth, width - 2);
        for (int y = 0; y < std::min(kPictureHeight, height - 2) && columns > 0; ++y) {
            std::copy_n(picture.begin() + static_cast<std::ptrdiff_t>(y) * kPictureWidth, columns,
                        box.begin() + static_cast<std::ptrdiff_t>(y + 1) * width + 1);
        }
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
    for (const PlacedBox& b : inner) {
        const ScaledFrame f = scaledFrame(b, outer, scale);
        fill(image, f.outside, kBorder);
        fill(image, f.inside, b.fill);
    }
}

}  // namespace vaskelo
