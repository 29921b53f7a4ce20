#include "widgets/extension_icon_cache.h"

namespace tovo {

std::string_view ExtensionOf(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool IsPerFileExtension(std::string_view lowerExtension) {
  return lowerExtension == ".exe" || lowerExtension == ".lnk" || lowerExtension == ".ico" ||
         lowerExtension == ".scr";
}

std::optional<IconHandle> ExtensionIconCache::Find(const std::string& lowerExtension) const {
  const auto it = icons_.find(lowerExtension);
  if (it == icons_.end()) return std::nullopt;
  return it->second;
}

bool ExtensionIconCache::Add(const std::string& lowerExtension, IconHandle icon) {
  return icons_.emplace(lowerExtension, icon).second;
}

}  // namespace tovo
