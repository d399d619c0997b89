// The DOM and CSS helpers the window's parts in the page share: making elements,
// setting attributes and styles, CSS numbers, colours and fonts, and reading back
// what the page shows.
#pragma once

#include <emscripten/val.h>

#include <string>
#include <string_view>

#include "core/colour.h"
#include "ui/window_description.h"

namespace vaskelo::web {

using emscripten::val;

val document();
// A new element of that class, appended to `parent` unless it is undefined.
val element(const char* tag, val parent, const char* className = nullptr);
void attribute(val& e, const char* name, std::string_view value);
void styleOf(val& e, const char* property, const std::string& value);

// A CSS number to a millionth, which is finer than layout resolves, written without
// printf: its formatting code would be a third of the page's program.
std::string cssNumber(double value, const char* unit);
std::string px(double pixels);
std::string points(double size);

// A new element's inline style, gathered and set in one call: each call into the page
// costs more than the text it carries, and the window is built from many.
void addStyle(std::string& css, const char* property, const std::string& value);
void setStyle(val& e, const std::string& css);
// Left and top, and width and height unless negative (the element then takes its content's).
void place(std::string& css, int left, int top, int width, int height);

// An element's border box in the viewport, in CSS pixels.
struct Box {
    double left, top, right, bottom;
};
Box boxOf(const val& e);

// How much the page enlarges the window (on a phone, to fill the screen), and what turns
// a box inside it from getBoundingClientRect into the viewport's CSS pixels: Chromium
// and Firefox give those already, WebKit gives them in the zoomed element's own pixels.
struct Zoom {
    double level = 1;
    double toViewport = 1;
};
// An element of the zoomed window as the viewport shows it, in CSS pixels.
Box shownBoxOf(const val& e, const Zoom& zoom);

// The CSS system colour that matches a system colour number, so the page follows
// the browser's light, dark and forced colours by itself; a plain colour as #rrggbb.
std::string cssColour(ColourValue colour);
void setFont(std::string& css, const FontDescription& font);

// A colour as the page shows it now, as a plain colour: a system colour is read back
// from a probe appended to `place`. A browser may give a translucent one (Firefox's dark
// highlight): that is shown over `backdrop`, a plain colour.
ColourValue shownColour(val place, ColourValue colour, ColourValue backdrop = kBlackColour);

}  // namespace vaskelo::web
