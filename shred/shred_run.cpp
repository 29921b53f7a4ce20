#include "shred/shred_run.h"

#include <algorithm>

#include "platform/paths.h"
#include "shred/index_scrub.h"

namespace tovo {
namespace {

bool StopRequested(const StopSignal* stop) {
  return stop && stop->Requested();
}

struct Tally {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};

// The tree below `folder` by directory searches alone, as the listing walks
// it: links are counted as files and not followed, names that could not be
// addressed are left out (the listing refuses the whole tree for them).
void CountTree(FileSystem& fs, const std::string& folder, const StopSignal* stop, Tally& tally,
               RunProgress& progress) {
  if (StopRequested(stop)) return;
  fs.Search(JoinPath(folder, "*.*"), [&](const FolderEntry& entry) {
    if (entry.name == "." || entry.name == ".." || HoldsPathSeparator(entry.name)) return;
    if (!IsFolder(entry.attributes)) {
      ++tally.files;
      tally.bytes += entry.size;
      progress.Found(tally.files, tally.bytes);
    } else if (!(entry.attributes & attr::kReparsePoint)) {
      CountTree(fs, JoinPath(folder, entry.name), stop, tally, progress);
    }
  });
}

// A selected path as the shred takes it: a folder's tree, a folder link
// nothing, anything else one file (a missing one too: it gets an outcome).
void CountPath(FileSystem& fs, const std::string& path, const StopSignal* stop, Tally& tally,
               RunProgress& progress) {
  std::string top = path;
  if (top.size() > 3 && top.back() == '\\') top.pop_back();
  std::uint32_t attributes = 0;
  if (fs.ReadAttributes(top, attributes) == 0 && IsFolder(attributes)) {
    if (!(attributes & attr::kReparsePoint)) CountTree(fs, top, stop, tally, progress);
    return;
  }
  std::uint64_t size = 0;
  if (fs.ReadSize(top, size) == 0) tally.bytes += size;
  ++tally.files;
  progress.Found(tally.files, tally.bytes);
}

}  // namespace

void CountSelection(FileSystem& fs, const std::vector<std::string>& paths, const StopSignal* stop,
                    RunProgress& progress) {
  Tally tally;
  for (const std::string& path : paths) {
    if (StopRequested(stop)) break;
    CountPath(fs, path, stop, tally, progress);
  }
  progress.Counted(tally.files, tally.bytes);
}

ShredRunResult RunShred(FileSystem& fs, RandomGenerator& generator,
                        const std::vector<std::string>& paths, const ShredOptions& options,
                        PipelineOptions pipeline, const ShredProgress& onFile) {
  CountSelection(fs, paths, options.stop, *options.progress);
  ShredRunResult result;
  ShredPipeline run(fs, generator, options, std::move(pipeline));
  for (const std::string& path : paths) ShredPathInto(run, path, onFile);
  result.failures = run.TakeFailures();
  if (options.concealMetadata) {
    for (ShredOutcome& left : ScrubSelectionParents(fs, paths, options.stop))
      result.failures.push_back(std::move(left));
  }
  result.stopped = run.Stopped();
  result.destroyed = run.Destroyed();
  // The disk may have changed since the count; never a negative count.
  const std::uint64_t total = options.progress->Snapshot().filesTotal;
  result.untouched = total - std::min(total, run.Ended());
  return result;
}

}  // namespace tovo
