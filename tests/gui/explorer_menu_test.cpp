// The Explorer menu entries, turned on and off from the real program's
// system menu by keyboard, checked in the real registry of the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "gui/support/gui_driver.h"
#include "platform/registry_win.h"
#include "platform/wide_win.h"
#include "win/support/shred_scratch.h"

namespace tovo {
namespace {

const std::wstring kClasses = L"Software\\Classes\\";
struct Entry {
  const wchar_t* classKey;
  const wchar_t* text;
  const wchar_t* arguments;  // after the quoted program path
};
const Entry kEntries[] = {
    {L"*", L"彻底粉碎(Tovo文件粉碎)", L" \"%1\""},
    {L"Directory", L"彻底粉碎(Tovo文件粉碎)", L" \"%1\""},
    {L"Drive", L"擦除剩余空间(Tovo文件粉碎)", L" /wipe \"%1\""},
    {L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", L"粉碎回收站中的文件(Tovo文件粉碎)",
     L" /recycle-bin"},
};

std::wstring VerbKey(const Entry& entry) {
  return kClasses + entry.classKey + L"\\shell\\TovoShred";
}

std::optional<std::wstring> Value(const std::wstring& key, const std::wstring& name) {
  return ReadRegistryString(HKEY_CURRENT_USER, key, name);
}

// The lines of `text` that `other` lacks, in order (a changed key's name
// stands before its values in an export).
std::string LinesOnlyIn(const std::string& text, const std::string& other) {
  std::multiset<std::string> others;
  std::istringstream in(other);
  for (std::string line; std::getline(in, line);) others.insert(line);
  std::string only;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const auto found = others.find(line);
    if (found == others.end()) {
      only += line + "\n";
    } else {
      others.erase(found);
    }
  }
  return only;
}

class ExplorerMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    running_ = gui::StartProgram();
    ASSERT_TRUE(running_.mainWindow);
    program_ = gui::ProgramPath();
  }
  void TearDown() override {
    if (running_.process) {
      EXPECT_TRUE(gui::ClosesWithExitCodeZero(running_.process, running_.mainWindow));
    }
  }

  // Alt+Space opens the system menu; E chooses the Explorer menu item.
  void PressAltSpaceE() {
    gui::PostChar(running_.mainWindow, L' ', true);
    HWND menu = nullptr;
    ASSERT_TRUE(gui::WaitUntil(
        [&] { return (menu = gui::VisibleWindowOf(running_.process.id(), L"#32768")); }, 10000))
        << "no system menu";
    PostMessageW(menu, WM_CHAR, L'e', 1);
    ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindowVisible(menu); }, 10000));
    ASSERT_TRUE(gui::HandledPostedMessages(
        GetDlgItem(running_.mainWindow, forms::vazo::kDirectoryListBox1)));
  }

  // The whole of HKCU as reg.exe exports it (UTF-16), in UTF-8.
  std::string ExportCurrentUser() {
    const std::string file = scratch_ / ("hkcu" + std::to_string(exports_++) + ".reg");
    gui::Process reg = gui::Process::Start(L"C:\\windows\\system32\\reg.exe",
                                           L"export HKCU \"" + Wide(file) + L"\" /y");
    DWORD code = 99;
    EXPECT_TRUE(reg && reg.WaitForExit(30000, &code) && code == 0) << "reg export";
    if (!testing::PathExists(file)) return "";
    const std::vector<std::uint8_t> bytes = testing::ReadBytes(file);
    return Narrow(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2));
  }

  void ExpectEntriesNaming(const std::wstring& program) {
    for (const Entry& entry : kEntries) {
      const std::wstring key = VerbKey(entry);
      EXPECT_EQ(Value(key, L""), entry.text) << Narrow(key);
      EXPECT_EQ(Value(key, L"Icon"), program + L",0") << Narrow(key);
      EXPECT_EQ(Value(key, L"MultiSelectModel"), L"Player") << Narrow(key);
      EXPECT_EQ(Value(key + L"\\command", L""), L"\"" + program + L"\"" + entry.arguments)
          << Narrow(key);
    }
  }
  static bool NoEntryLeft() {
    for (const Entry& entry : kEntries) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, VerbKey(entry).c_str(), 0, KEY_READ, &key) ==
          ERROR_SUCCESS) {
        RegCloseKey(key);
        return false;
      }
    }
    return true;
  }

  gui::RunningProgram running_;
  std::wstring program_;
  testing::ScratchFolder scratch_;
  int exports_ = 0;
};

TEST_F(ExplorerMenu, AltSpaceEWritesTheEntriesAndAgainRemovesExactlyThem) {
  ASSERT_TRUE(NoEntryLeft()) << "a previous run left entries";
  const std::string before = ExportCurrentUser();
  ASSERT_FALSE(before.empty());

  PressAltSpaceE();
  ExpectEntriesNaming(program_);

  PressAltSpaceE();
  EXPECT_TRUE(NoEntryLeft());
  const std::string after = ExportCurrentUser();
  EXPECT_EQ(LinesOnlyIn(after, before), "") << "added";
  EXPECT_EQ(LinesOnlyIn(before, after), "") << "removed";
}

TEST_F(ExplorerMenu, EntriesNamingAnotherCopyCountAsOffAndAreRewritten) {
  PressAltSpaceE();
  // As if the program had been moved since: the entry names the old path.
  const std::wstring command = VerbKey(kEntries[0]) + L"\\command";
  const CreatedKey key = CreateRegistryKey(HKEY_CURRENT_USER, command);
  WriteRegistryString(key.key.get(), L"", L"\"C:\\old\\TovoShred.exe\" \"%1\"");

  PressAltSpaceE();
  ExpectEntriesNaming(program_);
  PressAltSpaceE();
  EXPECT_TRUE(NoEntryLeft());
}

}  // namespace
}  // namespace tovo
