// The free-space wipe from the drive menu of the real program. The drive is
// a small NTFS image that tests/gui/wipe_drive_gui.sh mounts for the test and
// names in TOVO_TEST_WIPE_DRIVE; without it the tests are skipped, as a
// drive of the host must never be wiped.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "forms/message_form.h"
#include "gui/support/gui_driver.h"
#include "gui/support/remote_tree.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

constexpr ULONGLONG kTestVolumeAtMost = 1ull << 30;

class WipeCommandGui : public testing::Test {
 protected:
  void SetUp() override {
    const char* drive = std::getenv("TOVO_TEST_WIPE_DRIVE");
    if (!drive || !*drive) GTEST_SKIP() << "no test volume (run by wipe_drive_gui.sh)";
    drive_ = Wide(drive);
    root_ = drive_ + L"\\";
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(root_.c_str(), &available, &total, &free));
    // Only the small volume made for the test, never a disk of the host.
    ASSERT_LT(total.QuadPart, kTestVolumeAtMost);
    app_ = gui::StartWithTree();
    ASSERT_TRUE(app_.remote);
    window_ = app_.mainWindow;
    tree_ = app_.tree;
  }
  void TearDown() override {
    if (app_.process) {
      EXPECT_TRUE(gui::ClosesWithExitCodeZero(app_.process, window_));
    }
  }

  HTREEITEM DriveItem(const std::wstring& drive) const {
    for (HTREEITEM item = app_.remote->Next(nullptr, TVGN_ROOT); item;
         item = app_.remote->Next(item, TVGN_NEXT)) {
      if (app_.remote->Text(item).find(L"(" + drive + L")") != std::wstring::npos) return item;
    }
    return nullptr;
  }
  // Selects the drive's node and presses the menu key there.
  void MenuKeyOn(const std::wstring& drive) {
    const HTREEITEM item = DriveItem(drive);
    ASSERT_TRUE(item) << Narrow(drive) << " is not in the tree";
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    PostMessageW(tree_, WM_KEYDOWN, VK_APPS, 1);
    PostMessageW(tree_, WM_KEYUP, VK_APPS, 0xC0000001);
  }
  HWND Menu() const {
    HWND menu = nullptr;
    gui::WaitUntil([&] { return (menu = gui::VisibleWindowOf(app_.process.id(), L"#32768")); },
                   10000);
    return menu;
  }
  // Picks the menu's one item.
  static void ChooseItem(HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
  }
  void Answer(HWND box, int button) {
    gui::Click(GetDlgItem(box, button));
    gui::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
  }
  HWND RunWindow() const { return gui::VisibleWindowOf(app_.process.id(), L"TFrm_message"); }
  bool FillLeft() const {
    return GetFileAttributesW((root_ + L"TovoShred擦除临时文件-可删除").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
  }

  std::wstring drive_, root_;
  gui::ProgramWithTree app_;
  HWND window_ = nullptr;
  HWND tree_ = nullptr;
};

TEST_F(WipeCommandGui, RightClickOnADriveAsksConsentAndNoLeavesItAlone) {
  const HTREEITEM item = DriveItem(drive_);
  ASSERT_TRUE(item);
  const RECT rect = app_.remote->TextRect(item);
  POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  POINT screen = at;
  ClientToScreen(tree_, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(tree_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(tree_, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  const HWND menu = Menu();
  ASSERT_TRUE(menu) << "no menu on the drive";
  ChooseItem(menu);
  const HWND box = gui::WaitForMessageBox(app_.process.id());
  ASSERT_TRUE(box) << "no consent box";
  EXPECT_EQ(gui::WindowText(box), L"请注意");
  EXPECT_EQ(GetWindow(box, GW_OWNER), window_);
  const std::wstring text = gui::MessageBoxText(box);
  EXPECT_NE(text.find(L"将擦除驱动器 " + drive_ + L" 的剩余空间（现有 "), std::wstring::npos)
      << Narrow(text);
  EXPECT_NE(text.find(L"无法再恢复"), std::wstring::npos);
  EXPECT_NE(text.find(L"预计需要约 "), std::wstring::npos);
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON)
      << "No is the default";
  Answer(box, IDNO);
  EXPECT_FALSE(RunWindow());
  EXPECT_FALSE(FillLeft());
}

TEST_F(WipeCommandGui, MenuKeyOnACdDriveShowsTheItemGreyed) {
  MenuKeyOn(L"D:");
  const HWND menu = Menu();
  ASSERT_TRUE(menu) << "no menu on the CD drive";
  ChooseItem(menu);
  // A greyed item cannot be chosen: no consent box comes.
  EXPECT_FALSE(gui::WaitForMessageBox(app_.process.id(), 1500));
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  gui::WaitUntil([&] { return !IsWindowVisible(menu); }, 5000);
}

// The drive entry of Explorer's menu runs `"<exe>" /wipe "%1"`; the running
// program takes the start over.
TEST_F(WipeCommandGui, TheDriveCommandLineAsksTheWipeOfThatDriveOrSaysWhyNot) {
  const struct {
    std::wstring drive;
    std::wstring text;
  } cases[] = {
      {drive_, L"将擦除驱动器 " + drive_ + L" 的剩余空间（现有 "},
      {L"D:", L"不能擦除“D:\\”的剩余空间：只能擦除本机的硬盘或可移动磁盘上已就绪的驱动器。"},
  };
  for (const auto& c : cases) {
    gui::Process start = gui::Process::Start(gui::ProgramPath(), L"/WIPE \"" + c.drive + L"\\\"");
    DWORD code = 99;
    EXPECT_TRUE(start.WaitForExit(10000, &code) && code == 0) << "handed over, ended with 0";
    const HWND box = gui::WaitForMessageBox(app_.process.id());
    ASSERT_TRUE(box) << Narrow(c.drive);
    EXPECT_TRUE(gui::MessageBoxText(box).starts_with(c.text)) << Narrow(gui::MessageBoxText(box));
    Answer(box, GetDlgItem(box, IDNO) ? IDNO : IDOK);
  }
  EXPECT_FALSE(RunWindow());
  EXPECT_FALSE(FillLeft());
}

TEST_F(WipeCommandGui, AStopInTheMiddleLeavesNoFillBehind) {
  MenuKeyOn(drive_);
  const HWND menu = Menu();
  ASSERT_TRUE(menu) << "no menu from the menu key";
  ChooseItem(menu);
  const HWND consent = gui::WaitForMessageBox(app_.process.id());
  ASSERT_TRUE(consent);
  Answer(consent, IDYES);
  ASSERT_TRUE(gui::WaitUntil([&] { return RunWindow() != nullptr; }, 10000));
  ASSERT_TRUE(gui::WaitUntil([&] { return FillLeft(); }, 10000)) << "the fill never started";
  EXPECT_FALSE(IsWindowEnabled(window_)) << "the main window waits for the run";
  const HWND stop = GetDlgItem(RunWindow(), forms::message::kStopButton);
  EXPECT_EQ(gui::WindowText(stop), L"停止(&S)");
  gui::Click(stop);
  HWND box = nullptr;
  ASSERT_TRUE(gui::WaitUntil(
      [&] {
        for (HWND b : gui::MessageBoxesOf(app_.process.id()))
          if (b != consent && IsWindowVisible(b)) box = b;
        return box != nullptr;
      },
      60000));
  const std::wstring text = gui::MessageBoxText(box);
  EXPECT_EQ(text.rfind(L"剩余空间擦除已停止。", 0), 0u) << Narrow(text);
  EXPECT_FALSE(FillLeft()) << "the fill is released before the box";
  Answer(box, IDOK);
  EXPECT_TRUE(IsWindowEnabled(window_));
}

}  // namespace
}  // namespace tovo
