#include <gtest/gtest.h>

#include <utility>

#include <fstream>
#include <sstream>

#include "forms/main_form.h"
#include "gui/support/gui_driver.h"
#include "platform/wide_win.h"
#include "win/support/shred_scratch.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;

// winebrowser, which ShellExecuteW runs for http:, started with a script
// that logs the address (the script lives beside the Windows tests).
class BrowserLog {
 public:
  BrowserLog() {
    DeleteFileW(kLog);
    std::string file = __FILE__;
    std::string script =
        file.substr(0, file.find_last_of('/')) + "/../win/support/capture-browser.sh";
    // A compiler cache may hand the compiler relative paths; the browser runs
    // elsewhere, so the script needs the full path.
    if (script.front() != '/') {
      script = testing::UnixPathOf(testing::CurrentFolder()) + "/" + script;
    }
    const std::wstring wide(script.begin(), script.end());
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  ~BrowserLog() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

  bool WaitFor(const std::string& text) const {
    return gui::WaitUntil(
        [&] {
          std::ifstream in(kLog, std::ios::binary);
          std::ostringstream log;
          log << in.rdbuf();
          return log.str().find(text) != std::string::npos;
        },
        15000);
  }

 private:
  static constexpr wchar_t kLog[] = L"Z:\\tmp\\tovo-winebrowser.log";
  static constexpr wchar_t kKey[] = L"Software\\Wine\\WineBrowser";
};

// Without an answering service the strip keeps its initial text, and a click
// on it opens the maker's site through the shell.
TEST(AnnouncementStripInProgram, InitialLineOpensTheSite) {
  BrowserLog browser;
  gui::RunningProgram program = gui::StartProgram();
  const HWND main = program.mainWindow;
  ASSERT_NE(main, nullptr);
  const HWND strip = GetDlgItem(GetDlgItem(main, vazo::kPanel1), vazo::kPanelCenterBottom);
  const HWND first = GetDlgItem(strip, vazo::kLAd1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Narrow(gui::WindowText(first)), "更多实用软件请访问：" TOVO_SITE_HOST);
  EXPECT_EQ(gui::RectIn(first, strip).top, 9);
  EXPECT_EQ(gui::RectIn(GetDlgItem(strip, vazo::kLAd2), strip).top, 37);
  PostMessageW(first, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(first, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(browser.WaitFor("http://" TOVO_SITE_HOST));
  EXPECT_TRUE(gui::ClosesWithExitCodeZero(program.process, main));
}

}  // namespace
}  // namespace tovo
