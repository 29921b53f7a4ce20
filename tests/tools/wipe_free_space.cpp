// Test helper: wipes the free space of the volume whose root is given, as
// the program's command does, on the real file system. Only for volumes made
// for a test: it fills the whole volume for a while.
//
//   wipe_free_space.exe ROOT
//
// Prints "written N records N free-before N record-seconds S release-seconds S"
// and exits 0, or prints the error and exits 1; 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "platform/errors.h"
#include "platform/wide_win.h"
#include "shred/free_space_wipe.h"
#include "shred/windows_file_system_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: wipe_free_space ROOT\n", stderr);
    return 2;
  }
  try {
    const tovo::WipeResult result =
        tovo::WipeFreeSpace(tovo::SystemFileSystem(), tovo::Narrow(argv[1]));
    std::printf(
        "written %llu records %llu free-before %llu record-seconds %.2f release-seconds %.2f%s\n",
        static_cast<unsigned long long>(result.bytesWritten),
        static_cast<unsigned long long>(result.recordFiles),
        static_cast<unsigned long long>(result.freeBefore), result.recordSeconds,
        result.releaseSeconds, result.leftoverRemoved ? " leftover-removed" : "");
    return 0;
  } catch (const tovo::IoError& error) {
    std::printf("%s %s: %lu %s\n", error.operation().c_str(), error.path().c_str(), error.code(),
                error.what());
    return 1;
  } catch (const std::exception& error) {
    std::printf("%s\n", error.what());
    return 1;
  }
}
