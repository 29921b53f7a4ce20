// The texts of the shred command and the report of what it could not destroy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shred/folder_shredder.h"
#include "shred/shred_outcome.h"

namespace tovo {

inline constexpr std::string_view kShredCaption = "请注意";
inline constexpr std::string_view kNothingSelectedText = "请选择要粉碎的文件或文件夹。";
inline constexpr std::string_view kConfirmText = "真的要进行粉碎操作（操作不可逆，请慎重选择）？";
inline constexpr std::string_view kCompletedText = "粉碎顺利完成！";

// The first line of the final box of a run that was stopped: how many files
// were destroyed and how many were left as they were, e.g.
// "已停止：已粉碎 1,234 个文件，其余 5,766 个文件未改动。".
std::string StoppedText(std::uint64_t destroyed, std::uint64_t untouched);

// The most items a box names one by one.
inline constexpr size_t kItemsNamed = 10;

// The first kItemsNamed of `items`, each on a line of its own (a "\n" before
// it), then a line with how many more there are.
std::string NamedLines(const std::vector<std::string>& items);

// The progress line for a file about to be shredded: "正在粉碎：" for a
// selected file, "正在粉碎文件：" for one found in a selected folder, then
// the last name of the path and "，请稍等...".
std::string ProgressText(std::string_view path, ShredSource source);

// The short reason shown beside a path that was not destroyed.
std::string_view FailureReason(ShredFailure failure);

// The warning text for a command that left items behind: how many, then the
// first kItemsNamed of them with their reasons (and the name an item now
// has, when it was renamed before it stayed), one per line, then how many
// more there are. `failures` must not be empty.
std::string FailureReport(const std::vector<ShredOutcome>& failures);

}  // namespace tovo
