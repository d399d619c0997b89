// Start-up on Windows: the program's one window is created through the main-window
// reference, so the window on screen is the one that reference designates, then the
// message loop runs until the window is closed or the program is ended.
#include <windows.h>

#include <memory>
#include <string_view>

#include "platform/win32/application.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "ui/form_binder.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int showCommand) {
    vaskelo::win32::enableDpiAwareness();

    // A failure to open is said in a box.
    std::unique_ptr<vaskelo::win32::Win32Form> window;
    return vaskelo::runOrSay(
        [&] {
            vaskelo::win32::openMainWindow(window, instance, showCommand);
            return vaskelo::win32::runMessageLoop(window->window());
        },
        [](std::string_view message) {
            MessageBoxW(nullptr, vaskelo::win32::widen(message).c_str(), L"Vaskelo", MB_OK | MB_ICONERROR);
            return 1;
        });
}
