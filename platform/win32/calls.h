// How the window's files report a failure. A Win32 call that fails is a FailedCall
// (application.h), which a helper returns as its CallResult; it becomes what the form
// reports at one of two edges only: the exception that stops the window being built,
// with what could not be done (failure()), or the status of a command's operation
// (statusOf()). Also reads a window's text.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/form_ops.h"
#include "core/texts.h"
#include "platform/win32/application.h"

namespace vaskelo::win32 {

// The status of an operation whose call failed (a control message's, with no error of
// its own, is the general failure), or success.
inline Status statusOf(const CallResult& result) {
    if (!result) return kOk;
    if (result->error == ERROR_SUCCESS) return kGenericFailure;
    return {static_cast<std::int32_t>(0x80070000u | (result->error & 0xFFFFu))};
}

// What stops the window from being built: the Win32 call that failed and what could
// not be done, in words for whoever started the program.
inline std::runtime_error failure(std::string_view call, std::string_view what) {
    return std::runtime_error(std::string(call) + std::string(texts::kCallFailed) + std::string(what));
}

inline std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

// The window's text, or nothing if Windows cannot give it (GetLastError says why).
inline std::optional<std::wstring> windowText(HWND hwnd) {
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    // An empty text gives 0 too, without an error.
    if (copied <= 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

}  // namespace vaskelo::win32
