#include "announce/gbk_win.h"

#include <windows.h>

#include "platform/wide_win.h"

namespace tovo {

std::optional<std::string> Win32GbkDecoder::GbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) return std::string();
  const int length = static_cast<int>(gbk.size());
  const int needed = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), length, wide.data(), needed) !=
      needed) {
    return std::nullopt;
  }
  return Narrow(wide);
}

}  // namespace tovo
