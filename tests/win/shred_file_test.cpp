// ShredFileWith on real files. The overwrite is observed through the seam
// that skips the delete.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/wide_win.h"
#include "shred/conceal_metadata.h"
#include "shred/file_shredder.h"
#include "shred/windows_file_system_win.h"
#include "support/shred_held_file_win.h"
#include "support/shred_scratch.h"

namespace tovo {
namespace {

using testing::HeldFile;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

std::vector<std::uint8_t> Pattern(const OverwriteBlock& block, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = block[i % block.size()];
  return bytes;
}

// The block the process generator gives next, without advancing it.
OverwriteBlock NextProcessBlock() {
  RandomGenerator copy = ProcessRandomGenerator();
  OverwriteBlock block;
  copy.FillRandomBlock(block);
  return block;
}

std::uint32_t SeedAfterOneBlock() {
  RandomGenerator copy = ProcessRandomGenerator();
  OverwriteBlock block;
  copy.FillRandomBlock(block);
  return copy.RandomSeed();
}

ShredOutcome ShredFile(const std::string& path) {
  return ShredFileWith(SystemFileSystem(), ProcessRandomGenerator(), path);
}

ShredOutcome OverwriteOnly(const std::string& path) {
  return ShredFileWith(SystemFileSystem(), ProcessRandomGenerator(), path,
                       ShredOptions{kDefaultWriteRequest, false});
}

class WinShredFileSizes : public ::testing::TestWithParam<std::size_t> {
 protected:
  ScratchFolder scratch_;
};

TEST_P(WinShredFileSizes, FileHoldsTheBlockPatternThenIsDeleted) {
  const std::size_t size = GetParam();
  const std::string path = scratch_ / "f.bin";
  WriteBytes(path, std::vector<std::uint8_t>(size, 0xEE));
  const OverwriteBlock block = NextProcessBlock();
  ASSERT_TRUE(OverwriteOnly(path).destroyed());
  EXPECT_EQ(ReadBytes(path), Pattern(block, size));  // same length, block repeated

  const std::uint32_t expectedSeed = SeedAfterOneBlock();
  const ShredOutcome outcome = ShredFile(path);
  EXPECT_TRUE(outcome.destroyed()) << StepName(outcome.step) << " " << outcome.code;
  EXPECT_FALSE(testing::PathExists(path));
  EXPECT_EQ(ProcessRandomGenerator().RandomSeed(), expectedSeed);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, WinShredFileSizes,
                         ::testing::Values(0, 1, 4096, 4097, 10000, (5 << 20) + 7));

class WinShredFile : public ::testing::Test {
 protected:
  ScratchFolder scratch_;
};

TEST_F(WinShredFile, ReadOnlyHiddenFileIsStrippedOverwrittenAndDeleted) {
  const std::string path = scratch_ / "ro.txt";
  WriteBytes(path, std::vector<std::uint8_t>(100, 0xEE));
  const std::wstring wide = Wide(path);
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  const OverwriteBlock block = NextProcessBlock();
  ASSERT_TRUE(OverwriteOnly(path).destroyed());
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
  EXPECT_EQ(ReadBytes(path), Pattern(block, 100));
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(ShredFile(path).destroyed());
  EXPECT_FALSE(testing::PathExists(path));
}

TEST_F(WinShredFile, FileHeldByAnotherProgramStaysWhole) {
  const std::string path = scratch_ / "held.txt";
  const std::vector<std::uint8_t> original(5000, 0xEE);
  WriteBytes(path, original);
  HeldFile holder(path);
  ASSERT_TRUE(holder.held());
  const std::uint32_t seed = ProcessRandomGenerator().RandomSeed();
  const ShredOutcome outcome = ShredFile(path);
  EXPECT_EQ(outcome.step, ShredStep::kOpen);
  EXPECT_EQ(outcome.code, static_cast<SystemCode>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(FailureOf(outcome), ShredFailure::kInUse);
  EXPECT_EQ(outcome.path, path);
  EXPECT_EQ(ProcessRandomGenerator().RandomSeed(), seed);
  EXPECT_EQ(holder.Release(), 0u);
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(WinShredFile, MissingPathIsNotFound) {
  const ShredOutcome outcome = ShredFile(scratch_ / "nothing.txt");
  EXPECT_EQ(outcome.step, ShredStep::kNotFound);
  EXPECT_EQ(outcome.code, static_cast<SystemCode>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FailureOf(outcome), ShredFailure::kNotFound);
}

TEST_F(WinShredFile, ChineseAndEmojiNamesAndLongPaths) {
  std::string folder = scratch_ / "文件夹😀";
  testing::MakeFolder(folder);
  while (folder.size() < 300) {
    folder += "\\" + std::string(60, 'd');
    testing::MakeFolder(folder);
  }
  for (const std::string& path : {scratch_ / "粉碎😀.txt", folder + "\\深.txt"}) {
    WriteBytes(path, std::vector<std::uint8_t>(10, 0xEE));
    const OverwriteBlock block = NextProcessBlock();
    ASSERT_TRUE(OverwriteOnly(path).destroyed()) << path;
    EXPECT_EQ(ReadBytes(path), Pattern(block, 10));
    EXPECT_TRUE(ShredFile(path).destroyed()) << path;
    EXPECT_FALSE(testing::PathExists(path)) << path;
  }
}

// A plain path would drop the final dot or blank and address the neighbour
// without it, or open a device instead of a file called CON.
TEST_F(WinShredFile, NamesEndingInDotOrBlankAndDeviceNamesHitOnlyThemselves) {
  const std::vector<std::uint8_t> keep(50, 0x11);
  WriteBytes(scratch_ / "report", keep);
  for (const std::string name : {"report.", "report ", "CON", "nul.txt"}) {
    const std::string path = scratch_ / name;
    WriteBytes(path, std::vector<std::uint8_t>(10, 0xEE));
    EXPECT_TRUE(ShredFile(path).destroyed()) << name;
    EXPECT_FALSE(testing::PathExists(path)) << name;
  }
  EXPECT_EQ(ReadBytes(scratch_ / "report"), keep);
}

// The steps after the flush, one by one on a real file: a taken name is
// told apart from a refusal, and the file keeps its place in its folder,
// here one that only the literal path form reaches (final dot, long path).
TEST_F(WinShredFile, HandleCutsDatesRenamesAndDeletesTheFile) {
  const std::string folder = scratch_ / "终." + "\\" + std::string(250, 'd');
  testing::MakeFolder(scratch_ / "终.");
  testing::MakeFolder(folder);
  const auto sibling = [&](const char* name) { return folder + "\\" + name; };
  const std::string path = sibling("secret.txt");
  WriteBytes(path, std::vector<std::uint8_t>(5000, 0xEE));
  WriteBytes(sibling("0000000000"), {1, 2, 3});
  std::unique_ptr<OpenFile> file;
  ASSERT_EQ(SystemFileSystem().OpenExclusive(path, file), 0u);
  EXPECT_EQ(file->Truncate(), 0u);
  EXPECT_EQ(file->SetTimes(kNeutralFileTime), 0u);
  const SystemCode taken = file->Rename(sibling("0000000000"));
  EXPECT_TRUE(taken == syscode::kAlreadyExists || taken == syscode::kFileExists) << taken;
  EXPECT_EQ(file->Rename(sibling("1111111111")), 0u);
  EXPECT_EQ(file->Close(), 0u);

  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(Wide(ExtendedLengthPath(sibling("1111111111"))).c_str(),
                                   GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 0u);
  const ULARGE_INTEGER written{
      {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
  EXPECT_EQ(written.QuadPart, kNeutralFileTime);
  EXPECT_FALSE(testing::PathExists(path));
  EXPECT_EQ(ReadBytes(sibling("0000000000")), (std::vector<std::uint8_t>{1, 2, 3}));

  ASSERT_EQ(SystemFileSystem().OpenExclusive(sibling("1111111111"), file), 0u);
  EXPECT_EQ(file->MarkForDelete(), 0u);
  EXPECT_EQ(file->Close(), 0u);
  EXPECT_FALSE(testing::PathExists(sibling("1111111111")));
}

}  // namespace
}  // namespace tovo
