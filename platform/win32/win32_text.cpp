#include "platform/win32/win32_text.h"

#include "base/cp1250.h"

namespace lm::win32 {

std::wstring Wide(std::string_view cp1250) {
    std::u16string u = Cp1250ToUtf16(cp1250);
    return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view utf16) {
    std::u16string u(utf16.begin(), utf16.end());
    return Utf16ToCp1250(u);
}

}  // namespace lm::win32
