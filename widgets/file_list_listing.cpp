#include "widgets/file_list_listing.h"

#include <unordered_set>

#include "platform/paths.h"

namespace tovo {
namespace {

class Lister {
 public:
  Lister(const ListingRequest& request, ListingPlatform& platform, FileListModel& model)
      : request_(request),
        platform_(platform),
        model_(model),
        checkDuplicates_(request.mask.find(';') != std::string_view::npos) {}

  void Run() {
    std::string_view rest = request_.mask;
    for (;;) {
      const size_t semicolon = rest.find(';');
      ListPattern(rest.substr(0, semicolon));
      if (semicolon == std::string_view::npos) break;
      rest.remove_prefix(semicolon + 1);
    }
    model_.SortAll();
  }

 private:
  void ListPattern(std::string_view pattern) {
    if (pattern.empty()) return;
    platform_.directory.Enumerate(std::string(pattern),
                                  [this](const FolderEntry& entry) { Take(entry); });
  }

  void Take(const FolderEntry& entry) {
    if (!Qualifies(request_.fileType, entry.attributes)) return;
    const bool isFolder = (entry.attributes & attr::kDirectory) != 0;
    if (isFolder && (entry.name == "." || entry.name == "..")) return;
    // A name no Windows path can address (only Wine reports them) is left out,
    // so that no entry of the list stands for a file other than itself.
    if (HoldsPathSeparator(entry.name)) return;
    std::string key = platform_.collation.SortKey(entry.name);
    if (checkDuplicates_ && !seen_.insert(key).second) return;
    TFileEntryInfo info{entry.name, isFolder, kNoIcon, false};
    if (request_.showGlyphs) AttachIcon(info);
    model_.Append(std::move(key), std::move(info));
    if (model_.Count() == kEntriesBeforeHourglass + 1 && platform_.onManyEntries)
      platform_.onManyEntries();
  }

  void AttachIcon(TFileEntryInfo& info) {
    if (info.IsFolder) return OwnIcon(info);
    const std::string extension = platform_.collation.Lower(ExtensionOf(info.EntryName));
    if (IsPerFileExtension(extension)) return OwnIcon(info);
    if (const auto cached = platform_.cache.Find(extension)) {
      info.Icon = *cached;
      return;
    }
    info.Icon = platform_.icons.Fetch(info.EntryName);
    platform_.cache.Add(extension, info.Icon);
  }

  void OwnIcon(TFileEntryInfo& info) {
    info.Icon = platform_.icons.Fetch(info.EntryName);
    info.OwnsIcon = info.Icon != kNoIcon;
  }

  const ListingRequest& request_;
  ListingPlatform& platform_;
  FileListModel& model_;
  const bool checkDuplicates_;
  std::unordered_set<std::string> seen_;
};

}  // namespace

void ListFolder(const ListingRequest& request, ListingPlatform& platform, FileListModel& model) {
  model.Clear([&](IconHandle icon) { platform.icons.Destroy(icon); });
  Lister(request, platform, model).Run();
}

}  // namespace tovo
