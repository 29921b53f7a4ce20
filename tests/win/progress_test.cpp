// The progress windows: their form tables, the modes of ShowProgress, the
// window of a long run and the hidden second window.
#include <gtest/gtest.h>

#include <set>

#include "forms/message_form.h"
#include "progress/frm_message_win.h"
#include "progress/show_progress_win.h"

namespace tovo {
namespace {

namespace form = forms::message;

class FormTable : public testing::TestWithParam<const forms::Form*> {};

TEST_P(FormTable, IdsAreUniqueAndControlsLieInsideTheClientArea) {
  const forms::Form& f = *GetParam();
  std::set<int> ids;
  for (const forms::Control& c : f.controls) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.name;
    EXPECT_GE(c.rect.left, 0) << c.name;
    EXPECT_GE(c.rect.top, 0) << c.name;
    EXPECT_LE(c.rect.right(), f.clientWidth) << c.name;
    EXPECT_LE(c.rect.bottom(), f.clientHeight) << c.name;
    // Only a run's stop button takes the focus.
    if (c.kind == forms::Kind::Button)
      EXPECT_EQ(c.tabOrder, 0) << c.name;
    else
      EXPECT_EQ(c.tabOrder, forms::kNoTab) << c.name << ": only buttons take the focus";
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, FormTable,
                         testing::Values(&form::MessageForm(), &form::RunMessageForm(),
                                         &form::Message2Form()),
                         [](const auto& info) {
                           return std::string(info.param->name) + "_" +
                                  std::to_string(info.param->clientHeight);
                         });

class ShowProgressTest : public testing::Test {
 protected:
  void TearDown() override { ShowProgress("", kProgressClose); }
};

TEST_F(ShowProgressTest, OpenShowsATopmostCentredWindowWithoutText) {
  ShowProgress("ignored", kProgressOpen);
  const HWND w = ProgressWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
  RECT client, frame;
  GetClientRect(w, &client);
  GetWindowRect(w, &frame);
  EXPECT_EQ(client.right, 494);
  EXPECT_EQ(client.bottom, 97);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 494) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 97) / 2);
  const HWND panel = GetDlgItem(w, form::kPanel1);
  ASSERT_TRUE(panel);
  EXPECT_EQ(GetWindowTextLengthW(panel), 0);
}

TEST_F(ShowProgressTest, TextIsSetAndPaintedAtOnce) {
  ShowProgress("", kProgressOpen);
  const HWND w = ProgressWindow();
  ShowProgress("正在粉碎：a.txt，请稍等...", kProgressText);
  wchar_t text[64] = {};
  GetWindowTextW(GetDlgItem(w, form::kPanel1), text, 64);
  EXPECT_STREQ(text, L"正在粉碎：a.txt，请稍等...");
  // Painted without a message loop: nothing is left to paint.
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(GetDlgItem(w, form::kPanel1), nullptr, FALSE));
  // The panel is drawn in its light orange behind the text.
  const HDC screen = GetDC(w);
  EXPECT_EQ(GetPixel(screen, 28, 20), static_cast<COLORREF>(form::kLightOrange));
  // Shape3's 2-pixel outer outline and fill, Shape2's 1-pixel outline.
  EXPECT_EQ(GetPixel(screen, 0, 40), static_cast<COLORREF>(33023));
  EXPECT_EQ(GetPixel(screen, 493, 40), static_cast<COLORREF>(33023));
  EXPECT_EQ(GetPixel(screen, 10, 40), static_cast<COLORREF>(form::kLightOrange));
  EXPECT_EQ(GetPixel(screen, 17, 40), static_cast<COLORREF>(4227327));
  ReleaseDC(w, screen);
}

TEST_F(ShowProgressTest, CloseDestroysAndTheNextOpenMakesAFreshWindow) {
  ShowProgress("", kProgressOpen);
  const HWND first = ProgressWindow();
  ShowProgress("", kProgressClose);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(ProgressWindow(), nullptr);
  ShowProgress("", kProgressOpen);
  const HWND second = ProgressWindow();
  EXPECT_TRUE(IsWindow(second));
  ShowProgress("", kProgressOpen);  // a second open replaces, leaves nothing behind
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(IsWindow(ProgressWindow()));
}

TEST_F(ShowProgressTest, OtherModesAndModesWithoutAWindowDoNothing) {
  ShowProgress("x", kProgressText);
  ShowProgress("", kProgressClose);
  EXPECT_EQ(ProgressWindow(), nullptr);
  ShowProgress("", 3);
  ShowProgress("", -1);
  EXPECT_EQ(ProgressWindow(), nullptr);
  ShowProgress("", kProgressOpen);
  const HWND w = ProgressWindow();
  ShowProgress("x", 7);
  EXPECT_EQ(ProgressWindow(), w);
  EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(w, form::kPanel1)), 0);
}

// The window of a long run: its lines, its bar and what it reports.
TEST(RunProgressWindowTest, ShowsTheLinesAndTheBarAndReportsStopCloseAndTick) {
  int stops = 0, closes = 0, ticks = 0;
  TFrm_message window(nullptr, {.stop = [&] { ++stops; },
                                .close = [&] { ++closes; },
                                .tick = [&] { ++ticks; },
                                .showNow = [&] { ++ticks; }});
  const HWND w = window.hwnd();
  ASSERT_TRUE(w);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 494);
  EXPECT_EQ(client.bottom, 184);
  window.SetLines({.name = "正在粉碎：a.txt，请稍等...",
                   .files = "文件：1 / 4 个",
                   .bytes = "数据：1.00 KB / 4.00 KB",
                   .percent = 25,
                   .percentText = "25%",
                   .timeLeft = "剩余时间：正在估算..."});
  EXPECT_EQ(window.ControlText(form::kPanel1), "正在粉碎：a.txt，请稍等...");
  EXPECT_EQ(window.ControlText(form::kFilesLine), "文件：1 / 4 个");
  EXPECT_EQ(window.ControlText(form::kBytesLine), "数据：1.00 KB / 4.00 KB");
  EXPECT_EQ(window.ControlText(form::kPercent), "25%");
  EXPECT_EQ(window.ControlText(form::kTimeLeftLine), "剩余时间：正在估算...");
  EXPECT_EQ(SendMessageW(window.Control(form::kBar), PBM_GETPOS, 0, 0), 25);
  const HWND stop = window.Control(form::kStopButton);
  EXPECT_EQ(window.ControlText(form::kStopButton), "停止(&S)");
  EXPECT_TRUE(GetWindowLongW(stop, GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(LOWORD(SendMessageW(w, DM_GETDEFID, 0, 0)), form::kStopButton) << "Enter presses it";
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(form::kStopButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(stop));
  SendMessageW(w, WM_COMMAND, IDCANCEL, 0);  // Esc
  EXPECT_EQ(stops, 2);
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(IsWindow(w)) << "the run decides when it closes";
  SendMessageW(w, kLongRunShowNow, 0, 0);
  EXPECT_EQ(ticks, 1);
  window.DisableStop();
  EXPECT_FALSE(IsWindowEnabled(stop));
  window.Close();
  EXPECT_FALSE(IsWindow(w));
}

TEST(StartupProgressWindowsTest, BothExistHiddenAndTheSecondIsReset) {
  StartupProgressWindows windows;
  EXPECT_TRUE(IsWindow(windows.message.hwnd()));
  EXPECT_FALSE(IsWindowVisible(windows.message.hwnd()));
  EXPECT_FALSE(IsWindowVisible(windows.message2.hwnd()));
  EXPECT_EQ(windows.message2.ControlText(form::kLabel1), "");
  EXPECT_EQ(windows.message2.ControlText(form::kLabel22), "0");
  EXPECT_EQ(windows.message2.ControlText(form::kLabel4), "%");
  EXPECT_EQ(windows.message2.ShapeRect(form::kShapeProcess2).width, 0);
  RECT client;
  GetClientRect(windows.message2.hwnd(), &client);
  EXPECT_EQ(client.right, 463);
  EXPECT_EQ(client.bottom, 93);
  wchar_t caption[32] = {};
  GetWindowTextW(windows.message2.hwnd(), caption, 32);
  EXPECT_STREQ(caption, L"Pellum-进度提示");
}

}  // namespace
}  // namespace tovo
