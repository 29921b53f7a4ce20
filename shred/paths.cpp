#include "shred/paths.h"

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

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (result.empty() || result.back() != '\\') result += '\\';
  result += name;
  return result;
}

std::string ExtendedLengthPath(std::string_view path) {
  if (Utf8ToUtf16(path).size() < kClassicPathLimit) return std::string(path);
  if (StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\")) return std::string(path);
  if (IsDriveAbsolute(path)) return std::string("\\\\?\\").append(WithBackslashes(path));
  if (IsUnc(path)) return std::string("\\\\?\\UNC\\").append(WithBackslashes(path.substr(2)));
  return std::string(path);
}

}  // namespace tovo
