// A bordered picture box as device pixels at any display scale. The box is composed
// at 96 dpi (fill, resistor picture, border) and enlarged by nearest neighbour, and the
// boxes laid over it (the band swatches) fall on the same pixel edges, so the picture
// keeps its three colours and every border stays whole and lands on the same picture
// columns and rows at every scale.
#pragma once

#include <span>
#include <vector>

#include "core/colour.h"

namespace vaskelo {

// The first device pixel of 96-dpi pixel `pixel` at `scale`, counted on the one grid
// of the surface the window draws on (from its corner): pixel i covers device pixels
// [scaledEdge(i), scaledEdge(i + 1)), so at fractional scales some rows and columns are
// one device pixel wider than others, and neighbouring things neither gap nor overlap.
int scaledEdge(int pixel, double scale);

// A box in 96-dpi pixels from the corner of the surface the window draws on (the
// client area on Win32, the window with its menu bar on Qt), border included; `fill`
// is a plain RGB colour.
struct PlacedBox {
    int left;
    int top;
    int width;
    int height;
    ColourValue fill;
    bool operator==(const PlacedBox&) const = default;
};

struct BoxImage {
    int width;   // scaledEdge(box's right) - scaledEdge(box's left)
    int height;  // the same for bottom and top
    std::vector<ColourValue> pixels;  // row 0 first, each row left to right
};

// Device pixels from a box's first device pixel; right and bottom are not included.
struct DeviceRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Where a box standing in `outer` lands at `scale`, counted from outer's first device
// pixel: all of it (its black border is what `inside` leaves of it) and its interior.
struct ScaledFrame {
    DeviceRect outside;
    DeviceRect inside;
};
ScaledFrame scaledFrame(const PlacedBox& box, const PlacedBox& outer, double scale);

// `box` with a 1-pixel black border, filled, the resistor picture inside its border if
// `showsPicture`, and each inner box (1-pixel black border, filled) over it, at `scale`
// device pixels per 96-dpi pixel; the image's first pixel is scaledEdge(box.left), scaledEdge(box.top).
// `image` is reused, so repainting a box allocates nothing once its size is known.
void drawScaledBox(const PlacedBox& box, bool showsPicture, std::span<const PlacedBox> inner, double scale,
                   BoxImage& image);

}  // namespace vaskelo
