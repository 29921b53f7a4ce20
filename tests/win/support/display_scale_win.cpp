#include "tests/win/support/display_scale_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "forms/dpi_win.h"
#include "forms/scale.h"
#include "platform/dc_win.h"
#include "platform/guards_win.h"
#include "platform/wide_win.h"

namespace tovo::testing {
namespace {

HWND ChildOf(const forms::Form& form, HWND window, const forms::Control& control) {
  if (control.parent == forms::kNoParent) return GetDlgItem(window, control.id);
  for (const forms::Control& parent : form.controls) {
    if (parent.id == control.parent) return GetDlgItem(ChildOf(form, window, parent), control.id);
  }
  return nullptr;
}

}  // namespace

int MakeDpiAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  // Per-monitor v2, else system aware.
  if (!set || !set(reinterpret_cast<HANDLE>(-4))) SetProcessDPIAware();
  return SystemDpi();
}

void ExpectFormLaidOut(const forms::Form& form, HWND window, int dpi) {
  const double scale = dpi / 96.0;
  RECT client;
  GetClientRect(window, &client);
  EXPECT_NEAR(client.right, form.clientWidth * scale, 1.0) << form.name;
  EXPECT_NEAR(client.bottom, form.clientHeight * scale, 1.0) << form.name;
  for (const forms::Control& control : form.controls) {
    const HWND child = ChildOf(form, window, control);
    if (!child) continue;  // painted by the window
    SCOPED_TRACE(std::string(form.name) + "." + std::string(control.name));
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_NEAR(r.left, control.rect.left * scale, 2.0);
    EXPECT_NEAR(r.top, control.rect.top * scale, 2.0);
    if (control.look & forms::kAutoSize) continue;
    EXPECT_NEAR(r.right - r.left, control.rect.width * scale, 2.0);
    EXPECT_NEAR(r.bottom - r.top, control.rect.height * scale, 2.0);
  }
}

void ExpectTextFits(HWND control, HFONT font) {
  const int length = GetWindowTextLengthW(control);
  if (length == 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  RECT client;
  GetClientRect(control, &client);
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  const bool button = lstrcmpiW(cls, WC_BUTTONW) == 0;  // "&" marks a mnemonic there
  const bool wraps = !button && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
  RECT needed = {0, 0, wraps ? client.right : 0, 0};
  const WindowDC dc(control);
  const SelectObjectGuard use(dc.get(), font);
  const UINT format =
      DT_CALCRECT | (button ? 0 : DT_NOPREFIX) | (wraps ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextW(dc.get(), text.c_str(), -1, &needed, format);
  // The layout gives single lines the font's em height: the leading above
  // the characters may fall outside.
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc.get(), &metrics);
  EXPECT_LE(needed.right, client.right) << Narrow(text);
  EXPECT_LE(needed.bottom - metrics.tmInternalLeading, client.bottom) << Narrow(text);
}

}  // namespace tovo::testing
