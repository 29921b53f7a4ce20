// Builds a window's controls from its form table, and the rules every window
// reads its table by: colours, rectangles, inherited fonts and backgrounds,
// and centring.
//
// The builder walks the table in form order (parents before their children),
// finds each control's parent window and hands the control to the window's
// own maker, which decides what the control's kind becomes in that window.
#pragma once

#include <windows.h>

#include <functional>
#include <map>

#include "forms/form_types.h"

namespace tovo {

// A form colour as a COLORREF (system colours resolved now).
COLORREF ToColorRef(forms::Colour colour);

// A table rectangle (at 96 DPI) in pixels at `dpi`.
RECT ToRect(const forms::Rect& r, int dpi);

// The control's font, with the window's font filling in an empty face and an
// inherited colour.
forms::Font FontOf(const forms::Form& form, const forms::Control& control);

// The control's background: its own colour, else its parent's, else the form's.
COLORREF BackgroundOf(const forms::Form& form, const forms::Control& control);

// The whole screen, and the part of it not taken by the task bar.
RECT ScreenArea();
RECT WorkArea();

// The top-left corner that centres a window of `size` in `area`.
POINT CentredIn(SIZE size, const RECT& area);

// The window rectangle for the form's client size at `dpi` with that style,
// centred in `area`.
RECT CentredFrame(const forms::Form& form, DWORD style, DWORD exStyle, const RECT& area, int dpi);

// Makes one control as a child of `parent` at `rect` (its table rectangle at
// the window's DPI); returns its window, or null for what the window paints
// itself (shapes).
using ControlMaker =
    std::function<HWND(const forms::Control& control, HWND parent, const RECT& rect)>;

// Makes every control of `form` inside `window`, in form order, laid out for
// the window's DPI. Returns the windows made, by control id.
std::map<int, HWND> BuildForm(const forms::Form& form, HWND window, const ControlMaker& make);

// The window's DPI has changed: resizes its client area to the form's at
// `dpi` within the system's suggested rectangle (its top-left corner kept),
// and moves every control made by BuildForm to its table rectangle at `dpi`.
// Controls sized to their content keep their size (their owners fit them
// again once their fonts are made anew).
void RelayoutForm(const forms::Form& form, HWND window, const std::map<int, HWND>& made,
                  const RECT& suggested, int dpi);

}  // namespace tovo
