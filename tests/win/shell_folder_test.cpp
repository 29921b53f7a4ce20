#include <gtest/gtest.h>

#include <string>

#include "app/shell_folders_win.h"
#include "platform/handles_win.h"

namespace tovo {
namespace {

// Each test works in a key of its own under HKCU\Software\TovoTest.
class ShellFolderPath : public testing::Test {
 protected:
  void SetUp() override {
    subKey_ = L"Software\\TovoTest\\ShellFolders" + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    key_.reset(key);
  }
  void TearDown() override {
    key_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str());
  }

  // Stores `bytes` bytes of `data` (so a string may be given without its terminator).
  void Set(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(RegSetValueExW(key_.get(), name, 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
  }
  void SetString(const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) {
    Set(name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::string Read(const std::string& name) {
    return ReadShellFolderPath(HKEY_CURRENT_USER, subKey_, name);
  }

  std::wstring subKey_;
  UniqueRegKey key_;
};

TEST_F(ShellFolderPath, KeyMissingGivesEmpty) {
  EXPECT_EQ(ReadShellFolderPath(HKEY_CURRENT_USER, subKey_ + L"\\Absent", "desktop"), "");
}

TEST_F(ShellFolderPath, ValueMissingGivesBackslashAlone) {
  SetString(L"Personal", L"C:\\docs");
  EXPECT_EQ(Read("desktop"), "\\");
}

TEST_F(ShellFolderPath, NonStringValueGivesEmpty) {
  const DWORD number = 7;
  Set(L"Desktop", REG_DWORD, &number, sizeof(number));
  EXPECT_EQ(Read("desktop"), "");
  Set(L"Personal", REG_BINARY, "C:\\x", 4);
  EXPECT_EQ(Read("personal"), "");
}

TEST_F(ShellFolderPath, StoredPathGetsABackslashAndTheNameMatchesInAnyCase) {
  SetString(L"Desktop", L"D:\\Users\\me\\Desktop");
  EXPECT_EQ(Read("desktop"), "D:\\Users\\me\\Desktop\\");
  EXPECT_EQ(Read("DESKTOP"), "D:\\Users\\me\\Desktop\\");
}

TEST_F(ShellFolderPath, ValueIsTakenAsStored) {
  SetString(L"Desktop", L"%USERPROFILE%\\Desktop", REG_EXPAND_SZ);
  EXPECT_EQ(Read("desktop"), "%USERPROFILE%\\Desktop\\") << "no environment expansion";
  SetString(L"Personal", L"C:\\用户\\我的文档");
  EXPECT_EQ(Read("personal"), "C:\\用户\\我的文档\\");
  SetString(L"Empty", L"");
  EXPECT_EQ(Read("empty"), "\\");
}

TEST_F(ShellFolderPath, StringWithoutTerminatorOrWithTrailingNulsReadsWhole) {
  const std::wstring bare = L"C:\\bare";
  Set(L"Bare", REG_SZ, bare.c_str(), static_cast<DWORD>(bare.size() * sizeof(wchar_t)));
  EXPECT_EQ(Read("bare"), "C:\\bare\\");
  const wchar_t padded[] = L"C:\\pad\0\0\0";
  Set(L"Padded", REG_SZ, padded, sizeof(padded));
  EXPECT_EQ(Read("padded"), "C:\\pad\\");
}

// The real key of the current user: present in every profile (Wine's too).
TEST(ShellFolderPathOfUser, DesktopEndsInBackslash) {
  const std::string desktop = GetShellFolderPath("desktop");
  ASSERT_FALSE(desktop.empty());
  EXPECT_EQ(desktop.back(), '\\');
  EXPECT_GT(desktop.size(), 3u);
}

}  // namespace
}  // namespace tovo
