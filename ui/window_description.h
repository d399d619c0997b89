// The main window described once, as data: frame, controls with their positions
// in twips, texts, fonts, colours and entries, and the menus. Each toolkit layer
// builds its window from this and nothing else.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/colour.h"

namespace vaskelo {

inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int twipsToPixels(double twips) {
    const double pixels = twips / kTwipsPerPixel;
    return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

enum class ControlKind { PictureBox, ComboBox, Label, CommandButton };

struct FontDescription {
    std::string_view family;
    float points;
    bool bold;
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlDescription {
    std::string_view name;
    ControlKind kind;
    std::string_view container;  // empty: the window's client area
    TwipRect rect;
    std::string_view text;
    std::optional<FontDescription> font;  // nothing: the window's font
    ColourValue background;
    ColourValue foreground;
    bool autoSize;
    bool border;      // flat 1-pixel black border
    bool showsPicture;  // draws the resistor picture at its interior's top-left corner
    std::span<const std::string_view> entries;
    // What a screen reader calls it (a swatch adds the colour it shows); empty: its own text.
    std::string_view accessibleName;
    // What a screen reader adds about it; for a label that speaks its changing caption.
    std::string_view accessibleDescription{};
};

struct MenuDescription {
    std::string_view name;
    std::string_view caption;
    std::string_view itemName;
    std::string_view itemCaption;
    int itemIndex;
};

struct WindowDescription {
    std::string_view name;
    std::string_view caption;
    int clientWidth;   // twips
    int clientHeight;  // twips
    FontDescription font;
    ColourValue background;
    std::span<const ControlDescription> controls;  // in tab order
    std::span<const MenuDescription> menus;        // left to right
};

const WindowDescription& mainWindowDescription();
const ControlDescription* findControl(const WindowDescription& window, std::string_view name);
const MenuDescription* findMenuItem(const WindowDescription& window, std::string_view itemName);
// The label whose caption names a control for assistive technology, if any.
const ControlDescription* captionLabelOf(const WindowDescription& window, const ControlDescription& control);

}  // namespace vaskelo
