#include "platform/paths.h"

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

}  // namespace

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
