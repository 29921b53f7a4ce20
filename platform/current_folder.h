// The current folder is process-wide state: whoever changes it puts it back.
// The owner is an interface so that the shredding engine's walk can be
// tested against a fake file system.
#pragma once

#include <cstdint>
#include <string>

namespace tovo {

using SystemCode = std::uint32_t;

class CurrentFolderOwner {
 public:
  virtual ~CurrentFolderOwner() = default;
  // Empty when it cannot be read.
  virtual std::string CurrentFolder() = 0;
  // Returns the system error code, or 0 on success.
  virtual SystemCode EnterFolder(const std::string& path) = 0;
};

// Makes the remembered current folder current again on every way out.
class CurrentFolderGuard {
 public:
  explicit CurrentFolderGuard(CurrentFolderOwner& owner)
      : owner_(owner), saved_(owner.CurrentFolder()) {}
  ~CurrentFolderGuard() {
    if (!saved_.empty()) owner_.EnterFolder(saved_);
  }
  CurrentFolderGuard(const CurrentFolderGuard&) = delete;
  CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

  const std::string& saved() const { return saved_; }

 private:
  CurrentFolderOwner& owner_;
  std::string saved_;
};

}  // namespace tovo
