// libFuzzer target over the whole reply path after the network: UTF-8
// check, URL decoding, the GBK fallback and the parser. Built and run by
// scripts/fuzz-announce.sh, never by the normal tests.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

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
  // The parser also runs on undecoded bytes of every kind.
  (void)tovo::ParseReply(body);
  return 0;
}
