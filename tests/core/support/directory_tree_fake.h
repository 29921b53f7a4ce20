// A fake machine for the drive naming and tree tests: drives with their
// types, volumes and network names, and folders with attributes, listed in
// the order they were added (as a disk that does not sort would).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "widgets/directory_tree.h"

namespace tovo::testing {

struct FakeDrive {
  unsigned type = kDriveFixed;
  std::optional<VolumeInfo> volume;      // nullopt: no medium
  std::optional<std::string> universal;  // "\\fileserv\docs" for a mapped share
  std::string shellName;
  int image = 4;
};

struct FakeEntry {
  std::string path;  // full path without a final "\"
  std::uint32_t attributes;
};

class FakeMachine : public DriveProvider {
 public:
  static constexpr std::uint32_t kDir = 0x10;

  std::map<char, FakeDrive> drives;
  std::vector<FakeEntry> entries;
  std::string cwd = "C:\\";
  std::vector<std::string> searches;  // every pattern listed

  void Folder(const std::string& path, std::uint32_t extra = 0) {
    entries.push_back({path, kDir | extra});
  }
  void Remove(const std::string& path) {
    std::erase_if(entries, [&](const FakeEntry& e) { return EqualsIgnoreAsciiCase(e.path, path); });
  }
  int SearchesOf(const std::string& dir) const {
    int n = 0;
    for (const auto& s : searches) n += EqualsIgnoreAsciiCase(s, dir + "*.*");
    return n;
  }

  std::optional<VolumeInfo> VolumeInformation(const std::string& root) override {
    const FakeDrive* drive = Find(root);
    return drive ? drive->volume : std::nullopt;
  }
  unsigned DriveType(const std::string& root) override {
    const FakeDrive* drive = Find(root);
    return drive ? drive->type : kDriveNoRootDir;
  }
  std::string FullPathName(const std::string& path) override {
    if (path.empty()) return path;
    if (StartsWith(path, "\\\\")) return path;
    if (path[0] == '\\') return cwd.substr(0, 2) + path;
    if (path.size() >= 2 && path[1] == ':') return path.size() == 2 ? path + "\\" : path;
    return cwd + (EndsWith(cwd, "\\") ? "" : "\\") + path;
  }
  std::optional<std::string> UniversalName(const std::string& path) override {
    const FakeDrive* drive = Find(path);
    if (!drive || !drive->universal) return std::nullopt;
    return *drive->universal + path.substr(2);
  }
  std::string CurrentFolder() override { return cwd; }

  std::uint32_t LogicalDrives() override {
    std::uint32_t mask = 0;
    for (const auto& [letter, drive] : drives) mask |= 1u << (letter - 'A');
    return mask;
  }
  ShellItem ShellInfo(const std::string& path) override {
    if (path.size() == 3) {
      const FakeDrive* drive = Find(path);
      return {drive ? drive->shellName : "", drive ? drive->image : 0};
    }
    return {path, 2};
  }
  int FolderImage(const std::string& path, std::uint32_t) override { return ShellInfo(path).image; }
  int OpenImage(const std::string& path) override { return ShellInfo(path).image + 100; }
  std::pair<int, int> FolderImages() override { return {2, 3}; }
  bool FolderExists(const std::string& path) override {
    std::string p = path;
    if (EndsWith(p, "\\")) p.pop_back();
    if (p.size() == 2) {
      const FakeDrive* drive = Find(p);
      return drive && drive->volume;
    }
    for (const auto& e : entries) {
      if (EqualsIgnoreAsciiCase(e.path, p)) return (e.attributes & kDir) != 0;
    }
    return false;
  }
  void List(const std::string& pattern,
            const std::function<bool(const FolderEntry&)>& entry) override {
    searches.push_back(pattern);
    const std::string dir = pattern.substr(0, pattern.size() - 3);  // keeps the "\"
    const FakeDrive* drive = Find(dir);
    if (!drive || !drive->volume || !FolderExists(dir)) return;
    if (dir.size() > 3 && (!entry({".", kDir}) || !entry({"..", kDir}))) return;
    for (const auto& e : entries) {
      const size_t slash = e.path.rfind('\\');
      if (!EqualsIgnoreAsciiCase(e.path.substr(0, slash + 1), dir)) continue;
      if (!entry({e.path.substr(slash + 1), e.attributes})) return;
    }
  }
  int CompareNames(const std::string& a, const std::string& b) override {
    return AsciiLower(a).compare(AsciiLower(b));
  }
  bool SameName(const std::string& a, const std::string& b) override {
    return EqualsIgnoreAsciiCase(a, b);
  }

 private:
  const FakeDrive* Find(const std::string& path) const {
    if (path.size() < 2 || path[1] != ':') return nullptr;
    auto it = drives.find(AsciiUpper(path.substr(0, 1))[0]);
    return it == drives.end() ? nullptr : &it->second;
  }
};

class RecordingList : public FolderTarget {
 public:
  std::vector<std::string> folders;
  void SetFolder(const std::string& path) override { folders.push_back(path); }
};

}  // namespace tovo::testing
