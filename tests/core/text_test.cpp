#include "platform/text.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace tovo {
namespace {

TEST(TextConversion, RoundTripsChineseAndEmoji) {
  const std::string utf8 = "粉碎 😀 é";
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  EXPECT_EQ(utf16, u"粉碎 😀 é");
  EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
}

TEST(TextConversion, LoneSurrogateSurvivesTheRoundTrip) {
  const std::u16string name = {u'a', char16_t(0xD800), u'b'};
  const std::string utf8 = Utf16ToUtf8(name);
  EXPECT_EQ(utf8,
            "a\xED\xA0\x80"
            "b");
  EXPECT_EQ(Utf8ToUtf16(utf8), name);
}

TEST(TextConversion, MalformedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong NUL
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"\uFFFD\uFFFD");  // cut off
}

TEST(TextHelpers, TrimRemovesControlBytesAndBlanksOnly) {
  EXPECT_EQ(Trim(" \t\r\nhttp://x \x01"), "http://x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("中 文"), "中 文");
}

TEST(TextHelpers, AsciiCaseLeavesOtherCharactersAlone) {
  EXPECT_EQ(AsciiLower("WINXP Ä 中"), "winxp Ä 中");
  EXPECT_EQ(AsciiUpper("c:\\windows\\é"), "C:\\WINDOWS\\é");
  EXPECT_TRUE(EqualsIgnoreAsciiCase("C:\\Data", "c:\\DATA"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("C:\\Data", "C:\\Dat"));
}

TEST(ErrorMessages, IoErrorUsesTheRunTimeTableAndKeepsWhatWasDoneWhere) {
  const struct {
    unsigned long code;
    const char* text;
  } cases[] = {{2, "File not found"},
               {3, "Invalid filename"},
               {4, "Too many open files"},
               {5, "File access denied"},
               {100, "Read beyond end of file"},
               {101, "Disk full"},
               {106, "Invalid numeric input"},
               {87, "I/O error 87"}};
  for (const auto& c : cases)
    EXPECT_EQ(IoError("open", "C:\\a", c.code).what(), std::string(c.text));
  const IoError error("enter folder", "C:\\a", 206);
  EXPECT_EQ(error.code(), 206u);
  EXPECT_EQ(error.operation(), "enter folder");
  EXPECT_EQ(error.path(), "C:\\a");
}

TEST(ErrorMessages, PeriodIsAppendedOnlyAfterAHigherCharacter) {
  EXPECT_EQ(MessageWithPeriod("File access denied"), "File access denied.");
  EXPECT_EQ(MessageWithPeriod("Done."), "Done.");
  EXPECT_EQ(MessageWithPeriod("Really?"), "Really?.");  // '?' is above '.'
  EXPECT_EQ(MessageWithPeriod("(x)"), "(x)");           // ')' is below '.'
  EXPECT_EQ(MessageWithPeriod("ends with -"), "ends with -");
  EXPECT_EQ(MessageWithPeriod("粉碎"), "粉碎.");
  EXPECT_EQ(MessageWithPeriod(""), "");
}

TEST(ErrorMessages, ApplicationTitleFromExecutableName) {
  EXPECT_EQ(ApplicationTitle("C:\\Program Files\\Tovo\\TovoShred.exe"), "Tovoshred");
  EXPECT_EQ(ApplicationTitle("TOVO.SHRED.EXE"), "Tovo");
  EXPECT_EQ(ApplicationTitle("z:/tmp/tovoShred"), "tovoshred");
  EXPECT_EQ(ApplicationTitle("C:\\x\\粉碎ABC.exe"), "粉碎abc");
}

}  // namespace
}  // namespace tovo
