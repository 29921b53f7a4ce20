// Times the shredding engine on files prepared by bench/shred_bench.sh.
//
//   shred_bench.exe file PATH REQUEST [plain]  ShredFile with REQUEST-byte writes
//   shred_bench.exe overwrite PATH REQUEST     the same without the delete
//   shred_bench.exe tree FOLDER [plain]        ShredFolderTree on a whole tree
//
// plain: without first hiding sizes, times and names.
//
// Prints "seconds=S" (the engine's own time, without Wine's start-up) and
// exits 1 when anything was not destroyed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/wide_win.h"
#include "shred/folder_shredder.h"
#include "shred/windows_file_system_win.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Report(double start, std::size_t failures) {
  std::printf("seconds=%.3f\n", Now() - start);
  if (failures) std::printf("not destroyed: %zu\n", failures);
  return failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 2 ? argv[1] : L"";
  const bool plain = std::wstring(argv[argc - 1]) == L"plain";
  if ((mode == L"file" || mode == L"overwrite") && argc == 4 + plain) {
    const tovo::ShredOptions options{std::stoul(argv[3]), mode == L"file", !plain};
    const double start = Now();
    const tovo::ShredOutcome outcome = tovo::ShredFileWith(
        tovo::SystemFileSystem(), tovo::ProcessRandomGenerator(), tovo::Narrow(argv[2]), options);
    return Report(start, outcome.destroyed() ? 0 : 1);
  }
  if (mode == L"tree" && argc == 3 + plain) {
    tovo::ShredOptions options;
    options.concealMetadata = !plain;
    const double start = Now();
    return Report(
        start, tovo::ShredFolderTreeWith(tovo::SystemFileSystem(), tovo::ProcessRandomGenerator(),
                                         tovo::Narrow(argv[2]), nullptr, options)
                   .size());
  }
  std::fputs(
      "usage: shred_bench file PATH REQUEST [plain] | overwrite PATH REQUEST | tree FOLDER "
      "[plain]\n",
      stderr);
  return 2;
}
