// One small shell icon per file extension, shared by every file list of the
// process, so a folder of many files of one kind costs one icon lookup.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/file_list_model.h"

namespace tovo {

// The extension of a name: from its last "." on, as written; empty when the
// name has no ".". The caller lower-cases it in the user's locale.
std::string_view ExtensionOf(std::string_view name);

// Extensions whose files show icons of their own (a program's or shortcut's
// icon, an icon file's picture); never cached. `lowerExtension` includes the dot.
bool IsPerFileExtension(std::string_view lowerExtension);

class ExtensionIconCache {
 public:
  ExtensionIconCache() = default;
  ExtensionIconCache(const ExtensionIconCache&) = delete;
  ExtensionIconCache& operator=(const ExtensionIconCache&) = delete;

  // The cached icon of a lower-cased extension. A lookup that found no icon
  // is remembered as kNoIcon, so the shell is not asked again for it.
  std::optional<IconHandle> Find(const std::string& lowerExtension) const;

  // Stores the icon unless the extension is there already: false then, and
  // the caller keeps (and must release) `icon`.
  bool Add(const std::string& lowerExtension, IconHandle icon);

  size_t Size() const { return icons_.size(); }

  // Hands every stored icon to `release` and empties the cache.
  template <typename Release>
  void DestroyAll(Release&& release) {
    for (auto& [extension, icon] : icons_)
      if (icon != kNoIcon) release(icon);
    icons_.clear();
  }

 private:
  std::map<std::string, IconHandle, std::less<>> icons_;
};

}  // namespace tovo
