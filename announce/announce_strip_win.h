// The announcement strip: the ticker bound to the two labels l_ad1 / l_ad2
// and to the rotation and scroll timers of the window that owns them.
//
// The owner keeps the labels, the timers and (optionally) the announcement
// list; it forwards its timer ticks and the labels' pointer events here.
#pragma once

#include <windows.h>

#include <functional>

#include "announce/ticker.h"
#include "controls/label_win.h"

namespace tovo {

enum class AnnouncementTimer { Rotation, Scroll };

// Switches one of the owner's timers; on a running timer "on" changes nothing.
using StripTimerSwitch = std::function<void(AnnouncementTimer timer, bool on)>;

class AnnouncementStrip : public AnnouncementView {
 public:
  // The labels show their initial caption and hint. Links open with
  // `mainWindow` as the owner of whatever the shell starts.
  AnnouncementStrip(HWND mainWindow, Label& first, Label& second, StripTimerSwitch switchTimer,
                    AdLineSource lines = {});

  AnnouncementTicker& ticker() { return ticker_; }
  const AnnouncementTicker& ticker() const { return ticker_; }

  // Pointer events of either label; a label that is not one of the two is ignored.
  void Click(Label& label);
  void MouseEnter(Label& label);
  void MouseLeave(Label& label);

  void SetCaption(AnnouncementLabel label, const std::string& caption) override;
  void SetHint(AnnouncementLabel label, const std::string& hint) override;
  void SetColour(AnnouncementLabel label, std::uint32_t colour) override;
  void SetTop(AnnouncementLabel label, int top) override;
  void SetUnderline(AnnouncementLabel label, bool underline) override;
  void SetRotationTimer(bool on) override;
  void SetScrollTimer(bool on) override;
  void OpenLink(const std::string& link) override;

 private:
  Label& Of(AnnouncementLabel label) {
    return label == AnnouncementLabel::First ? first_ : second_;
  }
  std::optional<AnnouncementLabel> Which(const Label& label) const;

  HWND mainWindow_;
  Label& first_;
  Label& second_;
  StripTimerSwitch switchTimer_;
  AnnouncementTicker ticker_;
};

}  // namespace tovo
