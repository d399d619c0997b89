// bench_window_win32: starts Vaskelo's window the way Vaskelo.exe does, or a bare Win32
// window of the same client size with the same menus, and once that window has been
// drawn prints how long the process has existed and its peak working set, then ends.
//
//     bench_window_win32.exe vaskelo|bare
#include <windows.h>
#include <psapi.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/main_form.h"
#include "platform/win32/application.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"

namespace {

enum class Mode { Vaskelo, Bare };

// A window that is never drawn must not keep the driver waiting.
constexpr UINT kGiveUpMillis = 30'000;
constexpr double kTicksPerMilli = 10'000.0;  // FILETIME counts 100 ns ticks

std::optional<Mode> modeNamed(std::wstring_view arguments) {
    while (!arguments.empty() && arguments.front() == L' ') arguments.remove_prefix(1);
    while (!arguments.empty() && arguments.back() == L' ') arguments.remove_suffix(1);
    if (arguments == L"vaskelo") return Mode::Vaskelo;
    if (arguments == L"bare") return Mode::Bare;
    return std::nullopt;
}

std::int64_t ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
}

// Time since this process was created, as the system recorded it: under Wine that is
// when the Wine loader registered the process, so loading the program and its DLLs
// and everything after counts.
double millisSinceCreation() {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    FILETIME now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    return static_cast<double>(ticks(now) - ticks(created)) / kTicksPerMilli;
}

double cpuMillis() {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return static_cast<double>(ticks(kernel) + ticks(user)) / kTicksPerMilli;
}

// Wine names its version through ntdll; Windows itself has no such export.
std::string runningOn() {
    using WineVersion = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const FARPROC found = ntdll != nullptr ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (found == nullptr) return "windows";
    // FARPROC stands for any function; a plain function pointer in between keeps the
    // compiler from warning about the change of signature.
    const auto version = reinterpret_cast<WineVersion>(reinterpret_cast<void (*)()>(found));
    return std::string("wine-") + version();
}

// Watches the top-level window's procedure for the end of its first WM_PAINT. Both
// modes hook their window the same way, so the probe costs them the same.
struct Probe {
    WNDPROC original = nullptr;
    std::optional<double> painted;  // ms since creation when the first WM_PAINT returned

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void attach(HWND window) {
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Probe::procedure)));
    }
};

Probe gProbe;

LRESULT CALLBACK Probe::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(gProbe.original, hwnd, message, wParam, lParam);
    if (message == WM_PAINT && !gProbe.painted) gProbe.painted = millisSinceCreation();
    return result;
}

// Writes straight to the standard output handle, which Wine connects to the pipe the
// driver reads, so the line leaves the process before it starts to end.
void report(double framed) {
    const double cpu = cpuMillis();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const bool haveMemory = K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory) != FALSE;
    std::array<char, 256> line{};
    const int length = std::snprintf(
        line.data(), line.size(), "frame_ms=%.3f paint_ms=%.3f cpu_ms=%.1f peak_ws_kb=%lld ws_kb=%lld on=%s\n", framed,
        gProbe.painted.value_or(-1.0), cpu,
        haveMemory ? static_cast<long long>(memory.PeakWorkingSetSize / 1024) : -1LL,
        haveMemory ? static_cast<long long>(memory.WorkingSetSize / 1024) : -1LL, runningOn().c_str());
    if (length <= 0) return;
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(length), &written, nullptr);
}

// Runs the window's messages until the first frame is complete: the top-level window
// has had its first WM_PAINT and no window of the thread still waits to be painted,
// so every child control has drawn itself too. PeekMessage produces WM_PAINT for any
// window with an update region, so an empty queue means nothing is left to paint.
int runUntilDrawn(HWND window, bool dialogKeys) {
    SetTimer(nullptr, 0, kGiveUpMillis, nullptr);
    MSG message{};
    for (;;) {
        if (gProbe.painted && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) == FALSE) {
            report(millisSinceCreation());
            return 0;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            std::fputs("bench_window_win32: the window ended before it was drawn\n", stderr);
            return 1;
        }
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            std::fputs("bench_window_win32: no frame was drawn within 30 s\n", stderr);
            return 2;
        }
        if (dialogKeys) {
            vaskelo::win32::dispatchMessage(window, message);
        } else {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// As programs/win_main.cpp does it, with the probe fitted before the window is shown.
int startVaskelo(HINSTANCE instance, int showCommand) {
    std::unique_ptr<vaskelo::win32::Win32Form> window;
    try {
        vaskelo::win32::openMainWindow(window, instance, showCommand,
                                       [](vaskelo::win32::Win32Form& made) { gProbe.attach(made.window()); });
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "bench_window_win32: %s\n", error.what());
        return 1;
    }
    return runUntilDrawn(window->window(), true);
}

LRESULT CALLBACK bareProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// What any Win32 program pays for a window: a registered class, the program's client
// size and its three menus, and nothing in it.
int startBare(HINSTANCE instance, int showCommand) {
    constexpr const wchar_t* kClass = L"VaskeloBenchBareWindow";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = bareProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClass;
    if (RegisterClassExW(&wc) == 0) {
        std::fputs("bench_window_win32: cannot register the window class\n", stderr);
        return 1;
    }

    const vaskelo::WindowDescription& description = vaskelo::mainWindowDescription();
    HMENU bar = CreateMenu();
    UINT command = 1;
    for (const vaskelo::MenuDescription& menu : description.menus) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, command++, vaskelo::win32::widen(menu.itemCaption).c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), vaskelo::win32::widen(menu.caption).c_str());
    }
    RECT frame{0, 0, vaskelo::twipsToPixels(description.clientWidth), vaskelo::twipsToPixels(description.clientHeight)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND window = CreateWindowExW(0, kClass, vaskelo::win32::widen(description.caption).c_str(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, bar, instance, nullptr);
    if (window == nullptr) {
        DestroyMenu(bar);
        std::fputs("bench_window_win32: cannot create the window\n", stderr);
        return 1;
    }
    gProbe.attach(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    const int result = runUntilDrawn(window, false);
    DestroyWindow(window);
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine, int showCommand) {
    const std::optional<Mode> mode = modeNamed(commandLine != nullptr ? commandLine : L"");
    if (!mode) {
        std::fputs("usage: bench_window_win32 vaskelo|bare\n", stderr);
        return 2;
    }
    // Both modes ask for the DPI awareness Vaskelo.exe asks for, so both windows are
    // laid out at the same scale.
    vaskelo::win32::enableDpiAwareness();
    switch (*mode) {
        case Mode::Vaskelo: return startVaskelo(instance, showCommand);
        case Mode::Bare: return startBare(instance, showCommand);
    }
    return 2;
}
