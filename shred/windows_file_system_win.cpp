#include "shred/windows_file_system_win.h"

#include <windows.h>

#include <winioctl.h>

#include <algorithm>
#include <vector>

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

// The literal ("\\?\") form of any path: a rename through a handle takes the
// new name as a full path, and that form keeps final dots, blanks and
// device names as they are, at any length.
std::wstring LiteralPath(const std::string& path) {
  const std::wstring system = SystemPath(path);
  if (system.starts_with(L"\\\\?\\")) return system;
  const DWORD needed = GetFullPathNameW(system.c_str(), 0, nullptr, nullptr);
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(system.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return system;
  full.resize(length);
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
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

  SystemCode Truncate() override {
    FILE_END_OF_FILE_INFO end{};
    return Check(SetFileInformationByHandle(file_.get(), FileEndOfFileInfo, &end, sizeof end));
  }

  SystemCode SetTimes(FileTime time) override {
    FILETIME value{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    return Check(SetFileTime(file_.get(), &value, &value, &value));
  }

  SystemCode Rename(const std::string& newPath) override {
    const std::wstring name = LiteralPath(newPath);
    // The structure ends in the name's first character; the rest follows it.
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), info->FileName);
    return Check(SetFileInformationByHandle(file_.get(), FileRenameInfo, info,
                                            static_cast<DWORD>(buffer.size())));
  }

  SystemCode MarkForDelete() override {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return Check(SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition,
                                            sizeof disposition));
  }

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

UniqueFile OpenNoSharing(const std::wstring& path, DWORD access) {
  return UniqueFile(
      CreateFileW(path.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The file record size and the file table's length, where the volume is NTFS
// and tells them to this process (a handle on the root folder is enough on
// recent Windows; Wine does not implement the request).
void QueryFileTable(const std::wstring& root, VolumeFacts& facts) {
  const UniqueFile folder(CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return;
  NTFS_VOLUME_DATA_BUFFER data{};
  DWORD returned = 0;
  if (DeviceIoControl(folder.get(), FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, &data, sizeof data,
                      &returned, nullptr)) {
    facts.recordBytes = data.BytesPerFileRecordSegment;
    facts.fileTableBytes = static_cast<std::uint64_t>(data.MftValidDataLength.QuadPart);
  }
}

// Turns off the compression and the encryption a new folder took over from
// its parent, so that the files made in it are stored as written.
SystemCode MakeFolderPlain(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  if (attributes & FILE_ATTRIBUTE_COMPRESSED) {
    const UniqueFile handle(CreateFileW(folder.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return LastError();
    USHORT none = COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    if (!DeviceIoControl(handle.get(), FSCTL_SET_COMPRESSION, &none, sizeof none, nullptr, 0,
                         &returned, nullptr)) {
      return LastError();
    }
  }
  if ((attributes & FILE_ATTRIBUTE_ENCRYPTED) && !DecryptFileW(folder.c_str(), 0)) {
    return LastError();
  }
  return 0;
}

}  // namespace

SystemCode WindowsFileSystem::ReadAttributes(const std::string& path, std::uint32_t& attributes) {
  const DWORD value = GetFileAttributesW(SystemPath(path).c_str());
  if (value == INVALID_FILE_ATTRIBUTES) return LastError();
  attributes = value;
  return 0;
}

SystemCode WindowsFileSystem::ReadSize(const std::string& path, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data))
    return LastError();
  size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return 0;
}

SystemCode WindowsFileSystem::WriteAttributes(const std::string& path, std::uint32_t attributes) {
  return Check(SetFileAttributesW(SystemPath(path).c_str(), attributes));
}

SystemCode WindowsFileSystem::OpenExclusive(const std::string& path,
                                            std::unique_ptr<OpenFile>& file) {
  const std::wstring name = SystemPath(path);
  UniqueFile handle = OpenNoSharing(name, GENERIC_READ | GENERIC_WRITE | DELETE);
  // Where only the delete right is refused the contents are still destroyed;
  // the name then stays and the delete by path reports the refusal.
  if (!handle && GetLastError() == ERROR_ACCESS_DENIED) {
    handle = OpenNoSharing(name, GENERIC_READ | GENERIC_WRITE);
  }
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

SystemCode WindowsFileSystem::Rename(const std::string& path, const std::string& newPath) {
  return Check(MoveFileExW(SystemPath(path).c_str(), SystemPath(newPath).c_str(), 0));
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

SystemCode WindowsFileSystem::QueryVolume(const std::string& root, VolumeFacts& facts) {
  const std::wstring name = Wide(JoinPath(root, ""));
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExW(name.c_str(), &available, &total, &free)) return LastError();
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(name.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &clusters)) {
    return LastError();
  }
  facts = VolumeFacts{};
  facts.freeBytes = available.QuadPart;
  facts.sectorBytes = bytesPerSector;
  facts.clusterBytes = sectorsPerCluster * bytesPerSector;
  QueryFileTable(name, facts);
  return 0;
}

SystemCode WindowsFileSystem::CreateNewFile(const std::string& path, bool unbuffered,
                                            std::unique_ptr<OpenFile>& file) {
  // Write-through and no buffering: a full volume shows as the failure of the
  // write that does not fit, not later at a flush or in the lazy writer.
  const DWORD flags =
      FILE_ATTRIBUTE_NORMAL | (unbuffered ? FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING : 0);
  UniqueFile handle(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                nullptr, CREATE_NEW, flags, nullptr));
  if (!handle) return LastError();
  file = std::make_unique<WindowsOpenFile>(std::move(handle));
  return 0;
}

SystemCode WindowsFileSystem::CreatePlainFolder(const std::string& path) {
  const std::wstring name = SystemPath(path);
  if (!CreateDirectoryW(name.c_str(), nullptr)) return LastError();
  if (const SystemCode code = MakeFolderPlain(name)) {
    RemoveDirectoryW(name.c_str());
    return code;
  }
  return 0;
}

WindowsFileSystem& SystemFileSystem() {
  static WindowsFileSystem fs;
  return fs;
}

}  // namespace tovo
