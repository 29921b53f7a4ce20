// The one driver of the shredding progress window.
#pragma once

#include <windows.h>

#include <string>

namespace tovo {

inline constexpr int kProgressClose = 0;
inline constexpr int kProgressOpen = 1;
inline constexpr int kProgressText = 2;

// Mode 1 opens a fresh progress window (an earlier one still open is closed
// first), mode 2 sets its text (`text` is used only here), mode 0 closes and
// destroys it. Modes 0 and 2 without an open window, and any other mode, do
// nothing. Window thread only.
void ShowProgress(const std::string& text, int mode);

// The open progress window, or null.
HWND ProgressWindow();

}  // namespace tovo
