// Folder shredding on real folders in a scratch folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/shred_command.h"
#include "platform/errors.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"
#include "shred/folder_shredder.h"
#include "shred/windows_file_system_win.h"
#include "support/shred_held_file_win.h"
#include "support/shred_scratch.h"

namespace tovo {
namespace {

using testing::HeldFile;
using testing::MakeFolder;
using testing::PathExists;
using testing::ScratchFolder;
using testing::WriteBytes;

// Each case runs on the sequential engine (0 workers) and overlapped (4).
class WinShredFolder : public ::testing::TestWithParam<unsigned> {
 protected:
  // sel: a.txt, B\ (b1.txt, deep\ (x.bin)), .cache\ (c.txt), c.txt, 中文\ (😀.txt)
  void SetUp() override {
    sel_ = scratch_ / "sel";
    MakeFolder(sel_);
    MakeFolder(sel_ + "\\B");
    MakeFolder(sel_ + "\\B\\deep");
    MakeFolder(sel_ + "\\.cache");
    MakeFolder(sel_ + "\\中文");
    for (const char* file :
         {"a.txt", "B\\b1.txt", "B\\deep\\x.bin", ".cache\\c.txt", "c.txt", "中文\\😀.txt"}) {
      WriteBytes(sel_ + "\\" + file, std::vector<std::uint8_t>(100, 0xEE));
    }
  }

  std::vector<ShredOutcome> Shred(const std::string& path) {
    PipelineOptions pipeline;
    pipeline.workers = GetParam();
    return ShredPathWith(
        SystemFileSystem(), ProcessRandomGenerator(), path,
        [this](const std::string& file, ShredSource source) {
          progress_.push_back(ProgressText(file, source));
        },
        {}, pipeline);
  }

  static std::vector<std::string> List(const std::string& folder) {
    std::vector<std::string> files;
    ListFilesRecursive(SystemFileSystem(), folder, files);
    return files;
  }

  ScratchFolder scratch_;
  std::string sel_;
  std::vector<std::string> progress_;
};

TEST_P(WinShredFolder, ListsDepthFirstInSearchOrderAndRemovesEverything) {
  const std::string before = testing::CurrentFolder();
  const std::vector<std::string> files = List(sel_);
  // NTFS and Wine both return names in upper-case ordinal order.
  const std::vector<std::string> expected = {sel_ + "\\.cache\\c.txt", sel_ + "\\a.txt",
                                             sel_ + "\\B\\b1.txt",     sel_ + "\\B\\deep\\x.bin",
                                             sel_ + "\\c.txt",         sel_ + "\\中文\\😀.txt"};
  EXPECT_EQ(files, expected);
  EXPECT_EQ(testing::CurrentFolder(), before);

  EXPECT_TRUE(Shred(sel_ + "\\").empty());
  EXPECT_FALSE(PathExists(sel_));
  ASSERT_EQ(progress_.size(), expected.size());
  EXPECT_EQ(progress_.back(), "正在粉碎文件：😀.txt，请稍等...");
  EXPECT_EQ(testing::CurrentFolder(), before);
}

TEST_P(WinShredFolder, FileInUseStaysWithItsFolders) {
  HeldFile holder(sel_ + "\\B\\b1.txt");
  ASSERT_TRUE(holder.held());
  const std::vector<ShredOutcome> failures = Shred(sel_);
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0].path, sel_ + "\\B\\b1.txt");
  EXPECT_EQ(FailureOf(failures[0]), ShredFailure::kInUse);
  EXPECT_EQ(failures[1].path, sel_ + "\\B");
  EXPECT_EQ(failures[2].path, sel_);
  EXPECT_FALSE(PathExists(sel_ + "\\a.txt"));
  EXPECT_FALSE(PathExists(sel_ + "\\B\\deep"));
  EXPECT_TRUE(PathExists(sel_ + "\\B\\b1.txt"));
}

TEST_P(WinShredFolder, TreeDeeperThanTheClassicLimitGoes) {
  std::string folder = sel_;
  while (folder.size() < 400) {
    folder += "\\" + std::string(50, 'n');
    MakeFolder(folder);
  }
  WriteBytes(folder + "\\bottom.txt", std::vector<std::uint8_t>(10, 0xEE));
  EXPECT_TRUE(Shred(sel_).empty());
  EXPECT_FALSE(PathExists(sel_));
}

TEST_P(WinShredFolder, LinkedFolderIsNotWalkedAndItsTargetStays) {
  if (!RunningUnderWine()) GTEST_SKIP() << "needs a Unix symbolic link, made under Wine";
  const std::string target = scratch_ / "target";
  MakeFolder(target);
  WriteBytes(target + "\\keep.txt", std::vector<std::uint8_t>(100, 0xEE));
  ASSERT_TRUE(testing::RunUnix(
      {"/bin/ln", "-s", testing::UnixPathOf(target), testing::UnixPathOf(sel_) + "/link"}));
  ASSERT_NE(GetFileAttributesW(Wide(sel_ + "\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);

  EXPECT_EQ(List(sel_).size(), 6u);
  // Wine would remove the link's (emptied) target instead of the link: it stays.
  const std::vector<ShredOutcome> failures = Shred(sel_);
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].path, sel_ + "\\link");
  EXPECT_EQ(failures[0].step, ShredStep::kLinkKept);
  EXPECT_EQ(failures[1].path, sel_);
  EXPECT_EQ(testing::ReadBytes(target + "\\keep.txt"), std::vector<std::uint8_t>(100, 0xEE));

  // A selected link is not walked either.
  EXPECT_EQ(Shred(sel_ + "\\link").size(), 1u);
  EXPECT_TRUE(PathExists(target + "\\keep.txt"));
}

TEST_P(WinShredFolder, UnenterableFolderStopsBeforeAnythingIsShredded) {
  // As root a Unix mode of 000 blocks nothing; a name with "*", made outside
  // Windows, is listed but no Windows path can enter it (error 123).
  if (!RunningUnderWine()) GTEST_SKIP() << "needs a folder made outside Windows";
  ASSERT_TRUE(testing::RunUnix({"/bin/mkdir", testing::UnixPathOf(sel_ + "\\B") + "/stuck*"}));
  const std::string before = testing::CurrentFolder();
  try {
    Shred(sel_);
    FAIL() << "no error raised";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), static_cast<unsigned long>(ERROR_INVALID_NAME));
  }
  EXPECT_TRUE(progress_.empty());
  EXPECT_EQ(testing::ReadBytes(sel_ + "\\a.txt"), std::vector<std::uint8_t>(100, 0xEE));
  EXPECT_EQ(testing::CurrentFolder(), before);
}

TEST_P(WinShredFolder, FoldersEndingInDotOrNamedLikeDevicesAreWalkedAndRemoved) {
  MakeFolder(sel_ + "\\dots.");
  MakeFolder(sel_ + "\\dots.\\CON");
  WriteBytes(sel_ + "\\dots.\\CON\\in.txt", std::vector<std::uint8_t>(10, 0xEE));
  MakeFolder(sel_ + "\\dots");  // the neighbour a plain path would reach instead
  WriteBytes(sel_ + "\\dots\\keep.txt", std::vector<std::uint8_t>(10, 0x11));
  EXPECT_EQ(List(sel_ + "\\dots."), std::vector<std::string>{sel_ + "\\dots.\\CON\\in.txt"});
  EXPECT_TRUE(Shred(sel_ + "\\dots.").empty());
  EXPECT_EQ(progress_, std::vector<std::string>{"正在粉碎文件：in.txt，请稍等..."});
  EXPECT_FALSE(PathExists(sel_ + "\\dots."));
  EXPECT_EQ(testing::ReadBytes(sel_ + "\\dots\\keep.txt"), std::vector<std::uint8_t>(10, 0x11));
}

// Wine lists Unix names as they are: one spelled "..\outside" must not lead
// the walk out of the selection.
TEST_P(WinShredFolder, UnixNameWithBackslashesStopsTheTreeAndTouchesNothingOutside) {
  if (!RunningUnderWine()) GTEST_SKIP() << "needs a name made outside Windows";
  const std::string outside = scratch_ / "outside";
  MakeFolder(outside);
  WriteBytes(outside + "\\keep.txt", std::vector<std::uint8_t>(10, 0x11));
  ASSERT_TRUE(
      testing::RunUnix({"/bin/mkdir", testing::UnixPathOf(sel_ + "\\B") + "/..\\..\\outside"}));
  EXPECT_THROW(Shred(sel_), IoError);
  EXPECT_TRUE(progress_.empty());
  EXPECT_EQ(testing::ReadBytes(outside + "\\keep.txt"), std::vector<std::uint8_t>(10, 0x11));
  EXPECT_EQ(testing::ReadBytes(sel_ + "\\a.txt"), std::vector<std::uint8_t>(100, 0xEE));
}

TEST_P(WinShredFolder, SelectedFileGoesAsAFileAndNothingElseIsTouched) {
  EXPECT_TRUE(Shred(sel_ + "\\a.txt").empty());
  EXPECT_EQ(Shred(sel_ + "\\none").at(0).step, ShredStep::kNotFound);
  EXPECT_EQ(progress_,
            (std::vector<std::string>{"正在粉碎：a.txt，请稍等...", "正在粉碎：none，请稍等..."}));
  EXPECT_FALSE(PathExists(sel_ + "\\a.txt"));
  EXPECT_EQ(List(sel_).size(), 5u);
}

// The neutral names of "sel" are taken by entries nobody selected.
TEST_P(WinShredFolder, NeutralNamesTakenByUnselectedEntriesAreLeftAlone) {
  MakeFolder(scratch_ / "000");
  WriteBytes(scratch_ / "000\\keep", {7});
  WriteBytes(scratch_ / "111", {8});
  EXPECT_TRUE(Shred(sel_).empty());
  EXPECT_FALSE(PathExists(sel_));
  EXPECT_FALSE(PathExists(scratch_ / "222"));
  EXPECT_EQ(testing::ReadBytes(scratch_ / "000\\keep"), std::vector<std::uint8_t>{7});
  EXPECT_EQ(testing::ReadBytes(scratch_ / "111"), std::vector<std::uint8_t>{8});
}

INSTANTIATE_TEST_SUITE_P(Workers, WinShredFolder, ::testing::Values(0u, 4u));

}  // namespace
}  // namespace tovo
