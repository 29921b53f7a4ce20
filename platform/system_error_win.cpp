#include "platform/system_error_win.h"

#include "platform/wide_win.h"

namespace tovo {
namespace {

std::string Describe(std::string_view what, std::string_view path, DWORD code) {
  std::string text(what);
  if (!path.empty()) text += " \"" + std::string(path) + "\"";
  text += ": " + SystemErrorText(code);
  return text;
}

}  // namespace

std::string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) return "error " + std::to_string(code);
  return Narrow(text);
}

SystemError::SystemError(std::string_view what, std::string_view path, DWORD code)
    : Error(what, path, code, Describe(what, path, code)) {}

bool RunningUnderWine() {
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace tovo
