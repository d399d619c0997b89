// A standard control's spoken name for screen readers, where the one Windows would
// derive from its text or its label is not the right one (a spaced-out caption, a
// drop-down list read by its current text): the control answers Active
// Accessibility with Windows' own object for it, renamed.
#pragma once

#include <windows.h>

#include <string>

namespace vaskelo::win32 {

// The name stays with the control until it is destroyed; false if Windows refuses.
bool setSpokenName(HWND control, std::wstring name);

}  // namespace vaskelo::win32
