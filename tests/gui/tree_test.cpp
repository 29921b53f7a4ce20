// The drive tree of the real program, read from a second process.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <utility>

#include <algorithm>
#include <memory>

#include <string>
#include <vector>

#include "forms/main_form.h"
#include "gui/support/gui_driver.h"
#include "gui/support/remote_tree.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;

const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// One value of both shell-folder keys, taken away (or replaced by another
// path) for a test and put back.
class ShellFolderValue {
 public:
  explicit ShellFolderValue(const wchar_t* name, const std::wstring& replacement = L"")
      : name_(name) {
    Save(kShellFolders, shell_);
    Save(kUserShellFolders, user_);
    if (replacement.empty()) return;
    Restore(kShellFolders, replacement, REG_SZ);
    Restore(kUserShellFolders, replacement, REG_EXPAND_SZ);
  }
  ~ShellFolderValue() {
    Restore(kShellFolders, shell_, REG_SZ);
    Restore(kUserShellFolders, user_, REG_EXPAND_SZ);
  }

 private:
  void Save(const wchar_t* key, std::wstring& value) {
    wchar_t data[MAX_PATH] = {};
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name_, RRF_RT_ANY | RRF_NOEXPAND, nullptr, data,
                     &size) == ERROR_SUCCESS) {
      value = data;
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name_);
  }
  void Restore(const wchar_t* key, const std::wstring& value, DWORD type) {
    if (value.empty()) return;
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name_, type, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

  const wchar_t* name_;
  std::wstring shell_, user_;
};

class ProgramTree : public testing::Test {
 protected:
  void Start() {
    gui::ProgramWithTree started = gui::StartWithTree();
    program_ = std::move(started.process);
    window_ = started.mainWindow;
    tree_ = started.tree;
    remote_ = std::move(started.remote);
    ASSERT_TRUE(remote_);
  }

  bool SelectionIs(const std::vector<std::wstring>& path) {
    return gui::WaitUntil([&] { return remote_->SelectionPath() == path; }, 5000);
  }

  // A folder directly below C:\ for the test to make (with at most a
  // sub-folder "desk"), removed at the end.
  std::wstring ScratchFolder() {
    scratch_ = L"C:\\tovo-follow-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount());
    return scratch_;
  }
  void TearDown() override {
    program_ = gui::Process();
    if (scratch_.empty()) return;
    RemoveDirectoryW((scratch_ + L"\\desk").c_str());
    RemoveDirectoryW(scratch_.c_str());
  }

  HTREEITEM DriveC() const {
    for (HTREEITEM item = remote_->Next(nullptr, TVGN_ROOT); item;
         item = remote_->Next(item, TVGN_NEXT)) {
      if (remote_->Text(item) == L"Mydisk (C:)") return item;
    }
    return nullptr;
  }

  gui::Process program_;
  std::wstring scratch_;
  HWND window_ = nullptr;
  HWND tree_ = nullptr;
  std::unique_ptr<gui::RemoteTree> remote_;
};

TEST_F(ProgramTree, ShowsThePrefixDrivesAndSelectsTheCurrentDrive) {
  Start();
  const std::vector<std::wstring> roots = remote_->RootTexts();
  ASSERT_GE(roots.size(), 4u);
  EXPECT_NE(std::find(roots.begin(), roots.end(), L"Mydisk (C:)"), roots.end());
  EXPECT_NE(std::find(roots.begin(), roots.end(), L"Testcd (D:)"), roots.end());
  EXPECT_TRUE(SelectionIs({L"Mydisk (C:)"}));
}

// The list box texts of another process (Wine marshals LB_GETTEXT).
std::vector<std::wstring> ListTexts(HWND list) {
  std::vector<std::wstring> texts;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[MAX_PATH] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

bool Lists(HWND list, const std::wstring& entry) {
  const std::vector<std::wstring> texts = ListTexts(list);
  return std::find(texts.begin(), texts.end(), entry) != texts.end();
}

TEST_F(ProgramTree, FileListShowsTheSelectedFolder) {
  Start();
  const HWND list = GetDlgItem(window_, vazo::kFileListBox);
  EXPECT_TRUE(gui::WaitUntil([&] { return Lists(list, L"testdesk"); }, 5000))
      << "the list shows C:\\ after start-up";
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton1));
  ASSERT_TRUE(SelectionIs({L"Mydisk (C:)", L"testdesk"}));
  EXPECT_TRUE(gui::WaitUntil([&] { return !Lists(list, L"testdesk"); }, 5000));
}

TEST_F(ProgramTree, QuickJumpButtonsOpenTheShellFolders) {
  Start();
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton1));
  EXPECT_TRUE(SelectionIs({L"Mydisk (C:)", L"testdesk"}));
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton2));
  EXPECT_TRUE(SelectionIs({L"Mydisk (C:)", L"testdocs"}));
}

TEST_F(ProgramTree, QuickJumpWithoutItsValueOpensTheCurrentDrivesRoot) {
  ShellFolderValue missing(L"Desktop");
  Start();
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton2));
  ASSERT_TRUE(SelectionIs({L"Mydisk (C:)", L"testdocs"}));
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton1));
  EXPECT_TRUE(SelectionIs({L"Mydisk (C:)"}));
  EXPECT_TRUE(gui::MessageBoxesOf(program_.id()).empty());
}

TEST_F(ProgramTree, AFolderMadeAfterStartIsOpenedByADoubleClickAndByTheDesktopButton) {
  const std::wstring folder = ScratchFolder();
  ShellFolderValue desktop(L"Desktop", folder + L"\\desk");
  Start();
  const HWND list = GetDlgItem(window_, vazo::kFileListBox);
  const std::wstring name = folder.substr(3);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(gui::WaitUntil([&] { return Lists(list, name); }, 2000)) << "the list follows C:\\";
  const std::vector<std::wstring> texts = ListTexts(list);
  const auto index = std::find(texts.begin(), texts.end(), name) - texts.begin();
  SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(vazo::kFileListBox, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
  ASSERT_TRUE(SelectionIs({L"Mydisk (C:)", name}));
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\desk").c_str(), nullptr));
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton1));
  EXPECT_TRUE(SelectionIs({L"Mydisk (C:)", name, L"desk"}));
  EXPECT_TRUE(gui::MessageBoxesOf(program_.id()).empty());
}

TEST_F(ProgramTree, FoldersMadeAndRemovedUnderAnExpandedNodeFollowInSortedPlace) {
  Start();
  ASSERT_TRUE(SelectionIs({L"Mydisk (C:)"}));
  const std::wstring folder = ScratchFolder();
  const std::wstring name = folder.substr(3);
  const HTREEITEM drive = DriveC();
  ASSERT_TRUE(drive);
  SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(drive));
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::vector<std::wstring> children;
  ASSERT_TRUE(gui::WaitUntil(
      [&] {
        children = remote_->ChildTexts(drive);
        return std::find(children.begin(), children.end(), name) != children.end();
      },
      2000));
  EXPECT_TRUE(std::is_sorted(
      children.begin(), children.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
               CSTR_LESS_THAN;
      }));
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  EXPECT_TRUE(gui::WaitUntil(
      [&] {
        children = remote_->ChildTexts(drive);
        return std::find(children.begin(), children.end(), name) == children.end();
      },
      2000));
  EXPECT_EQ(remote_->SelectionPath(), std::vector<std::wstring>{L"Mydisk (C:)"});
}

}  // namespace
}  // namespace tovo
