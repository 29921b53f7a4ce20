#include "progress/progress_lines.h"

#include "progress/progress_text.h"
#include "progress/time_left.h"

namespace tovo {

ProgressLines DescribeProgress(const ProgressSnapshot& progress, const ProgressWording& wording,
                               std::optional<std::chrono::seconds> left, bool stopping) {
  ProgressLines lines;
  if (progress.counting) {
    lines.name = std::string(wording.countingLead) +
                 (wording.countsFiles ? GroupedCount(progress.filesTotal)
                                      : FormatBytes(progress.bytesTotal)) +
                 std::string(wording.countingTail);
  } else {
    lines.name = progress.current;
    if (wording.countsFiles) {
      lines.files = std::string(wording.filesLead) + GroupedCount(progress.filesDone) + " / " +
                    GroupedCount(progress.filesTotal) + " 个";
    }
    lines.bytes = std::string(wording.bytesLead) + FormatBytes(progress.bytesDone) + " / " +
                  FormatBytes(progress.bytesTotal);
    lines.percent = progress.bytesTotal > 0 || !wording.countsFiles
                        ? PercentOf(progress.bytesDone, progress.bytesTotal)
                        : PercentOf(progress.filesDone, progress.filesTotal);
    lines.percentText = std::to_string(lines.percent) + "%";
    if (!stopping)
      lines.timeLeft =
          left ? std::string(kTimeLeftLead) + DurationText(*left) : std::string(kEstimatingText);
  }
  if (stopping) lines.name = std::string(kStoppingText);
  return lines;
}

}  // namespace tovo
