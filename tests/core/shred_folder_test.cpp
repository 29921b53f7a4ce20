#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/shred_command.h"
#include "platform/errors.h"
#include "shred/folder_shredder.h"
#include "support/shred_fake_file_system.h"

namespace tovo {
namespace {

using testing::FakeFileSystem;

class FolderShredding : public ::testing::Test {
 protected:
  // C:\work\sel: a, sub\ (b, deep\ (c)), .cache\ (d), z (hidden, system) —
  // created in this order, which is the order the fake's search returns.
  void SetUp() override {
    fs_.AddFolder("C:\\work\\sel");
    fs_.AddFile("C:\\work\\sel\\a", 10);
    fs_.AddFolder("C:\\work\\sel\\sub");
    fs_.AddFile("C:\\work\\sel\\sub\\b", 5000);
    fs_.AddFolder("C:\\work\\sel\\sub\\deep");
    fs_.AddFile("C:\\work\\sel\\sub\\deep\\c", 0);
    fs_.AddFolder("C:\\work\\sel\\.cache", attr::kDirectory | attr::kHidden);
    fs_.AddFile("C:\\work\\sel\\.cache\\d", 1, 0xEE, attr::kHidden | attr::kReadOnly);
    fs_.AddFile("C:\\work\\sel\\z", 1, 0xEE, attr::kHidden | attr::kSystem);
  }

  // A folder outside the selection and a link to it inside.
  void AddLinkedFolder() {
    fs_.AddFolder("C:\\work\\outside");
    fs_.AddFile("C:\\work\\outside\\keep", 7);
    fs_.AddLink("C:\\work\\sel\\link", "C:\\work\\outside");
  }

  std::vector<ShredOutcome> ShredTree(const std::string& folder) {
    return ShredFolderTreeWith(fs_, generator_, folder, Recorder());
  }

  ShredProgress Recorder() {
    return [this](const std::string& path, ShredSource source) {
      progress_.push_back(ProgressText(path, source));
    };
  }

  std::vector<std::string> List(const std::string& folder) {
    std::vector<std::string> files;
    ListFilesRecursive(fs_, folder, files);
    return files;
  }

  FakeFileSystem fs_;
  RandomGenerator generator_;
  std::vector<std::string> progress_;
};

const std::vector<std::string> kTreeFiles = {"C:\\work\\sel\\a", "C:\\work\\sel\\sub\\b",
                                             "C:\\work\\sel\\sub\\deep\\c",
                                             "C:\\work\\sel\\.cache\\d", "C:\\work\\sel\\z"};

TEST_F(FolderShredding, ListingIsDepthFirstInSearchOrderAndTakesEveryFile) {
  EXPECT_EQ(List("C:\\work\\sel"), kTreeFiles);
  EXPECT_EQ(List("C:\\work\\sel\\"), kTreeFiles);
  EXPECT_EQ(fs_.current, "C:\\work");
  // Each folder is entered while it is listed, and the start is made current again.
  EXPECT_EQ(fs_.enterLog.front(), "C:\\work\\sel");
  EXPECT_EQ(fs_.enterLog.back(), "C:\\work");
}

TEST_F(FolderShredding, ListingAppendsToWhatTheListHolds) {
  std::vector<std::string> files = {"first"};
  ListFilesRecursive(fs_, "C:\\work\\sel\\sub", files);
  EXPECT_EQ(files, (std::vector<std::string>{"first", "C:\\work\\sel\\sub\\b",
                                             "C:\\work\\sel\\sub\\deep\\c"}));
}

TEST_F(FolderShredding, UnenterableFolderRaisesBeforeAnythingIsShredded) {
  fs_.enterFailures["C:\\work\\sel\\sub\\deep"] = syscode::kAccessDenied;
  try {
    ShredTree("C:\\work\\sel");
    FAIL() << "no error raised";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), syscode::kAccessDenied);
    EXPECT_STREQ(error.what(), "File access denied");
    EXPECT_EQ(error.path(), "C:\\work\\sel\\sub\\deep");
  }
  EXPECT_EQ(fs_.current, "C:\\work");
  EXPECT_TRUE(fs_.opened.empty());
  EXPECT_TRUE(progress_.empty());
  EXPECT_EQ(generator_.RandomSeed(), 0u);
  for (const auto& file : kTreeFiles) EXPECT_TRUE(fs_.Exists(file)) << file;
}

// "..\outside" joined to its folder would lead out of the selection.
TEST_F(FolderShredding, NameHoldingASeparatorStopsTheTreeBeforeAnythingIsShredded) {
  AddLinkedFolder();
  fs_.extraEntries["C:\\work\\sel\\sub"] = {FolderEntry{"..\\..\\outside", attr::kDirectory},
                                            FolderEntry{"x\\keep", attr::kArchive}};
  try {
    ShredTree("C:\\work\\sel");
    FAIL() << "no error raised";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), 123u);
  }
  EXPECT_TRUE(fs_.opened.empty());
  EXPECT_EQ(fs_.current, "C:\\work");
  EXPECT_TRUE(fs_.Exists("C:\\work\\outside\\keep"));
  for (const auto& file : kTreeFiles) EXPECT_TRUE(fs_.Exists(file)) << file;
}

TEST_F(FolderShredding, MissingFolderRaisesItsCode) {
  EXPECT_THROW(
      {
        try {
          List("C:\\work\\nothing");
        } catch (const IoError& error) {
          EXPECT_EQ(error.code(), syscode::kFileNotFound);
          throw;
        }
      },
      IoError);
  EXPECT_EQ(fs_.current, "C:\\work");
}

TEST_F(FolderShredding, WholeTreeGoesDotFoldersIncluded) {
  EXPECT_TRUE(ShredTree("C:\\work\\sel").empty());
  EXPECT_FALSE(fs_.Exists("C:\\work\\sel"));
  EXPECT_EQ(fs_.opened, kTreeFiles);
  EXPECT_EQ(fs_.Paths(), (std::vector<std::string>{"C:\\", "C:\\work"}));
  RandomGenerator fiveFiles;
  for (int i = 0; i < 5 * 4096; ++i) fiveFiles.Next();
  EXPECT_EQ(generator_.RandomSeed(), fiveFiles.RandomSeed());
  ASSERT_EQ(progress_.size(), kTreeFiles.size());
  EXPECT_EQ(progress_[2], "正在粉碎文件：c，请稍等...");
}

TEST_F(FolderShredding, EveryFolderIsRenamedJustBeforeItsRemoval) {
  ASSERT_TRUE(ShredTree("C:\\work\\sel").empty());
  std::vector<std::string> folderRenames;
  for (const std::string& step : fs_.steps) {
    if (step.starts_with("rename ") && !step.ends_with("\\0")) folderRenames.push_back(step);
  }
  EXPECT_EQ(folderRenames, (std::vector<std::string>{
                               "rename C:\\work\\sel\\sub\\0000", "rename C:\\work\\sel\\000",
                               "rename C:\\work\\sel\\000000", "rename C:\\work\\000"}));
}

TEST_F(FolderShredding, FolderThatStaysGetsItsNameBackOrIsReportedByItsNewOne) {
  fs_.openFailures["C:\\work\\sel\\sub\\b"] = syscode::kSharingViolation;
  fs_.renameFailures["C:\\work\\sel"] = syscode::kAccessDenied;  // the way back
  const std::vector<ShredOutcome> failures = ShredTree("C:\\work\\sel");
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[1].currentName, "");
  EXPECT_TRUE(fs_.Exists("C:\\work\\000\\sub\\b"));
  EXPECT_EQ(failures[2].path, "C:\\work\\sel");
  EXPECT_EQ(failures[2].currentName, "000");
}

TEST_F(FolderShredding, EmptyFolderIsRemovedWithoutProgress) {
  fs_.AddFolder("C:\\work\\empty");
  EXPECT_TRUE(ShredTree("C:\\work\\empty\\").empty());
  EXPECT_FALSE(fs_.Exists("C:\\work\\empty"));
  EXPECT_TRUE(progress_.empty());
}

TEST_F(FolderShredding, FileInUseKeepsItsFoldersAndEveryFailureIsReported) {
  fs_.openFailures["C:\\work\\sel\\sub\\b"] = syscode::kSharingViolation;
  const std::vector<ShredOutcome> failures = ShredTree("C:\\work\\sel");
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0].path, "C:\\work\\sel\\sub\\b");
  EXPECT_EQ(FailureOf(failures[0]), ShredFailure::kInUse);
  EXPECT_EQ(failures[1].path, "C:\\work\\sel\\sub");
  EXPECT_EQ(failures[1].step, ShredStep::kRemoveFolder);
  EXPECT_EQ(failures[1].code, syscode::kDirNotEmpty);
  EXPECT_EQ(failures[2].path, "C:\\work\\sel");
  EXPECT_TRUE(fs_.Exists("C:\\work\\sel\\sub\\b")) << "where the report says";
  EXPECT_FALSE(fs_.Exists("C:\\work\\sel\\sub\\deep"));
  EXPECT_FALSE(fs_.Exists("C:\\work\\sel\\.cache"));
  EXPECT_FALSE(fs_.Exists("C:\\work\\sel\\a"));
}

TEST_F(FolderShredding, LinkedFolderIsNotWalkedAndOnlyTheLinkGoes) {
  AddLinkedFolder();
  EXPECT_EQ(List("C:\\work\\sel"), kTreeFiles);
  EXPECT_TRUE(ShredTree("C:\\work\\sel").empty());
  EXPECT_FALSE(fs_.Exists("C:\\work\\sel"));
  EXPECT_EQ(fs_.At("C:\\work\\outside\\keep").bytes, std::vector<std::uint8_t>(7, 0xEE));
  EXPECT_EQ(std::count(fs_.steps.begin(), fs_.steps.end(), "rename C:\\work\\sel\\0000"), 0)
      << "a link keeps its name";
}

TEST_F(FolderShredding, LinkedFolderStaysWhereRemovingLinksIsUnsafe) {
  AddLinkedFolder();
  fs_.linksRemovable = false;
  const std::vector<ShredOutcome> failures = ShredTree("C:\\work\\sel");
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].path, "C:\\work\\sel\\link");
  EXPECT_EQ(failures[0].step, ShredStep::kLinkKept);
  EXPECT_EQ(FailureOf(failures[0]), ShredFailure::kNotRemoved);
  EXPECT_EQ(failures[1].path, "C:\\work\\sel");
  EXPECT_TRUE(fs_.Exists("C:\\work\\sel\\link"));
  EXPECT_TRUE(fs_.Exists("C:\\work\\outside\\keep"));
}

TEST_F(FolderShredding, SelectedLinkIsRemovedWithoutWalkingIt) {
  fs_.AddLink("C:\\work\\jump", "C:\\work\\sel");
  EXPECT_TRUE(ShredTree("C:\\work\\jump\\").empty());
  EXPECT_FALSE(fs_.Exists("C:\\work\\jump"));
  EXPECT_TRUE(fs_.opened.empty());
  for (const auto& file : kTreeFiles) EXPECT_TRUE(fs_.Exists(file)) << file;
}

// A selected path goes as what one look at it finds: a folder link, a file,
// nothing at all, a folder tree.
TEST_F(FolderShredding, SelectedPathGoesAsWhatItIs) {
  AddLinkedFolder();
  const auto shred = [this](const std::string& path) {
    return ShredPathWith(fs_, generator_, path, Recorder());
  };
  EXPECT_TRUE(shred("C:\\work\\sel\\link").empty());
  EXPECT_TRUE(fs_.Exists("C:\\work\\outside\\keep"));
  EXPECT_TRUE(shred("C:\\work\\sel\\a").empty());
  const std::vector<ShredOutcome> missing = shred("C:\\work\\none");
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].step, ShredStep::kNotFound);
  EXPECT_EQ(progress_,
            (std::vector<std::string>{"正在粉碎：a，请稍等...", "正在粉碎：none，请稍等..."}));
  progress_.clear();
  EXPECT_TRUE(shred("C:\\work\\sel").empty());
  EXPECT_FALSE(fs_.Exists("C:\\work\\sel"));
  ASSERT_EQ(progress_.size(), kTreeFiles.size() - 1);
  EXPECT_EQ(progress_[0], "正在粉碎文件：b，请稍等...");
}

TEST_F(FolderShredding, RemovalLeavesFilesAndReportsTheFolders) {
  std::vector<ShredOutcome> notRemoved;
  RemoveFolderTree(fs_, "C:\\work\\sel\\sub", notRemoved);
  ASSERT_EQ(notRemoved.size(), 2u);
  EXPECT_EQ(notRemoved[0].path, "C:\\work\\sel\\sub\\deep");
  EXPECT_EQ(notRemoved[1].path, "C:\\work\\sel\\sub");
  EXPECT_TRUE(fs_.Exists("C:\\work\\sel\\sub\\deep\\c"));
}

}  // namespace
}  // namespace tovo
