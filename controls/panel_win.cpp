#include "controls/panel_win.h"

#include "forms/dpi_win.h"
#include "forms/scale.h"
#include "platform/dc_win.h"
#include "platform/system_error_win.h"

namespace tovo {
namespace {

// One bevel `w` pixels wide: `topLeft` colour on the top and left edges,
// `bottomRight` on the others; shrinks `r` by its width.
void Frame(HDC dc, RECT& r, int w, int topLeft, int bottomRight) {
  const HBRUSH light = GetSysColorBrush(topLeft);
  const HBRUSH dark = GetSysColorBrush(bottomRight);
  RECT edge = {r.left, r.top, r.right, r.top + w};
  FillRect(dc, &edge, light);
  edge = {r.left, r.top, r.left + w, r.bottom};
  FillRect(dc, &edge, light);
  edge = {r.left, r.bottom - w, r.right, r.bottom};
  FillRect(dc, &edge, dark);
  edge = {r.right - w, r.top, r.right, r.bottom};
  FillRect(dc, &edge, dark);
  InflateRect(&r, -w, -w);
}

// A bevel is one pixel at 96 DPI.
int BevelWidth(HWND window) {
  return forms::Scaled(1, WindowDpi(window));
}

}  // namespace

void Panel::Create(HWND parent, int id, RECT rect, const PanelStyle& style) {
  style_ = style;
  brush_.reset(CreateSolidBrush(style_.background));
  const HWND h = Window::Create({.name = L"TPanel", .style = CS_HREDRAW | CS_VREDRAW}, 0, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  if (!h) throw SystemError("CreateWindowEx", "panel", GetLastError());
}

RECT Panel::InnerRect() const {
  RECT r;
  GetClientRect(hwnd(), &r);
  const int bevels =
      ((style_.raisedInner ? 1 : 0) + (style_.loweredOuter ? 1 : 0)) * BevelWidth(hwnd());
  InflateRect(&r, -bevels, -bevels);
  return r;
}

void Panel::Paint(HDC dc) const {
  RECT r;
  GetClientRect(hwnd(), &r);
  const int w = BevelWidth(hwnd());
  if (style_.loweredOuter) Frame(dc, r, w, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  if (style_.raisedInner) Frame(dc, r, w, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

std::optional<LRESULT> Panel::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: FillClient(hwnd(), reinterpret_cast<HDC>(wParam), brush_.get()); return 1;
    case WM_PAINT: {
      const PaintScope paint(hwnd());
      Paint(paint.dc());
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
      // Not handled by the child that sent it: the window above may want it.
      return SendMessageW(GetParent(hwnd()), msg, wParam, lParam);
    default: return std::nullopt;
  }
}

}  // namespace tovo
