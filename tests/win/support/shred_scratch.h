// Scratch space for the engine's Windows tests: a fresh folder under the
// temporary folder, removed with everything in it at the end, and small file
// and Wine helpers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovo::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // UTF-8 Windows path without a trailing "\".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Creating and reading files and folders (any length; long paths allowed).
void MakeFolder(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool PathExists(const std::string& path);
std::string CurrentFolder();

// Under Wine: the Unix path of a Windows path, and running a Unix command
// (arguments are quoted; none may contain a double quote). Empty / false
// when not under Wine or the command failed.
std::string UnixPathOf(const std::string& path);
bool RunUnix(const std::vector<std::string>& arguments);

// The folder of the running test program, where the helper tools are built.
std::string ProgramFolder();

}  // namespace tovo::testing
