// UTF-8 <-> UTF-16 at the Win32 boundary (wchar_t is 16 bits on Windows).
#pragma once

#include <string>
#include <string_view>

#include "platform/text.h"

namespace tovo {

inline std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

inline std::string Narrow(std::wstring_view utf16) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

}  // namespace tovo
