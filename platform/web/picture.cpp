#include "platform/web/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/web/dom.h"

namespace vaskelo::web {

PlacedBox clientPlace(const WindowDescription& window, const ControlDescription& c, ColourValue fill) {
    PlacedBox placed{twipsToPixels(c.rect.left), twipsToPixels(c.rect.top), twipsToPixels(c.rect.width),
                     twipsToPixels(c.rect.height), fill};
    // Without the box it stands in, start-up names that box as missing.
    if (const ControlDescription* outer = c.container.empty() ? nullptr : findControl(window, c.container)) {
        placed.left += twipsToPixels(outer->rect.left) + 1;
        placed.top += twipsToPixels(outer->rect.top) + 1;
    }
    return placed;
}

void Picture::paint(val& canvas, const PlacedBox& outer, bool showsPicture, std::span<const PlacedBox> inner, double zoom,
                    const Box& client) {
    const double ratio = val::global("devicePixelRatio").as<double>();
    const double scale = ratio * zoom;
    // The client area's corner may fall inside a device pixel (a 20 px menu bar at 2.625 is
    // 52.5 device pixels): the box is counted from the device pixel the corner is nearest
    // to, and the canvas placed on whole device pixels from there.
    const double cornerX = client.left * ratio;
    const double cornerY = client.top * ratio;
    const auto local = [&](double corner, int edge) { return (static_cast<double>(std::lround(corner)) + edge - corner) / scale; };
    const bool same = scale == drawnAt_ && outer == drawnBox_ && showsPicture == drawnPicture_ &&
                      std::equal(inner.begin(), inner.end(), drawnInner_.begin(), drawnInner_.end());
    if (!same) drawScaledBox(outer, showsPicture, inner, scale, pixels_);
    styleOf(canvas, "left", px(local(cornerX, scaledEdge(outer.left, scale))));
    styleOf(canvas, "top", px(local(cornerY, scaledEdge(outer.top, scale))));
    styleOf(canvas, "width", px(pixels_.width / scale));
    styleOf(canvas, "height", px(pixels_.height / scale));
    if (same) return;
    drawnAt_ = scale;
    drawnBox_ = outer;
    drawnPicture_ = showsPicture;
    drawnInner_.assign(inner.begin(), inner.end());
    // Setting the size clears the canvas, so it is set only with new pixels.
    canvas.set("width", pixels_.width);
    canvas.set("height", pixels_.height);
    if (pixels_.width <= 0 || pixels_.height <= 0) return;
    std::vector<std::uint8_t> rgba(pixels_.pixels.size() * 4);
    for (std::size_t i = 0; i < pixels_.pixels.size(); ++i) {
        const ColourValue p = pixels_.pixels[i];
        rgba[4 * i] = static_cast<std::uint8_t>(redOf(p));
        rgba[4 * i + 1] = static_cast<std::uint8_t>(greenOf(p));
        rgba[4 * i + 2] = static_cast<std::uint8_t>(blueOf(p));
        rgba[4 * i + 3] = 255;
    }
    val bytes = val::global("Uint8ClampedArray").new_(emscripten::typed_memory_view(rgba.size(), rgba.data()));
    val image = val::global("ImageData").new_(bytes, pixels_.width, pixels_.height);
    canvas.call<val>("getContext", std::string("2d")).call<void>("putImageData", image, 0, 0);
}

}  // namespace vaskelo::web
