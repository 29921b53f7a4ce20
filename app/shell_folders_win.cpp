#include "app/shell_folders_win.h"

#include <optional>

#include "platform/handles_win.h"
#include "platform/registry_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

constexpr wchar_t kShellFolders[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

std::string ReadShellFolderPath(HKEY root, const std::wstring& subKey,
                                const std::string& valueName) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return "";
  }
  const UniqueRegKey key(opened);
  const std::optional<std::wstring> value = ReadRegistryString(key.get(), Wide(valueName));
  return value ? Narrow(*value) + "\\" : "";
}

std::string GetShellFolderPath(const std::string& valueName) {
  return ReadShellFolderPath(HKEY_CURRENT_USER, kShellFolders, valueName);
}

}  // namespace tovo
