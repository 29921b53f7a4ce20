#include <gtest/gtest.h>

#include <map>

#include "announce/reply_decode.h"
#include "announce/reply_parser.h"

namespace tovo {
namespace {

using Lines = std::vector<std::string>;

// Knows the one GBK text the tests use, "中文".
class TableGbk : public GbkDecoder {
 public:
  int calls = 0;
  std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
    ++calls;
    if (gbk == "\xD6\xD0\xCE\xC4|x") return "\xE4\xB8\xAD\xE6\x96\x87|x";
    return std::nullopt;
  }
};

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

class StrictUtf8 : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(StrictUtf8, AcceptsWellFormedAndRejectsMalformed) {
  EXPECT_EQ(IsStrictUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Sequences, StrictUtf8,
                         ::testing::Values(Utf8Case{"Empty", "", true},
                                           Utf8Case{"Ascii", "[{\"t\":\"a\"}]", true},
                                           Utf8Case{"ZeroByte", std::string("a\0b", 3), true},
                                           Utf8Case{"TwoByte", "\xC3\xA9", true},
                                           Utf8Case{"ThreeByte", "\xE4\xB8\xAD", true},
                                           Utf8Case{"FourByte", "\xF0\x9F\x98\x80", true},
                                           Utf8Case{"HighestCodePoint", "\xF4\x8F\xBF\xBF", true},
                                           Utf8Case{"CutOffAtEnd", "ab\xE4\xB8", false},
                                           Utf8Case{"LoneLead", "\xC3", false},
                                           Utf8Case{"BadContinuation", "\xC3(", false},
                                           Utf8Case{"StrayContinuation", "a\x80", false},
                                           Utf8Case{"OverlongSlash", "\xC0\xAF", false},
                                           Utf8Case{"OverlongThree", "\xE0\x80\xAF", false},
                                           Utf8Case{"OverlongFour", "\xF0\x80\x80\xAF", false},
                                           Utf8Case{"Surrogate", "\xED\xA0\x80", false},
                                           Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", false},
                                           Utf8Case{"FiveByteLead", "\xF8\x88\x80\x80\x80", false},
                                           Utf8Case{"RawGbk", "\xD6\xD0\xCE\xC4", false}),
                         [](const auto& info) { return info.param.name; });

TEST(UrlDecode, TranslatesPlusPercentAndEscapes) {
  EXPECT_EQ(UrlDecode("a+b"), "a b");
  EXPECT_EQ(UrlDecode("100%%"), "100%");
  EXPECT_EQ(UrlDecode("%41%2b%2B%7e"), "A++~");
  EXPECT_EQ(UrlDecode("%e4%B8%ad"), "\xE4\xB8\xAD");
  EXPECT_EQ(UrlDecode("plain:/,|"), "plain:/,|");
  EXPECT_EQ(UrlDecode(""), "");
}

TEST(UrlDecode, ZeroByteEndsTheText) {
  EXPECT_EQ(UrlDecode(std::string("ab\0%zz", 6)), "ab");
  EXPECT_EQ(UrlDecode("ab%00cd"), "ab");
}

TEST(UrlDecode, MalformedEscapeIsAnError) {
  for (const char* bad : {"%", "a%4", "%4g", "%g4", "%,\"", "x%%%"}) {
    EXPECT_EQ(UrlDecode(bad), std::nullopt) << bad;
  }
}

TEST(DecodeReplyBody, Utf8BodyIsUrlDecoded) {
  TableGbk gbk;
  EXPECT_EQ(DecodeReplyBody("[{\"t\":\"a+b\",\"u\":\"%2B\"}]", gbk),
            "[{\"t\":\"a b\",\"u\":\"+\"}]");
  EXPECT_EQ(DecodeReplyBody("\xE4\xB8\xAD", gbk), "\xE4\xB8\xAD");
  EXPECT_EQ(gbk.calls, 0);
}

TEST(DecodeReplyBody, EveryFailureEmptiesTheReply) {
  TableGbk gbk;
  EXPECT_EQ(DecodeReplyBody("", gbk), "");
  EXPECT_EQ(DecodeReplyBody("[{\"t\":\"\xC3(\",\"u\":\"x\"}]", gbk), "");
  EXPECT_EQ(DecodeReplyBody("[{\"t\":\"100%\",\"u\":\"x\"}]", gbk), "");
  EXPECT_EQ(DecodeReplyBody("\xD6\xD0", gbk), "");  // raw GBK is not UTF-8
  EXPECT_EQ(gbk.calls, 0);
}

TEST(DecodeReplyBody, PercentEncodedGbkIsConverted) {
  TableGbk gbk;
  EXPECT_EQ(DecodeReplyBody("%D6%D0%CE%C4|x", gbk), "\xE4\xB8\xAD\xE6\x96\x87|x");
  EXPECT_EQ(DecodeReplyBody("%FF%FF", gbk), "");  // neither UTF-8 nor GBK
  EXPECT_EQ(gbk.calls, 2);
}

struct ParseCase {
  const char* name;
  std::string reply;
  Lines lines;
};

class ParseReplyTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseReplyTable, GivesTheLines) {
  EXPECT_EQ(ParseReply(GetParam().reply), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ParseReplyTable,
    ::testing::Values(
        ParseCase{"Empty", "", {}}, ParseCase{"BlanksAndLineEnds", " \r\n\t ", {}},
        ParseCase{"EmptyArray", "[]", {}},
        ParseCase{
            "TwoRecords", R"([{"t":"One","u":"L1"},{"t":"Two","u":"L2"}])", {"One|L1", "Two|L2"}},
        ParseCase{"BlankAfterComma",
                  R"([{"t":"One","u":"L1"}, {"t":"Two","u":"L2"}])",
                  {"One|L1", "Two|L2"}},
        ParseCase{"TrailingCrLf", "[{\"t\":\"One\",\"u\":\"L1\"}]\r\n", {"One|L1"}},
        ParseCase{"ColonsInValues", R"([{"t":"A:B","u":"h:1"}])", {"A:B|h:1"}},
        ParseCase{"FieldsWithoutKeys", R"([{"A","B"}])", {"A|B"}},
        ParseCase{"NoSeparator", R"([{"t":"A","u":"B"}{"t":"C","u":"D"}])", {"A|B", "C|D"}},
        ParseCase{"CommaInLink", R"([{"t":"A","u":"x,y"}])", {"A|x,y"}},
        ParseCase{"CommaInText", R"([{"t":"a,b","u":"x"}])", {"|x"}},
        ParseCase{"OneField", R"([{"t":"A"}])", {"|A"}},
        ParseCase{"ThreeFields", R"([{"t":"A","u":"B","v":"C"}])", {R"(A|B","v":"C)"}},
        ParseCase{"UnenclosedValues", "[{t:x,u:y}]", {"|"}},
        ParseCase{"BareRecord", R"({"t":"x","u":"y"})", Lines(15, "|")},
        ParseCase{"RealLink",
                  R"([{"t":"<>New","u":"http://a.example/p?q=1"}])",
                  {"<>New|http://a.example/p?q=1"}},
        ParseCase{"SingleCharacter", "x", {}}, ParseCase{"TwoCharacters", "[x", {}},
        ParseCase{"ThreeCharacters", "[x]", {"|"}}, ParseCase{"BraceOnly", "[}]", {"|"}},
        ParseCase{"TextWithBar", R"([{"t":"a|b","u":"c"}])", {"a|b|c"}}),
    [](const auto& info) { return info.param.name; });

TEST(ParseReply, LargeReplyWithoutBracesTakesOneLinePerCharacter) {
  const std::string reply = "[" + std::string(64 * 1024, 'x') + "]";
  EXPECT_EQ(ParseReply(reply).size(), 64u * 1024u);
}

}  // namespace
}  // namespace tovo
