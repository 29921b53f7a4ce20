// The main window's form: its layout, captions, fonts, colours and timers.
#pragma once

#include <span>
#include <string_view>

#include "forms/form_types.h"

namespace tovo::forms::vazo {

// Control ids. They start above the dialog manager's IDOK/IDCANCEL range, so
// Enter and Escape (which the dialog manager turns into commands 1 and 2) never
// reach a control's handler.
inline constexpr int kImage1 = 101;
inline constexpr int kLabel1 = 102;
inline constexpr int kLabel2 = 103;
inline constexpr int kDirectoryListBox1 = 104;
inline constexpr int kFileListBox = 105;
inline constexpr int kSpeedButton1 = 106;
inline constexpr int kSpeedButton2 = 107;
inline constexpr int kSpeedButton3 = 108;
inline constexpr int kButton1 = 109;
inline constexpr int kButton2 = 110;
inline constexpr int kPanel1 = 111;
inline constexpr int kPanelCenterBottom = 112;
inline constexpr int kLAd1 = 113;
inline constexpr int kLAd2 = 114;

struct Timer {
  int id;  // the window timer id
  std::string_view name;
  unsigned intervalMs;
  bool enabled;
};

inline constexpr int kTimerAd = 1;
inline constexpr int kTimerAd2 = 2;

// The window and its controls in form order (parents before their children).
const Form& MainForm();

std::span<const Timer> MainTimers();

// The control or timer with that id; throws std::out_of_range when absent.
const Control& MainControl(int id);
const Timer& MainTimer(int id);

// The initial caption and hint of the two announcement labels.
std::string_view InitialAnnouncementCaption();
std::string_view InitialAnnouncementHint();

}  // namespace tovo::forms::vazo
