#include "app/application_win.h"

#include "platform/system_error_win.h"

namespace tovo {

void Application::Initialize() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // A tool window is never given a task-bar button.
  if (!Create({.name = L"TApplication"}, WS_EX_TOOLWINDOW, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
              nullptr)) {
    throw SystemError("CreateWindowEx", "TApplication", GetLastError());
  }
}

int Application::Run(HWND mainWindow, const std::function<bool(const MSG&)>& preTranslate) {
  MSG msg = {};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    if (preTranslate && preTranslate(msg)) continue;
    if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::optional<LRESULT> Application::OnMessage(UINT, WPARAM, LPARAM) {
  return std::nullopt;
}

}  // namespace tovo
