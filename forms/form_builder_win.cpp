#include "forms/form_builder_win.h"

#include <stdexcept>

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

RECT ToRect(const forms::Rect& r) {
  return {r.left, r.top, r.right(), r.bottom()};
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

RECT CentredFrame(const forms::Form& form, DWORD style, DWORD exStyle, const RECT& area) {
  RECT frame = {0, 0, form.clientWidth, form.clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
  const POINT origin = CentredIn(size, area);
  return {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
}

std::map<int, HWND> BuildForm(const forms::Form& form, HWND window, const ControlMaker& make) {
  std::map<int, HWND> made;
  for (const forms::Control& control : form.controls) {
    const HWND parent = control.parent == forms::kNoParent ? window : made.at(control.parent);
    if (const HWND child = make(control, parent)) made[control.id] = child;
  }
  return made;
}

}  // namespace tovo
