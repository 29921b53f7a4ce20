// Recycle Bin records made byte by byte as the system writes them, for the
// parser's table and for bins built by hand in the Windows tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovo::testing {

inline constexpr std::uint64_t kRecordSize = 12345;
inline constexpr std::uint64_t kRecordTime = 0x01D9'0000'1234'5678;

inline void PutLittleEndian(std::string& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string RecordHeader(std::uint64_t version) {
  std::string bytes;
  PutLittleEndian(bytes, version, 8);
  PutLittleEndian(bytes, kRecordSize, 8);
  PutLittleEndian(bytes, kRecordTime, 8);
  return bytes;
}

inline std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : text) PutLittleEndian(bytes, unit, 2);
  return bytes;
}

// Version 2: a count of the characters that follow (the system counts the
// terminating NUL), then the path.
inline std::string RecordVersion2(std::u16string_view path, std::uint32_t count) {
  std::string bytes = RecordHeader(2);
  PutLittleEndian(bytes, count, 4);
  return bytes + Utf16Bytes(path);
}
inline std::string RecordVersion2(std::u16string_view path) {
  return RecordVersion2(std::u16string(path) + u'\0', static_cast<std::uint32_t>(path.size() + 1));
}

// Version 1: the path in a fixed field of 260 characters.
inline std::string RecordVersion1(std::u16string_view path) {
  std::string field = Utf16Bytes(path);
  field.resize(520, '\0');
  return RecordHeader(1) + field;
}

}  // namespace tovo::testing
