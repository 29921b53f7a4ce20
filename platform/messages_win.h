// Every private window message of the program, numbered in one place so that
// no two subsystems ever pick the same id.
//
// WM_APP + 0x100 .. WM_APP + 0x1BFF: messages of our own, one constant each.
// WM_APP + 0x1C00 upward: kReflect + WM_xxx, the notifications a parent
// reflects to the control that sent them (WM_xxx stays below 0x400).
#pragma once

#include <windows.h>

namespace tovo {

inline constexpr UINT kFirstPrivateMessage = WM_APP + 0x100;

// Announcement worker to its window: lParam owns the fetched lines
// (TakeAnnouncements).
inline constexpr UINT kAnnouncementsArrived = kFirstPrivateMessage;

inline constexpr UINT kReflect = WM_APP + 0x1C00;

static_assert(kAnnouncementsArrived < kReflect);

}  // namespace tovo
