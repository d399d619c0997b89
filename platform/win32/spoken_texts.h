// What screen readers hear for a standard control where Windows' own words are not
// the right ones: a name in place of one derived from a spaced-out caption or a
// list's current text, a description of what a label's changing caption is. The
// control answers Active Accessibility with Windows' own object for it, so amended.
#pragma once

#include <windows.h>

#include <string>

namespace vaskelo::win32 {

struct SpokenTexts {
    std::wstring name;         // empty: Windows' own
    std::wstring description;  // empty: Windows' own
};

// Once per control, when it is made: the texts stay with the control until it is
// destroyed. False if Windows refuses.
bool setSpokenTexts(HWND control, SpokenTexts texts);

}  // namespace vaskelo::win32
