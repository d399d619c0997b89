#include "platform/web/dom.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>

namespace vaskelo::web {

val document() { return val::global("document"); }

val element(const char* tag, val parent, const char* className) {
    val made = document().call<val>("createElement", std::string(tag));
    if (className != nullptr) made.set("className", std::string(className));
    if (!parent.isUndefined()) parent.call<void>("append", made);
    return made;
}

void attribute(val& e, const char* name, std::string_view value) {
    e.call<void>("setAttribute", std::string(name), std::string(value));
}

void styleOf(val& e, const char* property, const std::string& value) {
    e["style"].call<void>("setProperty", std::string(property), value);
}

std::string cssNumber(double value, const char* unit) {
    const auto millionths = static_cast<long long>(std::fabs(value) * 1e6 + 0.5);
    std::string text = value < 0 && millionths != 0 ? "-" : "";
    text += std::to_string(millionths / 1000000);
    if (const long long fraction = millionths % 1000000; fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 6 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text + unit;
}

std::string px(double pixels) { return cssNumber(pixels, "px"); }

std::string points(double size) { return cssNumber(size, "pt"); }

void addStyle(std::string& css, const char* property, const std::string& value) {
    css.append(property).append(":").append(value).append(";");
}

void setStyle(val& e, const std::string& css) { e["style"].set("cssText", css); }

void place(std::string& css, int left, int top, int width, int height) {
    addStyle(css, "left", px(left));
    addStyle(css, "top", px(top));
    if (width >= 0) addStyle(css, "width", px(width));
    if (height >= 0) addStyle(css, "height", px(height));
}

Box boxOf(const val& e) {
    val r = e.call<val>("getBoundingClientRect");
    return {r["left"].as<double>(), r["top"].as<double>(), r["right"].as<double>(), r["bottom"].as<double>()};
}

Box shownBoxOf(const val& e, const Zoom& zoom) {
    const Box b = boxOf(e);
    const double k = zoom.toViewport;
    return {b.left * k, b.top * k, b.right * k, b.bottom * k};
}

std::string cssColour(ColourValue colour) {
    if (isSystemColour(colour)) {
        const unsigned index = systemColourIndex(colour);
        if (index == systemColourIndex(kScrollBarColour)) return "Canvas";
        if (index == systemColourIndex(kWindowBackground)) return "Canvas";
        if (index == systemColourIndex(kWindowText)) return "CanvasText";
        if (index == systemColourIndex(kButtonText)) return "var(--vaskelo-button-text, ButtonText)";
        if (index == systemColourIndex(kHighlight)) return "Highlight";
        if (index == systemColourIndex(kHighlightText)) return "HighlightText";
        return "ButtonFace";  // the button face, and the closest match for any other number
    }
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string text = "#";
    for (const unsigned part : {redOf(colour), greenOf(colour), blueOf(colour)}) {
        text += kHex[part >> 4];
        text += kHex[part & 15];
    }
    return text;
}

void setFont(std::string& css, const FontDescription& font) {
    // The window's fonts are Windows fonts; the page carries their free stand-in, Liberation
    // Sans cut to the window's letters under a name of its own.
    addStyle(css, "font-family", "\"Vaskelo Sans\", \"" + std::string(font.family) + "\", sans-serif");
    addStyle(css, "font-size", points(font.points));
    addStyle(css, "font-weight", font.bold ? "700" : "400");
}

ColourValue shownColour(val place, ColourValue colour, ColourValue backdrop) {
    if (!isSystemColour(colour)) return colour;
    // The probe is one that the browser's forced colours leave alone; it stands beside
    // the window, so that reading it restyles the probe alone.
    val probe = element("span", place, "vaskelo-probe");
    styleOf(probe, "color", cssColour(colour));
    const std::string computed = val::global("getComputedStyle")(probe)["color"].as<std::string>();
    probe.call<void>("remove");
    // "rgb(r, g, b)" or "rgba(r, g, b, a)": its numbers, the alpha one from 0 to 1.
    double numbers[4] = {0, 0, 0, 1};
    std::size_t found = 0;
    for (std::size_t i = 0; i < computed.size() && found < 4;) {
        if (!std::isdigit(static_cast<unsigned char>(computed[i])) && computed[i] != '.') {
            ++i;
            continue;
        }
        double whole = 0, scale = 0;
        for (; i < computed.size() && (std::isdigit(static_cast<unsigned char>(computed[i])) || computed[i] == '.'); ++i) {
            if (computed[i] == '.') {
                scale = 1;
            } else {
                whole = whole * 10 + (computed[i] - '0');
                scale *= 10;
            }
        }
        numbers[found++] = scale > 0 ? whole / scale : whole;
    }
    const double alpha = std::clamp(numbers[3], 0.0, 1.0);
    const auto channel = [&](int index, unsigned under) {
        const double shown = std::clamp(numbers[index], 0.0, 255.0) * alpha + under * (1 - alpha);
        return static_cast<unsigned>(std::lround(shown));
    };
    return channel(0, redOf(backdrop)) | (channel(1, greenOf(backdrop)) << 8) | (channel(2, blueOf(backdrop)) << 16);
}

}  // namespace vaskelo::web
