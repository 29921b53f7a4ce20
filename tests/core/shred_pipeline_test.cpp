// Overlapped shredding against the sequential engine: the same selection on
// two identical fakes, with a failure at every step, must leave the same
// disk (but for neutral names), the same bytes and the same report. Also
// run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/errors.h"
#include "shred/folder_shredder.h"
#include "shred/shred_pipeline.h"
#include "support/shred_fake_file_system.h"

namespace tovo {
namespace {

using testing::FakeFileSystem;

// C:\work holds the selection: a tree "sel" of 3 folders x 20 files and the
// files "f0".."f9"; one file of the tree and two of the top fail at each step.
// `many` more files in "sel\many", every other one of which cannot be deleted.
void Populate(FakeFileSystem& fs, int many) {
  fs.AddFolder("C:\\work\\sel");
  for (int d = 0; d < 3; ++d) {
    const std::string folder = "C:\\work\\sel\\d" + std::to_string(d);
    fs.AddFolder(folder);
    for (int f = 0; f < 20; ++f) fs.AddFile(folder + "\\f" + std::to_string(f), 100 * f + d);
  }
  for (int f = 0; f < 10; ++f) fs.AddFile("C:\\work\\f" + std::to_string(f), 5000 + f);
  if (many) fs.AddFolder("C:\\work\\sel\\many");
  for (int f = 0; f < many; ++f) {
    const std::string path = "C:\\work\\sel\\many\\" + std::to_string(f);
    fs.AddFile(path, f % 300);
    if (f % 2 == 0) fs.deleteFailures[path] = syscode::kAccessDenied;
  }
  fs.attributeFailures["C:\\work\\f1"] = syscode::kAccessDenied;
  fs.openFailures["C:\\work\\sel\\d0\\f3"] = syscode::kSharingViolation;
  fs.stepFailures["C:\\work\\sel\\d1\\f5"] = {ShredStep::kLength, 1};
  fs.stepFailures["C:\\work\\f2"] = {ShredStep::kSeek, 25};
  fs.stepFailures["C:\\work\\sel\\d2\\f7"] = {ShredStep::kWrite, syscode::kDiskFull};
  fs.stepFailures["C:\\work\\f4"] = {ShredStep::kFlush, 1117};
  fs.stepFailures["C:\\work\\sel\\d2\\f19"] = {ShredStep::kClose, 6};
  fs.deleteFailures["C:\\work\\f6"] = syscode::kAccessDenied;
}

// Every selected path in order, as the shred command hands them in.
std::vector<ShredOutcome> ShredSelection(FakeFileSystem& fs, RandomGenerator& generator,
                                         const ShredOptions& options, PipelineOptions pipeline,
                                         const std::vector<std::string>& paths) {
  ShredPipeline run(fs, generator, options, std::move(pipeline));
  for (const std::string& path : paths) ShredPathInto(run, path, nullptr);
  return run.TakeFailures();
}

std::vector<std::string> Selection() {
  std::vector<std::string> paths = {"C:\\work\\f0", "C:\\work\\f1", "C:\\work\\sel"};
  for (int f = 2; f < 10; ++f) paths.push_back("C:\\work\\f" + std::to_string(f));
  return paths;
}

// What each folder holds, by bytes and attributes: files end in any order,
// so one that stays after its rename may carry another neutral name, and
// which files exhaust the neutral names of their length may differ.
std::map<std::string, std::multiset<std::pair<std::vector<std::uint8_t>, std::uint32_t>>> Contents(
    const FakeFileSystem& fs) {
  std::map<std::string, std::multiset<std::pair<std::vector<std::uint8_t>, std::uint32_t>>> held;
  for (const std::string& path : fs.Paths()) {
    const auto& node = fs.At(path);
    held[path.substr(0, path.rfind('\\'))].insert({node.bytes, node.attributes});
  }
  return held;
}

struct Case {
  unsigned workers;
  std::size_t queueLength;
  bool deleteAfterOverwrite;  // kept files show the exact bytes each one got
  int many = 0;
};

class PipelineMatchesSequential : public ::testing::TestWithParam<Case> {};

TEST_P(PipelineMatchesSequential, SameDiskBytesAndReport) {
  const Case c = GetParam();
  const ShredOptions options{kDefaultWriteRequest, c.deleteAfterOverwrite};
  FakeFileSystem sequentialFs, pipelinedFs;
  Populate(sequentialFs, c.many);
  Populate(pipelinedFs, c.many);
  RandomGenerator sequentialGenerator, pipelinedGenerator;
  const auto expected =
      ShredSelection(sequentialFs, sequentialGenerator, options, Sequential(), Selection());
  // A failing file that finishes last must still be reported in its place.
  pipelinedFs.onFlush = [](const std::string& path) {
    if (path == "C:\\work\\f4") std::this_thread::sleep_for(std::chrono::milliseconds(30));
  };
  PipelineOptions pipeline;
  pipeline.workers = c.workers;
  pipeline.queueLength = c.queueLength;
  const auto actual =
      ShredSelection(pipelinedFs, pipelinedGenerator, options, pipeline, Selection());

  ASSERT_EQ(actual.size(), expected.size());
  EXPECT_GE(expected.size(), 8u) << "a failure at each step";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].path, expected[i].path) << i;
    EXPECT_EQ(actual[i].step, expected[i].step) << actual[i].path;
    EXPECT_EQ(actual[i].code, expected[i].code) << actual[i].path;
  }
  EXPECT_EQ(pipelinedFs.opened, sequentialFs.opened) << "the order of the opens and draws";
  EXPECT_EQ(pipelinedGenerator.RandomSeed(), sequentialGenerator.RandomSeed());
  EXPECT_EQ(Contents(pipelinedFs), Contents(sequentialFs));
  EXPECT_EQ(pipelinedFs.openFiles, 0);
}

INSTANTIATE_TEST_SUITE_P(Schedules, PipelineMatchesSequential,
                         ::testing::Values(Case{4, 16, true}, Case{3, 1, true}, Case{8, 2, false},
                                           Case{1, 1, false}, Case{4, 2, true, 2000}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           const Case& c = info.param;
                           return std::to_string(c.workers) + "workers_queue" +
                                  std::to_string(c.queueLength) +
                                  (c.deleteAfterOverwrite ? "" : "_kept") + (c.many ? "_many" : "");
                         });

// A folder that cannot be entered ends the run: what was handed in before it
// is finished and closed, nothing after it is touched.
TEST(Pipeline, ListingErrorFinishesWhatWasOpenedAndStops) {
  FakeFileSystem fs;
  Populate(fs, 0);
  fs.enterFailures["C:\\work\\sel\\d1"] = syscode::kAccessDenied;
  RandomGenerator generator;
  PipelineOptions pipeline;
  pipeline.workers = 2;
  pipeline.queueLength = 1;
  EXPECT_THROW(ShredSelection(fs, generator, {}, pipeline, Selection()), IoError);
  EXPECT_EQ(fs.openFiles, 0);
  EXPECT_FALSE(fs.Exists("C:\\work\\f0"));
  EXPECT_TRUE(fs.Exists("C:\\work\\sel\\d0\\f0"));
  EXPECT_TRUE(fs.Exists("C:\\work\\f2"));
  EXPECT_EQ(fs.opened, std::vector<std::string>{"C:\\work\\f0"});
}

// The caller's thread is called back while a worker stalls on one file, so
// a window stays alive; here the callback itself ends the stall.
TEST(Pipeline, WaitingCallsBackWhileAWorkerStalls) {
  FakeFileSystem fs;
  fs.AddFile("C:\\work\\big", 10);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  fs.onFlush = [released](const std::string&) { released.wait(); };
  int calls = 0;
  PipelineOptions pipeline;
  pipeline.workers = 1;
  pipeline.tick = std::chrono::milliseconds(1);
  pipeline.whileWaiting = [&] {
    if (++calls == 3) release.set_value();
  };
  RandomGenerator generator;
  ShredPipeline run(fs, generator, {}, pipeline);
  run.ShredFile("C:\\work\\big");
  EXPECT_TRUE(run.TakeFailures().empty());
  EXPECT_GE(calls, 3);
  EXPECT_FALSE(fs.Exists("C:\\work\\big"));
}

}  // namespace
}  // namespace tovo
