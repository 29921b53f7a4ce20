// What happened to one file or folder that the engine was asked to destroy.
#pragma once

#include <string>

#include "shred/file_system.h"

namespace tovo {

// The step at which destroying a path stopped; kDone when it was destroyed.
enum class ShredStep {
  kDone,
  kNotFound,      // the system reported no attributes for the path
  kOpen,          // exclusive open for reading and writing failed
  kLength,        // the file's length could not be read
  kSeek,          // the file position could not be set to the start
  kWrite,         // a write failed or wrote less than asked
  kFlush,         // forcing the data to the disk failed
  kClose,         // closing the file failed
  kDelete,        // the overwritten file (or a link) could not be deleted
  kRemoveFolder,  // an emptied folder could not be removed
  kLinkKept,      // a folder link left in place where removing it is unsafe
  kStopped,       // the run was stopped while this file was being overwritten
  kUntouched,     // opened, then closed unwritten because the run was stopped
};

// A short reason for the user, for callers that report failures.
enum class ShredFailure {
  kNone,          // destroyed
  kInUse,         // in use by another program
  kAccessDenied,  // access denied
  kNotFound,      // not found
  kWriteFailed,   // the overwrite failed
  kNotRemoved,    // could not be removed
  kStopped,       // stopped part way: partly overwritten, still in place
};

struct ShredOutcome {
  std::string path;
  ShredStep step = ShredStep::kDone;
  SystemCode code = 0;  // the system error code of the failed step, or 0
  // The last name the file or folder has now, when it was renamed to hide its
  // own and then stayed; empty otherwise.
  std::string currentName{};

  bool destroyed() const { return step == ShredStep::kDone; }
};

// Maps an outcome to the reason shown to the user: a sharing or lock
// violation is "in use" and code 5 "access denied" at any step; otherwise
// the step decides.
ShredFailure FailureOf(const ShredOutcome& outcome);

// "open" or "write" etc., for messages and test output.
const char* StepName(ShredStep step);

}  // namespace tovo
