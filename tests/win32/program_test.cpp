// Vaskelo.exe started the way a user starts it: its window comes up, and a close
// message ends the program with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/text.h"

namespace vaskelo::win32 {
namespace {

std::wstring gProgram;  // the path of Vaskelo.exe, from the command line

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findShownWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    if (owner != search->process || IsWindowVisible(hwnd) == FALSE || std::wstring(title) != L"Vaskelo") return TRUE;
    search->found = hwnd;
    return FALSE;
}

TEST(Program, StartsShowsItsWindowAndEndsOnAClose) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + gProgram + L"\"";
    ASSERT_NE(CreateProcessW(gProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process),
              FALSE)
        << "cannot start " << narrow(gProgram);
    // The program waits for input once its window is up; the search then finds it at
    // once, and goes on looking for a minute, which a busy machine still meets.
    WaitForInputIdle(process.hProcess, 60000);
    Search search{process.dwProcessId, nullptr};
    for (const ULONGLONG deadline = GetTickCount64() + 60000; search.found == nullptr && GetTickCount64() < deadline;) {
        EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) Sleep(50);
    }
    if (search.found != nullptr) {
        RECT client;
        GetClientRect(search.found, &client);
        EXPECT_EQ(client.right, 375);
        EXPECT_EQ(client.bottom, 285);
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    } else {
        ADD_FAILURE() << "no window came up";
    }
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "still running after the close message";
    if (!ended) TerminateProcess(process.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace vaskelo::win32

int wmain(int argc, wchar_t* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fputs("usage: program_tests PATH-OF-Vaskelo.exe\n", stderr);
        return 2;
    }
    vaskelo::win32::gProgram = argv[1];
    return RUN_ALL_TESTS();
}
