// Destroying one file: overwrite its whole length once with copies of a
// 4096-byte pseudo-random block, force the data to the disk, hide its size,
// times and name, delete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "shred/file_system.h"
#include "shred/random_generator.h"
#include "shred/run_progress.h"
#include "shred/shred_outcome.h"
#include "shred/stop_signal.h"

namespace tovo {

// Bytes per write request: whole copies of the block, so the bytes that
// reach the file are the same as with one 4096-byte request per block.
inline constexpr std::size_t kDefaultWriteRequest = 1024 * 1024;

struct ShredOptions {
  std::size_t writeRequest = kDefaultWriteRequest;  // rounded down to whole blocks
  bool deleteAfterOverwrite = true;                 // false: a seam for tests
  // false: files and folders go without first losing their size, times and
  // names, so that benchmarks can weigh those steps.
  bool concealMetadata = true;
  // Looked at before each file is opened and between write requests; a
  // stopped run opens no new file and leaves a file under way where it is.
  const StopSignal* stop = nullptr;
  // Fed with the bytes written and the files ended, as they happen.
  RunProgress* progress = nullptr;
};

// Contract, step by step, each failure ending the call with its outcome:
// - no attributes for the path: nothing is done ("not found", with the code);
// - a reparse point (symbolic link, junction): the link is deleted without
//   being opened, so its target is never overwritten;
// - read-only: every attribute is cleared (set to normal);
// - the exclusive open fails: the file stays as it is, no draws are taken;
// - once open: exactly 4096 draws fill the block, the whole length is
//   written, the length unchanged, a last short block being the block's
//   start; a failed or short write or a failed flush closes the file and
//   leaves it in place;
// - cut to length 0, its times set to a neutral value, renamed within its
//   folder to a neutral name (these three best effort), deleted through the
//   handle (see ConcealAndDelete); a file that stays is reported with the
//   name it now has;
// - a read-only file that is not destroyed gets its attributes back.
ShredOutcome ShredFileWith(FileSystem& fs, RandomGenerator& generator, const std::string& path,
                           const ShredOptions& options = {});

// The same for a path whose attributes the caller has just read.
ShredOutcome ShredFileWith(FileSystem& fs, RandomGenerator& generator, const std::string& path,
                           std::uint32_t attributes, const ShredOptions& options = {});

// ShredFileWith in two halves, so that files can be opened one after another
// in the order that fixes their bytes while their slow part (the writes and
// the flush wait for the disk) overlaps with other files.
struct OpenedFile {
  std::string path;
  std::unique_ptr<OpenFile> file;
  OverwriteBlock block;          // drawn right after the open
  std::uint32_t attributes = 0;  // as read before the open
  bool stripped = false;         // read-only was cleared for the open
  // The neutral name its rename tries first. Files ended side by side each
  // start at another one: a name held by a file not yet closed is refused,
  // and every refused try is one more call to the file system.
  int firstNeutralName = 0;
};

// The first half, given the attributes just read for `path`: the link rule,
// the read-only strip, the exclusive open and the draws. Returns the open
// file, or nothing when the path ends here with `outcome` (a link removed, or
// an open that failed, with no draws taken).
std::optional<OpenedFile> OpenForShredding(FileSystem& fs, RandomGenerator& generator,
                                           const std::string& path, std::uint32_t attributes,
                                           ShredOutcome& outcome);

// The second half, in two steps on the open file, neither touching the
// generator or process-wide state, so they may run on any thread:
// - the slow one, which may overlap with other files: the overwrite and the
//   flush;
// - the end, which must follow the end of the files opened before it, since
//   the neutral name a file gets depends on what they left in its folder:
//   hiding size, times and name, the close and the delete, and the
//   attributes given back to a file that stays. The file is closed on every
//   way out.
ShredOutcome OverwriteOpened(OpenedFile& opened, const ShredOptions& options = {});
ShredOutcome ConcludeShredding(FileSystem& fs, OpenedFile opened, ShredOutcome overwritten,
                               const ShredOptions& options = {});
// Both halves one after the other, on the caller's thread.
ShredOutcome ShredOpened(FileSystem& fs, OpenedFile opened, const ShredOptions& options = {});

}  // namespace tovo
