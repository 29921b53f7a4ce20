// What the shredding engine needs from the file system, as a small interface
// so that the engine's rules (links, failures, the walk and the current
// folder) are tested natively against a fake. Every call returns the
// system error code of the failure, or 0 on success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/current_folder.h"
#include "platform/file_attributes.h"

namespace tovo {

// The Windows codes the engine tells apart.
namespace syscode {
inline constexpr SystemCode kSuccess = 0;
inline constexpr SystemCode kFileNotFound = 2;
inline constexpr SystemCode kPathNotFound = 3;
inline constexpr SystemCode kAccessDenied = 5;
inline constexpr SystemCode kNoMoreFiles = 18;
inline constexpr SystemCode kSharingViolation = 32;
inline constexpr SystemCode kHandleDiskFull = 39;
inline constexpr SystemCode kLockViolation = 33;
inline constexpr SystemCode kNotSupported = 50;
inline constexpr SystemCode kFileExists = 80;
inline constexpr SystemCode kDiskFull = 112;
inline constexpr SystemCode kDirNotEmpty = 145;
inline constexpr SystemCode kAlreadyExists = 183;
}  // namespace syscode

// A file time: 100-nanosecond intervals since 1601-01-01 00:00 UTC.
using FileTime = std::uint64_t;

// A file opened for exclusive reading and writing, and for deleting where
// the system grants it. Destroying it closes it.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  virtual SystemCode Length(std::uint64_t& length) = 0;
  // Sets the file position to the start.
  virtual SystemCode Rewind() = 0;
  // One write request at the current position; `written` is what the system
  // reports as written, which may be less than `size` without an error code.
  virtual SystemCode Write(const std::uint8_t* data, std::size_t size, std::size_t& written) = 0;
  virtual SystemCode Flush() = 0;
  // Cuts the file to length 0.
  virtual SystemCode Truncate() = 0;
  // Sets the creation, last-write and last-access times to `time`.
  virtual SystemCode SetTimes(FileTime time) = 0;
  // Gives the open file the full path `newPath`, never replacing an existing
  // entry (that is reported as kAlreadyExists or kFileExists).
  virtual SystemCode Rename(const std::string& newPath) = 0;
  // Marks the file to be deleted when it is closed.
  virtual SystemCode MarkForDelete() = 0;
  // Closes the file and reports the result; later calls do nothing.
  virtual SystemCode Close() = 0;
};

// What a volume tells about its space. Sizes the system does not give are 0.
struct VolumeFacts {
  std::uint64_t freeBytes = 0;       // what this process may still write there
  std::uint32_t sectorBytes = 0;     // the unit of an unbuffered write
  std::uint32_t clusterBytes = 0;    // the unit the volume allocates in
  std::uint32_t recordBytes = 0;     // one file record (NTFS), where small files live whole
  std::uint64_t fileTableBytes = 0;  // the file table's size (NTFS)
};

// The process's current folder is part of it: the walk changes and restores
// it (CurrentFolderOwner).
class FileSystem : public CurrentFolderOwner {
 public:
  virtual ~FileSystem() = default;

  virtual SystemCode ReadAttributes(const std::string& path, std::uint32_t& attributes) = 0;
  virtual SystemCode WriteAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // The length of a file, without opening it.
  virtual SystemCode ReadSize(const std::string& path, std::uint64_t& size) = 0;
  // Opens an existing file for reading and writing with no sharing at all;
  // never creates one. `file` is set only on success.
  virtual SystemCode OpenExclusive(const std::string& path, std::unique_ptr<OpenFile>& file) = 0;
  virtual SystemCode RemoveFile(const std::string& path) = 0;
  virtual SystemCode RemoveFolder(const std::string& path) = 0;
  // Moves a file or folder to `newPath`, never replacing an existing entry.
  virtual SystemCode Rename(const std::string& path, const std::string& newPath) = 0;

  // Runs a directory search on `pattern` (a folder, "\" and "*.*") and calls
  // `visit` for every entry in the order the search returns them, "." and
  // ".." included. The search stays open while `visit` runs, so `visit` may
  // recurse; an exception from `visit` ends the search. A search that cannot
  // start reports its code and visits nothing.
  virtual SystemCode Search(const std::string& pattern,
                            const std::function<void(const FolderEntry&)>& visit) = 0;

  // False where removing a folder link would remove its target instead
  // (Wine acts on the target), so that links must be left in place.
  virtual bool CanRemoveFolderLinks() const = 0;

  // The operations of the free-space wipe and of the folder-index scrub. A
  // file system without them reports kNotSupported, so those steps are
  // skipped (the scrub) or refused (the wipe).

  // The space facts of the volume whose root folder is `root` ("C:\").
  virtual SystemCode QueryVolume(const std::string& root, VolumeFacts& facts);
  // Creates a new empty file for writing, never opening an existing one
  // (kFileExists). With `unbuffered` every write goes to the disk before it
  // returns, so that a full volume is reported by the write itself; its
  // sizes and the data's address must then be multiples of the sector size.
  // The file is not sparse; in a folder made by CreatePlainFolder it is
  // neither compressed nor encrypted.
  virtual SystemCode CreateNewFile(const std::string& path, bool unbuffered,
                                   std::unique_ptr<OpenFile>& file);
  // Creates a folder whose new files are stored plain (neither compressed
  // nor encrypted), whatever its parent passes on, or fails.
  virtual SystemCode CreatePlainFolder(const std::string& path);
};

inline SystemCode FileSystem::QueryVolume(const std::string&, VolumeFacts&) {
  return syscode::kNotSupported;
}
inline SystemCode FileSystem::CreateNewFile(const std::string&, bool, std::unique_ptr<OpenFile>&) {
  return syscode::kNotSupported;
}
inline SystemCode FileSystem::CreatePlainFolder(const std::string&) {
  return syscode::kNotSupported;
}

}  // namespace tovo
