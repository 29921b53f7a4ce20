// The progress window's lines of a long run: the share, the time left and
// every text, from snapshots and an injected clock.
#include <gtest/gtest.h>

#include <string>

#include "progress/progress_lines.h"
#include "progress/time_left.h"

namespace tovo {
namespace {

using namespace std::chrono_literals;

ProgressSnapshot Counted(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
                         std::uint64_t bytesTotal) {
  ProgressSnapshot s;
  s.counting = false;
  s.filesDone = filesDone;
  s.filesTotal = filesTotal;
  s.bytesDone = bytesDone;
  s.bytesTotal = bytesTotal;
  return s;
}

TEST(WorkShare, CountsEachFileAsSomeBytesBesideTheBytesWritten) {
  ProgressSnapshot counting;
  counting.filesTotal = 10;
  EXPECT_EQ(WorkShare(counting), 0.0);
  EXPECT_EQ(WorkShare(Counted(0, 0, 0, 0)), 0.0) << "nothing to do";
  EXPECT_DOUBLE_EQ(WorkShare(Counted(0, 0, 1 << 20, 4 << 20)), 0.25) << "bytes only";
  EXPECT_DOUBLE_EQ(WorkShare(Counted(1, 4, 0, 0)), 0.25) << "empty files";
  // One file of 64 KiB done of two: its bytes and its own cost, half of all.
  EXPECT_DOUBLE_EQ(WorkShare(Counted(1, 2, kFileCostBytes, 2 * kFileCostBytes)), 0.5);
  EXPECT_EQ(WorkShare(Counted(5, 4, 9, 8)), 1.0) << "never above the whole";
}

TEST(TimeLeft, EstimatesFromTheTimeSoFarOnlyAfterTwoSeconds) {
  const RunClock::time_point t0{};
  TimeLeft left;
  EXPECT_EQ(left.Estimate(t0 + 10s, 0.5), std::nullopt) << "not started";
  left.Start(t0);
  left.Start(t0 + 5s);  // the first start counts
  EXPECT_TRUE(left.Started());
  EXPECT_EQ(left.Estimate(t0 + 1900ms, 0.5), std::nullopt) << "too early";
  EXPECT_EQ(left.Estimate(t0 + 3s, 0.0), std::nullopt) << "nothing done yet";
  EXPECT_EQ(left.Estimate(t0 + 2s, 0.5), 2s);
  EXPECT_EQ(left.Estimate(t0 + 10s, 0.25), 30s);
  EXPECT_EQ(left.Estimate(t0 + 10s, 0.3), 24s) << "23.3 s rounded up";
  EXPECT_EQ(left.Estimate(t0 + 10s, 1.0), 0s);
}

TEST(DurationText, SecondsMinutesAndHours) {
  const struct {
    std::chrono::seconds left;
    const char* text;
  } cases[] = {
      {0s, "约 0 秒"},
      {59s, "约 59 秒"},
      {60s, "约 1 分 00 秒"},
      {185s, "约 3 分 05 秒"},
      {3599s, "约 59 分 59 秒"},
      {3600s, "约 1 小时 00 分"},
      {7581s, "约 2 小时 07 分"},
      {-3s, "约 0 秒"},
  };
  for (const auto& c : cases) EXPECT_EQ(DurationText(c.left), c.text) << c.left.count();
}

TEST(DescribeProgress, EveryLineOfEveryPhase) {
  ProgressSnapshot counting;
  counting.filesTotal = 1234;
  counting.bytesTotal = 5 << 20;
  ProgressSnapshot running = Counted(1234, 7000, 12900000, 157286400);
  running.current = "正在粉碎文件：a.txt，请稍等...";
  ProgressSnapshot emptyFiles = Counted(1, 4, 0, 0);
  emptyFiles.current = "正在粉碎：e.txt，请稍等...";
  ProgressWording bytesOnly;
  bytesOnly.countingLead = "正在准备：";
  bytesOnly.countingTail = "";
  bytesOnly.countsFiles = false;
  bytesOnly.bytesLead = "已写入：";
  const struct {
    const char* name;
    ProgressSnapshot snapshot;
    ProgressWording wording;
    std::optional<std::chrono::seconds> left;
    bool stopping;
    ProgressLines lines;
  } cases[] = {
      {"counting",
       counting,
       {},
       std::nullopt,
       false,
       {"正在统计要粉碎的文件：已找到 1,234 个，请稍等...", "", "", 0, "", ""}},
      {"stopping while counting",
       counting,
       {},
       std::nullopt,
       true,
       {"正在停止，请稍等...", "", "", 0, "", ""}},
      {"estimating",
       running,
       {},
       std::nullopt,
       false,
       {"正在粉碎文件：a.txt，请稍等...", "文件：1,234 / 7,000 个", "数据：12.3 MB / 150 MB", 8,
        "8%", "剩余时间：正在估算..."}},
      {"estimated",
       running,
       {},
       185s,
       false,
       {"正在粉碎文件：a.txt，请稍等...", "文件：1,234 / 7,000 个", "数据：12.3 MB / 150 MB", 8,
        "8%", "剩余时间：约 3 分 05 秒"}},
      {"stopping",
       running,
       {},
       185s,
       true,
       {"正在停止，请稍等...", "文件：1,234 / 7,000 个", "数据：12.3 MB / 150 MB", 8, "8%", ""}},
      {"empty files: their share",
       emptyFiles,
       {},
       std::nullopt,
       false,
       {"正在粉碎：e.txt，请稍等...", "文件：1 / 4 个", "数据：0 字节 / 0 字节", 25, "25%",
        "剩余时间：正在估算..."}},
      {"bytes only, counting",
       counting,
       bytesOnly,
       std::nullopt,
       false,
       {"正在准备：5.00 MB", "", "", 0, "", ""}},
      {"bytes only",
       running,
       bytesOnly,
       59s,
       false,
       {"正在粉碎文件：a.txt，请稍等...", "", "已写入：12.3 MB / 150 MB", 8, "8%",
        "剩余时间：约 59 秒"}},
  };
  for (const auto& c : cases) {
    const ProgressLines lines = DescribeProgress(c.snapshot, c.wording, c.left, c.stopping);
    EXPECT_EQ(lines.name, c.lines.name) << c.name;
    EXPECT_EQ(lines.files, c.lines.files) << c.name;
    EXPECT_EQ(lines.bytes, c.lines.bytes) << c.name;
    EXPECT_EQ(lines.percent, c.lines.percent) << c.name;
    EXPECT_EQ(lines.percentText, c.lines.percentText) << c.name;
    EXPECT_EQ(lines.timeLeft, c.lines.timeLeft) << c.name;
  }
}

}  // namespace
}  // namespace tovo
