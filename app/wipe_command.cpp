#include "app/wipe_command.h"

#include "progress/progress_text.h"

namespace tovo {
namespace {

constexpr unsigned kDriveRemovable = 2;
constexpr unsigned kDriveFixed = 3;
// A spinning disk writes large requests at about this rate; the record fill
// and the release add a little whatever the size.
constexpr std::uint64_t kEstimateBytesPerSecond = 100u << 20;
constexpr std::chrono::seconds kEstimateFixedPart{15};

}  // namespace

bool CanWipeDriveType(unsigned driveType) {
  return driveType == kDriveFixed || driveType == kDriveRemovable;
}

std::chrono::seconds WipeEstimate(std::uint64_t freeBytes) {
  return kEstimateFixedPart +
         std::chrono::seconds((freeBytes + kEstimateBytesPerSecond - 1) / kEstimateBytesPerSecond);
}

std::string WipeConsentText(std::string_view drive, std::uint64_t freeBytes,
                            std::string_view duration) {
  std::string text = "将擦除驱动器 ";
  text.append(drive);
  text += " 的剩余空间（现有 " + FormatBytes(freeBytes) + "）。\n\n";
  text += "此前在该驱动器上删除的文件将无法再恢复。\n";
  text += "擦除期间该驱动器的剩余空间会被暂时占满，其他程序可能无法向它写入。\n";
  text += "预计需要";
  text.append(duration);
  text += "。\n\n要继续吗？";
  return text;
}

std::string WipeEndText(bool stopped, std::uint64_t written, std::string_view duration) {
  std::string text(stopped ? kWipeStoppedText : kWipeCompletedText);
  text += "\n\n共覆写 " + FormatBytes(written) + "，用时";
  text.append(duration);
  text += "。";
  if (stopped) text += "\n填充文件已全部删除。";
  return text;
}

std::string LeftoverFillText(const std::vector<LeftoverFillEnd>& ends) {
  std::string removed, failed;
  for (const LeftoverFillEnd& end : ends) {
    if (end.failure.empty())
      removed += "\n" + end.drive + " 释放了 " + FormatBytes(end.freedBytes);
    else
      failed += "\n" + end.drive + " " + end.failure;
  }
  std::string text;
  if (!removed.empty()) text = "已删除上次未完成的剩余空间擦除留下的填充文件：" + removed;
  if (!failed.empty()) {
    if (!text.empty()) text += "\n\n";
    text += "未能删除上次未完成的剩余空间擦除留下的填充文件：" + failed;
  }
  return text;
}

}  // namespace tovo
