// Overwriting a volume's free space, so that files deleted earlier by any
// means (their contents in free clusters, their names and small contents in
// freed file records) can no longer be read from the raw disk. The wipe
// writes and deletes only its own fill files, all under one folder at the
// volume's root.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "shred/file_system.h"
#include "shred/run_progress.h"
#include "shred/stop_signal.h"

namespace tovo {

// The fill folder's name says what it is, so that a user who finds it after
// the program was killed knows it may go.
inline constexpr char kFillFolderName[] = "TovoShred擦除临时文件-可删除";

// The fill folder on the volume whose root is `root` ("E:\\").
std::string FillFolderPath(const std::string& root);

struct WipeOptions {
  const StopSignal* stop = nullptr;  // looked at between requests and files
  RunProgress* progress = nullptr;   // bytes written of the free space at the start
  // Left free by the first fill so that the file table and the folder indexes
  // can still grow while the file records are filled: the table's growth
  // stays within this whatever the volume's size.
  std::uint64_t reserveBytes = 2u << 20;
  std::size_t requestBytes = 1u << 20;  // one write of the cluster fill
  int filesPerFolder = 200;             // record files in one sub-folder
  std::size_t recordNameLength = 120;   // their names, all "0" but the number
  // Refusals in a row, other than a full volume, after which the record fill
  // ends (another program may hold the volume busy).
  int refusalsInARow = 8;
};

struct WipeResult {
  bool stopped = false;            // a stop was requested; the fill is released
  bool leftoverRemoved = false;    // a killed run's fill folder was found and removed
  std::uint64_t freeBefore = 0;    // the free space at the start
  std::uint64_t bytesWritten = 0;  // fill bytes the volume took
  std::uint64_t recordFiles = 0;   // small files that took a file record
  double recordSeconds = 0;        // the record fill's time
  double releaseSeconds = 0;       // the time to give everything back
};

enum class LeftoverFill {
  kNone,     // no fill folder at the root
  kRemoved,  // a killed wipe's fill folder was removed with all it held
  kInUse,    // a wipe under way holds it (its big file is open): left alone
};

// Removes the fill folder that a killed wipe left at the root of the volume
// `root`, with everything in it; links in it are not followed. Raises
// IoError when something else has that name (a file or a link: not ours) or
// when the removal leaves something behind.
LeftoverFill RemoveLeftoverFill(FileSystem& fs, const std::string& root);

// The wipe, in this order: a leftover fill folder is removed; the fill folder
// is made (stored plain); one big file is written in large unbuffered
// requests until only `reserveBytes` are free; then small files that stay
// inside their file records are made until the volume refuses one; then the
// big file takes the last clusters in ever smaller requests down to one
// sector and is flushed; then everything is released, the big file first
// (the volume is full, and removing entries needs a little space), each
// through the neutral-name steps, and the root folder's index is scrubbed.
// A stop, a failure or an exception releases the fill at once. Raises
// IoError (after the release) when the volume cannot be queried, the fill
// folder cannot be made or cleared (another wipe of the volume holds it), a fill write fails other
// than by a full volume, or the release leaves something behind (the message names it).
WipeResult WipeFreeSpace(FileSystem& fs, const std::string& root, const WipeOptions& options = {});

}  // namespace tovo
