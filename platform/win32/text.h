// Text at the Win32 boundary: the program keeps UTF-8, Windows wants UTF-16.
// Conversions are exact both ways, so band names compare byte for byte after a round trip.
#pragma once

#include <string>
#include <string_view>

namespace vaskelo::win32 {

// Throw std::runtime_error naming the Windows function that could not convert the text.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace vaskelo::win32
