#pragma once

#include <string>
#include <string_view>

namespace tolvane::win32 {

// The program's text is UTF-8; the Win32 boundary speaks UTF-16. Invalid input becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tolvane::win32
