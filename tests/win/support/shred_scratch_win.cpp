#include "shred_scratch.h"

#include <windows.h>

#include <stdexcept>

#include "platform/handles_win.h"
#include "platform/paths.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo::testing {
namespace {

std::wstring SystemPath(const std::string& path) {
  return Wide(ExtendedLengthPath(path));
}

[[noreturn]] void Fail(const char* what, const std::string& path) {
  throw SystemError(what, path, GetLastError());
}

// Windows only: links are removed, never walked.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(SystemPath(folder + "\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string path = folder + "\\" + Narrow(name);
      SetFileAttributesW(SystemPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      const DWORD a = data.dwFileAttributes;
      if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) RemoveTree(path);
      if (a & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(SystemPath(path).c_str());
      } else {
        DeleteFileW(SystemPath(path).c_str());
      }
    } while (FindNextFileW(find.get(), &data));
  }
  find.reset();
  RemoveDirectoryW(SystemPath(folder).c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) Fail("GetTempPathW", "");
  path_ = Narrow(std::wstring(temp, length)) + "tovo-shred-" +
          std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "-" +
          std::to_string(GetTickCount());
  MakeFolder(path_);
}

ScratchFolder::~ScratchFolder() {
  // Under Wine deleting through a link hits its target; rm never follows one.
  if (RunningUnderWine()) {
    const std::string unixPath = UnixPathOf(path_);
    if (!unixPath.empty() && unixPath.find("tovo-shred-") != std::string::npos) {
      RunUnix({"/bin/chmod", "-R", "u+rwx", unixPath});
      RunUnix({"/bin/rm", "-rf", unixPath});
      return;
    }
  }
  RemoveTree(path_);
}

void MakeFolder(const std::string& path) {
  if (!CreateDirectoryW(SystemPath(path).c_str(), nullptr)) Fail("CreateDirectoryW", path);
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  UniqueFile file(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail("CreateFileW", path);
  DWORD written = 0;
  if (!bytes.empty() &&
      (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size())) {
    Fail("WriteFile", path);
  }
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  UniqueFile file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  if (!file) Fail("CreateFileW", path);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) Fail("GetFileSizeEx", path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    Fail("ReadFile", path);
  }
  return bytes;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CurrentFolder() {
  wchar_t buffer[4096];
  const DWORD length = GetCurrentDirectoryW(4096, buffer);
  return Narrow(std::wstring(buffer, length < 4096 ? length : 0));
}

std::string UnixPathOf(const std::string& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return std::string();
  char* unixPath = convert(Wide(path).c_str());
  if (!unixPath) return std::string();
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

// `start /wait /unix` hung under CTest, so the Unix program is started
// directly; Wine gives no usable handle for it, so a marker file it writes
// last says that it is done.
bool RunUnix(const std::vector<std::string>& arguments) {
  if (!RunningUnderWine()) return false;
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return false;
  const std::string marker = Narrow(std::wstring(temp, length)) + "tovo-unix-" +
                             std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter) + ".done";
  std::string script;
  for (const std::string& argument : arguments) script += "'" + argument + "' ";
  script += "&& : > '" + UnixPathOf(marker) + "'";
  std::wstring command = L"/bin/sh -c \"" + Wide(script) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  for (int i = 0; i < 200; ++i) {
    if (PathExists(marker)) {
      DeleteFileW(Wide(marker).c_str());
      return true;
    }
    Sleep(50);
  }
  return false;
}

std::string ProgramFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  const std::string path = Narrow(std::wstring(buffer, length));
  return path.substr(0, path.find_last_of('\\'));
}

}  // namespace tovo::testing
