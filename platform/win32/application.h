// What a Win32 program around the window needs besides the window: per-monitor DPI
// awareness where Windows offers it, the window's DPI, and the message loop with the
// keyboard navigation between controls that dialogs have.
#pragma once

#include <windows.h>

namespace vaskelo::win32 {

inline constexpr UINT kDefaultDpi = 96;

// Asks for per-monitor DPI awareness, using whatever this Windows (or Wine) has; the
// newer functions are looked up at run time so the program still starts without them.
void enableDpiAwareness();

// The DPI the window is shown at, or the screen's where Windows cannot tell per window.
UINT windowDpi(HWND window);

// Hands one message to the window's controls: Tab moves between them, everything else
// is translated and dispatched as usual.
void dispatchMessage(HWND window, MSG& message);

// Runs until the program ends; returns the exit code the quit message carries.
int runMessageLoop(HWND window);

// Runs a window procedure's body. Unwinding through user32's frames is undefined, so
// whatever the body throws ends here, and the message gets the fallback's handling.
template <typename Body, typename Fallback>
LRESULT guardedProcedure(Body&& body, Fallback&& fallback) noexcept {
    try {
        return body();
    } catch (...) {
        try {
            return fallback();
        } catch (...) {
            return 0;
        }
    }
}

}  // namespace vaskelo::win32
