#include "progress/progress_text.h"

#include <cstdio>

namespace tovo {

std::string GroupedCount(std::uint64_t count) {
  std::string digits = std::to_string(count);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return digits;
}

std::string FormatBytes(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " 字节";
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024;
  int unit = 0;
  while (value >= 1024 && unit < 3) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  const char* format = value >= 100 ? "%.0f %s" : value >= 10 ? "%.1f %s" : "%.2f %s";
  std::snprintf(text, sizeof text, format, value, kUnits[unit]);
  return text;
}

int PercentOf(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0;
  if (done >= total) return 100;
  return static_cast<int>(static_cast<long double>(done) * 100 / total);
}

}  // namespace tovo
