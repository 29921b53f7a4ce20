#include "shred/conceal_metadata.h"

#include "platform/text.h"

namespace tovo {
namespace {

// The path without one trailing "\", split after its last separator.
struct SplitPath {
  std::string folder;  // with its final separator
  std::string name;
};

SplitPath Split(std::string_view path) {
  if (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return SplitPath{"", std::string(path)};
  return SplitPath{std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

// The entry `path` names, once it has the name `name` ("" for unchanged).
std::string PathUnder(const std::string& path, const std::string& name) {
  return name.empty() ? path : Split(path).folder + name;
}

bool IsNameTaken(SystemCode code) {
  return code == syscode::kAlreadyExists || code == syscode::kFileExists;
}

// Tries the neutral names in turn; returns the one the entry now has, or ""
// when it keeps its own (a drive has none to hide; a name already neutral,
// every neutral name taken or a refusal leave it as it is).
template <typename RenameTo>
std::string RenameToNeutral(const std::string& path, RenameTo renameTo, int firstAttempt = 0) {
  const SplitPath parts = Split(path);
  if (parts.folder.empty() || parts.name.empty() || parts.name.back() == ':') return "";
  for (int tried = 0; tried < kNeutralNameTries; ++tried) {
    const std::string name = NeutralName(parts.name, (firstAttempt + tried) % kNeutralNameTries);
    if (name == parts.name) return "";
    const SystemCode code = renameTo(parts.folder + name);
    if (code == 0) return name;
    if (!IsNameTaken(code)) return "";
  }
  return "";
}

ShredOutcome Failed(const std::string& path, ShredStep step, SystemCode code,
                    const std::string& currentName) {
  ShredOutcome outcome{path, step, code};
  outcome.currentName = currentName;
  return outcome;
}

}  // namespace

std::string NeutralName(std::string_view name, int attempt) {
  return std::string(Utf8ToUtf16(name).size(), static_cast<char>('0' + attempt));
}

std::string PathNow(const ShredOutcome& outcome) {
  return PathUnder(outcome.path, outcome.currentName);
}

ShredOutcome ConcealAndDelete(FileSystem& fs, OpenFile& file, const std::string& path,
                              int firstAttempt) {
  file.Truncate();
  file.SetTimes(kNeutralFileTime);
  const std::string name = RenameToNeutral(
      path, [&](const std::string& newPath) { return file.Rename(newPath); }, firstAttempt);
  const SystemCode markCode = file.MarkForDelete();
  const SystemCode closeCode = file.Close();
  if (closeCode) return Failed(path, ShredStep::kClose, closeCode, name);
  if (markCode) {
    if (const SystemCode code = fs.RemoveFile(PathUnder(path, name))) {
      return Failed(path, ShredStep::kDelete, code, name);
    }
  }
  return ShredOutcome{path};
}

ShredOutcome RemoveFolderConcealed(FileSystem& fs, const std::string& folder) {
  const std::string path =
      folder.size() > 1 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
  const std::string name =
      RenameToNeutral(path, [&](const std::string& newPath) { return fs.Rename(path, newPath); });
  const std::string now = PathUnder(folder, name);
  const SystemCode code = fs.RemoveFolder(now);
  if (code == 0) return ShredOutcome{folder};
  const bool nameBack = name.empty() || fs.Rename(now, path) == 0;
  return Failed(folder, ShredStep::kRemoveFolder, code, nameBack ? "" : name);
}

}  // namespace tovo
