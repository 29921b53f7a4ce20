// Paths from outside the program: how they are made full, which are left
// out and why, and the texts of the boxes that say so.
#include "app/outside_paths.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/text.h"

namespace tovo {
namespace {

using Paths = std::vector<std::string>;

const std::string kLongName = "C:\\Work\\" + std::string(300, 'x') + ".bin";

// What exists on the fake disk, by upper-case key, and one short 8.3 name.
const std::set<std::string> kExisting = {
    "C:\\WORK\\A.TXT",  "C:\\WORK\\B C.TXT",        "C:\\WORK\\粉碎.DOC",
    "C:\\WORK\\DIR",    "C:\\WORK\\DIR\\INNER.TXT", "C:\\WORK\\DIR2",
    "C:\\OTHER\\X.TXT", "C:\\WORK\\LONG NAME.TXT",  "\\\\SRV\\SHARE\\F.TXT",
    "D:\\APPS",         "D:\\APPS\\TOVO",           "D:\\APPS\\TOVO\\TOVOSHRED.EXE",
    "D:\\APPS\\TOVO2",  AsciiUpper(kLongName)};
const std::map<std::string, std::string> kShortNames = {
    {"C:\\WORK\\LONGNA~1.TXT", "C:\\Work\\long name.txt"}};

OutsidePathQueries FakeDisk() {
  return {.existing = [](const std::string& path) -> std::optional<std::string> {
            const std::string key = AsciiUpper(path);
            if (const auto it = kShortNames.find(key); it != kShortNames.end()) return it->second;
            if (kExisting.contains(key)) return path;
            return std::nullopt;
          },
          .compareKey = [](const std::string& path) { return AsciiUpper(path); }};
}

struct Case {
  const char* what;
  Paths given;
  Paths accepted;
  Paths missing = {};
  std::vector<RefusedPath> refused = {};
};

const Case kCases[] = {
    {"relative, with blanks, Chinese, long",
     {"a.txt", "C:\\Work\\b c.txt", "粉碎.doc", kLongName},
     {"C:\\Work\\a.txt", "C:\\Work\\b c.txt", "C:\\Work\\粉碎.doc", kLongName}},
    {"one file written many ways is shredded once, as first given",
     {"C:/Work/a.txt", "c:\\work\\A.TXT", "dir\\..\\a.txt", ".\\a.txt", "C:\\Work\\\\a.txt",
      "C:\\..\\..\\Work\\a.txt", "\\\\?\\C:\\Work\\a.txt", "LONGNA~1.TXT", "long name.txt"},
     {"C:\\Work\\a.txt", "C:\\Work\\long name.txt"}},
    {"what lies inside another given folder goes with it; a like-named sibling does not",
     {"dir\\inner.txt", "dir", "dir2", "dir\\", "C:\\Work\\dir\""},
     {"C:\\Work\\dir", "C:\\Work\\dir2"}},
    {"blank arguments are skipped; share, drive-relative and root-relative paths",
     {"", "  ", "\\\\srv\\share\\f.txt", "C:b c.txt", "\\Other\\x.txt",
      "\\\\?\\UNC\\srv\\share\\f.txt"},
     {"\\\\srv\\share\\f.txt", "C:\\Work\\b c.txt", "C:\\Other\\x.txt"}},
    {"a missing path is named once",
     {"gone.txt", "a.txt", "GONE.txt", "E:x"},
     {"C:\\Work\\a.txt"},
     {"C:\\Work\\gone.txt", "E:\\x"}},
    {"roots and devices are never shredded",
     {"C:\\", "C:\"", "C:", "c:/", "\\", "\\\\srv\\share", "\\\\srv\\share\\",
      "\\\\.\\PhysicalDrive0", "\\\\?\\C:\\", "\\\\srv"},
     {},
     {},
     {{"C:\\", OutsideRefusal::kRoot},
      {"\\\\srv\\share", OutsideRefusal::kRoot},
      {"\\\\.\\PhysicalDrive0", OutsideRefusal::kRoot},
      {"\\\\srv", OutsideRefusal::kRoot}}},
    {"the program and every folder that holds it",
     {"D:\\Apps\\Tovo\\TovoShred.exe", "D:\\Apps\\Tovo", "d:\\apps\\", "D:\\Apps\\Tovo2",
      "D:\\Apps\\Tovo\\..\\Tovo\\tovoshred.EXE"},
     {"D:\\Apps\\Tovo2"},
     {},
     {{"D:\\Apps\\Tovo\\TovoShred.exe", OutsideRefusal::kProgram},
      {"D:\\Apps\\Tovo", OutsideRefusal::kProgramFolder},
      {"d:\\apps", OutsideRefusal::kProgramFolder}}},
};

TEST(OutsidePaths, SortsWhatIsGivenIntoShreddedMissingAndRefused) {
  for (const Case& c : kCases) {
    const SortedOutsidePaths sorted =
        SortOutsidePaths(c.given, "C:\\Work", "D:\\Apps\\Tovo\\TovoShred.exe", FakeDisk());
    EXPECT_EQ(sorted.accepted, c.accepted) << c.what;
    EXPECT_EQ(sorted.missing, c.missing) << c.what;
    EXPECT_EQ(sorted.refused, c.refused) << c.what;
  }
}

TEST(OutsidePaths, BoxesNameTheItemsOnePerLine) {
  EXPECT_EQ(OutsideConsentText({"C:\\a.txt", "C:\\dir"}),
            "确定要粉碎以下 2 项吗（操作不可逆）？\n\nC:\\a.txt\nC:\\dir");
  const std::string many = OutsideConsentText(Paths(12, "C:\\x"));
  EXPECT_TRUE(many.starts_with("确定要粉碎以下 12 项吗")) << many;
  EXPECT_TRUE(many.ends_with("\nC:\\x\n……另有 2 项")) << many;

  SortedOutsidePaths sorted;
  sorted.missing = {"C:\\gone.txt"};
  sorted.refused = {{"C:\\", OutsideRefusal::kRoot},
                    {"D:\\Tovo\\TovoShred.exe", OutsideRefusal::kProgram},
                    {"D:\\Tovo", OutsideRefusal::kProgramFolder}};
  EXPECT_EQ(LeftOutText(sorted),
            "以下项目不存在，已忽略：\n\nC:\\gone.txt\n\n"
            "以下项目不能粉碎，已忽略：\n"
            "\nC:\\（驱动器或共享的根目录）"
            "\nD:\\Tovo\\TovoShred.exe（本程序自身）"
            "\nD:\\Tovo（含有本程序的文件夹）");
  sorted.refused.clear();
  EXPECT_EQ(LeftOutText(sorted), "以下项目不存在，已忽略：\n\nC:\\gone.txt");
  EXPECT_EQ(LeftOutText({}), "");
}

}  // namespace
}  // namespace tovo
