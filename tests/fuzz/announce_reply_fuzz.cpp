// libFuzzer target over the whole reply path after the network: UTF-8
// check, URL decoding, the GBK fallback and the parser. Built and run by
// scripts/fuzz-announce.sh, never by the normal tests.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "announce/reply_decode.h"
#include "announce/reply_parser.h"

namespace {

// Accepts an even number of bytes in the GBK double-byte range, so that the
// fallback branch is taken and its result parsed like a real conversion.
class FuzzGbk : public tovo::GbkDecoder {
 public:
  std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
    std::string out;
    for (std::size_t i = 0; i < gbk.size(); ++i) {
      const auto byte = static_cast<unsigned char>(gbk[i]);
      if (byte < 0x80) {
        out += gbk[i];
      } else if (byte >= 0x81 && byte <= 0xFE && i + 1 < gbk.size()) {
        out += "\xE4\xB8\xAD";
        ++i;
      } else {
        return std::nullopt;
      }
    }
    return out;
  }
};

// The parsing steps taken literally, with a copy of the rest on every pass,
// to check the linear-time parser against.
std::string Copy(const std::string& s, long long p, long long n) {
  if (p < 1) p = 1;
  const auto size = static_cast<long long>(s.size());
  if (p > size || n < 0) return {};
  return s.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(n));
}

long long Pos(char c, const std::string& s) {
  const std::size_t found = s.find(c);
  return found == std::string::npos ? 0 : static_cast<long long>(found) + 1;
}

long long Size(const std::string& s) {
  return static_cast<long long>(s.size());
}

bool BlankOnly(const std::string& s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) > 0x20) return false;
  }
  return true;
}

std::vector<std::string> ReferenceParse(const std::string& reply) {
  std::vector<std::string> lines;
  if (BlankOnly(reply)) return lines;
  std::string rest = Copy(reply, 2, Size(reply) - 2);
  while (!BlankOnly(rest)) {
    const long long b = Pos('}', rest);
    const std::string record = Copy(rest, 2, b - 1);
    rest = Copy(rest, b + 2, Size(rest));
    const long long c = Pos(',', record);
    std::string part1 = Copy(record, 1, c - 1);
    std::string part2 = Copy(record, c + 1, Size(record));
    part1 = Copy(part1, Pos(':', part1) + 1, Size(part1));
    part2 = Copy(part2, Pos(':', part2) + 1, Size(part2));
    lines.push_back(Copy(part1, 2, Size(part1) - 2) + "|" + Copy(part2, 2, Size(part2) - 3));
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  FuzzGbk gbk;
  const std::string reply = tovo::DecodeReplyBody(body, gbk);
  if (!reply.empty() && !tovo::IsStrictUtf8(reply)) std::abort();
  std::size_t bars = 0;
  for (const std::string& line : tovo::ParseReply(reply)) {
    if (line.find('|') == std::string::npos) std::abort();  // every line has its own "|"
    ++bars;
  }
  if (bars > reply.size()) std::abort();  // at most one line per character
  // The parser also runs on undecoded bytes of every kind, and agrees with
  // the literal steps.
  const std::string raw(body);
  if (tovo::ParseReply(raw) != ReferenceParse(raw)) std::abort();
  return 0;
}
