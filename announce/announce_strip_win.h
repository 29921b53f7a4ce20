// The announcement strip: the ticker bound to the two labels l_ad1 / l_ad2
// and to two timers of the window that holds them.
//
// The strip owns the ticker and so the announcement lines. Its owner hands
// it the worker's posted lines, its timer ticks and the labels' pointer
// events, all on the window thread; the strip switches the timers itself.
#pragma once

#include <windows.h>

#include <optional>

#include "announce/ticker.h"
#include "controls/label_win.h"

namespace tovo {

enum class AnnouncementTimer { Rotation, Scroll };

// The owner's timer ids and intervals for the strip.
struct AnnouncementTimers {
  UINT_PTR rotationId;
  UINT rotationMs;
  UINT_PTR scrollId;
  UINT scrollMs;
};

class AnnouncementStrip : public AnnouncementView {
 public:
  // The labels show their initial caption and hint. Timers run on `owner`,
  // which also owns whatever the shell starts for a link.
  AnnouncementStrip(HWND owner, Label& first, Label& second, const AnnouncementTimers& timers);

  AnnouncementTicker& ticker() { return ticker_; }
  const AnnouncementTicker& ticker() const { return ticker_; }

  // The list posted with kAnnouncementsArrived (the strip frees it).
  void LinesArrived(LPARAM lParam);
  // The window is closing: no line is shown any more.
  void Release() { ticker_.Release(); }

  // A tick of one of the strip's timers; a tick left in the queue after the
  // timer was switched off is ignored.
  void Tick(AnnouncementTimer timer);
  bool Running(AnnouncementTimer timer) const { return On(timer); }

  // Pointer events of either label; a label that is not one of the two is ignored.
  void Click(Label& label);
  void MouseEnter(Label& label);
  void MouseLeave(Label& label);
  // Puts both labels where the ticker has them, at the window's DPI (after
  // the window was laid out anew).
  void PlaceLabels();

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
  bool& On(AnnouncementTimer timer) {
    return timer == AnnouncementTimer::Rotation ? rotationOn_ : scrollOn_;
  }
  bool On(AnnouncementTimer timer) const {
    return timer == AnnouncementTimer::Rotation ? rotationOn_ : scrollOn_;
  }
  void Switch(AnnouncementTimer timer, bool on);

  HWND owner_;
  Label& first_;
  Label& second_;
  AnnouncementTimers timers_;
  bool rotationOn_ = false;
  bool scrollOn_ = false;
  AnnouncementTicker ticker_;
};

}  // namespace tovo
