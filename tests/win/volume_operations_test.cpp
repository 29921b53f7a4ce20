// The file-system operations of the free-space wipe and the folder-index
// scrub on real files (in a scratch folder; nothing here fills a volume).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/file_system_win.h"
#include "shred/index_scrub.h"
#include "shred/windows_file_system_win.h"
#include "support/shred_scratch.h"

namespace tovo {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(VolumeOperations, NewFilesAndFoldersNeverReplaceWhatExists) {
  ScratchFolder scratch;
  WindowsFileSystem& fs = SystemFileSystem();
  VolumeFacts facts;
  ASSERT_EQ(fs.QueryVolume(scratch.path().substr(0, 3), facts), 0u);
  EXPECT_GT(facts.freeBytes, 0u);
  EXPECT_GT(facts.sectorBytes, 0u);
  EXPECT_EQ(facts.clusterBytes % facts.sectorBytes, 0u);

  ASSERT_EQ(fs.CreatePlainFolder(scratch / "fill"), 0u);
  EXPECT_EQ(fs.CreatePlainFolder(scratch / "fill"), static_cast<SystemCode>(ERROR_ALREADY_EXISTS));
  std::unique_ptr<OpenFile> file;
  ASSERT_EQ(fs.CreateNewFile(scratch / "fill\\big", true, file), 0u);
  // An unbuffered write: a whole sector from a sector-aligned address.
  alignas(4096) static std::uint8_t block[4096];
  std::fill(std::begin(block), std::end(block), 0x5A);
  std::size_t written = 0;
  EXPECT_EQ(file->Write(block, facts.sectorBytes, written), 0u);
  EXPECT_EQ(written, facts.sectorBytes);
  EXPECT_EQ(file->Close(), 0u);
  EXPECT_EQ(ReadBytes(scratch / "fill\\big"), std::vector<std::uint8_t>(facts.sectorBytes, 0x5A));

  WriteBytes(scratch / "keep", {1, 2, 3});
  std::unique_ptr<OpenFile> again;
  EXPECT_EQ(fs.CreateNewFile(scratch / "keep", false, again),
            static_cast<SystemCode>(ERROR_FILE_EXISTS));
  EXPECT_FALSE(again);
  EXPECT_EQ(ReadBytes(scratch / "keep"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(VolumeOperations, IndexScrubLeavesTheFolderAsItWas) {
  ScratchFolder scratch;
  WriteBytes(scratch / "keep", {7});
  const std::string takenName = ZeroPaddedName(1, kKeptFolderFillers[0].nameLength);
  const std::string taken = scratch / takenName;
  WriteBytes(taken, {8});
  EXPECT_TRUE(ScrubSelectionParents(SystemFileSystem(), {scratch / "gone"}).empty());
  std::vector<std::string> names;
  ForEachEntry(scratch / "*", [&](const FolderEntry& entry) {
    names.push_back(entry.name);
    return true;
  });
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", takenName, "keep"}));
  EXPECT_EQ(ReadBytes(taken), std::vector<std::uint8_t>{8});
}

}  // namespace
}  // namespace tovo
