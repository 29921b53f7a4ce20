// Scope guards for process and window state that must be put back on every
// way out: error mode, cursor, redraw, selected GDI object. The current
// folder's guard is in platform/current_folder.h.
#pragma once

#include <windows.h>

namespace tovo {

// Switches the process error mode (normally to SEM_FAILCRITICALERRORS, so a
// drive without a medium never raises the system's "insert a disk" box).
class ErrorModeGuard {
 public:
  explicit ErrorModeGuard(UINT mode = SEM_FAILCRITICALERRORS) : previous_(SetErrorMode(mode)) {}
  ~ErrorModeGuard() { SetErrorMode(previous_); }
  ErrorModeGuard(const ErrorModeGuard&) = delete;
  ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;

 private:
  UINT previous_;
};

// Shows a cursor (the hourglass by default) and puts the previous one back.
class CursorGuard {
 public:
  explicit CursorGuard(LPCWSTR cursor = IDC_WAIT)
      : previous_(SetCursor(LoadCursorW(nullptr, cursor))) {}
  ~CursorGuard() { SetCursor(previous_); }
  CursorGuard(const CursorGuard&) = delete;
  CursorGuard& operator=(const CursorGuard&) = delete;

 private:
  HCURSOR previous_;
};

// Suspends a window's redrawing; resumes it and repaints once at the end.
class RedrawGuard {
 public:
  explicit RedrawGuard(HWND window) : window_(window) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawGuard() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
  }
  RedrawGuard(const RedrawGuard&) = delete;
  RedrawGuard& operator=(const RedrawGuard&) = delete;

 private:
  HWND window_;
};

// Selects a GDI object into a device context and selects the previous back.
class SelectObjectGuard {
 public:
  SelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectObjectGuard() { SelectObject(dc_, previous_); }
  SelectObjectGuard(const SelectObjectGuard&) = delete;
  SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tovo
