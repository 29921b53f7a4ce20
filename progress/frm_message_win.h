// The shredding progress window: borderless, always on top, centred, one
// line of text naming the file being shredded.
#pragma once

#include <string>

#include "progress/table_form_win.h"

namespace tovo {

class TFrm_message : public TableForm {
 public:
  // Creates the window hidden; Open shows it.
  TFrm_message();

  // Shows the window without taking the activation and paints it at once.
  void Open();

  // Panel1's caption: set and repainted at once, because the shred command
  // processes no messages while it runs and the window would stay stale.
  void SetText(const std::string& text);
  std::string Text() const;

  // Shrinks the window to 1 pixel high, then 1 pixel wide, then destroys it.
  void Close();
};

// The second progress window (text line and percentage bar); created hidden
// at start-up and never shown by this program.
class TFrm_message2 : public TableForm {
 public:
  TFrm_message2();

  // Empties Label1, shows "0" in Label22 and gives the bar no width.
  void FormCreate();
};

// The windows the application creates at start-up and keeps hidden until it
// ends: one progress window of each kind.
struct StartupProgressWindows {
  TFrm_message message;
  TFrm_message2 message2;
};

}  // namespace tovo
