// Colour values (0x00BBGGRR, or a system colour number) as Win32 colours; system
// colours are looked up at each call, so they follow the user's scheme.
#pragma once

#include <windows.h>

#include "core/colour.h"

namespace vaskelo::win32 {

COLORREF toColorRef(ColourValue colour);

}  // namespace vaskelo::win32
