// Drive node texts, volume serials, UNC roots and the UNC-to-drive mapping.
// Stateless functions over what the platform answers, so that every drive
// kind (including network shares and drives without a medium) can be tested
// with a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovo {

// How a network drive's node is labelled.
enum TNetworkVolumeFormat { nvfExplorer, nvfUNC, nvfVolumeOnly };

// The serial that stands for "no volume could be read".
inline constexpr std::uint32_t kNoVolumeSerial = 0xFFFFFFFFu;

// Drive types as the platform numbers them.
enum DriveKind : unsigned {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

struct VolumeInfo {
  std::string label;
  std::uint32_t serial = 0;
};

// What the platform answers about drives and paths. Implementations keep the
// system from asking the user to insert a medium while they run.
class VolumePlatform {
 public:
  virtual ~VolumePlatform() = default;
  // The volume of a root such as "C:\"; nullopt when it cannot be read.
  virtual std::optional<VolumeInfo> VolumeInformation(const std::string& root) = 0;
  virtual unsigned DriveType(const std::string& root) = 0;
  // The absolute form of a path relative to the current folder; empty
  // when the system gives none (an empty path, for instance).
  virtual std::string FullPathName(const std::string& path) = 0;
  // The network provider's universal (UNC) name; nullopt when it has none.
  virtual std::optional<std::string> UniversalName(const std::string& path) = 0;
  virtual std::string CurrentFolder() = 0;
};

struct VolumeDisplayName {
  std::string text;
  std::uint32_t serial = kNoVolumeSerial;
};

// The drive node text for a letter and the volume serial that goes with it.
// Never fails: an unreadable volume gives "(L:)" and kNoVolumeSerial.
VolumeDisplayName GetVolumeDisplayName(VolumePlatform& platform, char letter,
                                       TNetworkVolumeFormat form);

// The serial alone, for media-change detection (same work as above).
std::uint32_t GetVolumeSerial(VolumePlatform& platform, char letter);

// The UNC root of a drive ("\\Server\Share"), or its lower-cased letter and
// colon ("z:") when the provider gives no universal name.
std::string GetDriveUncRoot(VolumePlatform& platform, char letter);

// The server part of a UNC root; empty when there is no "\" after it.
std::string ExtractServerName(std::string_view unc);

// A UNC path rewritten onto the drive letter that maps its share; the path
// unchanged when it is not a UNC path; empty when no drive maps it.
std::string MapUncPathToDrive(VolumePlatform& platform, std::string_view path);

// The first three characters of the current folder ("C:\").
std::string CurrentDriveRoot(VolumePlatform& platform);

// The label rule: lower-case (ASCII letters only, the code page is UTF-8),
// then a capital first letter when it is an ASCII letter.
std::string CapitaliseLabel(std::string_view label);

}  // namespace tovo
