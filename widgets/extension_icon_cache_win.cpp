#include "widgets/extension_icon_cache_win.h"

#include <shellapi.h>

#include "platform/file_system_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

struct ProcessCache {
  ExtensionIconCache cache;
  ~ProcessCache() {
    cache.DestroyAll([](IconHandle icon) { DestroyIcon(ToHicon(icon)); });
  }
};

// A namespace-scope object: constructed at program start, destroyed at exit.
ProcessCache g_processCache;

std::wstring MapString(const std::wstring& text, DWORD flags) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int needed = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
  std::wstring out(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, out.data(), needed);
  return out;
}

}  // namespace

ExtensionIconCache& ProcessIconCache() {
  return g_processCache.cache;
}

void Win32FolderEnumerator::Enumerate(const std::string& pattern,
                                      const std::function<void(const FolderEntry&)>& visit) {
  ForEachEntry(pattern, [&](const FolderEntry& entry) {
    visit(entry);
    return true;
  });
}

HICON FetchShellIcon(const std::wstring& path, UINT flags) {
  SHFILEINFOW info = {};
  SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags);
  return info.hIcon;
}

IconHandle Win32ShellIcons::Fetch(const std::string& name) {
  return ToIconHandle(FetchShellIcon(Wide(name), kListIconFlags));
}

void Win32ShellIcons::Destroy(IconHandle icon) {
  DestroyIcon(ToHicon(icon));
}

std::string Win32Collation::SortKey(std::string_view name) const {
  // With LCMAP_SORTKEY the output is bytes and its length is counted in bytes,
  // the terminating zero byte included.
  const std::wstring wide = Wide(name);
  if (wide.empty()) return std::string();
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int length = static_cast<int>(wide.size());
  const int needed = LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.data(), length, nullptr, 0);
  if (needed <= 0) return Narrow(MapString(wide, LCMAP_UPPERCASE));
  std::string key(static_cast<size_t>(needed), '\0');
  LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.data(), length,
               reinterpret_cast<LPWSTR>(key.data()), needed);
  key.pop_back();
  return key;
}

std::string Win32Collation::Lower(std::string_view text) const {
  return Narrow(MapString(Wide(text), LCMAP_LOWERCASE));
}

}  // namespace tovo
