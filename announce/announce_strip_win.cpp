#include "announce/announce_strip_win.h"

#include <shellapi.h>

#include "platform/wide_win.h"

namespace tovo {

AnnounceStrip::AnnounceStrip(HWND mainWindow, Label& first, Label& second,
                             StripTimerSwitch switchTimer, AdLineSource lines)
    : mainWindow_(mainWindow),
      first_(first),
      second_(second),
      switchTimer_(std::move(switchTimer)),
      ticker_(*this, first.Caption(), first.Hint(), std::move(lines)) {}

std::optional<AdLabel> AnnounceStrip::Which(const Label& label) const {
  if (&label == &first_) return AdLabel::First;
  if (&label == &second_) return AdLabel::Second;
  return std::nullopt;
}

void AnnounceStrip::Click(Label& label) {
  if (const auto which = Which(label)) ticker_.Click(*which);
}

void AnnounceStrip::MouseEnter(Label& label) {
  if (const auto which = Which(label)) ticker_.PointerEnter(*which);
}

void AnnounceStrip::MouseLeave(Label& label) {
  if (const auto which = Which(label)) ticker_.PointerLeave(*which);
}

void AnnounceStrip::SetCaption(AdLabel label, const std::string& caption) {
  Of(label).SetCaption(caption);
}

void AnnounceStrip::SetHint(AdLabel label, const std::string& hint) {
  Of(label).SetHint(hint);
}

void AnnounceStrip::SetColour(AdLabel label, std::uint32_t colour) {
  Of(label).SetFontColour(static_cast<COLORREF>(colour));
}

void AnnounceStrip::SetTop(AdLabel label, int top) {
  Label& target = Of(label);
  target.MoveTo(target.Position().x, top);
}

void AnnounceStrip::SetUnderline(AdLabel label, bool underline) {
  Of(label).SetUnderline(underline);
}

void AnnounceStrip::SetRotationTimer(bool on) {
  switchTimer_(StripTimer::Rotation, on);
}

void AnnounceStrip::SetScrollTimer(bool on) {
  switchTimer_(StripTimer::Scroll, on);
}

void AnnounceStrip::OpenLink(const std::string& link) {
  // A link that cannot be opened fails silently.
  ShellExecuteW(mainWindow_, L"Open", Wide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tovo
