#include "platform/win32/text.h"

#include <windows.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "core/texts.h"
#include "platform/win32/calls.h"

namespace vaskelo::win32 {

namespace {

[[noreturn]] void conversionFailed(const char* call, std::string_view what) { throw failure(call, what); }

// The conversions count in int; longer text cannot be handed to them at all.
int lengthOf(std::size_t size, const char* call, std::string_view what) {
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) conversionFailed(call, what);
    return static_cast<int>(size);
}

}  // namespace

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    constexpr const char* kCall = "MultiByteToWideChar";
    constexpr std::string_view kWhat = texts::kNoUtf16;
    const int size = lengthOf(utf8.size(), kCall, kWhat);
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length <= 0) conversionFailed(kCall, kWhat);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length) != length) conversionFailed(kCall, kWhat);
    return text;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    constexpr const char* kCall = "WideCharToMultiByte";
    constexpr std::string_view kWhat = texts::kNoUtf8;
    const int size = lengthOf(utf16.size(), kCall, kWhat);
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) conversionFailed(kCall, kWhat);
    std::string text(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), length, nullptr, nullptr) != length) {
        conversionFailed(kCall, kWhat);
    }
    return text;
}

}  // namespace vaskelo::win32
