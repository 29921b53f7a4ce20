#include "announce/ticker.h"

#include "platform/text.h"

namespace tovo {

bool IsOpenableLink(std::string_view trimmedLink) {
  const std::string lower = AsciiLower(trimmedLink);
  return StartsWith(lower, "http://") || StartsWith(lower, "https://");
}

AnnouncementTicker::AnnouncementTicker(AnnouncementView& view, const std::string& caption,
                                       const std::string& hint)
    : view_(view) {
  labels_[0] = {caption, hint, kAnnouncementShowingTop, false};
  labels_[1] = {caption, hint, kAnnouncementWaitingTop, false};
}

void AnnouncementTicker::TakeLines(std::vector<std::string> lines) {
  if (released_) return;
  lines_ = std::move(lines);
  adIndex_ = 0;
  if (!lines_.empty()) view_.SetRotationTimer(true);
}

void AnnouncementTicker::Release() {
  released_ = true;
  lines_.clear();
}

void AnnouncementTicker::RotationTick() {
  view_.SetRotationTimer(false);
  if (lines_.empty()) return;  // nothing ever switches the rotation on then
  const AnnouncementLabel target =
      adTurn_ == 1 ? AnnouncementLabel::Second : AnnouncementLabel::First;
  const std::string& line = lines_[adIndex_ < lines_.size() ? adIndex_ : 0];
  const std::size_t bar = line.find('|');
  AnnouncementLabelState& state = State(target);
  state.caption = bar == std::string::npos ? std::string() : line.substr(0, bar);
  state.hint = bar == std::string::npos ? line : line.substr(bar + 1);
  view_.SetCaption(target, state.caption);
  view_.SetHint(target, state.hint);
  view_.SetColour(target, StartsWith(state.caption, "<>") ? kAnnouncementRed : kAnnouncementGrey);
  adIndex_ = adIndex_ + 1 < lines_.size() ? adIndex_ + 1 : 0;
  view_.SetScrollTimer(true);
  view_.SetRotationTimer(true);
}

void AnnouncementTicker::ScrollTick() {
  const AnnouncementLabel incoming =
      adTurn_ == 1 ? AnnouncementLabel::Second : AnnouncementLabel::First;
  const AnnouncementLabel outgoing =
      adTurn_ == 1 ? AnnouncementLabel::First : AnnouncementLabel::Second;
  if (State(incoming).top <= 10) {
    MoveTo(outgoing, State(incoming).top + 30);
    view_.SetScrollTimer(false);
    adTurn_ = adTurn_ == 1 ? 2 : 1;
    return;
  }
  MoveTo(outgoing, State(outgoing).top - 5);
  MoveTo(incoming, State(outgoing).top + 30);
}

void AnnouncementTicker::PointerEnter(AnnouncementLabel label) {
  AnnouncementLabelState& state = State(label);
  if (!state.underline) {
    state.underline = true;
    view_.SetUnderline(label, true);
  }
  view_.SetRotationTimer(false);
}

void AnnouncementTicker::PointerLeave(AnnouncementLabel label) {
  AnnouncementLabelState& state = State(label);
  if (state.underline) {
    state.underline = false;
    view_.SetUnderline(label, false);
  }
  if (!lines_.empty()) view_.SetRotationTimer(true);
}

void AnnouncementTicker::Click(AnnouncementLabel label) {
  const std::string link = Trim(State(label).hint);
  if (IsOpenableLink(link)) view_.OpenLink(link);
}

void AnnouncementTicker::MoveTo(AnnouncementLabel label, int top) {
  State(label).top = top;
  view_.SetTop(label, top);
}

}  // namespace tovo
