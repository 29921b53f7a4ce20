#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shred/conceal_metadata.h"
#include "shred/file_shredder.h"
#include "shred/random_generator.h"
#include "support/shred_fake_file_system.h"

namespace tovo {
namespace {

using testing::FakeFileSystem;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  return std::vector<std::uint8_t>(values.begin(), values.end());
}

// The n-th block the generator gives from its start (n = 0 is the first).
OverwriteBlock NthBlock(int n) {
  RandomGenerator generator;
  OverwriteBlock block;
  for (int i = 0; i <= n; ++i) generator.FillRandomBlock(block);
  return block;
}

std::vector<std::uint8_t> Pattern(const OverwriteBlock& block, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = block[i % block.size()];
  return bytes;
}

std::uint32_t SeedAfterBlocks(int blocks) {
  RandomGenerator generator;
  OverwriteBlock block;
  for (int i = 0; i < blocks; ++i) generator.FillRandomBlock(block);
  return generator.RandomSeed();
}

TEST(RandomGenerator, BlocksFromStartAreFixedAndStateCarriesOver) {
  RandomGenerator generator;
  OverwriteBlock block;
  generator.FillRandomBlock(block);
  EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 16),
            Bytes({0x00, 0x08, 0xDC, 0x33, 0x45, 0xAB, 0x51, 0x29, 0x5F, 0x6C, 0x14, 0x79, 0x12,
                   0xD7, 0x0F, 0x4B}));
  generator.FillRandomBlock(block);
  EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 8),
            Bytes({0x5F, 0xC2, 0xDA, 0xE9, 0x96, 0x0F, 0x63, 0x16}));
  // 8192 draws of x' = 134775813x + 1 from 0.
  std::uint32_t state = 0;
  for (int i = 0; i < 8192; ++i) state = state * 134775813u + 1u;
  EXPECT_EQ(generator.RandomSeed(), state);
}

class ShredFile : public ::testing::Test {
 protected:
  ShredOutcome Shred(const std::string& path, ShredOptions options = {}) {
    return ShredFileWith(fs_, generator_, path, options);
  }
  static ShredOptions KeepFile(std::size_t request = kDefaultWriteRequest) {
    return ShredOptions{request, false};
  }

  FakeFileSystem fs_;
  RandomGenerator generator_;
};

struct SizeCase {
  std::size_t size;
  std::size_t request;
};

class ShredFileSizes : public ShredFile, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ShredFileSizes, WholeLengthGetsRepeatedBlockInBoundedRequests) {
  const auto [size, request] = GetParam();
  fs_.AddFile("C:\\work\\f", size);
  const ShredOutcome outcome = Shred("C:\\work\\f", KeepFile(request));
  ASSERT_TRUE(outcome.destroyed()) << StepName(outcome.step);
  EXPECT_EQ(fs_.At("C:\\work\\f").bytes, Pattern(NthBlock(0), size));  // length unchanged
  EXPECT_EQ(generator_.RandomSeed(), SeedAfterBlocks(1));
  std::size_t total = 0;
  for (std::size_t n : fs_.writeRequests) {
    EXPECT_LE(n, request);
    total += n;
  }
  EXPECT_EQ(total, size);
  EXPECT_EQ(fs_.writeRequests.size(), (size + request - 1) / request);
  EXPECT_EQ(fs_.flushes, 1);
  EXPECT_EQ(fs_.openFiles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ShredFileSizes,
    ::testing::Values(SizeCase{0, 4096}, SizeCase{1, 4096}, SizeCase{4096, 4096},
                      SizeCase{4097, 4096}, SizeCase{10000, 4096}, SizeCase{0, 1 << 20},
                      SizeCase{10000, 1 << 20}, SizeCase{(3 << 20) + 123, 4096},
                      SizeCase{(3 << 20) + 123, 1 << 20}, SizeCase{5000, 10000}),
    [](const auto& info) {
      return std::to_string(info.param.size) + "_by_" + std::to_string(info.param.request);
    });

TEST_F(ShredFile, OverwrittenFileIsDeletedAndNextFileGetsNextBlock) {
  fs_.AddFile("C:\\work\\a", 10);
  fs_.AddFile("C:\\work\\b", 4097);
  EXPECT_TRUE(Shred("C:\\work\\a").destroyed());
  EXPECT_FALSE(fs_.Exists("C:\\work\\a"));
  ASSERT_TRUE(Shred("C:\\work\\b", KeepFile()).destroyed());
  EXPECT_EQ(fs_.At("C:\\work\\b").bytes, Pattern(NthBlock(1), 4097));
}

TEST_F(ShredFile, ReadOnlyHiddenFileIsStrippedToNormalThenOverwritten) {
  fs_.AddFile("C:\\work\\r", 5, 0xEE, attr::kReadOnly | attr::kHidden | attr::kSystem);
  ASSERT_TRUE(Shred("C:\\work\\r", KeepFile()).destroyed());
  EXPECT_EQ(fs_.At("C:\\work\\r").attributes, attr::kNormal);
  EXPECT_EQ(fs_.At("C:\\work\\r").bytes, Pattern(NthBlock(0), 5));
  EXPECT_TRUE(Shred("C:\\work\\r").destroyed());
  EXPECT_FALSE(fs_.Exists("C:\\work\\r"));
}

TEST_F(ShredFile, WritableFileKeepsItsAttributes) {
  fs_.AddFile("C:\\work\\h", 5, 0xEE, attr::kHidden | attr::kArchive);
  ASSERT_TRUE(Shred("C:\\work\\h", KeepFile()).destroyed());
  EXPECT_EQ(fs_.At("C:\\work\\h").attributes, attr::kHidden | attr::kArchive);
}

TEST_F(ShredFile, FileInUseIsLeftUntouchedAndTakesNoDraws) {
  fs_.AddFile("C:\\work\\busy", 100);
  fs_.openFailures["C:\\work\\busy"] = syscode::kSharingViolation;
  const ShredOutcome outcome = Shred("C:\\work\\busy");
  EXPECT_EQ(outcome.step, ShredStep::kOpen);
  EXPECT_EQ(outcome.code, syscode::kSharingViolation);
  EXPECT_EQ(outcome.path, "C:\\work\\busy");
  EXPECT_EQ(FailureOf(outcome), ShredFailure::kInUse);
  EXPECT_EQ(fs_.At("C:\\work\\busy").bytes, std::vector<std::uint8_t>(100, 0xEE));
  EXPECT_EQ(generator_.RandomSeed(), 0u);
}

TEST_F(ShredFile, ReadOnlyFileThatStaysGetsItsAttributesBack) {
  const std::uint32_t attributes = attr::kReadOnly | attr::kHidden | attr::kSystem;
  fs_.AddFile("C:\\work\\busy", 10, 0xEE, attributes);
  fs_.openFailures["C:\\work\\busy"] = syscode::kSharingViolation;
  EXPECT_EQ(Shred("C:\\work\\busy").step, ShredStep::kOpen);
  EXPECT_EQ(fs_.At("C:\\work\\busy").attributes, attributes);

  fs_.AddFile("C:\\work\\kept", 10, 0xEE, attributes);
  fs_.deleteFailures["C:\\work\\kept"] = syscode::kAccessDenied;
  EXPECT_EQ(Shred("C:\\work\\kept").step, ShredStep::kDelete);
  EXPECT_EQ(fs_.At("C:\\work\\0000").attributes, attributes);  // under the name it now has
}

struct FailureCase {
  const char* name;
  std::optional<std::size_t> shortWriteAfter;
  SystemCode writeCode;
  SystemCode flushCode;
  ShredStep step;
  SystemCode code;
};

class ShredFileFailures : public ShredFile, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ShredFileFailures, FileIsClosedAndKept) {
  const FailureCase& c = GetParam();
  fs_.AddFile("C:\\work\\f", 3 * 4096);
  fs_.shortWriteAfter = c.shortWriteAfter;
  fs_.writeFailure = c.writeCode;
  fs_.flushFailure = c.flushCode;
  const ShredOutcome outcome = Shred("C:\\work\\f", ShredOptions{4096, true});
  EXPECT_EQ(outcome.step, c.step);
  EXPECT_EQ(outcome.code, c.code);
  EXPECT_EQ(FailureOf(outcome), ShredFailure::kWriteFailed);
  EXPECT_TRUE(fs_.Exists("C:\\work\\f"));
  EXPECT_EQ(fs_.openFiles, 0);
  if (c.step == ShredStep::kWrite) {
    EXPECT_EQ(fs_.writeRequests.size(), 2u) << "the overwrite stops at the failed write";
    EXPECT_EQ(fs_.flushes, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ShredFileFailures,
    ::testing::Values(FailureCase{"DiskFull", 4096, syscode::kDiskFull, 0, ShredStep::kWrite,
                                  syscode::kDiskFull},
                      FailureCase{"ShortWithoutCode", 5000, 0, 0, ShredStep::kWrite, 0},
                      FailureCase{"Flush", std::nullopt, 0, 1117, ShredStep::kFlush, 1117}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShredFile, LinkIsDeletedWithoutOpeningAndTargetStays) {
  fs_.AddFile("C:\\work\\target", 50);
  fs_.AddLink("C:\\work\\link", "C:\\work\\target");
  EXPECT_TRUE(Shred("C:\\work\\link").destroyed());
  EXPECT_FALSE(fs_.Exists("C:\\work\\link"));
  EXPECT_EQ(fs_.At("C:\\work\\target").bytes, std::vector<std::uint8_t>(50, 0xEE));
  EXPECT_TRUE(fs_.opened.empty());
  EXPECT_TRUE(fs_.steps.empty()) << "a link keeps its name";
  EXPECT_EQ(generator_.RandomSeed(), 0u);
}

TEST_F(ShredFile, PathWithoutAttributesIsNotFoundAndNothingIsDone) {
  const ShredOutcome missing = Shred("C:\\work\\gone");
  EXPECT_EQ(missing.step, ShredStep::kNotFound);
  EXPECT_EQ(missing.code, syscode::kFileNotFound);
  EXPECT_EQ(FailureOf(missing), ShredFailure::kNotFound);

  fs_.AddFile("C:\\work\\f", 1);
  fs_.attributeFailures["C:\\work\\f"] = syscode::kAccessDenied;
  EXPECT_EQ(Shred("C:\\work\\f").step, ShredStep::kNotFound);
  EXPECT_TRUE(fs_.opened.empty());
  EXPECT_TRUE(fs_.Exists("C:\\work\\f"));
}

TEST_F(ShredFile, FileNotDeletedIsReportedWithTheNameItNowHas) {
  fs_.AddFile("C:\\work\\f", 3);
  fs_.deleteFailures["C:\\work\\f"] = syscode::kSharingViolation;
  const ShredOutcome outcome = Shred("C:\\work\\f");
  EXPECT_EQ(outcome.step, ShredStep::kDelete);
  EXPECT_EQ(FailureOf(outcome), ShredFailure::kInUse);
  EXPECT_EQ(outcome.path, "C:\\work\\f");
  EXPECT_EQ(outcome.currentName, "0");
  EXPECT_TRUE(fs_.At("C:\\work\\0").bytes.empty());
  EXPECT_EQ(fs_.At("C:\\work\\0").times, kNeutralFileTime);
  EXPECT_EQ(fs_.openFiles, 0);
}

TEST_F(ShredFile, AfterTheFlushSizeTimesAndNameGoThroughTheHandleThenItIsDeleted) {
  fs_.AddFile("C:\\work\\机密合同.docx", 300);
  ASSERT_TRUE(Shred("C:\\work\\机密合同.docx").destroyed());
  EXPECT_EQ(fs_.steps, (std::vector<std::string>{"truncate", "times", "rename C:\\work\\000000000",
                                                 "mark", "close"}));
  EXPECT_EQ(fs_.Paths(), (std::vector<std::string>{"C:\\", "C:\\work"}));
  EXPECT_EQ(generator_.RandomSeed(), SeedAfterBlocks(1)) << "no draws beyond the block";
}

TEST(NeutralName, SameLengthInUtf16Units) {
  EXPECT_EQ(NeutralName("a.txt", 0), "00000");
  EXPECT_EQ(NeutralName("机密合同.docx", 2), "222222222");
  EXPECT_EQ(NeutralName("\xF0\x9F\x98\x80x", 0), "000");  // a pair of surrogates counts two
  EXPECT_EQ(NeutralName("x.", 9), "99");
}

TEST_F(ShredFile, TakenNeutralNamesAreSkippedAndAllTakenKeepsTheName) {
  fs_.AddFile("C:\\work\\00", 1);
  fs_.AddFile("C:\\work\\11", 1);
  fs_.AddFile("C:\\work\\ab", 1);
  ASSERT_TRUE(Shred("C:\\work\\ab").destroyed());
  EXPECT_EQ(fs_.steps[4], "rename C:\\work\\22");  // after 00 and 11
  EXPECT_FALSE(fs_.Exists("C:\\work\\22"));

  for (char c = '2'; c <= '9'; ++c) fs_.AddFile(std::string("C:\\work\\") + c + c, 1);
  fs_.AddFile("C:\\work\\cd", 1);
  fs_.deleteFailures["C:\\work\\cd"] = syscode::kAccessDenied;
  const ShredOutcome kept = Shred("C:\\work\\cd");
  EXPECT_EQ(kept.currentName, "");
  EXPECT_TRUE(fs_.Exists("C:\\work\\cd"));
}

// A worker of the pipeline starts at its own neutral name and wraps round.
TEST_F(ShredFile, NeutralNamesAreTriedFromTheFirstGivenAndWrapRound) {
  fs_.AddFile("C:\\work\\99", 1);
  fs_.AddFile("C:\\work\\ab", 1);
  std::unique_ptr<OpenFile> file;
  ASSERT_EQ(fs_.OpenExclusive("C:\\work\\ab", file), 0);
  EXPECT_TRUE(ConcealAndDelete(fs_, *file, "C:\\work\\ab", 9).destroyed());
  EXPECT_EQ(fs_.steps, (std::vector<std::string>{"truncate", "times", "rename C:\\work\\99",
                                                 "rename C:\\work\\00", "mark", "close"}));
}

TEST_F(ShredFile, AlreadyNeutralNameIsNotRenamed) {
  fs_.AddFile("C:\\work\\000", 1);
  ASSERT_TRUE(Shred("C:\\work\\000").destroyed());
  EXPECT_EQ(fs_.steps, (std::vector<std::string>{"truncate", "times", "mark", "close"}));
}

TEST_F(ShredFile, RefusedConcealingStepsDoNotStopTheDelete) {
  fs_.AddFile("C:\\work\\f", 10);
  fs_.truncateFailure = syscode::kAccessDenied;
  fs_.timesFailure = syscode::kAccessDenied;
  fs_.renameFailures["C:\\work\\0"] = syscode::kAccessDenied;
  EXPECT_TRUE(Shred("C:\\work\\f").destroyed());
  EXPECT_FALSE(fs_.Exists("C:\\work\\f"));

  // A file system without delete-on-close: deleted by the name it now has.
  fs_.AddFile("C:\\work\\g", 10);
  fs_.markFailure = 1;  // ERROR_INVALID_FUNCTION
  EXPECT_TRUE(Shred("C:\\work\\g").destroyed());
  EXPECT_EQ(fs_.Paths(), (std::vector<std::string>{"C:\\", "C:\\work"}));
}

TEST_F(ShredFile, WithoutConcealingTheFileIsDeletedByItsName) {
  fs_.AddFile("C:\\work\\f", 10);
  ASSERT_TRUE(Shred("C:\\work\\f", ShredOptions{4096, true, false}).destroyed());
  EXPECT_TRUE(fs_.steps.empty());
  EXPECT_FALSE(fs_.Exists("C:\\work\\f"));
}

TEST(ShredFailureReason, CodesAndStepsMapToReasons) {
  const struct {
    ShredStep step;
    SystemCode code;
    ShredFailure expected;
  } cases[] = {
      {ShredStep::kDone, 0, ShredFailure::kNone},
      {ShredStep::kOpen, syscode::kLockViolation, ShredFailure::kInUse},
      {ShredStep::kOpen, syscode::kAccessDenied, ShredFailure::kAccessDenied},
      {ShredStep::kOpen, syscode::kPathNotFound, ShredFailure::kNotFound},
      {ShredStep::kNotFound, 123, ShredFailure::kNotFound},
      {ShredStep::kFlush, 1117, ShredFailure::kWriteFailed},
      {ShredStep::kDelete, syscode::kAccessDenied, ShredFailure::kAccessDenied},
      {ShredStep::kRemoveFolder, syscode::kDirNotEmpty, ShredFailure::kNotRemoved},
      {ShredStep::kLinkKept, 0, ShredFailure::kNotRemoved},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureOf(ShredOutcome{"p", c.step, c.code}), c.expected)
        << StepName(c.step) << " " << c.code;
  }
}

}  // namespace
}  // namespace tovo
