// The picture box window class: a box with a flat 1-pixel black border, filled with
// its colour, optionally showing the resistor picture at its interior's top-left corner.
// The band swatches and the picture behind them are both of this class.
#pragma once

#include <windows.h>

namespace vaskelo::win32 {

inline constexpr const wchar_t* kPictureBoxClass = L"VaskeloPictureBox";

// Registers the class once per process; false if Windows refuses it.
bool registerPictureBoxClass(HINSTANCE instance);

HWND createPictureBox(HWND parent, UINT id, HINSTANCE instance, COLORREF fill, bool showsPicture);

// The colour is kept by the window itself; the new one shows at the next paint.
// Returns the Win32 error code, 0 on success.
DWORD setPictureBoxFill(HWND box, COLORREF colour);
COLORREF pictureBoxFill(HWND box);

}  // namespace vaskelo::win32
