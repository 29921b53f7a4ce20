// TShellFileListBox on real folders: what is listed and in which order, the
// folder rules, re-reading and following the folder, icons, double-click and
// the mouse wheel.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system_win.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"
#include "widgets/extension_icon_cache_win.h"
#include "widgets/file_list_box_win.h"

namespace tovo {
namespace {

using enum FileAttr;
constexpr int kListId = 105;

// A plain top-level window that reflects the list's messages back to it.
class Host : public Window {
 public:
  Host() {
    Create(WindowClassSpec{.name = L"TovoFileListTestHost"}, 0, L"host", WS_OVERLAPPEDWINDOW, 0, 0,
           400, 400, nullptr, nullptr);
  }

 protected:
  std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
};

class RecordingTree : public FolderOpener {
 public:
  std::vector<std::string> opened;
  void OpenFolder(const std::string& path) override { opened.push_back(path); }
};

class FileListBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = Narrow(temp) + "tovo-list-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryW(Wide(root_).c_str(), nullptr));
    font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
  }

  void TearDown() override {
    list_.reset();
    SetCurrentDirectoryW(Wide(cwd_.saved()).c_str());
    RemoveTree(root_);
  }

  static void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAW data;
    UniqueFind search(FindFirstFileW(Wide(dir + "\\*").c_str(), &data));
    if (search) {
      do {
        const std::string name = Narrow(data.cFileName);
        if (name == "." || name == "..") continue;
        const std::wstring path = Wide(dir + "\\" + name);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(dir + "\\" + name);
        else
          DeleteFileW(path.c_str());
      } while (FindNextFileW(search.get(), &data));
    }
    search.reset();
    RemoveDirectoryW(Wide(dir).c_str());
  }

  std::string Path(const std::string& name) const { return root_ + "\\" + name; }

  void File(const std::string& name, DWORD attributes = 0) {
    UniqueFile f(CreateFileW(Wide(Path(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(f) << name;
    f.reset();
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesW(Wide(Path(name)).c_str(), attributes));
    }
  }

  void Folder(const std::string& name, DWORD attributes = 0) {
    ASSERT_TRUE(CreateDirectoryW(Wide(Path(name)).c_str(), nullptr)) << name;
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesW(Wide(Path(name)).c_str(), attributes));
    }
  }

  // Creates the list on the test folder, configured as the main window does.
  TShellFileListBox& Open() {
    SetCurrentDirectoryW(Wide(root_).c_str());
    list_ = std::make_unique<TShellFileListBox>();
    list_->SetFileType({ftReadOnly, ftHidden, ftDirectory, ftArchive, ftNormal});
    list_->OnChange = [this] { ++changes_; };
    list_->Create(host_.hwnd(), kListId, RECT{0, 0, 264, 239}, font_.get(), RGB(0, 0, 128));
    list_->SetItemHeight(18);
    return *list_;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < list_->Count(); ++i) texts.push_back(list_->Text(i));
    return texts;
  }

  void Notify(WORD code) {
    SendMessageW(host_.hwnd(), WM_COMMAND, MAKEWPARAM(kListId, code),
                 reinterpret_cast<LPARAM>(list_->hwnd()));
  }

  ProcessFolderGuard cwd_;
  Host host_;
  UniqueFont font_;
  std::string root_;
  std::unique_ptr<TShellFileListBox> list_;
  int changes_ = 0;
};

using Names = std::vector<std::string>;

TEST_F(FileListBoxTest, ListsFoldersFirstHiddenButNotSystemEntriesInTextOrder) {
  File("a2.txt");
  File("a10.txt");
  File("Hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  File("system.txt", FILE_ATTRIBUTE_SYSTEM);
  File("hidsys.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  File("readonly.txt", FILE_ATTRIBUTE_READONLY);
  Folder("x.exe");
  Folder("B");
  Folder("hidden dir", FILE_ATTRIBUTE_HIDDEN);
  Folder("system dir", FILE_ATTRIBUTE_SYSTEM);
  Open();
  EXPECT_EQ(Texts(),
            (Names{"B", "hidden dir", "x.exe", "a10.txt", "a2.txt", "Hidden.txt", "readonly.txt"}));
  const TFileEntryInfo& exe = list_->Model().Info(2);
  EXPECT_TRUE(exe.IsFolder);
  EXPECT_TRUE(exe.OwnsIcon) << "a folder owns its icon";
  EXPECT_EQ(list_->SelectedCount(), 0);
  EXPECT_EQ(changes_, 1);
}

TEST_F(FileListBoxTest, EmptyFolderListsNothingAndStillNotifies) {
  Open();
  EXPECT_EQ(list_->Count(), 0);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(list_->FocusedFilePath(), "");
}

TEST_F(FileListBoxTest, ALongListingGivesTheCursorBackBeforeItNotifies) {
  for (int i = 0; i < 101; ++i) File(std::to_string(1000 + i));
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  SetCursor(arrow);
  HCURSOR during = nullptr;
  Open();
  list_->OnChange = [&] { during = GetCursor(); };
  list_->Reload();
  EXPECT_EQ(list_->Count(), 101);
  EXPECT_EQ(during, arrow);
  EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(FileListBoxTest, ChineseAndEmojiNamesAreListedExactly) {
  File("粉碎测试.txt");
  File("smile 😀.doc");
  Folder("文件夹");
  Open();
  EXPECT_EQ(Texts(), (Names{"文件夹", "smile 😀.doc", "粉碎测试.txt"}));
}

TEST_F(FileListBoxTest, KeepsTheCurrentDirectoryAtItsFolderAndRereadsOnReload) {
  File("one.txt");
  Open();
  EXPECT_TRUE(SameFileName(list_->Folder(), root_));
  File("two.txt");
  SetCurrentDirectoryW(Wide(cwd_.saved()).c_str());
  list_->Reload();
  EXPECT_EQ(Texts(), (Names{"one.txt", "two.txt"}));
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);
  EXPECT_EQ(Narrow(cwd), list_->Folder());
}

TEST_F(FileListBoxTest, SetFolderRules) {
  Folder("sub");
  File("sub\\inner.txt");
  Open();
  const int before = changes_;
  std::string shouted = root_;
  for (char& c : shouted) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  list_->SetFolder(shouted);
  EXPECT_EQ(changes_, before) << "the same folder in other letter case is not re-read";

  list_->SetFolder(Path("sub"));
  EXPECT_EQ(Texts(), Names{"inner.txt"});
  EXPECT_TRUE(SameFileName(list_->Folder(), Path("sub")));

  // A folder that cannot be entered: Folder stays and is listed again.
  const int changesBefore = changes_;
  list_->SetFolder(Path("missing"));
  EXPECT_TRUE(SameFileName(list_->Folder(), Path("sub")));
  EXPECT_EQ(changes_, changesBefore + 1);
  EXPECT_EQ(Texts(), Names{"inner.txt"});
}

TEST_F(FileListBoxTest, OneIconPerExtensionAndOwnIconsForPrograms) {
  File("a.txt");
  File("b.txt");
  File("c.exe");
  File("d.exe");
  Open();
  const FileListModel& m = list_->Model();
  ASSERT_EQ(m.Count(), 4u);
  EXPECT_EQ(m.Info(0).Icon, m.Info(1).Icon);
  EXPECT_FALSE(m.Info(0).OwnsIcon);
  EXPECT_NE(m.Info(2).Icon, m.Info(3).Icon);
  EXPECT_TRUE(m.Info(2).OwnsIcon && m.Info(3).OwnsIcon);
  EXPECT_EQ(list_->ItemHeight(), 18);
}

TEST_F(FileListBoxTest, FocusedFilePathFollowsTheCaretOnly) {
  File("x.txt");
  File("y.txt");
  Open();
  SendMessageW(list_->hwnd(), LB_SETSEL, TRUE, 1);
  SendMessageW(list_->hwnd(), LB_SETCARETINDEX, 0, FALSE);
  EXPECT_EQ(list_->FocusedFilePath(), "") << "the caret entry is not selected";
  SendMessageW(list_->hwnd(), LB_SETSEL, TRUE, 0);
  SendMessageW(list_->hwnd(), LB_SETCARETINDEX, 0, FALSE);
  EXPECT_EQ(list_->FocusedFilePath(), list_->Folder() + "\\x.txt");
  EXPECT_EQ(list_->SelectedCount(), 2);
}

TEST_F(FileListBoxTest, DoubleClickOnAFolderOpensItThroughTheTreeOrDirectly) {
  Folder("sub");
  File("file.txt");
  Open();
  int clicks = 0;
  list_->OnDblClick = [&] { ++clicks; };
  SendMessageW(list_->hwnd(), LB_SETCARETINDEX, 1, FALSE);  // file.txt
  Notify(LBN_DBLCLK);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list_->Count(), 2) << "a file does nothing with AllowOpen off";

  RecordingTree tree;
  list_->SetTree(&tree);
  SendMessageW(list_->hwnd(), LB_SETCARETINDEX, 0, FALSE);  // sub
  Notify(LBN_DBLCLK);
  ASSERT_EQ(tree.opened.size(), 1u);
  EXPECT_TRUE(SameFileName(tree.opened[0], Path("sub")));
  EXPECT_TRUE(SameFileName(list_->Folder(), root_)) << "the tree sets the folder";

  list_->SetTree(nullptr);
  Notify(LBN_DBLCLK);
  EXPECT_TRUE(SameFileName(list_->Folder(), Path("sub")));
  EXPECT_EQ(list_->Count(), 0);
}

// One entry drawn into a bitmap as the list box would ask for it.
class EntryPicture {
 public:
  EntryPicture(HFONT font) {
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_.reset(CreateCompatibleBitmap(screen, kWidth, kHeight));
    ReleaseDC(nullptr, screen);
    SelectObject(dc_, bitmap_.get());
    SelectObject(dc_, font);
    const RECT all{0, 0, kWidth, kHeight};
    UniqueBrush marker(CreateSolidBrush(kMarker));
    FillRect(dc_, &all, marker.get());
  }
  ~EntryPicture() { DeleteDC(dc_); }

  void Draw(HWND host, HWND list, UINT state) {
    DRAWITEMSTRUCT item = {
        ODT_LISTBOX, kListId, 0, ODA_DRAWENTIRE, state, list, dc_, {0, 0, kWidth, kHeight}, 0};
    SendMessageW(host, WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&item));
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  bool Any(int left, int right, COLORREF colour, bool equal) const {
    for (int x = left; x < right; ++x)
      for (int y = 0; y < kHeight; ++y)
        if ((At(x, y) == colour) == equal) return true;
    return false;
  }

  static constexpr int kWidth = 264, kHeight = 18;
  static constexpr COLORREF kMarker = RGB(255, 0, 255);

 private:
  HDC dc_;
  UniqueBitmap bitmap_;
};

TEST_F(FileListBoxTest, DrawsTheEntryRightOfTheIconMargin) {
  File("a.txt");
  Open();
  EntryPicture plain(font_.get());
  plain.Draw(host_.hwnd(), list_->hwnd(), 0);
  EXPECT_EQ(plain.At(200, 9), GetSysColor(COLOR_WINDOW)) << "the narrowed rectangle is filled";
  EXPECT_TRUE(plain.Any(26, 60, RGB(0, 0, 128), true)) << "the text in the font colour";
  EXPECT_EQ(plain.At(1, 9), EntryPicture::kMarker) << "the margin is not filled";
  EXPECT_EQ(plain.At(22, 9), EntryPicture::kMarker);
  EXPECT_TRUE(plain.Any(4, 20, EntryPicture::kMarker, false)) << "the icon 4 pixels in";

  EntryPicture selected(font_.get());
  selected.Draw(host_.hwnd(), list_->hwnd(), ODS_SELECTED | ODS_FOCUS);
  EXPECT_EQ(selected.At(200, 9), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_TRUE(selected.Any(26, 60, GetSysColor(COLOR_HIGHLIGHTTEXT), true));
  EXPECT_EQ(selected.At(22, 9), EntryPicture::kMarker);
  EXPECT_TRUE(selected.Any(4, 20, EntryPicture::kMarker, false)) << "the selected icon";
  // The dotted focus rectangle on the narrowed rectangle's top edge.
  EXPECT_TRUE(selected.At(24, 0) != GetSysColor(COLOR_HIGHLIGHT) ||
              selected.At(25, 0) != GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(FileListBoxTest, BackgroundFollowsTheStateAndItsColours) {
  File("a.txt");
  Open();
  const auto background = [&] {
    EntryPicture picture(font_.get());
    picture.Draw(host_.hwnd(), list_->hwnd(), 0);
    return picture.At(200, 9);
  };
  list_->SetColor(RGB(200, 255, 200));
  EXPECT_EQ(background(), RGB(200, 255, 200));
  EnableWindow(list_->hwnd(), FALSE);
  EXPECT_EQ(background(), GetSysColor(COLOR_BTNFACE));
  list_->SetDisabledColor(RGB(10, 20, 30));
  EXPECT_EQ(background(), RGB(10, 20, 30));
  EnableWindow(list_->hwnd(), TRUE);
  list_->SetColor(CLR_INVALID);
  EXPECT_EQ(background(), GetSysColor(COLOR_WINDOW));
}

TEST_F(FileListBoxTest, WheelScrollsBySettingButNeverPastTheTop) {
  for (int i = 100; i < 160; ++i) File(std::to_string(i) + ".txt");
  Open();
  UINT lines = 0;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_GT(lines, 1u);
  const HWND w = list_->hwnd();
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(SendMessageW(w, LB_GETTOPINDEX, 0, 0), static_cast<LRESULT>(lines));
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(SendMessageW(w, LB_GETTOPINDEX, 0, 0), 0);
  // One line below the top, a notch upwards would pass it: the list stays.
  SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, lines - 1), 0);
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  info.nPos = static_cast<int>(lines - 1);
  SetScrollInfo(w, SB_VERT, &info, TRUE);
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(SendMessageW(w, LB_GETTOPINDEX, 0, 0), static_cast<LRESULT>(lines - 1));
}

// Runs this thread's messages until `done` holds; false after `timeoutMs`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return true;
}

// Another thread makes files one after another while the list's thread runs
// its messages, as a program unpacking an archive into the folder would.
TEST_F(FileListBoxTest, FollowsABurstOfAThousandNewFilesWithAHandfulOfRereads) {
  File("keep.txt");
  Open();
  SendMessageW(list_->hwnd(), LB_SETSEL, TRUE, 0);
  struct Burst {
    std::string root;
    static DWORD WINAPI Run(LPVOID self) {
      const std::string& root = static_cast<Burst*>(self)->root;
      for (int i = 0; i < 1000; ++i) {
        UniqueFile f(CreateFileW(Wide(root + "\\burst" + std::to_string(i)).c_str(), GENERIC_WRITE,
                                 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      }
      return 0;
    }
  } burst{root_};
  UniqueKernelHandle maker(CreateThread(nullptr, 0, &Burst::Run, &burst, 0, nullptr));
  ASSERT_TRUE(maker);
  ASSERT_TRUE(PumpUntil([&] { return list_->Count() == 1001; }, 30000)) << list_->Count();
  WaitForSingleObject(maker.get(), INFINITE);
  EXPECT_GE(list_->Rereads(), 1);
  EXPECT_LE(list_->Rereads(), 12) << "a handful, not one per file";
  ASSERT_EQ(list_->Text(1000), "keep.txt");
  EXPECT_TRUE(list_->IsSelected(1000)) << "the selection is kept by name";
  EXPECT_EQ(list_->SelectedCount(), 1);
}

}  // namespace
}  // namespace tovo
