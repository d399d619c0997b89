// What a Win32 program around the window needs besides the window: per-monitor DPI
// awareness where Windows offers it, the window's DPI, the message loop with the
// keyboard navigation between controls that dialogs have, and the owners and failure
// records its window procedures share.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>

namespace vaskelo::win32 {

inline constexpr UINT kDefaultDpi = 96;

// A Win32 call that failed: its name, for the message when the window cannot be built,
// and its error, for the status a command's operation returns. Control messages set no
// last error; theirs is ERROR_SUCCESS.
struct FailedCall {
    const char* call;
    DWORD error;
};
// Empty when every call succeeded.
using CallResult = std::optional<FailedCall>;

// The call that has just failed, with the thread's last error.
inline FailedCall failedCall(const char* call) { return {call, GetLastError()}; }
// The control message that has just failed; a message leaves the last error alone.
inline FailedCall failedMessage(const char* message) { return {message, ERROR_SUCCESS}; }

// A window's device context from GetDC, released to that window.
struct DcReleaser {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
using WindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcReleaser>;
// Null inside when Windows gives no DC; the screen's for a null window.
inline WindowDc windowDc(HWND window) { return WindowDc(GetDC(window), DcReleaser{window}); }

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
