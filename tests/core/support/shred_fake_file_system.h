// An in-memory file system with Windows behaviour for the engine's tests:
// entries listed in creation order, links that lead to their targets when
// opened or searched, share-mode and removal rules, and injected failures.
// Safe to call from several threads, as the engine's workers do.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "shred/file_system.h"
#include "shred/shred_outcome.h"

namespace tovo::testing {

class FakeFileSystem : public FileSystem {
 public:
  struct Node {
    std::uint32_t attributes = attr::kArchive;
    std::vector<std::uint8_t> bytes;
    std::string linkTarget;  // a reparse point leading to this path
    FileTime times = 0;      // the three times, set together
  };

  FakeFileSystem();

  // Building the tree; parents must exist. Paths have no trailing "\".
  void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
  void AddFile(const std::string& path, std::size_t size, std::uint8_t fill = 0xEE,
               std::uint32_t attributes = attr::kArchive);
  void AddLink(const std::string& path, const std::string& target);

  bool Exists(const std::string& path) const;
  const Node& At(const std::string& path) const;
  std::vector<std::string> Paths() const;  // everything, sorted

  // Failures to inject, by path.
  std::map<std::string, SystemCode> openFailures;
  std::map<std::string, SystemCode> enterFailures;
  std::map<std::string, SystemCode> deleteFailures;
  std::map<std::string, SystemCode> attributeFailures;
  std::optional<std::size_t> shortWriteAfter;  // total bytes, then writes come up short
  SystemCode writeFailure = 0;                 // with shortWriteAfter: the code reported
  SystemCode flushFailure = 0;
  // Failures of the steps through the handle after the flush, and of moves.
  SystemCode truncateFailure = 0;
  SystemCode timesFailure = 0;
  SystemCode markFailure = 0;
  std::map<std::string, SystemCode> renameFailures;  // by the new path
  // A step of the open file (length, seek, write, flush, close) that fails
  // for one path.
  struct StepFailure {
    ShredStep step;
    SystemCode code;
  };
  std::map<std::string, StepFailure> stepFailures;
  // Runs at the start of every flush, without the lock, given the path.
  std::function<void(const std::string&)> onFlush;
  // Runs at the start of every write request, the same way.
  std::function<void(const std::string&)> onWrite;
  bool linksRemovable = true;
  // Entries a search reports in a folder beyond the tree: Unix names that
  // Wine passes through, such as "..\x".
  std::map<std::string, std::vector<FolderEntry>> extraEntries;

  // What the engine did.
  std::vector<std::string> opened;
  std::vector<std::size_t> writeRequests;
  int openFiles = 0;  // handles not yet closed
  int flushes = 0;
  // After a flush: "truncate", "times", "mark", "close"; any "rename <new path>".
  std::vector<std::string> steps;
  std::vector<std::string> enterLog;
  std::string current = "C:\\work";

  SystemCode ReadAttributes(const std::string& path, std::uint32_t& attributes) override;
  SystemCode WriteAttributes(const std::string& path, std::uint32_t attributes) override;
  SystemCode ReadSize(const std::string& path, std::uint64_t& size) override;
  SystemCode OpenExclusive(const std::string& path, std::unique_ptr<OpenFile>& file) override;
  SystemCode RemoveFile(const std::string& path) override;
  SystemCode RemoveFolder(const std::string& path) override;
  SystemCode Rename(const std::string& path, const std::string& newPath) override;
  SystemCode Search(const std::string& pattern,
                    const std::function<void(const FolderEntry&)>& visit) override;
  std::string CurrentFolder() override { return current; }
  SystemCode EnterFolder(const std::string& path) override;
  bool CanRemoveFolderLinks() const override { return linksRemovable; }

 private:
  friend class FakeOpenFile;
  std::string Resolve(const std::string& path) const;  // through a link
  SystemCode FailureAt(const std::string& path, ShredStep step) const;
  std::vector<std::string> ChildrenOf(const std::string& folder) const;
  void Erase(const std::string& path);

  std::map<std::string, Node> nodes_;
  std::map<std::string, std::vector<std::string>> order_;  // folder -> child names
  std::size_t bytesWritten_ = 0;
  mutable std::recursive_mutex mutex_;
};

}  // namespace tovo::testing
