#include "widgets/volume_naming.h"

#include "platform/text.h"

namespace tovo {
namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string RootOf(char letter) {
  return std::string(1, letter) + ":\\";
}

// The path in its UNC form: absolute, then the provider's universal name when
// it starts with a drive letter and has one.
std::string UncForm(VolumePlatform& platform, const std::string& path) {
  std::string full = platform.FullPathName(path);
  if (full.size() >= 2 && IsAsciiLetter(full[0]) && full[1] == ':') {
    if (auto universal = platform.UniversalName(full)) full = *universal;
  }
  return full;
}

// "\\server\share" of a UNC path, "X:" of a drive path, empty otherwise.
std::string DrivePart(std::string_view path) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string_view::npos) return std::string(path);
    const size_t shareEnd = path.find('\\', serverEnd + 1);
    return std::string(path.substr(0, shareEnd));
  }
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  return std::string();
}

}  // namespace

std::string CapitaliseLabel(std::string_view label) {
  std::string text = AsciiLower(label);
  if (!text.empty()) text[0] = UpperAscii(text[0]);
  return text;
}

VolumeDisplayName GetVolumeDisplayName(VolumePlatform& platform, char letter,
                                       TNetworkVolumeFormat form) {
  const std::string letterText(1, UpperAscii(letter));
  const std::string root = RootOf(letter);
  const std::optional<VolumeInfo> volume = platform.VolumeInformation(root);
  if (!volume) return {"(" + letterText + ":)", kNoVolumeSerial};

  const std::string label = CapitaliseLabel(volume->label);
  const std::string suffix = " (" + letterText + ":)";
  if (platform.DriveType(root) != kDriveRemote) return {label + suffix, volume->serial};

  const std::string unc = GetDriveUncRoot(platform, letter);
  switch (form) {
    case nvfExplorer:
      return {label + " on '" + ExtractServerName(unc) + "'" + suffix, volume->serial};
    case nvfUNC: return {unc + suffix, volume->serial};
    case nvfVolumeOnly: break;
  }
  return {label + suffix, volume->serial};
}

std::uint32_t GetVolumeSerial(VolumePlatform& platform, char letter) {
  return GetVolumeDisplayName(platform, letter, nvfVolumeOnly).serial;
}

std::string GetDriveUncRoot(VolumePlatform& platform, char letter) {
  std::string root = AsciiLower(DrivePart(UncForm(platform, RootOf(letter))));
  for (size_t i = 2; i < root.size(); ++i) {
    if (root[i - 1] == '\\') root[i] = UpperAscii(root[i]);
  }
  return root;
}

std::string ExtractServerName(std::string_view unc) {
  if (unc.size() <= 2) return std::string();
  const std::string_view rest = unc.substr(2, 255);
  const size_t slash = rest.find('\\');
  if (slash == std::string_view::npos) return std::string();
  return std::string(rest.substr(0, slash));
}

std::string MapUncPathToDrive(VolumePlatform& platform, std::string_view path) {
  const bool first = !path.empty() && path[0] == '\\';
  const bool second = path.size() > 1 && path[1] == '\\';
  if (!first && !second) return std::string(path);

  // end: the 0-based index of the "\" that closes the share name, or 2.
  size_t end = 2;
  int slashes = 0;
  for (size_t i = 2; i < path.size(); ++i) {
    if (path[i] == '\\' && ++slashes == 2) {
      end = i;
      break;
    }
  }
  // A prefix of just the two backslashes cannot match a drive's UNC form.
  const std::string prefix = AsciiUpper(path.substr(0, slashes == 2 ? end + 1 : 2));
  for (char letter = 'B'; letter <= 'Z'; ++letter) {
    if (AsciiUpper(UncForm(platform, RootOf(letter))) == prefix) {
      return std::string(1, letter) + ":" + std::string(path.substr(end));
    }
  }
  return std::string();
}

std::string CurrentDriveRoot(VolumePlatform& platform) {
  return platform.CurrentFolder().substr(0, 3);
}

}  // namespace tovo
