#include "shred/free_space_wipe.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "shred/index_scrub.h"
#include "support/fake_volume.h"

namespace tovo {
namespace {

using testing::FakeVolume;

const std::string kFill = "C:\\TovoShred擦除临时文件-可删除";
const std::string kBig = kFill + "\\00000000";

class FreeSpaceWipe : public ::testing::Test {
 protected:
  // A volume with the user's files: one deleted earlier is only free space.
  void SetUp() override {
    volume_ = std::make_unique<FakeVolume>();
    volume_->AddFile("C:\\work\\keep.txt", 3000, 0x4B);
    volume_->AddFolder("C:\\work\\tree");
    volume_->AddFile("C:\\work\\tree\\a.txt", 200, 0x41);
    before_ = volume_->Paths();
    options_.reserveBytes = 64 << 10;
    options_.requestBytes = 16 << 10;
    options_.filesPerFolder = 20;
    options_.stop = &stop_;
    options_.progress = &progress_;
  }

  WipeResult Wipe() { return WipeFreeSpace(*volume_, "C:\\", options_); }

  // Nothing of the fill stays and nothing else was touched.
  void ExpectOnlyUserFilesLeft() {
    EXPECT_EQ(volume_->Paths(), before_);
    EXPECT_EQ(volume_->At("C:\\work\\keep.txt").bytes, std::vector<std::uint8_t>(3000, 0x4B));
    EXPECT_EQ(volume_->openFiles, 0);
  }

  std::unique_ptr<FakeVolume> volume_;
  std::vector<std::string> before_;
  WipeOptions options_;
  StopSignal stop_;
  RunProgress progress_;
};

TEST_F(FreeSpaceWipe, FillsClustersThenRecordsThenTheRestAndReleasesBigFileFirst) {
  const std::uint64_t freeBefore = volume_->capacity - volume_->Used();
  const WipeResult result = Wipe();

  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(result.freeBefore, freeBefore);
  // Down to less than one sector free, and every byte counted once.
  EXPECT_LT(volume_->leastFree, 512u);
  EXPECT_EQ(result.bytesWritten, freeBefore - volume_->leastFree);
  EXPECT_EQ(progress_.Snapshot().bytesDone, result.bytesWritten);
  EXPECT_EQ(progress_.Snapshot().bytesTotal, freeBefore);
  // Small files until the volume refused one, in sub-folders of 20.
  EXPECT_GT(result.recordFiles, 200u);

  const int bigCreated = volume_->FirstLog("create " + kBig);
  const int firstSmall = volume_->FirstLog("create " + kFill + "\\00000001\\");
  const int lastSmall = volume_->LastLog("create " + kFill + "\\0000");
  const int lastBigWrite = volume_->LastLog("write " + kBig);
  const int bigReleased = volume_->FirstLog("close " + kBig);
  const int firstDelete = volume_->FirstLog("delete " + kFill);
  const int folderGone = volume_->LastLog("rmdir C:\\0000");
  const int rootScrub = volume_->FirstLog("create C:\\0000000000");
  ASSERT_GE(bigCreated, 0);
  EXPECT_EQ(volume_->FirstLog("mkdir " + kFill), 0);
  EXPECT_LT(bigCreated, volume_->FirstLog("write " + kBig));
  EXPECT_LT(volume_->FirstLog("write " + kBig), firstSmall);
  EXPECT_LT(lastSmall, lastBigWrite);
  EXPECT_LT(lastBigWrite, bigReleased);
  EXPECT_LT(bigReleased, firstDelete);
  EXPECT_LT(firstDelete, folderGone);
  EXPECT_LT(folderGone, rootScrub);
  // The small files are named with zeros and never larger than a record holds.
  EXPECT_NE(volume_->FirstLog("create " + kFill + "\\00000001\\" + std::string(119, '0') + "0"),
            -1);
  ExpectOnlyUserFilesLeft();
}

// Each way the volume can refuse, at each step: a failure raised after the
// release, or a phase that ends and the wipe going on.
TEST_F(FreeSpaceWipe, RefusalAtEachStepReleasesEverything) {
  struct Case {
    const char* name;
    const char* op;
    std::string pathPrefix;
    SystemCode code;
    bool raises;
  };
  const Case cases[] = {
      {"volume query", "query", "C:\\", 21, true},
      {"fill folder", "mkdir", kFill, 5, true},
      {"big file", "create", kBig, 5, true},
      {"big file write", "write", kBig, 1117, true},
      {"record sub-folder", "mkdir", kFill + "\\", 5, false},
      {"record file", "create", kFill + "\\00000001\\", 32, false},
      {"record file full", "write", kFill + "\\00000001\\", syscode::kDiskFull, false},
      {"small file release", "delete", kFill + "\\00000001\\", 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeVolume volume;
    volume.AddFile("C:\\work\\keep.txt", 3000, 0x4B);
    const std::vector<std::string> paths = volume.Paths();
    int refused = 0;
    volume.refuse = [&](const std::string& op, const std::string& path) -> SystemCode {
      if (op != c.op || !path.starts_with(c.pathPrefix)) return 0;
      ++refused;
      return c.code;
    };
    bool raised = false;
    try {
      WipeFreeSpace(volume, "C:\\", options_);
    } catch (const IoError& error) {
      raised = true;
      EXPECT_EQ(error.code(), c.code);
    }
    EXPECT_EQ(raised, c.raises);
    EXPECT_GT(refused, 0);
    volume.refuse = nullptr;
    // Refusals in a row end the record fill instead of looping. A release
    // that fails leaves the fill, and the error names what stayed.
    if (c.op != std::string("delete")) {
      EXPECT_LE(refused, options_.refusalsInARow + 1);
      EXPECT_EQ(volume.Paths(), paths);
    }
    EXPECT_EQ(volume.openFiles, 0);
  }
}

// A stop or an exception in any phase releases the fill at once.
TEST_F(FreeSpaceWipe, StopOrExceptionInEachPhaseReleasesEverything) {
  for (const std::string& prefix : {kBig, kFill + "\\00000002\\"}) {
    for (const bool throws : {false, true}) {
      SCOPED_TRACE(prefix + (throws ? " exception" : " stop"));
      SetUp();
      StopSignal stop;
      options_.stop = &stop;
      volume_->refuse = [&](const std::string& op, const std::string& path) -> SystemCode {
        if (op == "write" && path.starts_with(prefix)) {
          if (throws) throw std::runtime_error("out of memory");
          stop.Request();
        }
        return 0;
      };
      if (throws) {
        EXPECT_THROW(Wipe(), std::runtime_error);
      } else {
        EXPECT_TRUE(Wipe().stopped);
      }
      volume_->refuse = nullptr;
      ExpectOnlyUserFilesLeft();
    }
  }
}

TEST_F(FreeSpaceWipe, RemovesTheFillOfAKilledRunFirst) {
  volume_->AddFolder(kFill);
  volume_->AddFile(kBig, 100000);
  volume_->AddFolder(kFill + "\\00000001");
  volume_->AddFile(kFill + "\\00000001\\0001", 300);
  const WipeResult result = Wipe();
  EXPECT_TRUE(result.leftoverRemoved);
  EXPECT_LT(volume_->FirstLog("delete " + kBig), volume_->FirstLog("mkdir " + kFill));
  ExpectOnlyUserFilesLeft();
}

TEST_F(FreeSpaceWipe, LeavesAFileUnderTheFillFolderNameAlone) {
  volume_->AddFile(kFill, 10, 0x55);
  EXPECT_THROW(Wipe(), IoError);
  EXPECT_THROW(RemoveLeftoverFill(*volume_, "C:\\"), IoError);
  EXPECT_EQ(volume_->At(kFill).bytes, std::vector<std::uint8_t>(10, 0x55));
}

// Another wipe of the volume holds its big file open: neither a start-up
// clean-up nor a second wipe removes its fill under it.
TEST_F(FreeSpaceWipe, LeavesTheFillOfAWipeUnderWayAlone) {
  volume_->AddFolder(kFill);
  volume_->AddFile(kBig, 100000);
  volume_->AddFile(kFill + "\\00000001", 300);
  volume_->openFailures[kBig] = syscode::kSharingViolation;
  const std::vector<std::string> held = volume_->Paths();
  EXPECT_EQ(RemoveLeftoverFill(*volume_, "C:\\"), LeftoverFill::kInUse);
  EXPECT_THROW(Wipe(), IoError);
  EXPECT_EQ(volume_->Paths(), held);
  volume_->openFailures.clear();
  EXPECT_EQ(RemoveLeftoverFill(*volume_, "C:\\"), LeftoverFill::kRemoved);
  EXPECT_EQ(RemoveLeftoverFill(*volume_, "C:\\"), LeftoverFill::kNone);
  ExpectOnlyUserFilesLeft();
}

// Another program freeing space all the time: every phase still ends.
TEST_F(FreeSpaceWipe, EndsWhenTheVolumeNeverFillsUp) {
  volume_->facts.fileTableBytes = 64 << 10;
  volume_->maxEntries = 1u << 30;
  volume_->refuse = [&](const std::string& op, const std::string&) -> SystemCode {
    // Space taken reappears as free: drop the fill's bytes as they land.
    if (op == "create") volume_->capacity += 1 << 20;
    return 0;
  };
  const WipeResult result = Wipe();
  EXPECT_LE(result.recordFiles, (64u << 10) / 1024 + 2 * options_.reserveBytes / 1024);
  EXPECT_LE(result.bytesWritten,
            2 * (result.freeBefore + options_.reserveBytes) + result.recordFiles * 300);
  volume_->refuse = nullptr;
  ExpectOnlyUserFilesLeft();
}

TEST(IndexScrub, MakesAllLongZeroNamesThenDeletesThemWithinBoundsPassingOverTakenOnes) {
  struct Case {
    std::uint64_t removedBytes;
    int entries;
  };
  for (const Case c :
       {Case{0, kScrubEntriesMin}, Case{3 * 582, 5}, Case{~0ull, kScrubEntriesMax}}) {
    FakeVolume volume;
    const std::string taken = "C:\\work\\" + ZeroPaddedName(1, kScrubNameLength);
    volume.AddFile(taken, 5, 0x11);
    const auto paths = volume.Paths();
    ScrubFolderIndex(volume, "C:\\work", c.removedBytes);
    int created = 0;
    for (const std::string& line : volume.log) created += line.starts_with("delete C:\\work\\000");
    EXPECT_EQ(created, c.entries);
    // All in the index at once, so that they cover the whole tail.
    EXPECT_LT(volume.LastLog("create"), volume.FirstLog("delete"));
    EXPECT_EQ(volume.Paths(), paths);
    EXPECT_EQ(volume.At(taken).bytes.size(), 5u);
  }
}

TEST(IndexScrub, FirstRefusalEndsItAndDrivesHaveNoParent) {
  FakeVolume volume;
  volume.refuse = [](const std::string& op, const std::string&) -> SystemCode {
    return op == "create" ? syscode::kAccessDenied : 0;
  };
  ScrubFolderIndex(volume, "C:\\work", 0);
  ScrubSelectionParents(volume, {"C:\\", "D:\\"});
  EXPECT_EQ(volume.log.size(), 1u);
}

}  // namespace
}  // namespace tovo
