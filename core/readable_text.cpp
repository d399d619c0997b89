#include "core/readable_text.h"

#include <algorithm>
#include <cmath>

namespace vaskelo {

namespace {

// One sRGB channel, 0 to 255, as linear light from 0 to 1.
double linear(unsigned channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double relativeLuminance(ColourValue c) {
    return 0.2126 * linear(redOf(c)) + 0.7152 * linear(greenOf(c)) + 0.0722 * linear(blueOf(c));
}

}  // namespace

double contrastRatio(ColourValue a, ColourValue b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ColourValue readableTextColour(ColourValue text, ColourValue background, ColourValue textShown) {
    if (!isSystemColour(text) || isSystemColour(background)) return textShown;
    return contrastRatio(textShown, background) >= kReadableContrast ? textShown : kBlackColour;
}

}  // namespace vaskelo
