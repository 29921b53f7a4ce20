// The drive tree of the real program, read from a second process. A tree
// view's items live in the program's memory, so TVM_GETITEMW goes through a
// buffer allocated in the program (Wine marshals nothing for tree views).
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
#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;

const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Reads tree-view items of another process through memory allocated there.
class RemoteTree {
 public:
  RemoteTree(HWND tree, DWORD pid)
      : tree_(tree),
        process_(
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
    if (process_) {
      block_ = VirtualAllocEx(process_.get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
    }
  }
  ~RemoteTree() {
    if (block_) VirtualFreeEx(process_.get(), block_, 0, MEM_RELEASE);
  }
  explicit operator bool() const { return block_ != nullptr; }

  HTREEITEM Next(HTREEITEM item, UINT how) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }

  std::wstring Text(HTREEITEM item) const {
    auto* remote = static_cast<unsigned char*>(block_);
    TVITEMW data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    data.cchTextMax = 260;
    WriteProcessMemory(process_.get(), remote, &data, sizeof(data), nullptr);
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    wchar_t text[261] = {};
    ReadProcessMemory(process_.get(), remote + sizeof(TVITEMW), text, 260 * sizeof(wchar_t),
                      nullptr);
    return text;
  }

  std::vector<std::wstring> RootTexts() const {
    std::vector<std::wstring> texts;
    for (HTREEITEM item = Next(nullptr, TVGN_ROOT); item; item = Next(item, TVGN_NEXT)) {
      texts.push_back(Text(item));
    }
    return texts;
  }

  // The texts from the drive node down to the selected node.
  std::vector<std::wstring> SelectionPath() const {
    std::vector<std::wstring> path;
    for (HTREEITEM item = Next(nullptr, TVGN_CARET); item; item = Next(item, TVGN_PARENT)) {
      path.insert(path.begin(), Text(item));
    }
    return path;
  }

 private:
  static constexpr SIZE_T kSize = 4096;
  HWND tree_;
  UniqueKernelHandle process_;
  void* block_ = nullptr;
};

// One value of both shell-folder keys, taken away for a test and put back.
class MissingShellFolderValue {
 public:
  explicit MissingShellFolderValue(const wchar_t* name) : name_(name) {
    Save(kShellFolders, shell_);
    Save(kUserShellFolders, user_);
  }
  ~MissingShellFolderValue() {
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
    // Started on drive C:, so the tree opens on C:\ at start-up.
    gui::RunningProgram running = gui::StartProgram(L"C:\\windows");
    program_ = std::move(running.process);
    window_ = running.mainWindow;
    ASSERT_NE(window_, nullptr);
    tree_ = GetDlgItem(window_, vazo::kDirectoryListBox1);
    remote_ = std::make_unique<RemoteTree>(tree_, program_.id());
    ASSERT_TRUE(*remote_);
  }

  bool SelectionIs(const std::vector<std::wstring>& path) {
    return gui::WaitUntil([&] { return remote_->SelectionPath() == path; }, 5000);
  }

  gui::Process program_;
  HWND window_ = nullptr;
  HWND tree_ = nullptr;
  std::unique_ptr<RemoteTree> remote_;
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
  MissingShellFolderValue missing(L"Desktop");
  Start();
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton2));
  ASSERT_TRUE(SelectionIs({L"Mydisk (C:)", L"testdocs"}));
  gui::Click(GetDlgItem(window_, vazo::kSpeedButton1));
  EXPECT_TRUE(SelectionIs({L"Mydisk (C:)"}));
  EXPECT_TRUE(gui::MessageBoxesOf(program_.id()).empty());
}

}  // namespace
}  // namespace tovo
