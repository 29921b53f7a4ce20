#include "app/frm_about_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "forms/about_form.h"
#include "tests/win/support/announce_loopback_win.h"

namespace tovo {
namespace {

namespace about = forms::about;

// The about window is modal: a thread timer drives it from inside its loop,
// one step per tick, each step waiting until its condition holds.
class ModalDriver {
 public:
  using Step = std::function<bool(HWND about)>;  // true: go on to the next step

  explicit ModalDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~ModalDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }

  bool finished() const { return next_ == steps_.size(); }
  const std::set<HWND>& windows() const { return windows_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* self = current_;
    if (!self) return;
    const HWND window = FindWindowW(L"Tfrm_about", nullptr);
    if (window) self->windows_.insert(window);
    if (++self->ticks_ > 200 && window) {  // ten seconds: give up, do not hang
      PostMessageW(window, WM_CLOSE, 0, 0);
      return;
    }
    if (!window || self->finished()) return;
    if (self->steps_[self->next_](window)) ++self->next_;
  }

  static inline ModalDriver* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int ticks_ = 0;
  UINT_PTR timer_ = 0;
  std::set<HWND> windows_;
};

bool Underlined(HWND label) {
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font.lfUnderline != 0;
}

POINT Centre(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

ModalDriver::Step PressEnter() {
  return [](HWND window) {
    const HWND focus = GetFocus();
    PostMessageW(focus ? focus : window, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(focus ? focus : window, WM_KEYUP, VK_RETURN, 0);
    return true;
  };
}

class AboutWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }
  HWND owner_ = nullptr;
};

TEST_F(AboutWindow, LayoutFocusAndDisabledOwner) {
  bool checked = false;
  ModalDriver driver({[&](HWND window) {
                        RECT client;
                        GetClientRect(window, &client);
                        EXPECT_EQ(client.right, 325);
                        EXPECT_EQ(client.bottom, 222);
                        const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
                        EXPECT_TRUE(ex & WS_EX_TOPMOST);
                        EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
                        EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME);
                        wchar_t title[16] = {};
                        GetWindowTextW(window, title, 16);
                        EXPECT_STREQ(title, L"关于");
                        EXPECT_EQ(GetFocus(), GetDlgItem(window, about::kButton1));
                        EXPECT_FALSE(IsWindowEnabled(owner_));
                        wchar_t caption[32] = {};
                        GetWindowTextW(GetDlgItem(window, about::kButton1), caption, 32);
                        EXPECT_STREQ(caption, L"确定(&S)");
                        checked = true;
                        return true;
                      },
                      PressEnter()});
  ShowAboutWindow(owner_);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(driver.finished());
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_FALSE(FindWindowW(L"Tfrm_about", nullptr));
}

TEST_F(AboutWindow, OpensFreshTwiceAndEnterOrTheCloseBoxClosesIt) {
  {
    ModalDriver driver({PressEnter()});
    ShowAboutWindow(owner_);
    EXPECT_TRUE(driver.finished());
  }
  const HWND first = FindWindowW(L"Tfrm_about", nullptr);
  EXPECT_FALSE(first) << "the window is destroyed after each use";
  ModalDriver driver({[](HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }});
  ShowAboutWindow(owner_);
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(driver.windows().size(), 1u);
}

TEST_F(AboutWindow, LinkLabelsUnderlineWhileHovered) {
  std::vector<bool> seen;
  auto hover = [&](int id) -> ModalDriver::Step {
    return [&, id](HWND window) {
      const POINT at = Centre(GetDlgItem(window, id));
      SetCursorPos(at.x, at.y);
      return true;
    };
  };
  auto until = [&](int id, bool underlined) -> ModalDriver::Step {
    return [&, id, underlined](HWND window) {
      if (Underlined(GetDlgItem(window, id)) != underlined) return false;
      seen.push_back(underlined);
      return true;
    };
  };
  auto away = [](HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos(r.left + 5, r.bottom - 5);
    return true;
  };
  ModalDriver driver({hover(about::kLabelUrl), until(about::kLabelUrl, true), away,
                      until(about::kLabelUrl, false), hover(about::kLabelEmail),
                      until(about::kLabelEmail, true), away, until(about::kLabelEmail, false),
                      PressEnter()});
  ShowAboutWindow(owner_);
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
}

TEST_F(AboutWindow, LinksOpenTheSiteAndTheMailAddress) {
  testing::BrowserCapture capture;
  auto click = [](int id) -> ModalDriver::Step {
    return [id](HWND window) {
      const HWND label = GetDlgItem(window, id);
      SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
      SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
      return true;
    };
  };
  ModalDriver driver({click(about::kLabelUrl), click(about::kLabelEmail), PressEnter()});
  ShowAboutWindow(owner_);
  EXPECT_TRUE(driver.finished());
  EXPECT_TRUE(capture.WaitFor("http://" TOVO_SITE_HOST));
  EXPECT_TRUE(capture.WaitFor("mailto:" TOVO_CONTACT_EMAIL));
}

TEST(AboutForm, TableFitsTheClientAreaWithOneFocusableControl) {
  const forms::Form& form = about::AboutForm();
  std::set<int> ids;
  int focusable = 0;
  for (const forms::Control& control : form.controls) {
    EXPECT_TRUE(ids.insert(control.id).second) << control.name;
    EXPECT_GE(control.rect.left, 0) << control.name;
    EXPECT_LE(control.rect.right(), form.clientWidth) << control.name;
    EXPECT_LE(control.rect.bottom(), form.clientHeight) << control.name;
    if (control.tabOrder != forms::kNoTab) ++focusable;
  }
  EXPECT_EQ(focusable, 1);
  EXPECT_EQ(form.clientWidth, 325);
  EXPECT_EQ(form.clientHeight, 222);
}

}  // namespace
}  // namespace tovo
