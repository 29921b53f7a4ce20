#include "platform/file_system_win.h"

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tovo {

SystemCode ForEachEntry(const std::string& pattern,
                        const std::function<bool(const FolderEntry&)>& visit) {
  WIN32_FIND_DATAW data;
  const UniqueFind search(FindFirstFileW(Wide(pattern).c_str(), &data));
  if (!search) return GetLastError();
  do {
    if (!visit(FolderEntry{Narrow(data.cFileName), data.dwFileAttributes,
                           (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow}))
      return 0;
  } while (FindNextFileW(search.get(), &data));
  const SystemCode code = GetLastError();
  return code == ERROR_NO_MORE_FILES ? 0 : code;
}

std::string CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return std::string();
  std::wstring buffer(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, buffer.data());
  if (length == 0 || length >= needed) return std::string();
  buffer.resize(length);
  return Narrow(buffer);
}

std::string ProcessFolder::CurrentFolder() {
  return tovo::CurrentFolder();
}

SystemCode ProcessFolder::EnterFolder(const std::string& path) {
  return SetCurrentDirectoryW(Wide(path).c_str()) ? 0 : GetLastError();
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes);
}

bool SameFileName(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a);
  const std::wstring wb = Wide(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(),
                        static_cast<int>(wa.size()), wb.data(),
                        static_cast<int>(wb.size())) == CSTR_EQUAL;
}

std::string FileNameKey(const std::string& name) {
  std::wstring key = Wide(name);
  if (!key.empty()) {
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, key.data(), static_cast<int>(key.size()),
                 key.data(), static_cast<int>(key.size()));
  }
  return Narrow(key);
}

std::vector<std::string> FixedDriveRoots() {
  std::vector<std::string> roots;
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if ((drives & (1u << (letter - 'A'))) && GetDriveTypeW(Wide(root).c_str()) == DRIVE_FIXED)
      roots.push_back(root);
  }
  return roots;
}

}  // namespace tovo
