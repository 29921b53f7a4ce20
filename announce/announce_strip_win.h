// The announcement strip: the ticker bound to the two labels l_ad1 / l_ad2
// and to the rotation and scroll timers of the window that owns them.
//
// The owner keeps the labels, the timers and (optionally) the announcement
// list; it forwards its timer ticks and the labels' pointer events here.
#pragma once

#include <windows.h>

#include <functional>

#include "announce/ticker.h"
#include "platform/label_win.h"

namespace tovo {

enum class StripTimer { Rotation, Scroll };

// Switches one of the owner's timers; on a running timer "on" changes nothing.
using StripTimerSwitch = std::function<void(StripTimer timer, bool on)>;

class AnnounceStrip : public TickerView {
 public:
  // The labels show their initial caption and hint. Links open with
  // `mainWindow` as the owner of whatever the shell starts.
  AnnounceStrip(HWND mainWindow, Label& first, Label& second, StripTimerSwitch switchTimer,
                AdLineSource lines = {});

  Ticker& ticker() { return ticker_; }
  const Ticker& ticker() const { return ticker_; }

  // Pointer events of either label; a label that is not one of the two is ignored.
  void Click(Label& label);
  void MouseEnter(Label& label);
  void MouseLeave(Label& label);

  void SetCaption(AdLabel label, const std::string& caption) override;
  void SetHint(AdLabel label, const std::string& hint) override;
  void SetColour(AdLabel label, std::uint32_t colour) override;
  void SetTop(AdLabel label, int top) override;
  void SetUnderline(AdLabel label, bool underline) override;
  void SetRotationTimer(bool on) override;
  void SetScrollTimer(bool on) override;
  void OpenLink(const std::string& link) override;

 private:
  Label& Of(AdLabel label) { return label == AdLabel::First ? first_ : second_; }
  std::optional<AdLabel> Which(const Label& label) const;

  HWND mainWindow_;
  Label& first_;
  Label& second_;
  StripTimerSwitch switchTimer_;
  Ticker ticker_;
};

}  // namespace tovo
