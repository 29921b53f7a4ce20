#include "announce/reply_decode.h"

#include <cstdint>

namespace tovo {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Length of the sequence that starts with this byte, 0 for a byte that
// cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// Checks one sequence at bytes[i] and advances i past it.
bool TakeSequence(std::string_view bytes, std::size_t& i) {
  static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  const auto lead = static_cast<unsigned char>(bytes[i]);
  const std::size_t length = SequenceLength(lead);
  if (length == 0 || bytes.size() - i < length) return false;
  char32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(bytes[i + k]);
    if (!IsContinuation(byte)) return false;
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < kMinimum[length] || value > 0x10FFFF) return false;
  if (value >= 0xD800 && value <= 0xDFFF) return false;
  i += length;
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool IsStrictUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (!TakeSequence(bytes, i)) return false;
  }
  return true;
}

std::optional<std::string> UrlDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      c = ' ';
    } else if (c == '%') {
      if (i + 1 < text.size() && text[i + 1] == '%') {
        ++i;
      } else {
        if (text.size() - i < 3) return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        c = static_cast<char>(high * 16 + low);
        i += 2;
      }
    }
    if (c == '\0') break;
    out += c;
  }
  return out;
}

std::string DecodeReplyBody(std::string_view body, GbkDecoder& gbk) {
  if (body.empty() || !IsStrictUtf8(body)) return {};
  std::optional<std::string> decoded = UrlDecode(body);
  if (!decoded) return {};
  if (IsStrictUtf8(*decoded)) return std::move(*decoded);
  std::optional<std::string> converted = gbk.GbkToUtf8(*decoded);
  return converted ? std::move(*converted) : std::string();
}

}  // namespace tovo
