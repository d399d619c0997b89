// The picture box in the page: a canvas that covers exactly the device pixels of the
// box, its resistor picture and the band swatches standing in it, painted at the
// scale it is shown at (the page's devicePixelRatio times the window's own zoom), so that
// every border stays whole at any zoom.
#pragma once

#include <emscripten/val.h>

#include <span>

#include "platform/web/dom.h"
#include "ui/scaled_box.h"
#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

// Where a control stands in the client area, in 96-dpi pixels, filled with `fill`: one
// standing in a bordered box (a swatch on the picture) from the inside of its border.
PlacedBox clientPlace(const WindowDescription& window, const ControlDescription& control, ColourValue fill);

class Picture {
public:
    // Paints `canvas` as the box `outer` with the swatches `inner` over it, at the window's
    // `zoom`, and places the canvas on the device pixels its image covers. `client` is
    // where the client area stands in the page: the box's device pixels are counted from
    // the one its corner falls on.
    void paint(val& canvas, const PlacedBox& outer, bool showsPicture, std::span<const PlacedBox> inner, double zoom,
               const Box& client);

private:
    BoxImage pixels_{};  // reused, so a repaint allocates no image once its size is known
    // What the canvas holds now: a move alone (a turned phone's window, centred again) draws nothing.
    double drawnAt_ = 0;
    PlacedBox drawnBox_{};
    bool drawnPicture_ = false;
    std::vector<PlacedBox> drawnInner_;
};

}  // namespace vaskelo::web
