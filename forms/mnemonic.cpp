#include "forms/mnemonic.h"

namespace tovo::forms {
namespace {

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char Upper(char32_t c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
}

}  // namespace

std::optional<char> Mnemonic(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    if (IsAsciiAlnum(caption[i + 1])) return caption[i + 1];
    return std::nullopt;
  }
  return std::nullopt;
}

bool MatchesMnemonic(std::string_view caption, char32_t key) {
  const std::optional<char> mnemonic = Mnemonic(caption);
  return mnemonic && key < 0x80 && Upper(key) == Upper(static_cast<char32_t>(*mnemonic));
}

}  // namespace tovo::forms
