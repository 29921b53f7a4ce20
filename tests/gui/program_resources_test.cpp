#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/picture_ids.h"
#include "gui/support/gui_driver.h"

namespace tovo {
namespace {

// The resources of the built program, read without running it.
class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    path_ = gui::ProgramPath();
    ASSERT_FALSE(path_.empty());
    module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::string Resource(LPCWSTR type, LPCWSTR name) {
    const HRSRC found = FindResourceW(module_, name, type);
    if (!found) return "";
    const void* data = LockResource(LoadResource(module_, found));
    return std::string(static_cast<const char*>(data), SizeofResource(module_, found));
  }

  std::wstring path_;
  HMODULE module_ = nullptr;
};

#pragma pack(push, 2)
struct IconGroupHeader {
  WORD reserved, type, count;
};
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconHasEightImagesUpTo128In32BitColour) {
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(TOVO_IDI_MAIN));
  ASSERT_GE(group.size(), sizeof(IconGroupHeader));
  const auto* header = reinterpret_cast<const IconGroupHeader*>(group.data());
  ASSERT_EQ(header->count, 8);
  ASSERT_EQ(group.size(), sizeof(IconGroupHeader) + 8 * sizeof(IconGroupEntry));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
  int largest = 0;
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(entries[i].bitCount, 32);
    largest = std::max(largest, entries[i].width == 0 ? 256 : int{entries[i].width});
  }
  EXPECT_EQ(largest, 128);
}

struct PictureCase {
  int id;
  LONG width, height;
  WORD bits;
};

class ProgramPicture : public ProgramResources, public testing::WithParamInterface<PictureCase> {};

TEST_P(ProgramPicture, HasItsSizeAndDepth) {
  const std::string bitmap = Resource(RT_BITMAP, MAKEINTRESOURCEW(GetParam().id));
  ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bitmap.data());
  EXPECT_EQ(info->biWidth, GetParam().width);
  EXPECT_EQ(info->biHeight, GetParam().height);
  EXPECT_EQ(info->biBitCount, GetParam().bits);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ProgramPicture,
                         testing::Values(PictureCase{TOVO_IDB_EMBLEM, 50, 50, 24},
                                         PictureCase{TOVO_IDB_DESKTOP, 26, 22, 24},
                                         PictureCase{TOVO_IDB_DOCUMENTS, 26, 22, 24}),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                           return "Bitmap" + std::to_string(info.param.id);
                         });

TEST_F(ProgramResources, ManifestAsksForCommonControls6PerMonitorDpiUtf8) {
  const std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  // Per-monitor v2 where the system has it, the system DPI elsewhere.
  EXPECT_NE(manifest.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
  EXPECT_NE(manifest.find(">UTF-8</activeCodePage>"), std::string::npos);
}

TEST_F(ProgramResources, VersionNamesTheProductAt1_0) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, data.data()));
  auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) {
      return std::wstring();
    }
    return std::wstring(text);
  };
  EXPECT_EQ(value(L"ProductName"), L"Tovo文件粉碎");
  EXPECT_EQ(value(L"ProductVersion"), L"1.0");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
}

}  // namespace
}  // namespace tovo
