#include "platform/errors.h"

#include "platform/text.h"

namespace tovo {

Error::Error(std::string_view operation, std::string_view path, unsigned long code,
             const std::string& message)
    : std::runtime_error(message), operation_(operation), path_(path), code_(code) {}

IoError::IoError(std::string_view operation, std::string_view path, unsigned long code)
    : Error(operation, path, code, IoErrorMessage(code)) {}

IoError::IoError(std::string_view operation, std::string_view path, unsigned long code,
                 const std::string& message)
    : Error(operation, path, code, message) {}

std::string IoErrorMessage(unsigned long code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

std::string MessageWithPeriod(std::string_view message) {
  std::string text(message);
  if (text.empty()) return text;
  // The last character, not its last byte: a multi-byte character is above '.'.
  size_t last = text.size() - 1;
  while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
  if (static_cast<unsigned char>(text[last]) > '.') text += '.';
  return text;
}

std::string ApplicationTitle(std::string_view exePath) {
  const size_t slash = exePath.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  if (name.empty()) return std::string();
  // Only ASCII letters change case; the first character is kept as it is.
  size_t first = 1;
  while (first < name.size() && (static_cast<unsigned char>(name[first]) & 0xC0) == 0x80) ++first;
  return std::string(name.substr(0, first)) + AsciiLower(name.substr(first));
}

}  // namespace tovo
