// The announcement strip's state machine: two labels that take turns, one
// showing at top 9 and one waiting below the 32-pixel strip, a rotation tick
// every 4000 ms that loads the next line into the waiting label, and a scroll
// tick every 100 ms that moves both up by 5 pixels until the new one shows.
// No clock inside: the owner calls the ticks from its timers and forwards
// the pointer events; every change goes out through AnnouncementView.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovo {

enum class AnnouncementLabel { First, Second };  // l_ad1, l_ad2

inline constexpr std::uint32_t kAnnouncementRed = 255;       // text beginning with "<>"
inline constexpr std::uint32_t kAnnouncementGrey = 8421504;  // every other text
inline constexpr int kAnnouncementShowingTop = 9;
inline constexpr int kAnnouncementWaitingTop = 37;  // l_ad2 at creation; 39 once the cycle runs

// What the ticker changes; the Win32 strip applies it to labels and timers.
class AnnouncementView {
 public:
  virtual ~AnnouncementView() = default;
  virtual void SetCaption(AnnouncementLabel label, const std::string& caption) = 0;
  virtual void SetHint(AnnouncementLabel label, const std::string& hint) = 0;
  virtual void SetColour(AnnouncementLabel label, std::uint32_t colour) = 0;
  virtual void SetTop(AnnouncementLabel label, int top) = 0;
  virtual void SetUnderline(AnnouncementLabel label, bool underline) = 0;
  // Switching a running timer on changes nothing; off and on again restarts
  // its interval.
  virtual void SetRotationTimer(bool on) = 0;
  virtual void SetScrollTimer(bool on) = 0;
  virtual void OpenLink(const std::string& link) = 0;
};

struct AnnouncementLabelState {
  std::string caption;
  std::string hint;
  int top = 0;
  bool underline = false;
};

// Links come from the network: only web addresses are handed to the shell,
// never a program, a file, a UNC path or a mailto.
bool IsOpenableLink(std::string_view trimmedLink);

class AnnouncementTicker {
 public:
  // Both labels start with the initial caption and hint; l_ad1 shows at 9,
  // l_ad2 waits at 37. The view is assumed to show this state already.
  AnnouncementTicker(AnnouncementView& view, const std::string& caption, const std::string& hint);

  // The worker's lines arrive (once) into the ticker's list; the rotation
  // starts when there are any. Ignored after Release.
  void TakeLines(std::vector<std::string> lines);

  // The window is closing: the list is dropped and later lines are ignored,
  // so the strip rotates nothing more.
  void Release();

  void RotationTick();
  void ScrollTick();
  void PointerEnter(AnnouncementLabel label);
  void PointerLeave(AnnouncementLabel label);
  void Click(AnnouncementLabel label);

  int adTurn() const { return adTurn_; }
  std::size_t adIndex() const { return adIndex_; }
  const AnnouncementLabelState& label(AnnouncementLabel which) const {
    return labels_[Index(which)];
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static int Index(AnnouncementLabel label) { return label == AnnouncementLabel::First ? 0 : 1; }
  AnnouncementLabelState& State(AnnouncementLabel label) { return labels_[Index(label)]; }
  void MoveTo(AnnouncementLabel label, int top);

  AnnouncementView& view_;
  std::vector<std::string> lines_;
  bool released_ = false;
  AnnouncementLabelState labels_[2];
  int adTurn_ = 0;  // 1: l_ad1 shows and l_ad2 takes the next line
  std::size_t adIndex_ = 0;
};

}  // namespace tovo
