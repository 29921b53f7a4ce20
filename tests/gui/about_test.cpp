#include <gtest/gtest.h>

#include <utility>

#include "forms/about_form.h"
#include "forms/main_form.h"
#include "gui/support/gui_driver.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;
namespace about = forms::about;

// "关于" in the real program: a fresh modal window per press.
class AboutFromMainWindow : public testing::Test {
 protected:
  void SetUp() override {
    gui::RunningProgram running = gui::StartProgram();
    program_ = std::move(running.process);
    main_ = running.mainWindow;
    ASSERT_NE(main_, nullptr);
  }

  HWND Open() {
    gui::Click(GetDlgItem(main_, vazo::kSpeedButton3));
    return gui::WaitForWindow(program_.id(), L"关于", L"Tfrm_about");
  }

  bool Closed(HWND window) {
    return gui::WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 10000);
  }

  gui::Process program_;
  HWND main_ = nullptr;
};

TEST_F(AboutFromMainWindow, OpensModallyTwiceAndClosesByEnterAndCloseBox) {
  const HWND first = Open();
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main_)) << "the main window accepts no input meanwhile";
  const SIZE client = gui::ClientSize(first);
  EXPECT_EQ(client.cx, 325);
  EXPECT_EQ(client.cy, 222);
  const HWND button = GetDlgItem(first, about::kButton1);
  ASSERT_TRUE(gui::WaitUntil([&] { return gui::FocusOf(first) == button; }, 5000));
  EXPECT_EQ(gui::WindowText(GetDlgItem(first, about::kLabelVer)), L"版本：1.0");
  PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(button, WM_KEYUP, VK_RETURN, 0);
  ASSERT_TRUE(Closed(first));
  EXPECT_TRUE(gui::WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));

  const HWND second = Open();
  ASSERT_NE(second, nullptr);
  PostMessageW(second, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(Closed(second));
  EXPECT_TRUE(gui::WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));

  EXPECT_TRUE(gui::ClosesWithExitCodeZero(program_, main_));
}

}  // namespace
}  // namespace tovo
