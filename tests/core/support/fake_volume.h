// The fake file system as a volume of fixed size for the free-space wipe:
// files take space as they are written, the number of entries is bounded
// like a file table, and every operation can be refused on demand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shred_fake_file_system.h"

namespace tovo::testing {

class FakeVolume : public FakeFileSystem {
 public:
  std::uint64_t capacity = 8u << 20;         // bytes the files may hold
  std::size_t maxEntries = 400;              // files and folders, the root's included
  VolumeFacts facts{0, 512, 4096, 1024, 0};  // freeBytes is computed
  // Asked before each operation ("query", "mkdir", "create", "write",
  // "delete", "rmdir") with its path; a code other than 0 refuses it.
  std::function<SystemCode(const std::string& op, const std::string& path)> refuse;

  // What happened, in order; a run of writes to one file is one "write".
  std::vector<std::string> log;
  std::uint64_t leastFree = ~0ull;  // the lowest free space a write left

  std::uint64_t Used() const;
  // The index of the first log line that starts with `prefix`, or -1.
  int FirstLog(const std::string& prefix) const;
  int LastLog(const std::string& prefix) const;

  SystemCode QueryVolume(const std::string& root, VolumeFacts& out) override;
  SystemCode CreateNewFile(const std::string& path, bool unbuffered,
                           std::unique_ptr<OpenFile>& file) override;
  SystemCode CreatePlainFolder(const std::string& path) override;
  SystemCode RemoveFile(const std::string& path) override;
  SystemCode RemoveFolder(const std::string& path) override;

 private:
  friend class CapacityFile;
  SystemCode Ask(const std::string& op, const std::string& path);
};

}  // namespace tovo::testing
