#include "platform/paths.h"

#include <vector>

#include "platform/text.h"

namespace tovo {
namespace {

bool IsDriveAbsolute(std::string_view path) {
  return path.size() >= 3 &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool IsUnc(std::string_view path) {
  return path.size() > 2 && (path[0] == '\\' || path[0] == '/') &&
         (path[1] == '\\' || path[1] == '/');
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, alone or before an extension.
bool IsDeviceName(std::string_view name) {
  const std::string base = AsciiUpper(name.substr(0, name.find('.')));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (StartsWith(base, "COM") || StartsWith(base, "LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

enum class Components { kPlain, kNeedLiteral, kRelativeParts };

// Whether the names of a path need the literal form, or cannot have it
// because the path relies on "." and ".." being resolved.
Components ClassifyComponents(std::string_view path) {
  Components result = Components::kPlain;
  size_t begin = 0;
  while (begin <= path.size()) {
    size_t end = begin;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string_view name = path.substr(begin, end - begin);
    if (name == "." || name == "..") return Components::kRelativeParts;
    const bool driveSpec = begin == 0 && name.size() == 2 && name[1] == ':';
    if (!name.empty() && !driveSpec &&
        (name.back() == '.' || name.back() == ' ' || IsDeviceName(name))) {
      result = Components::kNeedLiteral;
    }
    begin = end + 1;
  }
  return result;
}

std::string WithBackslashes(std::string_view path) {
  std::string result(path);
  for (auto& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDriveSpec(std::string_view path) {
  return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':';
}

// The text up to the next "\" (all of it when there is none); `rest` keeps
// what follows that "\".
std::string_view NextName(std::string_view& rest) {
  const size_t end = rest.find('\\');
  const std::string_view name = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return name;
}

// "C:" or "\\server\share" of an absolute path; empty for any other text.
std::string RootOf(std::string_view path, std::string_view* tail = nullptr) {
  if (HasDriveSpec(path)) {
    if (tail) *tail = path.substr(2);
    return std::string(path.substr(0, 2));
  }
  if (!StartsWith(path, "\\\\")) return {};
  std::string_view rest = path.substr(2);
  const std::string_view server = NextName(rest);
  const std::string_view share = NextName(rest);
  if (server.empty() || share.empty() || server == "." || server == "?") return {};
  if (tail) *tail = rest;
  return std::string("\\\\").append(server).append("\\").append(share);
}

// An absolute path with "\" separators made full: its root and its names with
// "." and ".." resolved.
std::string Resolved(std::string_view path) {
  std::string_view rest;
  std::string result = RootOf(path, &rest);
  if (result.empty()) return {};
  const bool drive = HasDriveSpec(result);
  std::vector<std::string_view> names;
  while (!rest.empty()) {
    const std::string_view name = NextName(rest);
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(name);
  }
  if (drive && names.empty()) return result + '\\';
  for (const std::string_view name : names) result.append("\\").append(name);
  return result;
}

}  // namespace

std::string FullPathFrom(std::string_view given, std::string_view folder) {
  std::string path = WithBackslashes(given);
  if (StartsWith(path, "\\\\?\\")) {
    const std::string_view rest = std::string_view(path).substr(4);
    if (EqualsIgnoreAsciiCase(rest.substr(0, 4), "UNC\\"))
      return Resolved("\\\\" + std::string(rest.substr(4)));
    if (IsDriveAbsolute(rest)) return Resolved(rest);
    return {};
  }
  if (StartsWith(path, "\\\\")) return Resolved(path);
  const std::string base = WithBackslashes(folder);
  const std::string baseRoot = RootOf(base);
  if (HasDriveSpec(path)) {
    // "C:" alone is taken for the drive, as a user who types it means.
    if (path.size() == 2 || path[2] == '\\') return Resolved(path);
    // "C:x": from the folder when it is on that drive, else from the root.
    if (EqualsIgnoreAsciiCase(baseRoot, path.substr(0, 2)))
      return Resolved(base + '\\' + path.substr(2));
    return Resolved(path.substr(0, 2) + '\\' + path.substr(2));
  }
  if (baseRoot.empty()) return {};
  if (StartsWith(path, "\\")) return Resolved(baseRoot + path);
  return Resolved(base + '\\' + path);
}

bool IsRootPath(std::string_view fullPath) {
  std::string_view rest;
  return !RootOf(fullPath, &rest).empty() && rest.find_first_not_of('\\') == std::string_view::npos;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
  if (folder.empty() || path.size() <= folder.size() || !StartsWith(path, folder)) return false;
  return folder.back() == '\\' || path[folder.size()] == '\\';
}

std::string ExtractLastName(std::string_view path) {
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  const size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool HoldsPathSeparator(std::string_view name) {
  return name.find_first_of("\\/") != std::string_view::npos;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (result.empty() || result.back() != '\\') result += '\\';
  result += name;
  return result;
}

std::string FolderHolding(std::string_view path) {
  if (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string_view::npos || path.back() == ':') return std::string();
  // "C:" alone would name the drive's current folder, not its root.
  const bool belowRoot = slash == 2 && path[1] == ':';
  return std::string(path.substr(0, belowRoot ? 3 : slash));
}

std::string ExtendedLengthPath(std::string_view path) {
  if (StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\")) return std::string(path);
  const Components names = ClassifyComponents(path);
  if (names == Components::kRelativeParts) return std::string(path);
  if (names == Components::kPlain && Utf8ToUtf16(path).size() < kClassicPathLimit) {
    return std::string(path);
  }
  if (IsDriveAbsolute(path)) return std::string("\\\\?\\").append(WithBackslashes(path));
  if (IsUnc(path)) return std::string("\\\\?\\UNC\\").append(WithBackslashes(path.substr(2)));
  return std::string(path);
}

}  // namespace tovo
