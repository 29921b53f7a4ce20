// One instance of the program per user session. A start that finds another
// instance running hands its arguments and current folder to that
// instance's main window (WM_COPYDATA) and ends; the first start keeps the
// session's lock while it runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/start_requests.h"
#include "platform/handles_win.h"

namespace tovo {

// WM_COPYDATA's dwData for a start handed over; other blocks are not ours.
inline constexpr ULONG_PTR kStartHandOver = 0x54565331;  // "TVS1"

class SingleInstance {
 public:
  // Takes the session's lock, or hands `arguments` and `folder` to the
  // instance that holds it. While that instance is still starting (its
  // window not there yet) or ending (its lock not yet released), it waits;
  // after about 15 s without either it takes no lock and runs on its own,
  // rather than drop what it was given.
  SingleInstance(const std::vector<std::string>& arguments, const std::string& folder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when another instance took the start over: this one ends at once.
  bool HandedOver() const { return handedOver_; }

 private:
  bool TakeLock();

  UniqueKernelHandle mutex_;
  bool owned_ = false;
  bool handedOver_ = false;
};

// The request in a WM_COPYDATA block another start sent; nullopt when it is
// not one.
std::optional<StartRequest> HandedOverStart(const COPYDATASTRUCT& data);

// Brings `window` (or the box it shows) to the front, restored.
void BringToFront(HWND window);

}  // namespace tovo
