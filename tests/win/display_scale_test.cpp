// The about and progress windows laid out for the display's DPI, and again
// for another DPI when the system says the window has moved to it. Run at
// the prefix's DPI (tests/gui/display_scale.sh loops over several).
#include <gtest/gtest.h>

#include "app/frm_about_win.h"
#include "forms/about_form.h"
#include "forms/form_builder_win.h"
#include "forms/message_form.h"
#include "forms/scale.h"
#include "progress/frm_message_win.h"
#include "tests/win/support/display_scale_win.h"

namespace tovo {
namespace {

// Every child's font is the table's at `dpi`, and its text fits in it.
void ExpectFontsAt(const forms::Form& form, HWND window, int dpi) {
  for (const forms::Control& control : form.controls) {
    const HWND child = GetDlgItem(window, control.id);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    if (!child || !font) continue;
    SCOPED_TRACE(std::string(control.name));
    LOGFONTW lf = {};
    GetObjectW(font, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -forms::Scaled(FontOf(form, control).height, dpi));
    testing::ExpectTextFits(child, font);
  }
}

// The DPI the window is moved to: another one that Wine's single monitor
// never gives.
int OtherDpi(int dpi) {
  return dpi == 192 ? 120 : 192;
}

void ExpectMovesToOtherDpi(HWND window, const forms::Form& form, int dpi) {
  const int other = OtherDpi(dpi);
  RECT suggested = {40, 30, 40 + 1000, 30 + 700};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(other, other),
               reinterpret_cast<LPARAM>(&suggested));
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 30);
  testing::ExpectFormLaidOut(form, window, other);
  ExpectFontsAt(form, window, other);
}

class DisplayScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dpi_ = testing::MakeDpiAware(); }
  static inline int dpi_ = 96;
};

TEST_F(DisplayScale, AboutWindowIsLaidOutForTheDisplayAndForANewDpi) {
  Tfrm_about about;
  about.Create(nullptr);
  testing::ExpectFormLaidOut(forms::about::AboutForm(), about.hwnd(), dpi_);
  ExpectFontsAt(forms::about::AboutForm(), about.hwnd(), dpi_);
  ExpectMovesToOtherDpi(about.hwnd(), forms::about::AboutForm(), dpi_);
}

TEST_F(DisplayScale, ProgressWindowIsLaidOutForTheDisplayAndForANewDpi) {
  TFrm_message window(nullptr, {});
  window.SetLines({.name = "C:\\资料\\年度报告.docx",
                   .files = "文件：1,234 / 7,000 个",
                   .bytes = "数据：12.3 MB / 150 MB",
                   .percent = 17,
                   .percentText = "17%",
                   .timeLeft = "剩余时间：约 2 分钟"});
  const forms::Form& form = forms::message::RunMessageForm();
  testing::ExpectFormLaidOut(form, window.hwnd(), dpi_);
  ExpectFontsAt(form, window.hwnd(), dpi_);
  ExpectMovesToOtherDpi(window.hwnd(), form, dpi_);
}

}  // namespace
}  // namespace tovo
