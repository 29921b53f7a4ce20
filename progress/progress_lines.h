// What the progress window of a long run shows, worded from one snapshot of
// its progress. Portable, so that every text is tested natively.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "shred/run_progress.h"

namespace tovo {

// The words of one kind of run. The defaults are the shred command's; a run
// over bytes only (no files to count) turns `countsFiles` off and words its
// own lines.
struct ProgressWording {
  // The name line while counting: lead + the count found so far + tail.
  std::string_view countingLead = "正在统计要粉碎的文件：已找到 ";
  std::string_view countingTail = " 个，请稍等...";
  // False: the run has no files to count; the counting line shows the bytes
  // found instead and there is no files line.
  bool countsFiles = true;
  std::string_view filesLead = "文件：";  // + "1,234 / 7,000 个"
  std::string_view bytesLead = "数据：";  // + "12.3 MB / 150 MB"
};

inline constexpr std::string_view kStoppingText = "正在停止，请稍等...";
inline constexpr std::string_view kTimeLeftLead = "剩余时间：";
inline constexpr std::string_view kEstimatingText = "剩余时间：正在估算...";

struct ProgressLines {
  std::string name;         // the name line: what is being worked on
  std::string files;        // files done of all; empty while counting or without files
  std::string bytes;        // bytes done of all; empty while counting
  int percent = 0;          // the bar, 0 to 100
  std::string percentText;  // "37%"; empty while counting
  std::string timeLeft;     // empty while counting and stopping

  bool operator==(const ProgressLines&) const = default;
};

// The lines for `progress`. While counting: only the name line, with the
// count so far. Then: the snapshot's current text as the name line, the files
// and bytes done of their totals, the bytes' share (the files' share when
// there are no bytes), and the time left when `left` has it (else that it is
// being estimated). `stopping`: the name line says so and no time is shown.
ProgressLines DescribeProgress(const ProgressSnapshot& progress, const ProgressWording& wording,
                               std::optional<std::chrono::seconds> left, bool stopping);

}  // namespace tovo
