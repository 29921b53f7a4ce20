#include "announce/announce_strip_win.h"

#include <shellapi.h>

#include "announce/autoupdate_win.h"
#include "forms/scale.h"
#include "platform/wide_win.h"

namespace tovo {

AnnouncementStrip::AnnouncementStrip(HWND owner, Label& first, Label& second,
                                     const AnnouncementTimers& timers)
    : owner_(owner),
      first_(first),
      second_(second),
      timers_(timers),
      ticker_(*this, first.Caption(), first.Hint()) {}

std::optional<AnnouncementLabel> AnnouncementStrip::Which(const Label& label) const {
  if (&label == &first_) return AnnouncementLabel::First;
  if (&label == &second_) return AnnouncementLabel::Second;
  return std::nullopt;
}

void AnnouncementStrip::LinesArrived(LPARAM lParam) {
  // The worker posts even an empty list; only lines start the rotation.
  if (const std::unique_ptr<AnnouncementList> lines = TakeAnnouncements(lParam)) {
    ticker_.TakeLines(std::move(*lines));
  }
}

void AnnouncementStrip::Tick(AnnouncementTimer timer) {
  if (!On(timer)) return;
  if (timer == AnnouncementTimer::Rotation)
    ticker_.RotationTick();
  else
    ticker_.ScrollTick();
}

void AnnouncementStrip::Click(Label& label) {
  if (const auto which = Which(label)) ticker_.Click(*which);
}

void AnnouncementStrip::MouseEnter(Label& label) {
  if (const auto which = Which(label)) ticker_.PointerEnter(*which);
}

void AnnouncementStrip::MouseLeave(Label& label) {
  if (const auto which = Which(label)) ticker_.PointerLeave(*which);
}

void AnnouncementStrip::SetCaption(AnnouncementLabel label, const std::string& caption) {
  Of(label).SetCaption(caption);
}

void AnnouncementStrip::SetHint(AnnouncementLabel label, const std::string& hint) {
  Of(label).SetHint(hint);
}

void AnnouncementStrip::SetColour(AnnouncementLabel label, std::uint32_t colour) {
  Of(label).SetFontColour(static_cast<COLORREF>(colour));
}

void AnnouncementStrip::PlaceLabels() {
  for (const AnnouncementLabel label : {AnnouncementLabel::First, AnnouncementLabel::Second})
    SetTop(label, ticker_.label(label).top);
}

// The ticker counts in pixels at 96 DPI, as the layout does.
void AnnouncementStrip::SetTop(AnnouncementLabel label, int top) {
  Label& target = Of(label);
  target.MoveTo(target.Position().x, forms::Scaled(top, target.Dpi()));
}

void AnnouncementStrip::SetUnderline(AnnouncementLabel label, bool underline) {
  Of(label).SetUnderline(underline);
}

void AnnouncementStrip::SetRotationTimer(bool on) {
  Switch(AnnouncementTimer::Rotation, on);
}

void AnnouncementStrip::SetScrollTimer(bool on) {
  Switch(AnnouncementTimer::Scroll, on);
}

// Switching a running timer on again must not restart its interval, so the
// strip keeps each timer's state rather than calling SetTimer every time.
void AnnouncementStrip::Switch(AnnouncementTimer timer, bool on) {
  bool& running = On(timer);
  if (running == on) return;
  running = on;
  const bool rotation = timer == AnnouncementTimer::Rotation;
  const UINT_PTR id = rotation ? timers_.rotationId : timers_.scrollId;
  if (on) {
    SetTimer(owner_, id, rotation ? timers_.rotationMs : timers_.scrollMs, nullptr);
  } else {
    KillTimer(owner_, id);
  }
}

void AnnouncementStrip::OpenLink(const std::string& link) {
  // A link that cannot be opened fails silently.
  ShellExecuteW(owner_, L"Open", Wide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tovo
