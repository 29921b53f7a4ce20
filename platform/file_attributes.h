// File attribute bits with the values Windows reports, and the record a
// directory search gives for one entry.
#pragma once

#include <cstdint>
#include <string>

namespace tovo {
namespace attr {

inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kVolumeId = 0x8;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kReparsePoint = 0x400;

}  // namespace attr

// A folder link (junction or symbolic link to a folder) counts as a folder.
inline bool IsFolder(std::uint32_t attributes) {
  return (attributes & attr::kDirectory) != 0;
}

struct FolderEntry {
  std::string name;  // as the directory search reports it
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;  // a file's length in bytes as the search reports it
};

}  // namespace tovo
