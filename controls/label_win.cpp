#include "controls/label_win.h"

#include <windowsx.h>

#include <vector>

#include "controls/controls_win.h"
#include "forms/scale.h"
#include "platform/dc_win.h"
#include "platform/guards_win.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {

Label::~Label() {
  if (const HWND h = hwnd()) DestroyWindow(h);
}

void Label::Create(HWND parent, int id, RECT rect, const std::string& caption,
                   const LabelStyle& style) {
  style_ = style;
  if (style_.background) brush_.reset(CreateSolidBrush(*style_.background));
  const DWORD wrap = style_.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
  const HWND h = CreateWindowExW(
      0, WC_STATICW, Wide(caption).c_str(), WS_CHILD | WS_VISIBLE | wrap | SS_NOPREFIX | SS_NOTIFY,
      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!h) throw SystemError("CreateWindowEx", "label", GetLastError());
  Attach(h);
  ApplyFont();
}

std::string Label::Caption() const {
  const int length = GetWindowTextLengthW(hwnd());
  std::vector<wchar_t> text(length + 1);
  GetWindowTextW(hwnd(), text.data(), length + 1);
  return Narrow(std::wstring_view(text.data()));
}

void Label::SetCaption(const std::string& caption) {
  SetWindowTextW(hwnd(), Wide(caption).c_str());
  if (style_.autoSize) FitToText();
  Repaint();
}

void Label::SetFontColour(COLORREF colour) {
  if (style_.textColour == colour) return;
  style_.textColour = colour;
  Repaint();
}

void Label::SetUnderline(bool underline) {
  if (style_.underline == underline) return;
  style_.underline = underline;
  ApplyFont();
}

POINT Label::Position() const {
  RECT r;
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top};
}

SIZE Label::Size() const {
  RECT r;
  GetWindowRect(hwnd(), &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Label::MoveTo(int left, int top) {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!style_.background) Repaint();
}

void Label::SetDpi(int dpi) {
  if (style_.dpi == dpi) return;
  style_.dpi = dpi;
  ApplyFont();
}

void Label::ApplyFont() {
  UniqueFont font = CreateUiFont(style_.face, forms::Scaled(style_.height, style_.dpi), style_.bold,
                                 style_.underline, style_.charset);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  font_ = std::move(font);  // the old font is released only once it is no longer selected
  if (style_.autoSize) FitToText();
  Repaint();
}

void Label::FitToText() {
  const std::wstring text = Wide(Caption());
  RECT r = {0, 0, style_.wordWrap ? Size().cx : 0, 0};
  {
    const WindowDC dc(hwnd());
    const SelectObjectGuard use(dc.get(), font_.get());
    UINT format = DT_CALCRECT | DT_NOPREFIX | (style_.wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), -1, &r, format);
  }
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A transparent label has no background of its own: the parent must repaint
// what lies under it before the label draws its text again.
void Label::Repaint() {
  if (style_.background) {
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  RECT r;
  GetWindowRect(hwnd(), &r);
  const HWND parent = GetParent(hwnd());
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Label::ColourStatic(HDC dc) {
  SetTextColor(dc, style_.textColour);
  SetBkMode(dc, TRANSPARENT);
  if (brush_) {
    SetBkColor(dc, *style_.background);
    return reinterpret_cast<LRESULT>(brush_.get());
  }
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void Label::MouseMoved() {
  if (hovering_) return;
  TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd(), 0};
  if (TrackMouseEvent(&track)) hovering_ = true;
  if (onEnter_) onEnter_(*this);
}

std::optional<LRESULT> Label::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kReflect + WM_CTLCOLORSTATIC: return ColourStatic(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE: MouseMoved(); return std::nullopt;
    case WM_MOUSELEAVE:
      hovering_ = false;
      if (onLeave_) onLeave_(*this);
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(hwnd());
      return std::nullopt;
    case WM_LBUTTONUP: {
      if (!pressed_) return std::nullopt;
      pressed_ = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(hwnd(), &client);
      const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (PtInRect(&client, at) && onClick_) onClick_(*this);
      return 0;
    }
    case WM_CAPTURECHANGED: pressed_ = false; return std::nullopt;
    case WM_SETCURSOR:
      if (!style_.handCursor) return std::nullopt;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    default: return std::nullopt;
  }
}

}  // namespace tovo
