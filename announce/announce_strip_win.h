// The announcement strip of the main window: the ticker bound to the two
// labels l_ad1 / l_ad2 and the two timers Timer_ad / Timer_ad2 of the main
// window, plus the hand-over of the worker's lines.
//
// The main window owns the labels and forwards its messages: HandleMessage
// takes WM_TIMER for the two timer ids and kAnnouncementsArrived.
#pragma once

#include <windows.h>

#include "announce/ticker.h"
#include "platform/label_win.h"

namespace tovo {

struct StripTimer {
  UINT_PTR id;
  UINT intervalMs;
};

class AnnounceStrip : public TickerView {
 public:
  // The labels show their initial caption and hint; the strip takes over
  // their click and hover callbacks.
  AnnounceStrip(HWND mainWindow, Label& first, Label& second, StripTimer rotation,
                StripTimer scroll);
  ~AnnounceStrip() override;
  AnnounceStrip(const AnnounceStrip&) = delete;
  AnnounceStrip& operator=(const AnnounceStrip&) = delete;

  // True when the message was the strip's (its timers, the worker's lines).
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  const Ticker& ticker() const { return ticker_; }

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
  void Bind(Label& label, AdLabel which);
  void SwitchTimer(const StripTimer& timer, bool on);

  HWND mainWindow_;
  Label& first_;
  Label& second_;
  StripTimer rotation_;
  StripTimer scroll_;
  Ticker ticker_;
};

}  // namespace tovo
