#include "progress/frm_message_win.h"

#include <utility>

#include "forms/message_form.h"

namespace tovo {
namespace {

namespace form = forms::message;

// Off the task bar: a progress strip with its own task-bar button would only
// distract (the name-line window has no owner; a run's window is owned by the
// main window, which keeps the button).
constexpr DWORD kMessageExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kSoonTimer = 2;  // one-shot

void RepaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

TFrm_message::TFrm_message() {
  CreateFromForm(form::MessageForm(), L"TFrm_message", WS_POPUP | WS_CLIPCHILDREN, kMessageExStyle);
}

TFrm_message::TFrm_message(HWND owner, RunEvents events) : events_(std::move(events)) {
  CreateFromForm(form::RunMessageForm(), L"TFrm_message", WS_POPUP | WS_CLIPCHILDREN,
                 kMessageExStyle | WS_EX_CONTROLPARENT, owner);
}

void TFrm_message::OpenActive() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  if (const HWND stop = Control(form::kStopButton)) SetFocus(stop);
  SetTimer(hwnd(), kTickTimer, kTickInterval, nullptr);
}

void TFrm_message::TickSoon(UINT ms) {
  SetTimer(hwnd(), kSoonTimer, ms, nullptr);
}

void TFrm_message::SetLines(const ProgressLines& lines) {
  const bool all = !shown_;
  const auto set = [&](int id, const std::string& now, const std::string& before) {
    if (all || now != before) SetControlText(id, now);
  };
  const ProgressLines before = shown_.value_or(ProgressLines{});
  set(form::kPanel1, lines.name, before.name);
  set(form::kFilesLine, lines.files, before.files);
  set(form::kBytesLine, lines.bytes, before.bytes);
  set(form::kPercent, lines.percentText, before.percentText);
  set(form::kTimeLeftLine, lines.timeLeft, before.timeLeft);
  if (all || lines.percent != before.percent)
    SendMessageW(Control(form::kBar), PBM_SETPOS, static_cast<WPARAM>(lines.percent), 0);
  shown_ = lines;
}

void TFrm_message::DisableStop() {
  const HWND stop = Control(form::kStopButton);
  if (!stop || !IsWindowEnabled(stop)) return;
  // A disabled control keeps no focus: the window takes it, so that Esc and
  // Alt+F4 still reach it.
  if (GetFocus() == stop) SetFocus(hwnd());
  EnableWindow(stop, FALSE);
}

std::optional<LRESULT> TFrm_message::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam != kTickTimer && wParam != kSoonTimer) break;
      if (wParam == kSoonTimer) KillTimer(hwnd(), kSoonTimer);
      if (events_.tick) events_.tick();
      return 0;
    case WM_COMMAND: {
      // The button, Enter (the dialog manager sends the default id) and Esc
      // (IDCANCEL) all stop.
      const int id = LOWORD(wParam);
      if (id != form::kStopButton && id != IDOK && id != IDCANCEL) break;
      if (events_.stop) events_.stop();
      return 0;
    }
    case kLongRunShowNow:
      if (events_.showNow) events_.showNow();
      return 0;
    case DM_GETDEFID:
      if (!Control(form::kStopButton)) break;
      return MAKELRESULT(form::kStopButton, DC_HASDEFID);
    case WM_CLOSE:
      if (!events_.close) break;
      events_.close();
      return 0;
    default: break;
  }
  return TableForm::OnMessage(msg, wParam, lParam);
}

void TFrm_message::Open() {
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  RepaintNow(hwnd());
}

void TFrm_message::SetText(const std::string& text) {
  SetControlText(form::kPanel1, text);
  RepaintNow(hwnd());
}

std::string TFrm_message::Text() const {
  return ControlText(form::kPanel1);
}

void TFrm_message::Close() {
  if (!hwnd()) return;
  RECT r;
  GetWindowRect(hwnd(), &r);
  constexpr UINT kResize = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, 1, kResize);
  SetWindowPos(hwnd(), nullptr, 0, 0, 1, 1, kResize);
  Destroy();
}

TFrm_message2::TFrm_message2() {
  CreateFromForm(form::Message2Form(), L"TFrm_message2", WS_POPUP | WS_BORDER, WS_EX_TOPMOST);
  FormCreate();
}

void TFrm_message2::FormCreate() {
  SetControlText(form::kLabel1, "");
  SetControlText(form::kLabel22, "0");
  SetShapeWidth(form::kShapeProcess2, 0);
}

}  // namespace tovo
