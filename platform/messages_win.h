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

// Folder watch worker to the view that watches: wParam is the folder's place
// in the watched set, lParam the set's generation (FolderWatch::Changed).
inline constexpr UINT kFolderChanged = kFirstPrivateMessage + 1;

// The folder tree to itself: run the work it put off until the view's
// notification was over.
inline constexpr UINT kTreeDeferred = kFirstPrivateMessage + 2;

// A long run's worker to the main window: the work has ended; wParam is the
// run's number (LongRun).
inline constexpr UINT kLongRunEnded = kFirstPrivateMessage + 3;

// A long run's worker to its progress window: something worth seeing at once
// has changed (a new name); at most one is pending (LongRun).
inline constexpr UINT kLongRunShowNow = kFirstPrivateMessage + 4;

// The main window to itself: serve the start requests that wait (paths from
// outside, a switch), posted when one arrives, after one was served, and
// whenever the window is enabled again.
inline constexpr UINT kServeStarts = kFirstPrivateMessage + 5;

// Worker to the main window: lParam owns the SortedOutsidePaths of the paths
// given from outside, or is null when they could not be sorted.
inline constexpr UINT kOutsidePathsSorted = kFirstPrivateMessage + 6;

// Worker to the main window: lParam owns the listing of the current user's
// Recycle Bin (Tform_vazo::RecycleBinListed).
inline constexpr UINT kRecycleBinListed = kFirstPrivateMessage + 10;

// The start-up clean-up of a killed wipe's fill folders has ended, or the
// window became free to show its box (Tform_vazo::FillCleanupEnded).
inline constexpr UINT kFillCleanupEnded = kFirstPrivateMessage + 11;

inline constexpr UINT kReflect = WM_APP + 0x1C00;

static_assert(kFillCleanupEnded < kReflect);

}  // namespace tovo
