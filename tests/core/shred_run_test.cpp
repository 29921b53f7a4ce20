// A whole run: the counting pass, and a stop at each point of the run,
// checked by what is left on the disk and by the result the report is made of.
#include "shred/shred_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/paths.h"
#include "shred/index_scrub.h"
#include "support/fake_volume.h"
#include "support/shred_fake_file_system.h"

namespace tovo {
namespace {

using testing::FakeFileSystem;

constexpr std::size_t kBig = 3 * 1024 * 1024;  // three write requests

// a (100 bytes), big (3 MiB), the tree sel with x and y, then z.
void Populate(FakeFileSystem& fs) {
  fs.AddFile("C:\\work\\a", 100, 0xA1);
  fs.AddFile("C:\\work\\big", kBig, 0xB1);
  fs.AddFolder("C:\\work\\sel");
  fs.AddFile("C:\\work\\sel\\x", 10, 0xC1);
  fs.AddFolder("C:\\work\\sel\\deep");
  fs.AddFile("C:\\work\\sel\\deep\\y", 20, 0xC2, attr::kReadOnly);
  fs.AddFile("C:\\work\\z", 30, 0xD1);
}

const std::vector<std::string> kSelection = {"C:\\work\\a", "C:\\work\\big", "C:\\work\\sel\\",
                                             "C:\\work\\z"};

bool Untouched(const FakeFileSystem& fs, const std::string& path, std::size_t size,
               std::uint8_t fill) {
  return fs.Exists(path) && fs.At(path).bytes == std::vector<std::uint8_t>(size, fill);
}

TEST(CountSelection, CountsTreesFilesAndMissingPathsWithoutOpeningAnything) {
  FakeFileSystem fs;
  Populate(fs);
  fs.AddLink("C:\\work\\sel\\link", "C:\\work");
  RunProgress progress;
  CountSelection(fs, {"C:\\work\\sel", "C:\\work\\big", "C:\\work\\gone"}, nullptr, progress);
  const ProgressSnapshot counted = progress.Snapshot();
  EXPECT_FALSE(counted.counting);
  EXPECT_EQ(counted.filesTotal, 4u) << "x, y, big, the missing path; the folder link not followed";
  EXPECT_EQ(counted.bytesTotal, 10u + 20u + kBig);
  EXPECT_TRUE(fs.opened.empty());
  EXPECT_EQ(fs.current, "C:\\work");
}

// Where the stop comes, as a hook of the fake file system.
struct StopCase {
  const char* name;
  const char* path;  // the file whose event requests the stop
  enum { kOnFile, kOnSecondWrite, kOnFlush } event;
  std::uint64_t destroyed, untouched;
  std::vector<std::string> gone;  // everything else is byte-identical
  bool partlyOverwritten;         // big is left under its name, reported
};

class StoppedRun : public ::testing::TestWithParam<StopCase> {};

TEST_P(StoppedRun, LeavesWhatItDidNotReachAsItWas) {
  const StopCase& c = GetParam();
  FakeFileSystem fs;
  Populate(fs);
  StopSignal stop;
  int writes = 0;
  const auto at = [&](const std::string& path, auto event) {
    if (path == c.path && c.event == event) stop.Request();
  };
  fs.onWrite = [&](const std::string& path) {
    if (path == c.path && ++writes == 2) at(path, StopCase::kOnSecondWrite);
  };
  fs.onFlush = [&](const std::string& path) { at(path, StopCase::kOnFlush); };
  RunProgress progress;
  ShredOptions options;
  options.stop = &stop;
  options.progress = &progress;
  RandomGenerator generator;
  const ShredRunResult result =
      RunShred(fs, generator, kSelection, options, Sequential(),
               [&](const std::string& file, ShredSource) { at(file, StopCase::kOnFile); });

  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.destroyed, c.destroyed);
  EXPECT_EQ(result.untouched, c.untouched);
  EXPECT_EQ(fs.openFiles, 0);
  const auto gone = [&](const std::string& p) {
    return std::find(c.gone.begin(), c.gone.end(), p) != c.gone.end();
  };
  for (const auto& [path, size, fill] : {std::tuple{"C:\\work\\a", 100, 0xA1},
                                         {"C:\\work\\sel\\x", 10, 0xC1},
                                         {"C:\\work\\sel\\deep\\y", 20, 0xC2},
                                         {"C:\\work\\z", 30, 0xD1}}) {
    if (gone(path))
      EXPECT_FALSE(fs.Exists(path)) << path;
    else
      EXPECT_TRUE(Untouched(fs, path, size, static_cast<std::uint8_t>(fill))) << path;
  }
  if (!gone("C:\\work\\sel\\deep\\y")) {
    EXPECT_EQ(fs.At("C:\\work\\sel\\deep\\y").attributes, attr::kReadOnly);
  }
  EXPECT_TRUE(fs.Exists("C:\\work\\sel\\deep")) << "no folder is removed after a stop";
  if (c.partlyOverwritten) {
    const std::vector<std::uint8_t>& big = fs.At("C:\\work\\big").bytes;
    ASSERT_EQ(big.size(), kBig);
    EXPECT_NE(big.front(), 0xB1);
    EXPECT_EQ(big.back(), 0xB1);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].path, "C:\\work\\big");
    EXPECT_EQ(result.failures[0].step, ShredStep::kStopped);
  } else {
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(fs.Exists("C:\\work\\big"), !gone("C:\\work\\big"));
    if (!gone("C:\\work\\big")) {
      EXPECT_TRUE(Untouched(fs, "C:\\work\\big", kBig, 0xB1));
    }
  }
  // Nothing renamed is left behind unreported.
  for (const std::string& path : fs.Paths()) EXPECT_EQ(path.find("\\00"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Points, StoppedRun,
    ::testing::Values(
        StopCase{"BeforeTheFirstFile", "C:\\work\\a", StopCase::kOnFile, 0, 5, {}, false},
        StopCase{"BetweenFiles", "C:\\work\\big", StopCase::kOnFile, 1, 4, {"C:\\work\\a"}, false},
        StopCase{"InsideALargeFile",
                 "C:\\work\\big",
                 StopCase::kOnSecondWrite,
                 1,
                 3,
                 {"C:\\work\\a"},
                 true},
        StopCase{"DuringTheEnds",
                 "C:\\work\\big",
                 StopCase::kOnFlush,
                 2,
                 3,
                 {"C:\\work\\a", "C:\\work\\big"},
                 false},
        StopCase{"BeforeTheFolderRemoval",
                 "C:\\work\\sel\\deep\\y",
                 StopCase::kOnFlush,
                 4,
                 1,
                 {"C:\\work\\a", "C:\\work\\big", "C:\\work\\sel\\x", "C:\\work\\sel\\deep\\y"},
                 false}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return info.param.name; });

// Files opened and waiting for a worker when the stop comes are closed
// unwritten, with their attributes given back, and counted as untouched.
TEST(StoppedRun, QueuedFilesAreClosedUntouched) {
  FakeFileSystem fs;
  for (int i = 0; i < 6; ++i) fs.AddFile("C:\\work\\f" + std::to_string(i), 50, 0x5A);
  fs.AddFile("C:\\work\\ro", 50, 0x5A, attr::kReadOnly);
  StopSignal stop;
  std::promise<void> queued;
  std::shared_future<void> allQueued = queued.get_future().share();
  fs.onFlush = [&](const std::string&) {
    allQueued.wait();
    stop.Request();
  };
  RunProgress progress;
  ShredOptions options;
  options.stop = &stop;
  options.progress = &progress;
  PipelineOptions pipeline;
  pipeline.workers = 1;
  pipeline.queueLength = 8;
  std::vector<std::string> paths;
  for (const std::string& path : fs.Paths())
    if (path.size() > 8) paths.push_back(path);
  RandomGenerator generator;
  int offered = 0;
  const ShredRunResult result =
      RunShred(fs, generator, paths, options, pipeline, [&](const std::string&, ShredSource) {
        if (++offered == static_cast<int>(paths.size())) queued.set_value();
      });
  EXPECT_EQ(result.destroyed, 1u);
  EXPECT_EQ(result.untouched, 6u);
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(fs.openFiles, 0);
  // The last may see the stop before its open.
  EXPECT_GE(fs.opened.size(), paths.size() - 1) << "the others were waiting in the queue";
  int kept = 0;
  for (const std::string& path : paths) kept += Untouched(fs, path, 50, 0x5A);
  EXPECT_EQ(kept, 6);
  EXPECT_EQ(fs.At("C:\\work\\ro").attributes, attr::kReadOnly);
}

// What happens to the scrub's empty files after a shred, in the folder that
// stays: every one is deleted whatever ends the scrub, and one that cannot be
// deleted is reported.
struct ScrubCase {
  const char* name;
  int failingCreate;  // the create that fails (counted from 1), or 0
  enum { kNone, kStop, kRefuse, kThrow } createFailure;
  int deleteRefusals;  // refusals of the third filler's deletion
  std::size_t created, leftReported;
};

class ScrubAfterRun : public ::testing::TestWithParam<ScrubCase> {};

TEST_P(ScrubAfterRun, LeavesNoFillerUnreported) {
  const ScrubCase& c = GetParam();
  testing::FakeVolume volume;
  volume.AddFile("C:\\work\\keep", 5, 0x11);
  for (const char* name : {"C:\\work\\a", "C:\\work\\b"}) volume.AddFile(name, 30, 0x22);
  StopSignal stop;
  std::vector<std::string> created;
  int thirdDeletes = 0;
  volume.refuse = [&](const std::string& op, const std::string& path) -> SystemCode {
    if (op == "create") {
      created.push_back(path);
      if (static_cast<int>(created.size()) != c.failingCreate) return 0;
      if (c.createFailure == ScrubCase::kStop) stop.Request();
      if (c.createFailure == ScrubCase::kThrow) throw std::runtime_error("injected");
      return c.createFailure == ScrubCase::kRefuse ? syscode::kAccessDenied : 0;
    }
    const bool third = op == "delete" && created.size() > 2 && path == created[2];
    return third && ++thirdDeletes <= c.deleteRefusals ? syscode::kSharingViolation : 0;
  };
  RunProgress progress;
  ShredOptions options;
  options.stop = &stop;
  options.progress = &progress;
  RandomGenerator generator;
  const auto run = [&] {
    return RunShred(volume, generator, {"C:\\work\\a", "C:\\work\\b"}, options, Sequential(),
                    nullptr);
  };
  std::vector<std::string> expected = {"C:\\", "C:\\work", "C:\\work\\keep"};
  if (c.createFailure == ScrubCase::kThrow) {
    EXPECT_THROW(run(), std::runtime_error);
  } else {
    const ShredRunResult result = run();
    ASSERT_EQ(result.failures.size(), c.leftReported);
    if (c.leftReported) {
      EXPECT_EQ(result.failures[0].path, created[2]);
      EXPECT_EQ(result.failures[0].step, ShredStep::kDelete);
      expected.insert(expected.begin() + 2, created[2]);
    }
  }
  EXPECT_EQ(created.size(), c.created);
  EXPECT_EQ(volume.Paths(), expected);
  // All made before the first goes, so that together they cover the index.
  EXPECT_LT(volume.LastLog("create"), volume.FirstLog("delete C:\\work\\0000"));
}

constexpr std::size_t kAllFillers = [] {
  std::size_t count = 0;
  for (const FillerGroup& group : kKeptFolderFillers) count += group.count;
  return count;
}();

INSTANTIATE_TEST_SUITE_P(
    Ends, ScrubAfterRun,
    ::testing::Values(ScrubCase{"Whole", 0, ScrubCase::kNone, 0, kAllFillers, 0},
                      ScrubCase{"StoppedMidway", 10, ScrubCase::kStop, 0, 10, 0},
                      ScrubCase{"RefusedMidway", 10, ScrubCase::kRefuse, 0, 10, 0},
                      ScrubCase{"ThrownMidway", 10, ScrubCase::kThrow, 0, 10, 0},
                      ScrubCase{"DeleteRefusedOnce", 0, ScrubCase::kNone, 1, kAllFillers, 0},
                      ScrubCase{"DeleteRefusedAlways", 0, ScrubCase::kNone, 9, kAllFillers, 1}),
    [](const ::testing::TestParamInfo<ScrubCase>& info) { return info.param.name; });

TEST(ScrubAfterRun, MakesTheMeasuredMixOncePerFolder) {
  testing::FakeVolume volume;
  volume.AddFolder("C:\\work\\sub");
  for (const char* name : {"C:\\work\\a", "C:\\work\\b", "C:\\work\\sub\\c"})
    volume.AddFile(name, 1, 0x22);
  const std::vector<std::string> selection = {"C:\\work\\a", "C:\\work\\b", "C:\\work\\sub\\c",
                                              "D:\\"};
  EXPECT_TRUE(ScrubSelectionParents(volume, selection).empty());
  std::map<std::string, std::vector<std::size_t>> lengths;  // folder -> names made there
  for (const std::string& line : volume.log) {
    if (!line.starts_with("create ")) continue;
    const std::string path = line.substr(7);
    lengths[FolderHolding(path)].push_back(ExtractLastName(path).size());
  }
  std::vector<std::size_t> mix;
  for (const FillerGroup& group : kKeptFolderFillers)
    mix.insert(mix.end(), group.count, group.nameLength);
  const std::map<std::string, std::vector<std::size_t>> once = {{"C:\\work", mix},
                                                                {"C:\\work\\sub", mix}};
  EXPECT_EQ(lengths, once);
}

}  // namespace
}  // namespace tovo
