#include "announce/reply_parser.h"

#include "platform/text.h"

namespace tovo {
namespace {

// The reply format counts positions from 1. Copy gives n characters
// from position p; empty when p lies beyond the end or n is negative; a
// position below 1 counts as 1.
std::string_view Copy(std::string_view s, long long p, long long n) {
  if (p < 1) p = 1;
  const auto size = static_cast<long long>(s.size());
  if (p > size || n < 0) return {};
  const long long available = size - p + 1;
  return s.substr(static_cast<std::size_t>(p - 1),
                  static_cast<std::size_t>(n < available ? n : available));
}

std::string_view From(std::string_view s, long long p) {
  return Copy(s, p, static_cast<long long>(s.size()));
}

// 1-based position of the first c, 0 when absent.
long long Pos(char c, std::string_view s) {
  const std::size_t found = s.find(c);
  return found == std::string_view::npos ? 0 : static_cast<long long>(found) + 1;
}

long long Length(std::string_view s) {
  return static_cast<long long>(s.size());
}

// Everything after the first ":" (the whole field when it has none).
std::string_view WithoutKey(std::string_view field) {
  return From(field, Pos(':', field) + 1);
}

// The bytes that trimming removes: 0x00 to 0x20.
constexpr std::string_view kBlanks(
    "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F"
    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F\x20",
    33);

std::string ParseRecord(std::string_view record) {
  const long long comma = Pos(',', record);
  const std::string_view part1 = Copy(record, 1, comma - 1);
  const std::string_view part2 = From(record, comma + 1);
  const std::string_view text = WithoutKey(part1);
  const std::string_view link = WithoutKey(part2);
  std::string line(Copy(text, 2, Length(text) - 2));
  line += '|';
  line += Copy(link, 2, Length(link) - 3);  // the closing character and the "}"
  return line;
}

}  // namespace

std::vector<std::string> ParseReply(std::string_view reply) {
  std::vector<std::string> lines;
  if (Trim(reply).empty()) return lines;
  const std::string_view body = Copy(reply, 2, Length(reply) - 2);
  // The rest is always a suffix of the body, so "the rest trimmed is not
  // empty" and "the first }" are kept as offsets into the body; a reply of
  // 64 KiB without braces then parses in linear time.
  const std::size_t lastVisible = body.find_last_not_of(kBlanks);
  std::size_t start = 0;
  std::size_t brace = body.find('}');
  while (lastVisible != std::string_view::npos && start <= lastVisible) {
    if (brace != std::string_view::npos && brace < start) brace = body.find('}', start);
    const std::string_view rest = body.substr(start);
    const long long b =
        brace == std::string_view::npos ? 0 : static_cast<long long>(brace - start) + 1;
    lines.push_back(ParseRecord(Copy(rest, 2, b - 1)));
    start += static_cast<std::size_t>(b + 1);  // past the "}" and one separator
  }
  return lines;
}

}  // namespace tovo
