// The process's one extension icon cache and the Win32 side of the file
// list's platform interfaces: directory search, shell icons, collation.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/extension_icon_cache.h"
#include "widgets/file_list_listing.h"

namespace tovo {

// Created when the program starts, before any list is read; its icons are
// destroyed when the program ends.
ExtensionIconCache& ProcessIconCache();

inline HICON ToHicon(IconHandle icon) {
  return reinterpret_cast<HICON>(icon);
}
inline IconHandle ToIconHandle(HICON icon) {
  return reinterpret_cast<IconHandle>(icon);
}

// The directory search on a pattern relative to the current folder.
class Win32FolderEnumerator : public FolderEnumerator {
 public:
  void Enumerate(const std::string& pattern,
                 const std::function<void(const FolderEntry&)>& visit) override;
};

// Small shell icons from SHGetFileInfoW; the caller owns each icon returned.
class Win32ShellIcons : public ShellIcons {
 public:
  IconHandle Fetch(const std::string& name) override;
  void Destroy(IconHandle icon) override;
};

// The user's default locale, ignoring case: the order CompareStringW with
// NORM_IGNORECASE gives, as sort keys that compare bytewise.
class Win32Collation : public NameCollation {
 public:
  std::string SortKey(std::string_view name) const override;
  std::string Lower(std::string_view text) const override;
};

// The flags of the list's icon lookups: SHGFI_SYSICONINDEX, SHGFI_ICON,
// SHGFI_SHELLICONSIZE and SHGFI_SMALLICON; selected entries add SHGFI_SELECTED.
inline constexpr UINT kListIconFlags = 0x4105;
inline constexpr UINT kSelectedListIconFlags = 0x14105;

// A small shell icon for a path (relative to the current folder or full);
// null when the shell gives none.
HICON FetchShellIcon(const std::wstring& path, UINT flags);

}  // namespace tovo
