// A file held open without sharing by a second process (tests/tools/hold_file).
#pragma once

#include <string>

#include "platform/handles_win.h"

namespace tovo::testing {

class HeldFile {
 public:
  // Starts hold_file.exe on the path and waits until it holds the file;
  // held() is false when it could not.
  explicit HeldFile(const std::string& path);
  ~HeldFile() { Release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool held() const { return held_; }
  // Lets the holder close the file and end; returns its exit code.
  unsigned long Release();

 private:
  UniqueKernelHandle ready_;
  UniqueKernelHandle quit_;
  UniqueKernelHandle process_;
  bool held_ = false;
};

}  // namespace tovo::testing
