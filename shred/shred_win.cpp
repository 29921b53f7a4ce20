#include "shred/shred_win.h"

#include <windows.h>

#include "platform/wide_win.h"
#include "shred/windows_file_system_win.h"

namespace tovo {

ShredOutcome ShredFile(const std::string& path) {
  return ShredFileWith(SystemFileSystem(), ProcessRandomGenerator(), path);
}

std::vector<ShredOutcome> ShredFolderTree(const std::string& folder, const ProgressText& progress) {
  return ShredFolderTreeWith(SystemFileSystem(), ProcessRandomGenerator(), folder, progress);
}

void ListFilesRecursive(const std::string& folder, std::vector<std::string>& files) {
  ListFilesRecursive(SystemFileSystem(), folder, files);
}

std::vector<ShredOutcome> RemoveFolderTree(const std::string& folder) {
  std::vector<ShredOutcome> notRemoved;
  RemoveFolderTree(SystemFileSystem(), folder, notRemoved);
  return notRemoved;
}

bool FolderExists(const std::string& path) {
  std::uint32_t attributes = 0;
  return SystemFileSystem().ReadAttributes(path, attributes) == 0 &&
         (attributes & attr::kDirectory) != 0;
}

}  // namespace tovo
