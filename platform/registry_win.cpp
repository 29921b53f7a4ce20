#include "platform/registry_win.h"

#include <algorithm>
#include <vector>

#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

std::string KeyName(HKEY root, const std::wstring& subKey) {
  return (root == HKEY_CURRENT_USER ? "HKCU\\" : "") + Narrow(subKey);
}

UniqueRegKey OpenKey(HKEY root, const std::wstring& subKey, REGSAM access) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
  return UniqueRegKey(opened);
}

}  // namespace

std::optional<std::wstring> ReadRegistryString(HKEY key, const std::wstring& name) {
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

std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& subKey,
                                               const std::wstring& name) {
  const UniqueRegKey key = OpenKey(root, subKey, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  return ReadRegistryString(key.get(), name);
}

CreatedKey CreateRegistryKey(HKEY root, const std::wstring& subKey) {
  CreatedKey result;
  HKEY parent = root;
  for (size_t start = 0; start <= subKey.size();) {
    const size_t end = std::min(subKey.find(L'\\', start), subKey.size());
    const std::wstring name = subKey.substr(start, end - start);
    HKEY opened = nullptr;
    DWORD disposition = 0;
    const LSTATUS status = RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, &opened, &disposition);
    if (status != ERROR_SUCCESS) {
      throw SystemError("RegCreateKeyEx", KeyName(root, subKey.substr(0, end)), status);
    }
    result.key = UniqueRegKey(opened);
    parent = opened;
    // Below a key just made every key is new: those made end the path.
    result.made = disposition == REG_CREATED_NEW_KEY ? result.made + 1 : 0;
    start = end + 1;
  }
  return result;
}

void WriteRegistryString(HKEY key, const std::wstring& name, const std::wstring& value) {
  const LSTATUS status =
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) throw SystemError("RegSetValueEx", Narrow(name), status);
}

void WriteRegistryDword(HKEY key, const std::wstring& name, DWORD value) {
  const LSTATUS status = RegSetValueExW(key, name.c_str(), 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof(value));
  if (status != ERROR_SUCCESS) throw SystemError("RegSetValueEx", Narrow(name), status);
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const std::wstring& subKey,
                                       const std::wstring& name) {
  const UniqueRegKey key = OpenKey(root, subKey, KEY_QUERY_VALUE);
  DWORD type = 0, value = 0, size = sizeof(value);
  if (!key ||
      RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

void DeleteRegistryTree(HKEY root, const std::wstring& subKey) {
  const LSTATUS status = RegDeleteTreeW(root, subKey.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return;
  throw SystemError("RegDeleteTree", KeyName(root, subKey), status);
}

bool DeleteRegistryKeyIfEmpty(HKEY root, const std::wstring& subKey) {
  {
    const UniqueRegKey key = OpenKey(root, subKey, KEY_QUERY_VALUE);
    DWORD keys = 0, values = 0;
    if (!key || RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr,
                                 &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return false;
    if (keys != 0 || values != 0) return false;
  }
  return RegDeleteKeyW(root, subKey.c_str()) == ERROR_SUCCESS;
}

}  // namespace tovo
