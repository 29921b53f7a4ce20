#include <gtest/gtest.h>

#include "controls/controls_win.h"
#include "controls/label_win.h"
#include "controls/panel_win.h"

namespace tovo {
namespace {

// A hidden top-level window holding a panel, so the controls live in a
// parent that reflects their notifications as the program's windows do.
class Host : public Window {
 public:
  Host() {
    Create({.name = L"TovoTestHost"}, 0, L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr);
    panel.Create(hwnd(), 1, {0, 0, 300, 200}, {.background = RGB(255, 255, 255)});
  }
  Panel panel;

 protected:
  std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

class LabelControl : public testing::Test {
 protected:
  void SetUp() override {
    label.Create(host.panel.hwnd(), 7, {7, 9, 287, 21}, "更多实用软件请访问：",
                 {.textColour = RGB(128, 128, 128), .background = RGB(255, 255, 255)});
    label.SetOnClick([this](Label& l) { clicks += &l == &label; });
    label.SetOnMouseEnter([this](Label&) { ++enters; });
    label.SetOnMouseLeave([this](Label&) { ++leaves; });
  }

  bool FontUnderlined() {
    LOGFONTW lf = {};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label.hwnd(), WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof(lf), &lf);
    return lf.lfUnderline != 0;
  }

  Host host;
  Label label;
  int clicks = 0, enters = 0, leaves = 0;
};

TEST_F(LabelControl, KeepsCaptionHintColourAndPosition) {
  EXPECT_EQ(label.Caption(), "更多实用软件请访问：");
  label.SetCaption("<>新版本 & 更新");
  EXPECT_EQ(label.Caption(), "<>新版本 & 更新");
  label.SetHint("http://example.test/a");
  EXPECT_EQ(label.Hint(), "http://example.test/a");
  label.SetFontColour(RGB(255, 0, 0));
  EXPECT_EQ(label.FontColour(), RGB(255, 0, 0));
  label.MoveTo(7, -21);
  EXPECT_EQ(label.Position().x, 7);
  EXPECT_EQ(label.Position().y, -21);
  EXPECT_EQ(label.Size().cx, 280) << "a fixed-size label keeps its width";
}

TEST_F(LabelControl, UnderlineSwitchesTheFont) {
  EXPECT_FALSE(FontUnderlined());
  label.SetUnderline(true);
  EXPECT_TRUE(label.Underline());
  EXPECT_TRUE(FontUnderlined());
  label.SetUnderline(false);
  EXPECT_FALSE(FontUnderlined());
}

TEST_F(LabelControl, ClickNeedsPressAndReleaseInside) {
  SendMessageW(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(label.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks, 1);
  SendMessageW(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(label.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(400, 3));
  EXPECT_EQ(clicks, 1) << "released outside: no click";
  SendMessageW(label.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks, 1) << "a release without a press is no click";
}

TEST_F(LabelControl, EnterOnceUntilTheMouseLeaves) {
  SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 2));
  EXPECT_EQ(enters, 1);
  SendMessageW(label.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaves, 1);
  SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(enters, 2);
  Pump();
}

TEST(AutoSizeLabel, FollowsItsCaption) {
  Host host;
  Label label;
  LabelStyle style;
  style.autoSize = true;
  label.Create(host.panel.hwnd(), 8, {7, 37, 205, 49}, "短", style);
  const SIZE one = label.Size();
  label.SetCaption("长得多的一行文字");
  const SIZE many = label.Size();
  EXPECT_GT(many.cx, one.cx * 4);
  EXPECT_EQ(many.cy, one.cy);
  EXPECT_EQ(label.Position().y, 37) << "sizing keeps the position";
}

// A click, by mouse or BM_CLICK, reaches the handler and never moves the focus.
TEST(FlatButtonControl, ClicksWithoutTakingTheFocus) {
  Host host;
  ShowWindow(host.hwnd(), SW_SHOW);
  SetActiveWindow(host.hwnd());
  const UniqueFont font = CreateUiFont("宋体", 12, false, false, 134);
  FlatButton button;
  button.Create(host.panel.hwnd(), 9, {10, 10, 93, 35}, "关闭(&C)", font.get());
  int clicks = 0;
  button.SetOnClick([&] { ++clicks; });
  SetFocus(host.panel.hwnd());
  const HWND before = GetFocus();
  ASSERT_EQ(before, host.panel.hwnd());
  SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), before);
  SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_EQ(clicks, 2) << "released outside: no click";
  EXPECT_EQ(GetFocus(), before);
  Pump();
}

}  // namespace
}  // namespace tovo
