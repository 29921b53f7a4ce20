#include "progress/frm_message_win.h"

#include "forms/message_form.h"

namespace tovo {
namespace {

namespace form = forms::message;

// Off the task bar: the window has no owner, and a progress strip with its
// own task-bar button would only distract.
constexpr DWORD kMessageExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

void RepaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

TFrm_message::TFrm_message() {
  CreateFromForm(form::MessageForm(), L"TFrm_message", WS_POPUP | WS_CLIPCHILDREN, kMessageExStyle);
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
