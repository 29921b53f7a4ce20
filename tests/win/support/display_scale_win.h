// Checks that a window built from a form table is laid out for a DPI, shared
// by the in-process and the cross-process tests. Run at the prefix's DPI;
// tests/gui/display_scale.sh runs them at several.
#pragma once

#include <windows.h>

#include "forms/form_types.h"

namespace tovo::testing {

// Makes this process see physical pixels (as the program does) and returns
// the display's DPI. Call before this process makes any window.
int MakeDpiAware();

// The window's client size and every control's rectangle (in its parent's
// client coordinates) are the table's scaled by dpi / 96, within the
// rounding of nested edges. Controls sized to their content are checked
// for position only.
void ExpectFormLaidOut(const forms::Form& form, HWND window, int dpi);

// The control's text, measured with `font` (word-wrapped for a control that
// wraps), fits inside its client area.
void ExpectTextFits(HWND control, HFONT font);

}  // namespace tovo::testing
