// The start requests the main window serves: what the program was started
// with, and what later starts hand over. They wait until the window is free
// and are served one at a time, in the order they came.
#include <chrono>
#include <optional>
#include <utility>

#include "app/form_vazo_win.h"
#include "app/shred_command_win.h"
#include "app/single_instance_win.h"
#include "app/start_requests.h"
#include "app/wipe_command_win.h"
#include "platform/messages_win.h"

namespace tovo {

void Tform_vazo::OfferStart(std::string startFolder, const std::vector<std::string>& arguments) {
  startFolder_ = std::move(startFolder);
  StartArrived(ParseStartArguments(arguments, startFolder_));
}

bool Tform_vazo::StartHandedOver(const COPYDATASTRUCT& data) {
  std::optional<StartRequest> request = HandedOverStart(data);
  if (!request) return false;
  BringToFront(hwnd());
  StartArrived(std::move(*request));
  return true;
}

void Tform_vazo::StartArrived(StartRequest request) {
  starts_.Arrive(std::move(request), StartQueue::Clock::now());
  PostMessageW(hwnd(), kServeStarts, 0, 0);
}

void Tform_vazo::ServeStarts() {
  KillTimer(hwnd(), kStartsDueTimer);
  // A box or a run that came first keeps the requests waiting: served inside
  // it, they would start a second command there. WM_ENABLE brings them back.
  if (Busy() || !IsWindowEnabled(hwnd())) return;
  const auto now = StartQueue::Clock::now();
  if (std::optional<StartRequest> request = starts_.TakeDue(now)) {
    // Whatever comes next waits until this one is over; a command that
    // shows nothing leaves the window free for it at once.
    PostMessageW(hwnd(), kServeStarts, 0, 0);
    Serve(std::move(*request));
    return;
  }
  if (const auto due = starts_.DueAt()) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - now);
    SetTimer(hwnd(), kStartsDueTimer, static_cast<UINT>(wait.count()), nullptr);
  }
}

void Tform_vazo::Serve(StartRequest request) {
  switch (request.kind) {
    case StartKind::kPaths: ShredFromOutside(request.paths); return;
    case StartKind::kRecycleBin: ShredRecycleBin(); return;
    case StartKind::kWipe: {
      const GivenPath argument = request.paths.empty() ? GivenPath{} : request.paths.front();
      const std::optional<std::string> root = WipeDriveRoot(argument);
      if (root && CanWipe(*root)) {
        WipeFreeSpaceOf(*root);
      } else {
        const std::string named = root ? *root : UnquotedArgument(argument.text);
        ShredCommandBox(hwnd(), WipeRefusedText(named), MB_OK | MB_ICONWARNING);
      }
      return;
    }
  }
}

}  // namespace tovo
