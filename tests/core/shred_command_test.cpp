// The shred command's texts: the progress line and the warning report.
#include "app/shred_command.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tovo {
namespace {

TEST(ShredCommandTexts, ProgressTextNamesTheLastComponent) {
  EXPECT_EQ(ProgressText("C:\\Data\\report.doc", ShredSource::kSelectedFile),
            "正在粉碎：report.doc，请稍等...");
  EXPECT_EQ(ProgressText("C:\\ x [1].txt", ShredSource::kSelectedFile),
            "正在粉碎： x [1].txt，请稍等...");
  EXPECT_EQ(ProgressText("C:\\Data\\Old\\a.txt", ShredSource::kFileInFolder),
            "正在粉碎文件：a.txt，请稍等...");
}

TEST(ShredCommandTexts, ReportCountsAllNamesTheFirstTenWithTheirReasons) {
  std::vector<ShredOutcome> failures = {
      {"C:\\held.txt", ShredStep::kOpen, syscode::kSharingViolation},
      {"C:\\ro.txt", ShredStep::kDelete, syscode::kAccessDenied},
      {"C:\\gone.txt", ShredStep::kNotFound, syscode::kFileNotFound},
      {"C:\\bad.txt", ShredStep::kWrite, 0},
      {"C:\\dir", ShredStep::kRemoveFolder, 145},
      {"C:\\机密.doc", ShredStep::kDelete, syscode::kSharingViolation, "000000"},
      {"C:\\big.iso", ShredStep::kStopped, 0},
  };
  EXPECT_EQ(FailureReport(failures),
            "有 7 项未能粉碎：\n"
            "\nC:\\held.txt（正被其他程序使用）"
            "\nC:\\ro.txt（拒绝访问）"
            "\nC:\\gone.txt（找不到）"
            "\nC:\\bad.txt（写入失败）"
            "\nC:\\dir（无法删除）"
            "\nC:\\机密.doc（正被其他程序使用，现名 000000）"
            "\nC:\\big.iso（已停止，部分内容已覆盖）");
  failures.resize(12, ShredOutcome{"C:\\more", ShredStep::kRemoveFolder, 145});
  const std::string report = FailureReport(failures);
  EXPECT_EQ(report.rfind("有 12 项未能粉碎：", 0), 0u);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 12) << report;
  EXPECT_TRUE(report.ends_with("\n……另有 2 项")) << report;
}

TEST(ShredCommandTexts, StoppedTextCountsWithGroupedDigits) {
  EXPECT_EQ(StoppedText(1234, 5766), "已停止：已粉碎 1,234 个文件，其余 5,766 个文件未改动。");
  EXPECT_EQ(StoppedText(0, 0), "已停止：已粉碎 0 个文件，其余 0 个文件未改动。");
}

}  // namespace
}  // namespace tovo
