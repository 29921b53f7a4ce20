// Numbers as the progress window and the final boxes show them.
#pragma once

#include <cstdint>
#include <string>

namespace tovo {

// 1234567 -> "1,234,567".
std::string GroupedCount(std::uint64_t count);

// A byte count in the largest unit that keeps it at 1 or more: "512 字节",
// "4.00 KB", "12.3 MB", "150 GB" (1 KB = 1024 bytes; three significant
// figures from KB on).
std::string FormatBytes(std::uint64_t bytes);

// The whole percent of `done` in `total`, 0 to 100; 0 when total is 0.
int PercentOf(std::uint64_t done, std::uint64_t total);

}  // namespace tovo
