#include "forms/form_builder_win.h"

#include <stdexcept>

#include "forms/dpi_win.h"
#include "forms/scale.h"

namespace tovo {
namespace {

const forms::Control& ControlOf(const forms::Form& form, int id) {
  for (const forms::Control& control : form.controls) {
    if (control.id == id) return control;
  }
  throw std::out_of_range("form " + std::string(form.name) + " has no control " +
                          std::to_string(id));
}

}  // namespace

COLORREF ToColorRef(forms::Colour colour) {
  if (colour & forms::kSystemColour) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour);
}

RECT ToRect(const forms::Rect& r, int dpi) {
  const forms::Rect s = forms::Scaled(r, dpi);
  return {s.left, s.top, s.right(), s.bottom()};
}

forms::Font FontOf(const forms::Form& form, const forms::Control& control) {
  forms::Font font = control.font.face.empty() ? form.font : control.font;
  if (font.colour == forms::kInherit) font.colour = form.font.colour;
  return font;
}

COLORREF BackgroundOf(const forms::Form& form, const forms::Control& control) {
  if (control.colour != forms::kInherit) return ToColorRef(control.colour);
  if (control.parent == forms::kNoParent) return ToColorRef(form.colour);
  return BackgroundOf(form, ControlOf(form, control.parent));
}

RECT ScreenArea() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT WorkArea() {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

POINT CentredIn(SIZE size, const RECT& area) {
  return {area.left + (area.right - area.left - size.cx) / 2,
          area.top + (area.bottom - area.top - size.cy) / 2};
}

RECT CentredFrame(const forms::Form& form, DWORD style, DWORD exStyle, const RECT& area, int dpi) {
  RECT frame = ToRect({0, 0, form.clientWidth, form.clientHeight}, dpi);
  AdjustFrameForDpi(&frame, style, exStyle, dpi);
  const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
  const POINT origin = CentredIn(size, area);
  return {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
}

std::map<int, HWND> BuildForm(const forms::Form& form, HWND window, const ControlMaker& make) {
  const int dpi = WindowDpi(window);
  std::map<int, HWND> made;
  for (const forms::Control& control : form.controls) {
    const HWND parent = control.parent == forms::kNoParent ? window : made.at(control.parent);
    if (const HWND child = make(control, parent, ToRect(control.rect, dpi)))
      made[control.id] = child;
  }
  return made;
}

void RelayoutForm(const forms::Form& form, HWND window, const std::map<int, HWND>& made,
                  const RECT& suggested, int dpi) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  const RECT design = ToRect({0, 0, form.clientWidth, form.clientHeight}, dpi);
  RECT frame = design;
  AdjustFrameForDpi(&frame, style, exStyle, dpi);
  SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
  SetWindowPos(window, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame was not made for the new DPI (a system that scales no
  // frames), the client area is set right through the frame it has.
  RECT client;
  GetClientRect(window, &client);
  if (client.right != design.right || client.bottom != design.bottom) {
    size.cx += design.right - client.right;
    size.cy += design.bottom - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (const forms::Control& control : form.controls) {
    const auto it = made.find(control.id);
    if (it == made.end()) continue;
    const RECT r = ToRect(control.rect, dpi);
    const UINT keepSize = (control.look & forms::kAutoSize) ? SWP_NOSIZE : 0;
    SetWindowPos(it->second, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
  }
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace tovo
