#include "app/shred_command.h"

#include "platform/paths.h"
#include "progress/progress_text.h"

namespace tovo {

std::string ProgressText(std::string_view path, ShredSource source) {
  const char* lead = source == ShredSource::kSelectedFile ? "正在粉碎：" : "正在粉碎文件：";
  return lead + ExtractLastName(path) + "，请稍等...";
}

std::string_view FailureReason(ShredFailure failure) {
  switch (failure) {
    case ShredFailure::kInUse: return "正被其他程序使用";
    case ShredFailure::kAccessDenied: return "拒绝访问";
    case ShredFailure::kNotFound: return "找不到";
    case ShredFailure::kWriteFailed: return "写入失败";
    case ShredFailure::kNotRemoved: return "无法删除";
    case ShredFailure::kStopped: return "已停止，部分内容已覆盖";
    case ShredFailure::kNone: break;
  }
  return "";
}

std::string StoppedText(std::uint64_t destroyed, std::uint64_t untouched) {
  return "已停止：已粉碎 " + GroupedCount(destroyed) + " 个文件，其余 " + GroupedCount(untouched) +
         " 个文件未改动。";
}

std::string NamedLines(const std::vector<std::string>& items) {
  std::string text;
  const size_t named = items.size() < kItemsNamed ? items.size() : kItemsNamed;
  for (size_t i = 0; i < named; ++i) text += "\n" + items[i];
  if (items.size() > named) text += "\n……另有 " + std::to_string(items.size() - named) + " 项";
  return text;
}

std::string FailureReport(const std::vector<ShredOutcome>& failures) {
  std::vector<std::string> lines;
  for (const ShredOutcome& failure : failures) {
    std::string line = failure.path + "（" + std::string(FailureReason(FailureOf(failure)));
    if (!failure.currentName.empty()) line += "，现名 " + failure.currentName;
    lines.push_back(line + "）");
  }
  return "有 " + std::to_string(failures.size()) + " 项未能粉碎：\n" + NamedLines(lines);
}

}  // namespace tovo
