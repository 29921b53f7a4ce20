#include "announce/announce_strip_win.h"

#include <shellapi.h>

#include "announce/autoupdate_win.h"
#include "platform/wide_win.h"

namespace tovo {

AnnounceStrip::AnnounceStrip(HWND mainWindow, Label& first, Label& second, StripTimer rotation,
                             StripTimer scroll)
    : mainWindow_(mainWindow),
      first_(first),
      second_(second),
      rotation_(rotation),
      scroll_(scroll),
      ticker_(*this, first.Caption(), first.Hint()) {
  Bind(first_, AdLabel::First);
  Bind(second_, AdLabel::Second);
}

AnnounceStrip::~AnnounceStrip() {
  for (Label* label : {&first_, &second_}) {
    label->SetOnClick(nullptr);
    label->SetOnMouseEnter(nullptr);
    label->SetOnMouseLeave(nullptr);
  }
  if (IsWindow(mainWindow_)) {
    KillTimer(mainWindow_, rotation_.id);
    KillTimer(mainWindow_, scroll_.id);
  }
}

void AnnounceStrip::Bind(Label& label, AdLabel which) {
  label.SetOnClick([this, which](Label&) { ticker_.Click(which); });
  label.SetOnMouseEnter([this, which](Label&) { ticker_.PointerEnter(which); });
  label.SetOnMouseLeave([this, which](Label&) { ticker_.PointerLeave(which); });
}

bool AnnounceStrip::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kAnnouncementsArrived) {
    std::unique_ptr<AnnouncementList> lines = TakeAnnouncements(lParam);
    if (lines) ticker_.TakeLines(std::move(*lines));
    return true;
  }
  if (msg != WM_TIMER) return false;
  if (wParam == rotation_.id) {
    ticker_.RotationTick();
    return true;
  }
  if (wParam == scroll_.id) {
    ticker_.ScrollTick();
    return true;
  }
  return false;
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
  SwitchTimer(rotation_, on);
}

void AnnounceStrip::SetScrollTimer(bool on) {
  SwitchTimer(scroll_, on);
}

void AnnounceStrip::SwitchTimer(const StripTimer& timer, bool on) {
  // SetTimer on a running id restarts its interval, as switching it on must.
  if (on)
    SetTimer(mainWindow_, timer.id, timer.intervalMs, nullptr);
  else
    KillTimer(mainWindow_, timer.id);
}

void AnnounceStrip::OpenLink(const std::string& link) {
  // A link that cannot be opened fails silently.
  ShellExecuteW(mainWindow_, L"Open", Wide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tovo
