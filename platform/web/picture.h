// The picture box in the page: a canvas that covers exactly the device pixels of the
// box, its resistor picture and the band swatches standing in it, painted at the
// page's devicePixelRatio so that every border stays whole at any zoom.
#pragma once

#include <emscripten/val.h>

#include <span>

#include "ui/scaled_box.h"
#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

// Where a control stands in the client area, in 96-dpi pixels, filled with `fill`: one
// standing in a bordered box (a swatch on the picture) from the inside of its border.
PlacedBox clientPlace(const WindowDescription& window, const ControlDescription& control, ColourValue fill);

class Picture {
public:
    // Paints `canvas` as the box `outer` with the swatches `inner` over it, and places
    // the canvas on the device pixels its image covers.
    void paint(val& canvas, const PlacedBox& outer, bool showsPicture, std::span<const PlacedBox> inner);

private:
    BoxImage pixels_{};  // reused, so a repaint allocates no image once its size is known
};

}  // namespace vaskelo::web
