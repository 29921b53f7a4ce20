#include "widgets/volume_naming_win.h"

#include <windows.h>

#include <winnetwk.h>

#include <vector>

#include "platform/file_system_win.h"
#include "platform/guards_win.h"
#include "platform/wide_win.h"

namespace tovo {

std::optional<VolumeInfo> Win32VolumePlatform::VolumeInformation(const std::string& root) {
  ErrorModeGuard mode;
  wchar_t name[MAX_PATH + 1] = {};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  if (!GetVolumeInformationW(Wide(root).c_str(), name, MAX_PATH + 1, &serial, &maxComponent, &flags,
                             nullptr, 0)) {
    return std::nullopt;
  }
  return VolumeInfo{Narrow(name), serial};
}

unsigned Win32VolumePlatform::DriveType(const std::string& root) {
  ErrorModeGuard mode;
  return GetDriveTypeW(Wide(root).c_str()) & 0x7F;
}

std::string Win32VolumePlatform::FullPathName(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::string();
  std::vector<wchar_t> buffer(needed);
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, buffer.data(), nullptr);
  if (length == 0 || length >= needed) return std::string();
  return Narrow(std::wstring_view(buffer.data(), length));
}

std::optional<std::string> Win32VolumePlatform::UniversalName(const std::string& path) {
  ErrorModeGuard mode;
  // UNIVERSAL_NAME_INFOW holds a pointer into the same buffer.
  alignas(UNIVERSAL_NAME_INFOW) unsigned char buffer[1024];
  DWORD size = sizeof(buffer);
  if (WNetGetUniversalNameW(Wide(path).c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer, &size) !=
      NO_ERROR) {
    return std::nullopt;
  }
  const auto* info = reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(buffer);
  if (!info->lpUniversalName) return std::nullopt;
  return Narrow(info->lpUniversalName);
}

std::string Win32VolumePlatform::CurrentFolder() {
  return tovo::CurrentFolder();
}

}  // namespace tovo
