// The shredding progress window: borderless, always on top, centred, one
// line of text naming the file being shredded.
#pragma once

#include <functional>
#include <string>

#include "progress/progress_lines.h"
#include "progress/table_form_win.h"

namespace tovo {

class TFrm_message : public TableForm {
 public:
  // Creates the window hidden; Open shows it.
  TFrm_message();

  // What the window of a long run reports to the run, on the window thread.
  struct RunEvents {
    std::function<void()> stop;     // the stop button, Enter on it, Esc
    std::function<void()> close;    // a close request (Alt+F4)
    std::function<void()> tick;     // about every kTickInterval while open
    std::function<void()> showNow;  // kLongRunShowNow arrived
  };
  static constexpr UINT kTickInterval = 150;  // ms

  // The window of a long run (RunMessageForm): the name line and, below it,
  // the lines of how far the run is, the bar and the stop button; owned by
  // `owner`, created hidden. OpenActive shows it.
  TFrm_message(HWND owner, RunEvents events);

  // Shows the window active with the stop button focused (so that the
  // keyboard reaches it) and starts the tick.
  void OpenActive();

  // One tick more, `ms` from now (a later call before it replaces it).
  void TickSoon(UINT ms);

  // Sets every line that changed since the last call.
  void SetLines(const ProgressLines& lines);

  // Greys the stop button; the keyboard focus stays in the window.
  void DisableStop();

  // Shows the window without taking the activation and paints it at once.
  void Open();

  // Panel1's caption: set and repainted at once, because the shred command
  // processes no messages while it runs and the window would stay stale.
  void SetText(const std::string& text);
  std::string Text() const;

  // Shrinks the window to 1 pixel high, then 1 pixel wide, then destroys it.
  void Close();

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  RunEvents events_;
  std::optional<ProgressLines> shown_;
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
