// Test helper: holds a file open without sharing, as another program would.
//
//   hold_file.exe PATH NAME
//
// Opens the existing PATH for reading and writing with share mode 0, then
// signals the named event "NAME.ready" and waits until "NAME.quit" is
// signalled (at most 120 s) before closing the file. Both events are
// manual-reset and may be created by either side first. Exit codes: 0 held
// and released, 1 bad arguments, 2 the file could not be opened (the
// system error code is printed), 3 no quit signal in time.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/handles_win.h"

namespace {

tovo::UniqueKernelHandle NamedEvent(const std::wstring& name) {
  return tovo::UniqueKernelHandle(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: hold_file PATH NAME\n", stderr);
    return 1;
  }
  const std::wstring name = argv[2];
  const tovo::UniqueKernelHandle ready = NamedEvent(name + L".ready");
  const tovo::UniqueKernelHandle quit = NamedEvent(name + L".quit");
  if (!ready || !quit) return 1;
  const tovo::UniqueFile file(CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    std::fprintf(stderr, "hold_file: open failed with %lu\n", GetLastError());
    return 2;
  }
  SetEvent(ready.get());
  return WaitForSingleObject(quit.get(), 120000) == WAIT_OBJECT_0 ? 0 : 3;
}
