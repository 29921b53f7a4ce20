#include "widgets/directory_tree_provider_win.h"

#include <shellapi.h>

#include "platform/file_system_win.h"
#include "platform/guards_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

SHFILEINFOW ShellQuery(const std::wstring& path, UINT flags, DWORD attributes = 0) {
  SHFILEINFOW info = {};
  info.iIcon = -1;
  SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), flags);
  return info;
}

}  // namespace

std::optional<VolumeInfo> Win32DriveProvider::VolumeInformation(const std::string& root) {
  return volumes_.VolumeInformation(root);
}

unsigned Win32DriveProvider::DriveType(const std::string& root) {
  return volumes_.DriveType(root);
}

std::string Win32DriveProvider::FullPathName(const std::string& path) {
  return volumes_.FullPathName(path);
}

std::optional<std::string> Win32DriveProvider::UniversalName(const std::string& path) {
  return volumes_.UniversalName(path);
}

std::string Win32DriveProvider::CurrentFolder() {
  return tovo::CurrentFolder();
}

std::uint32_t Win32DriveProvider::LogicalDrives() {
  ErrorModeGuard mode;
  return GetLogicalDrives();
}

ShellItem Win32DriveProvider::ShellInfo(const std::string& path) {
  ErrorModeGuard mode;
  const SHFILEINFOW info =
      ShellQuery(Wide(path), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
  return {Narrow(info.szDisplayName), info.iIcon};
}

int Win32DriveProvider::FolderImage(const std::string& path, std::uint32_t attributes) {
  // A folder shows an icon of its own only when it is read-only or system
  // (the condition for its desktop.ini to count) or a reparse point (a
  // mount); any other folder has the generic image, which saves one shell
  // query per folder: each costs milliseconds, far more than the search.
  constexpr DWORD kCustomisable =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
  if (!(attributes & kCustomisable)) {
    if (closedFolderImage_ < 0) closedFolderImage_ = FolderImages().first;
    return closedFolderImage_;
  }
  ErrorModeGuard mode;
  return ShellQuery(Wide(path), SHGFI_SYSICONINDEX | SHGFI_SMALLICON).iIcon;
}

int Win32DriveProvider::OpenImage(const std::string& path) {
  ErrorModeGuard mode;
  return ShellQuery(Wide(path), SHGFI_SYSICONINDEX | SHGFI_OPENICON | SHGFI_SMALLICON).iIcon;
}

std::pair<int, int> Win32DriveProvider::FolderImages() {
  // The generic folder by its attributes alone: no disk access, and the same
  // answer whatever folder happens to be current.
  constexpr UINT kFlags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
  const int closed = ShellQuery(L"folder", kFlags, FILE_ATTRIBUTE_DIRECTORY).iIcon;
  const int open = ShellQuery(L"folder", kFlags | SHGFI_OPENICON, FILE_ATTRIBUTE_DIRECTORY).iIcon;
  return {closed, open};
}

bool Win32DriveProvider::FolderExists(const std::string& path) {
  ErrorModeGuard mode;
  return IsFolder(path);
}

void Win32DriveProvider::List(const std::string& pattern,
                              const std::function<bool(const FolderEntry&)>& entry) {
  ErrorModeGuard mode;
  ForEachEntry(pattern, entry);
}

int Win32DriveProvider::CompareNames(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a), wb = Wide(b);
  const int result =
      CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()),
                     wb.c_str(), static_cast<int>(wb.size()));
  return result == 0 ? 0 : result - CSTR_EQUAL;
}

bool Win32DriveProvider::SameName(const std::string& a, const std::string& b) {
  return SameFileName(a, b);
}

HIMAGELIST SystemSmallImageList() {
  SHFILEINFOW info = {};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

}  // namespace tovo
