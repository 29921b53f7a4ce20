// One whole shred run over the paths a user chose: a counting pass that gives
// the totals, then each path in order through one pipeline, watching for a
// stop. This is what the window's worker thread calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shred/file_system.h"
#include "shred/folder_shredder.h"
#include "shred/random_generator.h"
#include "shred/run_progress.h"
#include "shred/shred_outcome.h"
#include "shred/shred_pipeline.h"
#include "shred/stop_signal.h"

namespace tovo {

// The files and bytes below the selected paths, found with directory searches
// only (nothing is opened, the current folder is not changed): a folder's
// whole tree, links not followed, a file its own length. Reports the running
// count to `progress` as it goes (Found), then the totals (Counted). A
// folder that cannot be searched counts as empty: the shred itself reports
// it. Ends early, with what it has, when `stop` is requested.
void CountSelection(FileSystem& fs, const std::vector<std::string>& paths, const StopSignal* stop,
                    RunProgress& progress);

struct ShredRunResult {
  std::vector<ShredOutcome> failures;  // what was not destroyed, in path order
  bool stopped = false;                // a stop was requested before the end
  std::uint64_t destroyed = 0;         // files destroyed
  // Files counted that were never opened, or were closed unwritten after the
  // stop; they are byte for byte as before.
  std::uint64_t untouched = 0;
};

// Counts (into options.progress, which must be set), then shreds each path as
// ShredPathInto does, telling `onFile` before each file. After a stop
// (options.stop): no new file is opened, a file under way stays partly
// overwritten under its own name (ShredStep::kStopped), files already
// overwritten are ended as usual, and no folder is removed. Raises IoError as
// the folder listing does; every opened file is closed first.
ShredRunResult RunShred(FileSystem& fs, RandomGenerator& generator,
                        const std::vector<std::string>& paths, const ShredOptions& options,
                        PipelineOptions pipeline, const ShredProgress& onFile);

}  // namespace tovo
