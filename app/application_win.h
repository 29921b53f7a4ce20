// The application object: a hidden window with an empty title and no
// task-bar button (the main window owns the button), and the message loop.
#pragma once

#include <windows.h>

#include "platform/window_win.h"

namespace tovo {

class Application : public Window {
 public:
  // Initialises the common controls and creates the hidden window.
  void Initialize();

  // Runs the message loop until WM_QUIT; returns its exit code. Keyboard
  // messages of `mainWindow` and its controls go through the dialog manager
  // first, which gives Tab navigation and the buttons' mnemonics.
  int Run(HWND mainWindow);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tovo
