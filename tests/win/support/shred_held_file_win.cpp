#include "shred_held_file_win.h"

#include "platform/wide_win.h"
#include "shred_scratch.h"

namespace tovo::testing {

HeldFile::HeldFile(const std::string& path) {
  static int counter = 0;
  const std::wstring name =
      L"tovo-hold-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  ready_.reset(CreateEventW(nullptr, TRUE, FALSE, (name + L".ready").c_str()));
  quit_.reset(CreateEventW(nullptr, TRUE, FALSE, (name + L".quit").c_str()));
  std::wstring command =
      L"\"" + Wide(ProgramFolder()) + L"\\hold_file.exe\" \"" + Wide(path) + L"\" " + name;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!ready_ || !quit_ ||
      !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  HANDLE waits[] = {ready_.get(), process_.get()};
  held_ = WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
}

unsigned long HeldFile::Release() {
  if (!process_) return 1;
  SetEvent(quit_.get());
  WaitForSingleObject(process_.get(), 30000);
  DWORD code = 1;
  GetExitCodeProcess(process_.get(), &code);
  process_.reset();
  return code;
}

}  // namespace tovo::testing
