// Test helper: shreds each argument as the shred command would (a folder
// tree or one file), on the real file system, then scrubs the index of the
// folders that held them.
//
//   shred_paths.exe PATH...
//
// Prints one line per item not destroyed ("path: step code [now name]") and
// exits 0 when everything is gone, 1 when something stayed, 2 on bad
// arguments or an error that stopped a folder.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/wide_win.h"
#include "shred/folder_shredder.h"
#include "shred/index_scrub.h"
#include "shred/windows_file_system_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: shred_paths PATH...\n", stderr);
    return 2;
  }
  int result = 0;
  const auto report = [&](const std::vector<tovo::ShredOutcome>& outcomes) {
    for (const tovo::ShredOutcome& left : outcomes) {
      std::printf("%s: %s %u %s\n", left.path.c_str(), tovo::StepName(left.step),
                  static_cast<unsigned>(left.code), left.currentName.c_str());
      result = 1;
    }
  };
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    paths.push_back(tovo::Narrow(argv[i]));
    try {
      report(tovo::ShredPathWith(tovo::SystemFileSystem(), tovo::ProcessRandomGenerator(),
                                 tovo::Narrow(argv[i]), nullptr));
    } catch (const std::exception& error) {
      std::printf("%s: %s\n", tovo::Narrow(argv[i]).c_str(), error.what());
      return 2;
    }
  }
  // As the shred command does after its run.
  report(tovo::ScrubSelectionParents(tovo::SystemFileSystem(), paths));
  return result;
}
