#include "announce/announce_strip_win.h"

#include <shellapi.h>

#include "platform/wide_win.h"

namespace tovo {

AnnouncementStrip::AnnouncementStrip(HWND mainWindow, Label& first, Label& second,
                                     StripTimerSwitch switchTimer, AdLineSource lines)
    : mainWindow_(mainWindow),
      first_(first),
      second_(second),
      switchTimer_(std::move(switchTimer)),
      ticker_(*this, first.Caption(), first.Hint(), std::move(lines)) {}

std::optional<AnnouncementLabel> AnnouncementStrip::Which(const Label& label) const {
  if (&label == &first_) return AnnouncementLabel::First;
  if (&label == &second_) return AnnouncementLabel::Second;
  return std::nullopt;
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

void AnnouncementStrip::SetTop(AnnouncementLabel label, int top) {
  Label& target = Of(label);
  target.MoveTo(target.Position().x, top);
}

void AnnouncementStrip::SetUnderline(AnnouncementLabel label, bool underline) {
  Of(label).SetUnderline(underline);
}

void AnnouncementStrip::SetRotationTimer(bool on) {
  switchTimer_(AnnouncementTimer::Rotation, on);
}

void AnnouncementStrip::SetScrollTimer(bool on) {
  switchTimer_(AnnouncementTimer::Scroll, on);
}

void AnnouncementStrip::OpenLink(const std::string& link) {
  // A link that cannot be opened fails silently.
  ShellExecuteW(mainWindow_, L"Open", Wide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tovo
