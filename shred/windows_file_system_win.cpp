#include "shred/windows_file_system_win.h"

#include <windows.h>

#include "platform/file_system_win.h"
#include "platform/handles_win.h"
#include "platform/paths.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

std::wstring SystemPath(const std::string& path) {
  return Wide(ExtendedLengthPath(path));
}

SystemCode LastError() {
  return static_cast<SystemCode>(GetLastError());
}

SystemCode Check(BOOL ok) {
  return ok ? 0 : LastError();
}

class WindowsOpenFile final : public OpenFile {
 public:
  explicit WindowsOpenFile(UniqueFile file) : file_(std::move(file)) {}

  SystemCode Length(std::uint64_t& length) override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) return LastError();
    length = static_cast<std::uint64_t>(size.QuadPart);
    return 0;
  }

  SystemCode Rewind() override {
    LARGE_INTEGER zero{};
    return Check(SetFilePointerEx(file_.get(), zero, nullptr, FILE_BEGIN));
  }

  SystemCode Write(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
    DWORD done = 0;
    const BOOL ok = WriteFile(file_.get(), data, static_cast<DWORD>(size), &done, nullptr);
    written = done;
    return Check(ok);
  }

  SystemCode Flush() override { return Check(FlushFileBuffers(file_.get())); }

  SystemCode Close() override {
    if (!file_) return 0;
    return Check(CloseHandle(file_.release()));
  }

 private:
  UniqueFile file_;
};

// SetCurrentDirectoryW refuses paths this long even in the extended form
// (Windows without long-path awareness; 206). Such a folder is searched by its
// full path all the same, so entering it only has to prove it can be listed.
SystemCode ProbeFolder(const std::string& path) {
  return ForEachEntry(ExtendedLengthPath(path + "\\*"), [](const FolderEntry&) { return false; });
}

}  // namespace

SystemCode WindowsFileSystem::ReadAttributes(const std::string& path, std::uint32_t& attributes) {
  const DWORD value = GetFileAttributesW(SystemPath(path).c_str());
  if (value == INVALID_FILE_ATTRIBUTES) return LastError();
  attributes = value;
  return 0;
}

SystemCode WindowsFileSystem::WriteAttributes(const std::string& path, std::uint32_t attributes) {
  return Check(SetFileAttributesW(SystemPath(path).c_str(), attributes));
}

SystemCode WindowsFileSystem::OpenExclusive(const std::string& path,
                                            std::unique_ptr<OpenFile>& file) {
  UniqueFile handle(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return LastError();
  file = std::make_unique<WindowsOpenFile>(std::move(handle));
  return 0;
}

SystemCode WindowsFileSystem::RemoveFile(const std::string& path) {
  return Check(DeleteFileW(SystemPath(path).c_str()));
}

SystemCode WindowsFileSystem::RemoveFolder(const std::string& path) {
  return Check(RemoveDirectoryW(SystemPath(path).c_str()));
}

SystemCode WindowsFileSystem::Search(const std::string& pattern,
                                     const std::function<void(const FolderEntry&)>& visit) {
  return ForEachEntry(ExtendedLengthPath(pattern), [&](const FolderEntry& entry) {
    visit(entry);
    return true;
  });
}

std::string WindowsFileSystem::CurrentFolder() {
  return tovo::CurrentFolder();
}

SystemCode WindowsFileSystem::EnterFolder(const std::string& path) {
  if (SetCurrentDirectoryW(SystemPath(path).c_str())) return 0;
  const SystemCode code = LastError();
  if (code == ERROR_FILENAME_EXCED_RANGE) return ProbeFolder(path);
  return code;
}

bool WindowsFileSystem::CanRemoveFolderLinks() const {
  // Wine's RemoveDirectoryW removes an empty link target instead of the link.
  return !RunningUnderWine();
}

WindowsFileSystem& SystemFileSystem() {
  static WindowsFileSystem fs;
  return fs;
}

}  // namespace tovo
