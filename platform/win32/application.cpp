#include "platform/win32/application.h"

namespace vaskelo::win32 {

namespace {

// A function of user32.dll looked up by name; null where this system lacks it.
template <typename Function>
Function user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    // FARPROC stands for any function; going through a plain function pointer type
    // keeps the compiler from warning about the change of signature.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

}  // namespace

void enableDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto setContext = user32Function<SetContext>("SetProcessDpiAwarenessContext")) {
        if (setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE) return;
        if (setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE) != FALSE) return;
    }
    using SetAware = BOOL(WINAPI*)();
    // Refused, the program runs unaware of DPI and Windows enlarges its window as a
    // picture; there is nothing left to ask for.
    if (auto setAware = user32Function<SetAware>("SetProcessDPIAware")) setAware();
}

UINT windowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = user32Function<GetDpi>("GetDpiForWindow");
    if (getDpi != nullptr && window != nullptr) {
        if (const UINT dpi = getDpi(window); dpi != 0) return dpi;
    }
    const WindowDc screen = windowDc(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

void dispatchMessage(HWND window, MSG& message) {
    if (window != nullptr && IsWindow(window) != FALSE && IsDialogMessageW(window, &message) != FALSE) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop(HWND window) {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 1;
        dispatchMessage(window, message);
    }
}

}  // namespace vaskelo::win32
