// The engine's file-system interface over the W functions. Paths longer than
// the classic limit go to the system in the extended-length form.
#pragma once

#include "shred/file_system.h"

namespace tovo {

class WindowsFileSystem final : public FileSystem {
 public:
  SystemCode ReadAttributes(const std::string& path, std::uint32_t& attributes) override;
  SystemCode WriteAttributes(const std::string& path, std::uint32_t attributes) override;
  SystemCode ReadSize(const std::string& path, std::uint64_t& size) override;
  SystemCode OpenExclusive(const std::string& path, std::unique_ptr<OpenFile>& file) override;
  SystemCode RemoveFile(const std::string& path) override;
  SystemCode RemoveFolder(const std::string& path) override;
  SystemCode Rename(const std::string& path, const std::string& newPath) override;
  SystemCode Search(const std::string& pattern,
                    const std::function<void(const FolderEntry&)>& visit) override;
  std::string CurrentFolder() override;
  SystemCode EnterFolder(const std::string& path) override;
  bool CanRemoveFolderLinks() const override;
  SystemCode QueryVolume(const std::string& root, VolumeFacts& facts) override;
  SystemCode CreateNewFile(const std::string& path, bool unbuffered,
                           std::unique_ptr<OpenFile>& file) override;
  SystemCode CreatePlainFolder(const std::string& path) override;
};

// The process's instance, for the program and the tests on real files.
WindowsFileSystem& SystemFileSystem();

}  // namespace tovo
