// The picture box window class: a box with a flat 1-pixel black border, filled with
// its colour, optionally showing the resistor picture at its interior's top-left corner.
// The band swatches and the picture behind them are both of this class. At any DPI a
// box is drawn as its 96-dpi pixels enlarged by nearest neighbour, and a swatch shows
// its share of the one image of the picture box it stands in, so their edges agree.
#pragma once

#include <windows.h>

#include "platform/win32/application.h"

namespace vaskelo::win32 {

inline constexpr const wchar_t* kPictureBoxClass = L"VaskeloPictureBox";

// Registers the class once per process; the failed call if Windows refuses it.
CallResult registerPictureBoxClass(HINSTANCE instance);

// Null if Windows refuses the window (GetLastError says why).
HWND createPictureBox(HWND parent, UINT id, HINSTANCE instance, COLORREF fill, bool showsPicture);

// Places the box at `onGrid` (96-dpi pixels from the client area's corner, border
// included) on a screen of `dpi`; its edges land where the window's pixel edges do at
// that scale, as do the picture's, so a swatch always covers the same picture columns.
CallResult placePictureBox(HWND box, const RECT& onGrid, UINT dpi);

// The colour is kept by the box itself; the new one shows at the next paint.
CallResult setPictureBoxFill(HWND box, COLORREF colour);
// Black for a window that is no picture box.
COLORREF pictureBoxFill(HWND box);

}  // namespace vaskelo::win32
