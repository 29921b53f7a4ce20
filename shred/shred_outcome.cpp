#include "shred/shred_outcome.h"

namespace tovo {

ShredFailure FailureOf(const ShredOutcome& outcome) {
  if (outcome.destroyed()) return ShredFailure::kNone;
  if (outcome.step == ShredStep::kStopped || outcome.step == ShredStep::kUntouched)
    return ShredFailure::kStopped;
  if (outcome.code == syscode::kSharingViolation || outcome.code == syscode::kLockViolation) {
    return ShredFailure::kInUse;
  }
  if (outcome.code == syscode::kAccessDenied) return ShredFailure::kAccessDenied;
  switch (outcome.step) {
    case ShredStep::kNotFound: return ShredFailure::kNotFound;
    case ShredStep::kOpen:
      return outcome.code == syscode::kFileNotFound || outcome.code == syscode::kPathNotFound
                 ? ShredFailure::kNotFound
                 : ShredFailure::kAccessDenied;
    case ShredStep::kLength:
    case ShredStep::kSeek:
    case ShredStep::kWrite:
    case ShredStep::kFlush:
    case ShredStep::kClose: return ShredFailure::kWriteFailed;
    default: return ShredFailure::kNotRemoved;
  }
}

const char* StepName(ShredStep step) {
  switch (step) {
    case ShredStep::kDone: return "done";
    case ShredStep::kNotFound: return "not found";
    case ShredStep::kOpen: return "open";
    case ShredStep::kLength: return "length";
    case ShredStep::kSeek: return "seek";
    case ShredStep::kWrite: return "write";
    case ShredStep::kFlush: return "flush";
    case ShredStep::kClose: return "close";
    case ShredStep::kDelete: return "delete";
    case ShredStep::kRemoveFolder: return "remove folder";
    case ShredStep::kLinkKept: return "link kept";
    case ShredStep::kStopped: return "stopped";
    case ShredStep::kUntouched: return "untouched";
  }
  return "unknown";
}

}  // namespace tovo
