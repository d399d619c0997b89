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
    for (int y = std::max(top, 0); y < std::min(top + height, clipHeight); ++y) {
        for (int x = std::max(left, 0); x < std::min(left + width, clipWidth); ++x) {
            const bool edge = x == left || y == top || x == left + width - 1 || y == top + height - 1;
            pixels[static_cast<std::size_t>(y * stride + x)] = edge ? kBorder : fill;
        }
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

BoxImage drawScaledBox(const PlacedBox& outer, bool showsPicture, std::span<const PlacedBox> inner, double scale) {
    const int width = std::max(outer.width, 0);
    const int height = std::max(outer.height, 0);
    const ColourValue fill = outer.fill;
    std::vector<ColourValue> box(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    if (showsPicture) {
        // The picture stands at the interior's top-left corner, clipped by the border.
        const auto picture = drawResistorPicture();
        for (int y = 0; y < std::min(kPictureHeight, height - 2); ++y) {
            for (int x = 0; x < std::min(kPictureWidth, width - 2); ++x) {
                box[static_cast<std::size_t>((y + 1) * width + x + 1)] =
                    picture[static_cast<std::size_t>(y * kPictureWidth + x)];
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) box[static_cast<std::size_t>(y * width + x)] = kBorder;
        }
    }
    for (const PlacedBox& b : inner) {
        frame(box, width, b.left - outer.left, b.top - outer.top, b.width, b.height, b.fill, width, height);
    }

    const std::vector<int> columns = sourceOf(outer.left, width, scale);
    const std::vector<int> rows = sourceOf(outer.top, height, scale);
    BoxImage image{static_cast<int>(columns.size()), static_cast<int>(rows.size()), {}};
    image.pixels.reserve(columns.size() * rows.size());
    for (const int row : rows) {
        for (const int column : columns) image.pixels.push_back(box[static_cast<std::size_t>(row * width + column)]);
    }
    return image;
}

}  // namespace vaskelo
