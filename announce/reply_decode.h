// Turning the announcement service's response body into the reply text the
// parser reads. Every failure gives empty text: the reply then adds no lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovo {

// Conversion from GBK (code page 936) to UTF-8; the platform provides it.
class GbkDecoder {
 public:
  virtual ~GbkDecoder() = default;
  // nullopt when the bytes are not valid GBK.
  virtual std::optional<std::string> GbkToUtf8(std::string_view gbk) = 0;
};

// True when the bytes are well-formed UTF-8: no cut-off sequence, no bad
// continuation byte, no overlong form, no surrogate, nothing above U+10FFFF.
bool IsStrictUtf8(std::string_view bytes);

// URL decoding: "+" is a space, "%%" a "%", "%" and two hex digits (either
// case) that byte; a zero byte, raw or decoded, ends the text. nullopt for a
// "%" followed by fewer than two characters or by non-hex characters.
std::optional<std::string> UrlDecode(std::string_view text);

// The whole decoding: the body must be strict UTF-8, then it is URL-decoded.
// The service may send Chinese as percent-encoded GBK bytes, so a decoded
// text that is not UTF-8 is converted from GBK when it is valid GBK. Any
// failure gives empty text.
std::string DecodeReplyBody(std::string_view body, GbkDecoder& gbk);

}  // namespace tovo
