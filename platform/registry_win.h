// Registry keys and string values. Writes go through keys created one level
// at a time, so a caller can tell which keys it made itself and remove only
// those again.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/handles_win.h"

namespace tovo {

// The string value as stored; "" when it does not exist; nullopt when it is
// not a string or cannot be read.
std::optional<std::wstring> ReadRegistryString(HKEY key, const std::wstring& name);

// The string value `name` of `root\subKey`; nullopt when the key or the value
// is missing or not a string.
std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& subKey,
                                               const std::wstring& name);

struct CreatedKey {
  UniqueRegKey key;
  // How many keys of the path, counted from its end, did not exist before.
  int made = 0;
};

// Opens `root\subKey` for writing, creating each missing key on the way.
// Throws SystemError when a key can be neither opened nor created.
CreatedKey CreateRegistryKey(HKEY root, const std::wstring& subKey);

// Sets a REG_SZ or REG_DWORD value; throws SystemError on failure.
void WriteRegistryString(HKEY key, const std::wstring& name, const std::wstring& value);
void WriteRegistryDword(HKEY key, const std::wstring& name, DWORD value);
// The REG_DWORD value `name` of `root\subKey`, or nullopt.
std::optional<DWORD> ReadRegistryDword(HKEY root, const std::wstring& subKey,
                                       const std::wstring& name);

// Removes `root\subKey` with everything below it; a key that is already gone
// is no error. Throws SystemError otherwise.
void DeleteRegistryTree(HKEY root, const std::wstring& subKey);

// Removes `root\subKey` when it holds neither keys nor values (nor a default
// value); true when it did.
bool DeleteRegistryKeyIfEmpty(HKEY root, const std::wstring& subKey);

}  // namespace tovo
