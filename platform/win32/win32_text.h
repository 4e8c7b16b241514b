// CP1250 <-> UTF-16 for the wide Win32 API, whatever the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace lm::win32 {

std::wstring Wide(std::string_view cp1250);
std::string Narrow(std::wstring_view utf16);

}  // namespace lm::win32
