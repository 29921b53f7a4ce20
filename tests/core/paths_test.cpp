#include <gtest/gtest.h>

#include <utility>

#include <string>

#include "platform/paths.h"

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

TEST(FolderHolding, IsThePathUpToItsLastName) {
  for (const auto& [path, folder] : {std::pair{"C:\\Data\\a.txt", "C:\\Data"},
                                     {"C:\\Data\\Old\\", "C:\\Data"},
                                     {"C:\\a.txt", "C:\\"},
                                     {"\\\\srv\\share\\x", "\\\\srv\\share"},
                                     {"C:\\", ""},
                                     {"C:", ""},
                                     {"name", ""}})
    EXPECT_EQ(FolderHolding(path), folder) << path;
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

// Plain paths drop a final dot or blank and turn device names into devices:
// "C:\d\report." would address C:\d\report, a file nobody selected.
TEST(ExtendedLengthPath, NamesThatPlainPathsWouldChangeAreTakenLiterally) {
  for (const std::string path : {"C:\\d\\report.", "C:\\d\\report ", "C:\\d\\dots...\\a.txt",
                                 "C:\\d\\CON", "C:\\d\\nul.txt", "C:\\d\\com7\\x", "C:\\d\\Lpt1"}) {
    EXPECT_EQ(ExtendedLengthPath(path), "\\\\?\\" + path) << path;
  }
  EXPECT_EQ(ExtendedLengthPath("\\\\srv\\share\\x."), "\\\\?\\UNC\\srv\\share\\x.");
  for (const std::string same : {"C:\\d\\report.txt", "C:\\", "C:\\d\\console", "C:\\d\\COM0",
                                 "C:\\d\\COM10", "C:\\d\\.git\\config", "relative\\x."}) {
    EXPECT_EQ(ExtendedLengthPath(same), same) << same;
  }
}

TEST(ExtendedLengthPath, PathsThatNeedDotsResolvedStayPlain) {
  const std::string tail(300, 'x');
  for (const std::string& same :
       {std::string("C:\\d\\..\\x."), std::string("C:\\d\\.\\CON"), "C:\\a\\..\\" + tail}) {
    EXPECT_EQ(ExtendedLengthPath(same), same) << same;
  }
}

}  // namespace
}  // namespace tovo
