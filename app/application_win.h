// The application object: a hidden window with an empty title and no
// task-bar button (the main window owns the button), and the message loop.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/window_win.h"

namespace tovo {

class Application : public Window {
 public:
  // Initialises the common controls and creates the hidden window.
  void Initialize();

  // Runs the message loop until WM_QUIT; returns its exit code. Each message
  // is first offered to `preTranslate` (true: consumed), then keyboard
  // messages of `mainWindow` and its controls go through the dialog manager,
  // which gives Tab navigation and the buttons' Alt mnemonics.
  int Run(HWND mainWindow, const std::function<bool(const MSG&)>& preTranslate = {});

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tovo
