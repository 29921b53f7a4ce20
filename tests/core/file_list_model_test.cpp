// The file list's portable model: qualifying, listing with icons and the
// duplicate check, the sort order and the quicksort, and the path rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "platform/text.h"
#include "widgets/file_list_listing.h"
#include "widgets/file_list_model.h"
#include "widgets/file_list_rules.h"

namespace tovo {
namespace {

using enum FileAttr;
constexpr FileType kMainWindowType{ftReadOnly, ftHidden, ftDirectory, ftArchive, ftNormal};

struct QualifyCase {
  const char* what;
  FileType type;
  std::uint32_t attributes;
  bool listed;
};

class Qualifying : public testing::TestWithParam<QualifyCase> {};

TEST_P(Qualifying, FollowsMaskAndExclusionSet) {
  EXPECT_EQ(Qualifies(GetParam().type, GetParam().attributes), GetParam().listed)
      << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Qualifying,
    testing::Values(QualifyCase{"main: plain file", kMainWindowType, 0x20, true},
                    QualifyCase{"main: FILE_ATTRIBUTE_NORMAL", kMainWindowType, 0x80, true},
                    QualifyCase{"main: hidden file", kMainWindowType, 0x22, true},
                    QualifyCase{"main: hidden folder", kMainWindowType, 0x12, true},
                    QualifyCase{"main: system file", kMainWindowType, 0x24, false},
                    QualifyCase{"main: hidden system folder", kMainWindowType, 0x16, false},
                    QualifyCase{"default: folder", FileType{ftNormal}, 0x10, false},
                    QualifyCase{"default: hidden file", FileType{ftNormal}, 0x22, false},
                    QualifyCase{"default: read-only file", FileType{ftNormal}, 0x21, true},
                    QualifyCase{"folders only: file", FileType{ftDirectory}, 0x20, false},
                    QualifyCase{"folders only: folder", FileType{ftDirectory}, 0x10, true}));

TEST(Qualifying, MainWindowMasks) {
  EXPECT_EQ(AttributeMask(kMainWindowType), 0x33u);
  EXPECT_EQ(ExclusionSet(kMainWindowType), 0x04u);
  EXPECT_EQ(ExclusionSet(FileType{ftNormal}), 0x16u);
}

// Case-insensitive ASCII order, standing in for the locale's comparison.
class AsciiCollation : public NameCollation {
 public:
  std::string SortKey(std::string_view name) const override { return AsciiLower(name); }
  std::string Lower(std::string_view text) const override { return AsciiLower(text); }
};

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*')
    return WildcardMatch(pattern.substr(1), name) ||
           (!name.empty() && WildcardMatch(pattern, name.substr(1)));
  if (name.empty()) return false;
  const bool same =
      pattern[0] == '?' || AsciiLower(pattern.substr(0, 1)) == AsciiLower(name.substr(0, 1));
  return same && WildcardMatch(pattern.substr(1), name.substr(1));
}

class FakeDirectory : public FolderEnumerator {
 public:
  std::vector<FolderEntry> entries;
  std::vector<std::string> patterns;
  void Enumerate(const std::string& pattern,
                 const std::function<void(const FolderEntry&)>& visit) override {
    patterns.push_back(pattern);
    for (const FolderEntry& e : entries)
      if (pattern == "*.*" || WildcardMatch(pattern, e.name)) visit(e);
  }
};

class FakeIcons : public ShellIcons {
 public:
  std::vector<std::string> fetched;
  std::multiset<IconHandle> destroyed;
  IconHandle Fetch(const std::string& name) override {
    fetched.push_back(name);
    return fetched.size();
  }
  void Destroy(IconHandle icon) override { destroyed.insert(icon); }
};

class Listing : public testing::Test {
 protected:
  void Add(std::string name, std::uint32_t attributes = 0x20) {
    dir.entries.push_back({std::move(name), attributes});
  }
  void List(std::string_view mask = "*.*", bool glyphs = true) {
    ListFolder({mask, kMainWindowType, glyphs}, platform, model);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (size_t i = 0; i < model.Count(); ++i) texts.push_back(model.Text(i));
    return texts;
  }
  using Names = std::vector<std::string>;

  FakeDirectory dir;
  FakeIcons icons;
  AsciiCollation collation;
  ExtensionIconCache cache;
  int hourglass = 0;
  ListingPlatform platform{dir, icons, collation, cache, [this] { ++hourglass; }};
  FileListModel model;
};

TEST_F(Listing, FoldersFirstThenCaseInsensitiveTextOrderWithoutDots) {
  for (const char* name : {"a2.txt", "b", "a10.txt", "A1.txt"}) Add(name);
  Add(".", 0x10);
  Add("..", 0x10);
  Add("B", 0x10);
  Add("x.exe", 0x10);
  Add("hidden", 0x12);
  Add("sys.txt", 0x24);
  List();
  EXPECT_EQ(Texts(), (Names{"B", "hidden", "x.exe", "A1.txt", "a10.txt", "a2.txt", "b"}));
  EXPECT_EQ(model.Info(0).EntryName, "B");
  EXPECT_TRUE(model.Info(2).IsFolder);
  EXPECT_TRUE(model.Info(2).OwnsIcon) << "a folder named x.exe owns its icon";
  EXPECT_FALSE(model.Info(3).IsFolder);
}

// Names holding "\" or "/" come only from Wine (Unix names); joined to the
// folder they would address other files, so they never become entries.
TEST_F(Listing, NamesNoWindowsPathCanAddressAreLeftOut) {
  Add("..\\outside.txt");
  Add("a/b", 0x10);
  Add("kept.txt");
  List();
  EXPECT_EQ(Texts(), (Names{"kept.txt"}));
}

TEST_F(Listing, OverlappingPatternsListEachEntryOnceAndEmptyPatternsAddNothing) {
  Add("one.txt");
  Add("TWO.TXT");
  Add("three.doc");
  List("*.txt;;*.TXT;*.doc");
  EXPECT_EQ(Texts(), (Names{"one.txt", "three.doc", "TWO.TXT"}));
  EXPECT_EQ(dir.patterns, (Names{"*.txt", "*.TXT", "*.doc"}));
}

TEST_F(Listing, WithoutSemicolonNoDuplicateCheck) {
  Add("same.txt");
  Add("SAME.txt");
  List("*.txt");
  EXPECT_EQ(model.Count(), 2u);
}

TEST_F(Listing, EmptyFolderAndEmptyMaskListNothing) {
  List();
  EXPECT_EQ(model.Count(), 0u);
  Add("a.txt");
  List("");
  EXPECT_EQ(model.Count(), 0u);
  EXPECT_TRUE(dir.patterns.size() == 1) << "an empty pattern is not enumerated";
}

TEST_F(Listing, OneIconPerExtensionButOwnIconsForFoldersAndProgramFiles) {
  for (const char* name : {"a.txt", "b.TXT", "c.exe", "d.EXE", "e.lnk", "f.ico", "g.scr", "noext"})
    Add(name);
  Add("sub", 0x10);
  List();
  // .txt once for both; each per-file extension and the folder on their own; "" once.
  EXPECT_EQ(icons.fetched.size(), 8u);
  EXPECT_EQ(cache.Size(), 2u);
  EXPECT_TRUE(cache.Find(".txt").has_value());
  EXPECT_FALSE(cache.Find(".exe").has_value());
  std::map<std::string, TFileEntryInfo> byName;
  for (size_t i = 0; i < model.Count(); ++i) byName[model.Text(i)] = model.Info(i);
  EXPECT_EQ(byName["a.txt"].Icon, byName["b.TXT"].Icon);
  EXPECT_FALSE(byName["a.txt"].OwnsIcon);
  EXPECT_NE(byName["c.exe"].Icon, byName["d.EXE"].Icon);
  EXPECT_TRUE(byName["c.exe"].OwnsIcon);

  // A second listing reuses the cache and releases only the icons records own.
  icons.fetched.clear();
  List();
  EXPECT_EQ(icons.fetched.size(), 6u);
  EXPECT_EQ(icons.destroyed.size(), 6u);
  EXPECT_EQ(icons.destroyed.count(byName["a.txt"].Icon), 0u);
}

TEST_F(Listing, NoIconsWithoutGlyphs) {
  Add("a.txt");
  Add("sub", 0x10);
  List("*.*", false);
  EXPECT_TRUE(icons.fetched.empty());
  EXPECT_EQ(model.Info(0).Icon, kNoIcon);
}

TEST_F(Listing, HourglassOnceFromTheHundredAndFirstEntry) {
  for (int i = 0; i < 100; ++i) Add("f" + std::to_string(i));
  List();
  EXPECT_EQ(hourglass, 0);
  Add("f100");
  Add("f101");
  List();
  EXPECT_EQ(hourglass, 1);
}

TEST(ExtensionIconCacheTest, KeepsFirstIconAndRemembersMissingOnes) {
  ExtensionIconCache cache;
  EXPECT_TRUE(cache.Add(".txt", 5));
  EXPECT_FALSE(cache.Add(".txt", 6));
  EXPECT_EQ(cache.Find(".txt"), IconHandle{5});
  EXPECT_TRUE(cache.Add(".bad", kNoIcon));
  EXPECT_EQ(cache.Find(".bad"), kNoIcon);
  std::vector<IconHandle> released;
  cache.DestroyAll([&](IconHandle icon) { released.push_back(icon); });
  EXPECT_EQ(released, std::vector<IconHandle>{5});
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_EQ(ExtensionOf("archive.tar.GZ"), ".GZ");
  EXPECT_EQ(ExtensionOf(".gitignore"), ".gitignore");
  EXPECT_EQ(ExtensionOf("README"), "");
}

// The quicksort against a reference sort: the same sequence of (kind, key)
// on many random inputs, with few distinct names so ties are common.
TEST(SortEntriesTest, MatchesAReferenceSortOnRandomInputs) {
  std::mt19937 random(20261208);
  AsciiCollation collation;
  for (int round = 0; round < 2000; ++round) {
    FileListModel model;
    std::vector<std::pair<bool, std::string>> expected;
    const int count = static_cast<int>(random() % 70);
    for (int i = 0; i < count; ++i) {
      std::string name(1 + random() % 3, 'a');
      for (char& c : name) c = "aAbBc1"[random() % 6];
      const bool folder = random() % 4 == 0;
      model.Append(collation.SortKey(name), {name, folder});
      expected.emplace_back(!folder, collation.SortKey(name));
    }
    model.SortAll();
    std::sort(expected.begin(), expected.end());
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(model.Info(i).IsFolder, !expected[i].first) << "round " << round;
      ASSERT_EQ(collation.SortKey(model.Text(i)), expected[i].second) << "round " << round;
      ASSERT_EQ(model.Text(i), model.Info(i).EntryName) << "entry and record moved together";
    }
  }
}

TEST(SortEntriesTest, SortedLargeInputKeepsOrder) {
  FileListModel model;
  for (int i = 0; i < 50000; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "n%06d", i);
    model.Append(name, {name, false});
  }
  model.SortAll();
  for (int i = 1; i < 50000; ++i) ASSERT_LT(model.Text(i - 1), model.Text(i));
}

class FakeSelection : public ListSelection {
 public:
  std::vector<std::string> texts;
  std::set<int> selected;
  int caret = -1;
  int Count() const override { return static_cast<int>(texts.size()); }
  bool IsSelected(int i) const override { return selected.count(i) != 0; }
  std::string Text(int i) const override { return texts[i]; }
  int Caret() const override { return caret; }
};

TEST(FocusedPath, DependsOnTheCaretEntryAlone) {
  FakeSelection list;
  list.texts = {"x.txt", "y.txt"};
  list.selected = {0, 1};
  list.caret = 0;
  EXPECT_EQ(FocusedFilePath("C:\\", list), "C:\\x.txt");
  EXPECT_EQ(FocusedFilePath("C:\\dir", list), "C:\\dir\\x.txt");
  list.selected = {1};
  EXPECT_EQ(FocusedFileName(list), "");
  EXPECT_EQ(FocusedFilePath("C:\\dir", list), "");
  for (int caret : {-1, 2}) {
    list.caret = caret;
    EXPECT_EQ(FocusedFilePath("C:\\dir", list), "") << caret;
  }
}

TEST(SelectedPathsTest, ExactNamesInListOrderWhateverHasTheFocus) {
  FakeSelection list;
  list.texts = {" lead", "[b]", "tail ", "skip"};
  list.selected = {2, 0, 1};
  list.caret = 3;
  EXPECT_EQ(SelectedPaths("C:\\", list),
            (std::vector<std::string>{"C:\\ lead", "C:\\[b]", "C:\\tail "}));
  EXPECT_EQ(SelectedPaths("D:\\x", list)[1], "D:\\x\\[b]");
}

TEST(ListRules, ItemHeightTextOffsetAndResolution) {
  EXPECT_EQ(ItemHeightFor(16, true), 18);
  EXPECT_EQ(ItemHeightFor(16, false), 15);
  EXPECT_EQ(ItemHeightFor(30, true), 29);
  EXPECT_EQ(TextOffset(18, 12), 3);
  EXPECT_EQ(TextOffset(18, 13), 2);
  EXPECT_EQ(ResolveInFolder("C:\\", "sub"), "C:\\sub");
  EXPECT_EQ(ResolveInFolder("C:\\dir", "sub"), "C:\\dir\\sub");
}

TEST(MouseWheel, NotchesAccumulateAndUpwardsNeverPassesTheTop) {
  WheelNotches notches;
  EXPECT_EQ(notches.Add(60), 0);
  EXPECT_EQ(notches.Add(60), 1);
  EXPECT_EQ(notches.Add(-240), -2);
  EXPECT_EQ(WheelScrollTarget(2, 3, false), std::nullopt);
  EXPECT_EQ(WheelScrollTarget(3, 3, false), 0);
  EXPECT_EQ(WheelScrollTarget(2, 3, true), 5);
}

}  // namespace
}  // namespace tovo
