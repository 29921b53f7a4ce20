#include <gtest/gtest.h>

#include <utility>

#include <string>

#include "forms/main_form.h"
#include "gui/support/gui_driver.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;

// One run of the program per test: started, its main window found; ended by
// the test (or killed by Process when the test failed before).
class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    gui::RunningProgram running = gui::StartProgram();
    program_ = std::move(running.process);
    window_ = running.mainWindow;
    ASSERT_NE(window_, nullptr);
    // The first activation hands the focus to the tree.
    gui::WaitUntil([&] { return gui::FocusOf(window_) == Child(vazo::kDirectoryListBox1); }, 5000);
  }

  // The control's window, looked up through its parents as the table nests them.
  HWND Child(int id) const {
    const forms::Control& control = vazo::MainControl(id);
    const HWND parent = control.parent == forms::kNoParent ? window_ : Child(control.parent);
    return GetDlgItem(parent, id);
  }
  HWND ParentOf(int id) const {
    const forms::Control& control = vazo::MainControl(id);
    return control.parent == forms::kNoParent ? window_ : Child(control.parent);
  }

  void ExpectExitsWithZero() {
    DWORD code = 12345;
    ASSERT_TRUE(program_.WaitForExit(15000, &code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
  }

  gui::Process program_;
  HWND window_ = nullptr;
};

TEST_F(MainWindow, IsAFixedDialogFrameCentredWithTheFormsClientSize) {
  const SIZE client = gui::ClientSize(window_);
  EXPECT_EQ(client.cx, 519);
  EXPECT_EQ(client.cy, 419);
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_SYSMENU);
  RECT frame;
  GetWindowRect(window_, &frame);
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr) << "the main window owns the task-bar button";
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ExpectExitsWithZero();
}

TEST_F(MainWindow, EveryControlIsAChildWindowWithTheTablesRectangleAndCaption) {
  for (const forms::Control& control : vazo::MainForm().controls) {
    SCOPED_TRACE(std::string(control.name));
    const HWND child = Child(control.id);
    ASSERT_NE(child, nullptr);
    const RECT r = gui::RectIn(child, ParentOf(control.id));
    EXPECT_EQ(r.left, control.rect.left);
    EXPECT_EQ(r.top, control.rect.top);
    if (control.id == vazo::kLAd2) {
      // Sized to its text in the font the system has.
      EXPECT_GT(r.right - r.left, 0);
      EXPECT_GT(r.bottom - r.top, 0);
    } else {
      EXPECT_EQ(r.right - r.left, control.rect.width);
      EXPECT_EQ(r.bottom - r.top, control.rect.height);
    }
    if (control.kind != forms::Kind::DirectoryTree && control.kind != forms::Kind::FileList) {
      EXPECT_EQ(gui::WindowText(child), Wide(control.caption));
    }
  }
  EXPECT_EQ(gui::ClassOf(Child(vazo::kDirectoryListBox1)), L"SysTreeView32");
  EXPECT_EQ(gui::ClassOf(Child(vazo::kFileListBox)), L"ListBox");
  const LONG list = GetWindowLongW(Child(vazo::kFileListBox), GWL_STYLE);
  const LONG wanted = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL;
  EXPECT_EQ(list & wanted, wanted);
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ExpectExitsWithZero();
}

// Tab moves between the tree and the list only; the buttons, clicked or
// pressed through BM_CLICK, leave the focus where it was.
TEST_F(MainWindow, OnlyTheTreeAndTheListTakeTheFocus) {
  const HWND tree = Child(vazo::kDirectoryListBox1);
  const HWND list = Child(vazo::kFileListBox);
  ASSERT_EQ(gui::FocusOf(window_), tree);
  gui::PostKey(window_, VK_TAB);
  EXPECT_TRUE(gui::WaitUntil([&] { return gui::FocusOf(window_) == list; }, 3000));
  gui::PostKey(window_, VK_TAB);
  EXPECT_TRUE(gui::WaitUntil([&] { return gui::FocusOf(window_) == tree; }, 3000));
  gui::PostKey(window_, VK_TAB);
  ASSERT_TRUE(gui::WaitUntil([&] { return gui::FocusOf(window_) == list; }, 3000));

  gui::PostMouseClick(Child(vazo::kSpeedButton1));
  gui::Click(Child(vazo::kSpeedButton2));
  ASSERT_TRUE(gui::HandledPostedMessages(tree));
  EXPECT_EQ(gui::FocusOf(window_), list);
  EXPECT_TRUE(gui::MessageBoxesOf(program_.id()).empty()) << "a handler raised an error";
  gui::Click(Child(vazo::kButton2));
  ExpectExitsWithZero();
}

// Alt+C; C alone only where no control takes typed characters.
enum class CloseBy { Button, Accelerator, PlainLetter, CloseBox };

class MainWindowCloses : public MainWindow, public testing::WithParamInterface<CloseBy> {};

TEST_P(MainWindowCloses, AndTheProgramEndsWithZero) {
  switch (GetParam()) {
    case CloseBy::Button: gui::Click(Child(vazo::kButton2)); break;
    case CloseBy::Accelerator: gui::PostChar(window_, L'c', true); break;
    case CloseBy::PlainLetter:
      // The tree has the focus and takes typed letters for its own search, so
      // a plain C there presses no button; Alt+C still does.
      gui::PostChar(window_, L'C', false);
      ASSERT_TRUE(gui::HandledPostedMessages(Child(vazo::kDirectoryListBox1)));
      ASSERT_TRUE(program_.Running());
      gui::PostChar(window_, L'c', true);
      break;
    case CloseBy::CloseBox: PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
  }
  ExpectExitsWithZero();
  EXPECT_TRUE(gui::MessageBoxesOf(program_.id()).empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, MainWindowCloses,
                         testing::Values(CloseBy::Button, CloseBy::Accelerator,
                                         CloseBy::PlainLetter, CloseBy::CloseBox),
                         [](const testing::TestParamInfo<CloseBy>& info) {
                           switch (info.param) {
                             case CloseBy::Button: return "Button2";
                             case CloseBy::Accelerator: return "AltC";
                             case CloseBy::PlainLetter: return "LetterCInTreeThenAltC";
                             case CloseBy::CloseBox: return "CloseBox";
                           }
                           return "Unknown";
                         });

}  // namespace
}  // namespace tovo
