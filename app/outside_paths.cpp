#include "app/outside_paths.h"

#include <algorithm>

#include "app/shred_command.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace tovo {
namespace {

struct Candidate {
  std::string path;
  std::string key;
};

std::string_view RefusalReason(OutsideRefusal why) {
  switch (why) {
    case OutsideRefusal::kRoot: return "驱动器或共享的根目录";
    case OutsideRefusal::kProgram: return "本程序自身";
    case OutsideRefusal::kProgramFolder: return "含有本程序的文件夹";
  }
  return "";
}

}  // namespace

std::string UnquotedArgument(std::string text) {
  if (!text.empty() && text.back() == '"') text.back() = '\\';
  return text;
}

SortedOutsidePaths SortOutsidePaths(const std::vector<std::string>& given,
                                    std::string_view startFolder, std::string_view programPath,
                                    const OutsidePathQueries& queries) {
  std::vector<GivenPath> paths;
  for (const std::string& text : given) paths.push_back({text, std::string(startFolder)});
  return SortOutsidePaths(paths, programPath, queries);
}

SortedOutsidePaths SortOutsidePaths(const std::vector<GivenPath>& given,
                                    std::string_view programPath,
                                    const OutsidePathQueries& queries) {
  SortedOutsidePaths sorted;
  const std::string programKey = queries.compareKey(std::string(programPath));
  std::vector<std::string> leftOutKeys;
  // What is left out is named once however often it was given.
  const auto firstTime = [&](const std::string& path) {
    const std::string key = queries.compareKey(path);
    if (std::find(leftOutKeys.begin(), leftOutKeys.end(), key) != leftOutKeys.end()) return false;
    leftOutKeys.push_back(key);
    return true;
  };
  std::vector<Candidate> found;
  for (const auto& [argument, folder] : given) {
    if (Trim(argument).empty()) continue;
    const std::string text = UnquotedArgument(argument);
    const std::string full = FullPathFrom(text, folder);
    if (full.empty() || IsRootPath(full)) {
      const std::string shown = full.empty() ? text : full;
      if (firstTime(shown)) sorted.refused.push_back({shown, OutsideRefusal::kRoot});
      continue;
    }
    const std::optional<std::string> existing = queries.existing(full);
    if (!existing) {
      if (firstTime(full)) sorted.missing.push_back(full);
      continue;
    }
    const std::string key = queries.compareKey(*existing);
    // Shredding the folder that holds the running program would destroy the
    // program along with it.
    if (key == programKey || IsInsideFolder(programKey, key)) {
      if (firstTime(*existing)) {
        sorted.refused.push_back({*existing, key == programKey ? OutsideRefusal::kProgram
                                                               : OutsideRefusal::kProgramFolder});
      }
      continue;
    }
    found.push_back({*existing, key});
  }
  for (size_t i = 0; i < found.size(); ++i) {
    const auto covers = [&](size_t j) {
      return (j < i && found[j].key == found[i].key) || IsInsideFolder(found[i].key, found[j].key);
    };
    bool covered = false;
    for (size_t j = 0; j < found.size() && !covered; ++j) covered = covers(j);
    if (!covered) sorted.accepted.push_back(found[i].path);
  }
  return sorted;
}

std::string OutsideConsentText(const std::vector<std::string>& accepted) {
  return "确定要粉碎以下 " + std::to_string(accepted.size()) + " 项吗（操作不可逆）？\n" +
         NamedLines(accepted);
}

std::string LeftOutText(const SortedOutsidePaths& sorted) {
  std::string text;
  if (!sorted.missing.empty()) text = "以下项目不存在，已忽略：\n" + NamedLines(sorted.missing);
  if (!sorted.refused.empty()) {
    std::vector<std::string> lines;
    for (const RefusedPath& refused : sorted.refused)
      lines.push_back(refused.path + "（" + std::string(RefusalReason(refused.why)) + "）");
    if (!text.empty()) text += "\n\n";
    text += "以下项目不能粉碎，已忽略：\n" + NamedLines(lines);
  }
  return text;
}

}  // namespace tovo
