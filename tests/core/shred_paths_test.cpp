#include <gtest/gtest.h>

#include <string>

#include "shred/folder_shredder.h"
#include "shred/paths.h"

namespace tovo {
namespace {

TEST(ExtractLastName, TakesTheLastComponent) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {
      {"C:\\Data\\report.doc", "report.doc"},
      {"C:\\Data\\Old\\", "Old"},
      {"report.doc", "report.doc"},
      {"C:\\", "C:"},
      {"\\", ""},
      {"", ""},
      {"\\\\server\\share", "share"},
      {"C:\\数据\\😀.txt", "😀.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractLastName(c.path), c.name) << c.path;
}

TEST(ShreddingProgressText, NamesTheFileOnly) {
  EXPECT_EQ(ShreddingProgressText("C:\\Data\\Old\\a.txt"), "正在粉碎文件：a.txt，请稍等...");
}

TEST(JoinPath, AddsOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(JoinPath("C:\\", "b"), "C:\\b");
  EXPECT_EQ(JoinPath("C:\\a", ""), "C:\\a\\");
}

// A path of `units` UTF-16 units: "C:\" and then repeated `piece`.
std::string PathOfUnits(std::size_t units, const std::string& piece, std::size_t pieceUnits) {
  std::string path = "C:\\";
  std::size_t have = 3;
  while (have + pieceUnits <= units) {
    path += piece;
    have += pieceUnits;
  }
  while (have++ < units) path += 'x';
  return path;
}

TEST(ExtendedLengthPath, OnlyPathsBeyondTheClassicLimitChange) {
  const std::string just = PathOfUnits(259, "abcdefghi\\", 10);
  EXPECT_EQ(ExtendedLengthPath(just), just);
  const std::string over = PathOfUnits(260, "abcdefghi\\", 10);
  EXPECT_EQ(ExtendedLengthPath(over), "\\\\?\\" + over);
}

TEST(ExtendedLengthPath, CountsUtf16UnitsNotBytes) {
  // 三 is three bytes but one unit; 😀 is four bytes and two units.
  const std::string chinese = PathOfUnits(259, "三", 1);
  EXPECT_EQ(ExtendedLengthPath(chinese), chinese);
  const std::string emoji = PathOfUnits(261, "😀", 2);
  EXPECT_EQ(ExtendedLengthPath(emoji), "\\\\?\\" + emoji);
}

TEST(ExtendedLengthPath, FormsForDrivesSharesAndOthers) {
  const std::string tail(300, 'x');
  EXPECT_EQ(ExtendedLengthPath("C:/a/" + tail), "\\\\?\\C:\\a\\" + tail);
  EXPECT_EQ(ExtendedLengthPath("\\\\srv\\share\\" + tail), "\\\\?\\UNC\\srv\\share\\" + tail);
  for (const std::string& same : {"\\\\?\\C:\\" + tail, "relative\\" + tail, "\\" + tail}) {
    EXPECT_EQ(ExtendedLengthPath(same), same);
  }
}

}  // namespace
}  // namespace tovo
