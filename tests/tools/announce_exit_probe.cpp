// Test helper: a window whose announcement worker waits on a service that
// never answers, to show that closing the window ends the process at once.
//
//   announce_exit_probe.exe PORT
//
// Creates a window titled "announce exit probe", starts the worker against
// 127.0.0.1:PORT and runs the message loop until the window is closed, then
// returns without any regard for the worker. Exit codes: 0 closed, 1 bad
// arguments.
#include <windows.h>

#include <cwchar>

#include "announce/autoupdate_win.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (msg == tovo::kAnnouncementsArrived) {
    tovo::TakeAnnouncements(lParam);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 1;
  const int port = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  if (port <= 0) return 1;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TovoAnnounceExitProbe";
  RegisterClassW(&wc);
  const HWND window =
      CreateWindowExW(0, wc.lpszClassName, L"announce exit probe", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                      100, nullptr, nullptr, wc.hInstance, nullptr);
  tovo::StartAutoupdateAt(window, "silent", "1.0", {"127.0.0.1", port});
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
