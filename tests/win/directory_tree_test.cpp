// TDirectoryTree in a test window: the drives of the test prefix, expansion,
// the file list following the selection, device changes (with an injected
// machine, since Wine learns of new drive letters only after a server
// restart), the selection outline, colours, keys and the wheel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/support/directory_tree_fake.h"
#include "platform/errors.h"
#include "platform/file_system_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"
#include "widgets/directory_tree_win.h"
#include "widgets/volume_naming_win.h"

namespace tovo {
namespace {

using testing::FakeMachine;

constexpr int kTreeId = 101;
constexpr int kListId = 102;
constexpr RECT kTreeBounds = {8, 94, 8 + 233, 94 + 239};

class Host : public Window {
 public:
  Host() {
    Create(WindowClassSpec{.name = L"TovoTreeTestHost"}, 0, L"tree host",
           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 420, nullptr, nullptr);
    button = CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 300, 10,
                             80, 24, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  HWND button = nullptr;
  int device_changes_seen = 0;

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM, LPARAM) override {
    if (msg == WM_DEVICECHANGE) ++device_changes_seen;
    return std::nullopt;
  }
};

HTREEITEM Next(HWND view, HTREEITEM item, UINT how) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(view, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

std::string ItemText(HWND view, HTREEITEM item) {
  wchar_t text[260] = {};
  TVITEMW data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = 260;
  SendMessageW(view, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return Narrow(text);
}

// Whether the view draws an expand button for an item (asking the tree when
// the item's button is decided on demand).
bool HasButton(HWND view, HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_CHILDREN | TVIF_HANDLE;
  data.hItem = item;
  SendMessageW(view, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return data.cChildren > 0;
}

UINT ItemState(HWND view, HTREEITEM item) {
  return static_cast<UINT>(SendMessageW(view, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                        TVIS_EXPANDED | TVIS_SELECTED));
}

// Texts of the children of an item (TVI_ROOT: the drive level), as shown.
std::vector<std::string> ShownTexts(HWND view, HTREEITEM parent = TVI_ROOT) {
  std::vector<std::string> texts;
  HTREEITEM item =
      parent == TVI_ROOT ? Next(view, nullptr, TVGN_ROOT) : Next(view, parent, TVGN_CHILD);
  for (; item; item = Next(view, item, TVGN_NEXT)) texts.push_back(ItemText(view, item));
  return texts;
}

HTREEITEM ShownChild(HWND view, HTREEITEM parent, const std::string& text) {
  HTREEITEM item =
      parent == TVI_ROOT ? Next(view, nullptr, TVGN_ROOT) : Next(view, parent, TVGN_CHILD);
  for (; item; item = Next(view, item, TVGN_NEXT)) {
    if (ItemText(view, item) == text) return item;
  }
  return nullptr;
}

// A scratch folder on C: with mixed-case names, removed afterwards. Hid and
// Sys hold only a hidden and only a system sub-folder.
class TreeOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = "C:\\Tovo-Tree-" + std::to_string(GetCurrentProcessId());
    for (const std::string& dir : Folders()) {
      ASSERT_TRUE(CreateDirectoryW(Wide(dir).c_str(), nullptr)) << dir;
    }
    SetFileAttributesW(Wide(root_ + "\\Hid\\inner").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(Wide(root_ + "\\Sys\\inner").c_str(), FILE_ATTRIBUTE_SYSTEM);
  }
  void TearDown() override {
    tree_.reset();
    list_.reset();
    SetCurrentDirectoryW(Wide(cwd_.saved()).c_str());
    const std::vector<std::string> folders = Folders();
    for (auto dir = folders.rbegin(); dir != folders.rend(); ++dir) {
      RemoveDirectoryW(Wide(*dir).c_str());
    }
  }
  std::vector<std::string> Folders() const {
    return {root_,
            root_ + "\\beta",
            root_ + "\\Alpha",
            root_ + "\\gamma",
            root_ + "\\gamma\\Deep",
            root_ + "\\Hid",
            root_ + "\\Hid\\inner",
            root_ + "\\Sys",
            root_ + "\\Sys\\inner"};
  }

  TDirectoryTree& MakeTree(bool with_list) {
    if (with_list) {
      list_ = std::make_unique<TShellFileListBox>();
      list_->Create(host_.hwnd(), kListId, RECT{250, 94, 500, 333}, nullptr, RGB(0, 0, 128));
    }
    tree_ = std::make_unique<TDirectoryTree>();
    tree_->SetDriveTypes({dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM});
    if (list_) tree_->SetFileList(list_.get());
    tree_->Create(host_.hwnd(), kTreeId, kTreeBounds, nullptr, RGB(0, 0, 128));
    tree_->SetIndent(19);
    return *tree_;
  }

  ProcessFolderGuard cwd_;
  Host host_;
  std::string root_;
  std::unique_ptr<TShellFileListBox> list_;
  std::unique_ptr<TDirectoryTree> tree_;
};

TEST_F(TreeOnDiskTest, DrivesOfTheTestPrefixInLetterOrder) {
  TDirectoryTree& tree = MakeTree(false);
  const HWND view = tree.hwnd();
  std::vector<std::string> expected;
  for (const auto& node : tree.Model().Nodes().Roots()) expected.push_back(node->text);
  EXPECT_EQ(ShownTexts(view), expected);
  EXPECT_EQ(expected.size(), static_cast<size_t>(__builtin_popcount(tree.Model().DriveMask())));

  const HTREEITEM c = ShownChild(view, TVI_ROOT, "Mydisk (C:)");
  ASSERT_TRUE(c) << "the prefix labels C: MYDISK";
  EXPECT_TRUE(HasButton(view, c)) << "C: has folders: an expand button";
  const HTREEITEM d = ShownChild(view, TVI_ROOT, "Testcd (D:)");
  ASSERT_TRUE(d);
  EXPECT_TRUE(HasButton(view, d)) << "a CD-ROM gets its button without a search";
  EXPECT_EQ(tree.Model().VolumeSerial('D'), 0x0BADF00Du);
  for (HTREEITEM item = Next(view, nullptr, TVGN_ROOT); item; item = Next(view, item, TVGN_NEXT)) {
    EXPECT_EQ(SendMessageW(view, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                           TVIS_BOLD | TVIS_DROPHILITED | TVIS_CUT),
              0);
  }
  // The floppy A: keeps the shell's name; the network drive N: is shown.
  EXPECT_EQ(expected.front(), tree.Model().Provider().ShellInfo("A:\\").displayName);
  EXPECT_TRUE(tree.Model().FindDriveNode("N:\\"));

  Win32VolumePlatform platform;
  EXPECT_EQ(tree.SelectedFolder(), CurrentDriveRoot(platform));
  EXPECT_EQ(ItemState(view, Next(view, nullptr, TVGN_CARET)) & TVIS_SELECTED, TVIS_SELECTED);
}

TEST_F(TreeOnDiskTest, ExpandingAFolderShowsSortedChildrenWithButtons) {
  TDirectoryTree& tree = MakeTree(false);
  const HWND view = tree.hwnd();
  tree.OpenFolder(root_);
  const HTREEITEM folder = Next(view, nullptr, TVGN_CARET);
  ASSERT_EQ(ItemText(view, folder), root_.substr(3));
  // Under Wine TVM_EXPAND raises the expansion request as a click would.
  SendMessageW(view, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
  EXPECT_EQ(ShownTexts(view, folder),
            (std::vector<std::string>{"Alpha", "beta", "gamma", "Hid", "Sys"}));
  EXPECT_TRUE(ItemState(view, folder) & TVIS_EXPANDED);
  // Buttons only where a listed sub-folder is: hidden and system ones are not.
  for (const char* bare : {"Alpha", "beta", "Hid", "Sys"}) {
    EXPECT_FALSE(HasButton(view, ShownChild(view, folder, bare))) << bare;
  }
  const HTREEITEM gamma = ShownChild(view, folder, "gamma");
  EXPECT_TRUE(HasButton(view, gamma));
  SendMessageW(view, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(gamma));
  EXPECT_EQ(ShownTexts(view, gamma), (std::vector<std::string>{"Deep"}));
}

TEST_F(TreeOnDiskTest, FileListFollowsTheSelectionInTheStoredCase) {
  TDirectoryTree& tree = MakeTree(true);
  Win32VolumePlatform platform;
  EXPECT_EQ(list_->Folder(), CurrentDriveRoot(platform));

  tree.OpenFolder(AsciiLower(root_) + "\\");
  EXPECT_EQ(list_->Folder(), root_);
  EXPECT_EQ(tree.SelectedFolder(), root_);

  // The user picks a folder: the list follows at once.
  const HWND view = tree.hwnd();
  SendMessageW(view, TVM_EXPAND, TVE_EXPAND,
               reinterpret_cast<LPARAM>(Next(view, nullptr, TVGN_CARET)));
  const HTREEITEM alpha = ShownChild(view, Next(view, nullptr, TVGN_CARET), "Alpha");
  SendMessageW(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(alpha));
  EXPECT_EQ(list_->Folder(), root_ + "\\Alpha");

  // The list's folder double-click goes through the tree.
  tree.OpenFolder(root_);
  list_->GoToPath("gamma");
  EXPECT_EQ(tree.SelectedFolder(), root_ + "\\gamma");
  EXPECT_EQ(list_->Folder(), root_ + "\\gamma");
}

TEST_F(TreeOnDiskTest, MissingFolderRaisesWithTheCallersPath) {
  TDirectoryTree& tree = MakeTree(false);
  tree.OpenFolder(root_ + "\\NoSuch\\Deeper");
  EXPECT_EQ(tree.SelectedFolder(), root_);
  try {
    tree.OpenFolder("Q:\\x");
    FAIL();
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "The Q:\\x directory does not exist");
  }
  EXPECT_EQ(tree.SelectedFolder(), root_);
}

TEST_F(TreeOnDiskTest, LabelShortensAndBindingsEndWithTheirWindows) {
  TDirectoryTree& tree = MakeTree(true);
  const HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 8, 60, 90, 16,
                                     host_.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  tree.SetDirLabel(label);
  tree.OpenFolder(root_ + "\\gamma\\Deep");
  wchar_t text[MAX_PATH] = {};
  GetWindowTextW(label, text, MAX_PATH);
  const std::string shown = Narrow(text);
  EXPECT_NE(shown, root_ + "\\gamma\\Deep");
  EXPECT_NE(shown.find("..."), std::string::npos) << shown;

  list_.reset();  // the list goes first, as it may when the window closes
  EXPECT_EQ(tree.FileList(), nullptr);
  DestroyWindow(label);
  tree.OpenFolder(root_ + "\\Alpha");
  EXPECT_EQ(tree.SelectedFolder(), root_ + "\\Alpha");
}

// A machine the test changes at will, behind the real window.
class TreeOnFakeMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_.drives['C'] = {kDriveFixed, VolumeInfo{"SYS", 1}, std::nullopt, "", 4};
    machine_.Folder("C:\\Windows");
    machine_.Folder("C:\\Windows\\Fonts");
    for (int i = 0; i < 40; ++i) machine_.Folder("C:\\Windows\\f" + std::to_string(100 + i));
    machine_.cwd = "C:\\Windows";
    tree_.Create(host_.hwnd(), kTreeId, kTreeBounds, nullptr, RGB(0, 0, 128));
  }

  FakeMachine machine_;
  Host host_;
  TDirectoryTree tree_{machine_};
};

TEST_F(TreeOnFakeMachineTest, DeviceChangeAddsAndRemovesDrivesKeepingTheRest) {
  tree_.OpenFolder("C:\\Windows\\Fonts");
  const HWND view = tree_.hwnd();
  const HTREEITEM c = ShownChild(view, TVI_ROOT, "Sys (C:)");
  ASSERT_TRUE(ItemState(view, c) & TVIS_EXPANDED);

  machine_.drives['F'] = {kDriveFixed, VolumeInfo{"NEW", 2}, std::nullopt, "", 4};
  machine_.drives['A'] = {kDriveRemovable, std::nullopt, std::nullopt, "Floppy (A:)", 8};
  EXPECT_EQ(SendMessageW(host_.hwnd(), WM_DEVICECHANGE, 0x8000 /* arrival */, 0), 0);
  EXPECT_EQ(host_.device_changes_seen, 0);
  EXPECT_EQ(ShownTexts(view), (std::vector<std::string>{"Floppy (A:)", "Sys (C:)", "New (F:)"}));
  EXPECT_EQ(ShownChild(view, TVI_ROOT, "Sys (C:)"), c);
  EXPECT_TRUE(ItemState(view, c) & TVIS_EXPANDED);
  EXPECT_EQ(tree_.SelectedFolder(), "C:\\Windows\\Fonts");

  machine_.drives.erase('A');
  SendMessageW(host_.hwnd(), WM_DEVICECHANGE, 0x8004 /* removal */, 0);
  EXPECT_EQ(ShownTexts(view), (std::vector<std::string>{"Sys (C:)", "New (F:)"}));
  EXPECT_TRUE(ItemState(view, c) & TVIS_EXPANDED);

  // Other messages still reach the parent's own procedure.
  EXPECT_EQ(SendMessageW(host_.hwnd(), WM_GETTEXTLENGTH, 0, 0), 9);
}

// Of the 41 folders an expansion reveals, only those drawn are searched for
// a sub-folder, each once however often it is drawn.
TEST_F(TreeOnFakeMachineTest, AnExpansionSearchesOnlyTheFoldersItDrawsOnce) {
  machine_.Folder("C:\\Windows\\f101\\inner");
  tree_.OpenFolder("C:\\Windows");
  const HWND view = tree_.hwnd();
  const HTREEITEM windows = Next(view, nullptr, TVGN_CARET);
  SendMessageW(view, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(windows));
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(machine_.SearchesOf("C:\\Windows\\f100\\"), 1);
  EXPECT_EQ(machine_.SearchesOf("C:\\Windows\\f139\\"), 0) << "below the visible lines";
  EXPECT_TRUE(HasButton(view, ShownChild(view, windows, "f101")));
  EXPECT_FALSE(HasButton(view, ShownChild(view, windows, "f139")));
  EXPECT_EQ(machine_.SearchesOf("C:\\Windows\\f101\\"), 1);
  EXPECT_EQ(machine_.SearchesOf("C:\\Windows\\f139\\"), 1);
}

TEST_F(TreeOnFakeMachineTest, SelectionOutlineWhileAnotherControlHasTheFocus) {
  tree_.OpenFolder("C:\\Windows");
  const HWND view = tree_.hwnd();
  SetFocus(host_.button);
  RECT rect = {};
  HTREEITEM item = Next(view, nullptr, TVGN_CARET);
  std::memcpy(&rect, &item, sizeof(item));
  ASSERT_TRUE(SendMessageW(view, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
  auto edge = [&] {
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    const HDC dc = GetDC(view);
    const COLORREF colour = GetPixel(dc, rect.left, (rect.top + rect.bottom) / 2);
    ReleaseDC(view, dc);
    return colour;
  };
  EXPECT_EQ(edge(), GetSysColor(COLOR_BTNSHADOW));
  SetFocus(view);  // focused: the ordinary highlight, no outline
  EXPECT_NE(edge(), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(TreeOnFakeMachineTest, BackgroundFollowsFocusAndEnablement) {
  const HWND view = tree_.hwnd();
  tree_.SetFocusColor(RGB(1, 2, 3));
  SetFocus(view);
  EXPECT_EQ(SendMessageW(view, TVM_GETBKCOLOR, 0, 0), RGB(1, 2, 3));
  SetFocus(host_.button);
  EXPECT_EQ(SendMessageW(view, TVM_GETBKCOLOR, 0, 0), GetSysColor(COLOR_WINDOW));
  EnableWindow(view, FALSE);
  EXPECT_EQ(SendMessageW(view, TVM_GETBKCOLOR, 0, 0), GetSysColor(COLOR_BTNFACE));
  EnableWindow(view, TRUE);
  tree_.SetColor(RGB(9, 9, 9));
  EXPECT_EQ(SendMessageW(view, TVM_GETBKCOLOR, 0, 0), RGB(9, 9, 9));
}

TEST_F(TreeOnFakeMachineTest, KeysThatWouldEditOrOpenMenusAreConsumed) {
  const HWND view = tree_.hwnd();
  tree_.OpenFolder("C:\\Windows");
  int popups = 0;
  tree_.OnContextPopup = [&](POINT) { ++popups; };
  SetFocus(view);
  EXPECT_EQ(SendMessageW(view, WM_KEYDOWN, VK_F2, 0), 0);
  EXPECT_EQ(SendMessageW(view, TVM_GETEDITCONTROL, 0, 0), 0);
  EXPECT_EQ(SendMessageW(view, WM_KEYDOWN, VK_APPS, 0), 0);
  EXPECT_EQ(popups, 1);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(view, WM_SYSKEYDOWN, VK_F10, 0);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(tree_.SelectedFolder(), "C:\\Windows");
}

TEST_F(TreeOnFakeMachineTest, WheelScrollsOnlyWhenTheContentDoesNotFit) {
  const HWND view = tree_.hwnd();
  SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(GetScrollPos(view, SB_VERT), 0);  // two lines fit
  tree_.OpenFolder("C:\\Windows\\f139");
  SendMessageW(view, TVM_ENSUREVISIBLE, 0,
               reinterpret_cast<LPARAM>(Next(view, nullptr, TVGN_ROOT)));
  const int top = GetScrollPos(view, SB_VERT);
  EXPECT_EQ(SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0), 0);
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  EXPECT_EQ(GetScrollPos(view, SB_VERT), top + static_cast<int>(lines));
}

TEST_F(TreeOnFakeMachineTest, AutoExpandAndAutoSelectExcludeEachOther) {
  tree_.SetAutoExpand(true);
  EXPECT_TRUE(GetWindowLongPtrW(tree_.hwnd(), GWL_STYLE) & TVS_SINGLEEXPAND);
  tree_.SetAutoSelect(true);
  EXPECT_FALSE(tree_.AutoExpand());
  EXPECT_FALSE(GetWindowLongPtrW(tree_.hwnd(), GWL_STYLE) & TVS_SINGLEEXPAND);
  tree_.SetAutoExpand(true);
  EXPECT_FALSE(tree_.AutoSelect());
}

}  // namespace
}  // namespace tovo
