#include "app/shell_folders_win.h"

#include <optional>
#include <vector>

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

constexpr wchar_t kShellFolders[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The string value as stored; "" when it does not exist; nullopt when it is
// not a string or cannot be read.
std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name) {
  for (;;) {
    DWORD type = 0, bytes = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes);
    if (status == ERROR_FILE_NOT_FOUND) return std::wstring();
    if (status != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) continue;  // the value grew in between
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    // The stored string need not carry its terminator; it ends at the first.
    std::wstring text(data.data(), size / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
  }
}

}  // namespace

std::string ReadShellFolderPath(HKEY root, const std::wstring& subKey,
                                const std::string& valueName) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return "";
  }
  const UniqueRegKey key(opened);
  const std::optional<std::wstring> value = ReadString(key.get(), Wide(valueName));
  return value ? Narrow(*value) + "\\" : "";
}

std::string GetShellFolderPath(const std::string& valueName) {
  return ReadShellFolderPath(HKEY_CURRENT_USER, kShellFolders, valueName);
}

}  // namespace tovo
