// The drive and folder answers of the tree from Win32: drive mask, shell
// names and images, folder searches and the locale's name order. Drive and
// folder queries run under SEM_FAILCRITICALERRORS.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "widgets/directory_tree.h"
#include "widgets/volume_naming_win.h"

namespace tovo {

class Win32DriveProvider : public DriveProvider {
 public:
  std::optional<VolumeInfo> VolumeInformation(const std::string& root) override;
  unsigned DriveType(const std::string& root) override;
  std::string FullPathName(const std::string& path) override;
  std::optional<std::string> UniversalName(const std::string& path) override;
  std::string CurrentFolder() override;

  std::uint32_t LogicalDrives() override;
  ShellItem ShellInfo(const std::string& path) override;
  int FolderImage(const std::string& path, std::uint32_t attributes) override;
  int OpenImage(const std::string& path) override;
  std::pair<int, int> FolderImages() override;
  bool FolderExists(const std::string& path) override;
  void List(const std::string& pattern,
            const std::function<bool(const FolderEntry&)>& entry) override;
  int CompareNames(const std::string& a, const std::string& b) override;
  bool SameName(const std::string& a, const std::string& b) override;

 private:
  Win32VolumePlatform volumes_;
  int closedFolderImage_ = -1;
};

// The system's small-icon image list. Shared with the whole process: the
// caller must never destroy it.
HIMAGELIST SystemSmallImageList();

}  // namespace tovo
