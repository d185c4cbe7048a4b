#pragma once
// The logic speaks UTF-8; the Windows API speaks UTF-16. Conversions happen here, at the edge.
#include <string>
#include <string_view>

namespace raz::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace raz::win32
