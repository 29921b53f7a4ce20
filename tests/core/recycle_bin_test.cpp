#include "app/recycle_bin.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/bin_record.h"

namespace tovo {
namespace {

using testing::RecordHeader;
using testing::RecordVersion1;
using testing::RecordVersion2;
using testing::Utf16Bytes;

TEST(RecycleBinRecord, ParsesBothVersionsAndRefusesDamagedRecords) {
  const std::string v2 = RecordVersion2(u"C:\\资料\\报告.docx");
  const std::string v1 = RecordVersion1(u"D:\\old\\a.txt");
  const struct {
    const char* what;
    std::string bytes;
    std::optional<std::string> path;  // nullopt: refused
  } cases[] = {
      {"version 2, Chinese path", v2, "C:\\资料\\报告.docx"},
      {"version 2, no NUL counted", RecordVersion2(u"E:\\x", 4), "E:\\x"},
      {"version 2, bytes after the path", v2 + "junk", "C:\\资料\\报告.docx"},
      {"version 1, fixed field", v1, "D:\\old\\a.txt"},
      {"empty", "", std::nullopt},
      {"shorter than the header", RecordHeader(2).substr(0, 20), std::nullopt},
      {"version 2 without its count", RecordHeader(2), std::nullopt},
      {"version 2 cut inside the path", v2.substr(0, v2.size() - 3), std::nullopt},
      {"version 2 count beyond the end", RecordVersion2(u"C:\\a", 0xFFFFFFFF), std::nullopt},
      {"version 2 empty path", RecordVersion2(std::u16string(1, u'\0'), 1), std::nullopt},
      {"version 1 cut inside the field", v1.substr(0, 300), std::nullopt},
      {"unknown version", RecordHeader(3) + Utf16Bytes(u"C:\\a"), std::nullopt},
      {"control character", RecordVersion2(u"C:\\a\nb", 6), std::nullopt},
      {"garbage", std::string(600, '\xA7'), std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<DeletedItemRecord> record = ParseDeletedItemRecord(c.bytes);
    ASSERT_EQ(record.has_value(), c.path.has_value()) << c.what;
    if (!record) continue;
    EXPECT_EQ(record->originalPath, *c.path) << c.what;
    EXPECT_EQ(record->size, testing::kRecordSize) << c.what;
    EXPECT_EQ(record->deletedAt, testing::kRecordTime) << c.what;
  }
}

TEST(RecycleBinRecord, PairsEntriesByIdAndNamesEachItem) {
  const std::map<std::string, std::string> readable = {{"C:\\B\\$IAB12CD.txt", "C:\\docs\\a.txt"},
                                                       {"C:\\B\\$IORPHAN", "C:\\gone"}};
  const auto original = [&](const std::string& path) -> std::optional<std::string> {
    const auto found = readable.find(path);
    if (found == readable.end()) return std::nullopt;
    return found->second;
  };
  const std::vector<BinItem> items =
      PairBinEntries("C:\\B",
                     {"$IAB12CD.txt", "$IBROKEN", "$IORPHAN", "$RAB12CD.txt", "$RBROKEN", "$RNOREC",
                      "desktop.ini"},
                     original);
  const std::vector<BinItem> expected = {
      {"C:\\B\\$RAB12CD.txt", "C:\\B\\$IAB12CD.txt", "C:\\docs\\a.txt"},
      {"C:\\B\\$RBROKEN", "C:\\B\\$IBROKEN", "C:\\B\\$RBROKEN"},
      {"C:\\B\\$RNOREC", "", "C:\\B\\$RNOREC"},
      {"", "C:\\B\\$IORPHAN", "C:\\gone"},
  };
  EXPECT_EQ(items, expected);
  EXPECT_EQ(BinPaths(items), (std::vector<std::string>{"C:\\B\\$RAB12CD.txt", "C:\\B\\$RBROKEN",
                                                       "C:\\B\\$RNOREC", "C:\\B\\$IAB12CD.txt",
                                                       "C:\\B\\$IBROKEN", "C:\\B\\$IORPHAN"}));
  EXPECT_EQ(RecycleBinConsentText({expected[0], expected[2]}),
            "确定要粉碎回收站中的 2 项吗（操作不可逆）？\n\nC:\\docs\\a.txt\nC:\\B\\$RNOREC");
}

}  // namespace
}  // namespace tovo
