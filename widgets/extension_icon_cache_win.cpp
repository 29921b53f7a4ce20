#include "widgets/extension_icon_cache_win.h"

#include <shellapi.h>

#include "platform/handles_win.h"
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

void Win32DirectoryEnumerator::Enumerate(const std::string& pattern,
                                         const std::function<void(const FolderEntry&)>& visit) {
  WIN32_FIND_DATAW data;
  UniqueFind search(FindFirstFileW(Wide(pattern).c_str(), &data));
  if (!search) return;
  do {
    visit(FolderEntry{Narrow(data.cFileName), data.dwFileAttributes});
  } while (FindNextFileW(search.get(), &data));
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

bool SameFileName(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a);
  const std::wstring wb = Wide(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(),
                        static_cast<int>(wa.size()), wb.data(),
                        static_cast<int>(wb.size())) == CSTR_EQUAL;
}

}  // namespace tovo
