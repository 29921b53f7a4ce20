// The Win32 answers behind the drive and volume naming: the W functions, each
// under SEM_FAILCRITICALERRORS so that a drive without a medium never raises
// the system's "insert a disk" box.
#pragma once

#include "widgets/volume_naming.h"

namespace tovo {

class Win32VolumePlatform : public VolumePlatform {
 public:
  std::optional<VolumeInfo> VolumeInformation(const std::string& root) override;
  unsigned DriveType(const std::string& root) override;
  std::string FullPathName(const std::string& path) override;
  std::optional<std::string> UniversalName(const std::string& path) override;
  std::string CurrentFolder() override;
};

}  // namespace tovo
