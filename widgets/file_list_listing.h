// The listing of one folder into a file list model: patterns, qualifying,
// the duplicate check, icons, the hourglass and the sort. The directory
// search and the shell icons are the platform's, behind small interfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_attributes.h"
#include "widgets/extension_icon_cache.h"
#include "widgets/file_list_model.h"

namespace tovo {

// Searches the process's current folder.
class FolderEnumerator {
 public:
  virtual ~FolderEnumerator() = default;
  // Calls `visit` for each entry matching `pattern`, in the system's order.
  // A pattern that cannot be enumerated visits nothing.
  virtual void Enumerate(const std::string& pattern,
                         const std::function<void(const FolderEntry&)>& visit) = 0;
};

// Small shell icons, looked up by a name relative to the current folder.
class ShellIcons {
 public:
  virtual ~ShellIcons() = default;
  virtual IconHandle Fetch(const std::string& name) = 0;  // kNoIcon when the shell has none
  virtual void Destroy(IconHandle icon) = 0;
};

struct ListingRequest {
  std::string_view mask;
  FileType fileType;
  bool showGlyphs = true;
};

struct ListingPlatform {
  FolderEnumerator& directory;
  ShellIcons& icons;
  const NameCollation& collation;
  ExtensionIconCache& cache;
  std::function<void()> onManyEntries;  // once, when the 101st entry is appended
};

// The number of entries after which a listing shows the hourglass.
inline constexpr size_t kEntriesBeforeHourglass = 100;

// Empties `model` (releasing the icons its records own), lists the current
// directory into it and sorts it.
void ListFolder(const ListingRequest& request, ListingPlatform& platform, FileListModel& model);

}  // namespace tovo
