// The display DPI of a window, and the DPI-aware system calls the program
// needs. The per-monitor calls exist only from Windows 10 on: they are looked
// up at run time, and older systems get the system DPI, which is then the
// DPI of every window.
#pragma once

#include <windows.h>

namespace tovo {

// The DPI the window is laid out for: its monitor's under per-monitor
// awareness, otherwise the system's.
int WindowDpi(HWND window);

// The system DPI, for what is sized before its window exists.
int SystemDpi();

// AdjustWindowRectEx with the frame metrics of `dpi`.
void AdjustFrameForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);

// GetSystemMetrics at `dpi`.
int SystemMetricForDpi(int index, int dpi);

// The side of a small (tree and list) icon at `dpi`.
inline int SmallIconSize(int dpi) {
  return SystemMetricForDpi(SM_CXSMICON, dpi);
}

}  // namespace tovo
