// The announcement worker: one thread per program run that fetches the lines
// and hands them to the main window.
//
// The worker never touches the main window's list or timers. It posts
// kAnnouncementsArrived with a heap-allocated list in lParam; the window
// thread takes it with TakeAnnouncements and moves the lines into its own
// list. If the window is gone the post fails and the worker frees the list.
// Nothing waits for the worker: when the program ends it simply ends with it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "announce/fetch.h"
#include "platform/messages_win.h"

namespace tovo {

using AnnouncementList = std::vector<std::string>;

// Starts the worker against the maker's site; returns at once.
void StartAutoupdate(HWND mainWindow, const std::string& softId, const std::string& softVer);

// The same against another server (the tests' loopback service).
void StartAutoupdateAt(HWND mainWindow, const std::string& softId, const std::string& softVer,
                       const AnnouncementServer& server, const FetchLimits& limits = {});

// Takes ownership of the list posted with kAnnouncementsArrived.
std::unique_ptr<AnnouncementList> TakeAnnouncements(LPARAM lParam);

}  // namespace tovo
