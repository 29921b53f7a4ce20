// The texts and rules of the free-space wipe command on a drive of the tree.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovo {

inline constexpr std::string_view kWipeMenuText = "擦除剩余空间(&W)...";
inline constexpr std::string_view kWipeCompletedText = "剩余空间擦除完成。";
inline constexpr std::string_view kWipeStoppedText = "剩余空间擦除已停止。";

// Only drives whose free space is on a disk of this machine: fixed and
// removable ones (the system's drive types 3 and 2). CD-ROM, network and RAM
// drives, and types the system does not know, are not offered.
bool CanWipeDriveType(unsigned driveType);

// A rough length of a wipe of `freeBytes`, for the consent box: the writes
// at a speed a common disk keeps up, plus the record fill and the release.
std::chrono::seconds WipeEstimate(std::uint64_t freeBytes);

// The consent box: the drive ("E:"), its free space, what the wipe does to
// deleted files, that the free space is used up for a while, and `duration`
// as DurationText words it.
std::string WipeConsentText(std::string_view drive, std::uint64_t freeBytes,
                            std::string_view duration);

// The final box: completed or stopped, how much was overwritten and how long
// it took (`duration` as DurationText words it).
std::string WipeEndText(bool stopped, std::uint64_t written, std::string_view duration);

// A killed wipe's fill folder found at start: on which drive ("E:"), the
// space its removal gave back, or why it could not be removed.
struct LeftoverFillEnd {
  std::string drive;
  std::uint64_t freedBytes = 0;
  std::string failure;  // empty when the folder is gone
};

// The box after the start-up clean-up: the drives whose fill folder was
// removed, each with the space given back, then those where it failed with
// the reason. Empty when there was nothing to clean up.
std::string LeftoverFillText(const std::vector<LeftoverFillEnd>& ends);

}  // namespace tovo
