// The free-space wipe of a drive, from the menu of its node in the tree: a
// consent box, then the wipe as a long run beside the live window, then the
// final box.
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "app/fill_cleanup_win.h"
#include "app/form_vazo_win.h"
#include "app/shred_command_win.h"
#include "app/wipe_command.h"
#include "app/wipe_command_win.h"
#include "platform/errors.h"
#include "platform/guards_win.h"
#include "platform/wide_win.h"
#include "progress/time_left.h"
#include "shred/free_space_wipe.h"
#include "shred/windows_file_system_win.h"

namespace tovo {
namespace {

constexpr UINT kWipeCommandId = 1;

ProgressWording WipeWording() {
  ProgressWording wording;
  wording.countingLead = "正在准备擦除剩余空间：";
  wording.countingTail = "，请稍等...";
  wording.countsFiles = false;
  wording.bytesLead = "已覆写：";
  return wording;
}

std::chrono::seconds SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::ceil<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
}

// What one run holds from its start to its end on the window thread: the
// folder watches stay quiet while the fill folder comes and goes, and the
// worker leaves its result here.
struct WipeRunState {
  explicit WipeRunState(Tform_vazo& form) : quiet(form.Quiet()) {}
  QuietViews quiet;
  WipeResult result;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

}  // namespace

bool CanWipe(const std::string& root) {
  // An empty removable drive would otherwise ask for a medium.
  const ErrorModeGuard quiet;
  if (!CanWipeDriveType(GetDriveTypeW(Wide(root).c_str()))) return false;
  VolumeFacts facts;
  return SystemFileSystem().QueryVolume(root, facts) == 0;
}

void Tform_vazo::TreePopup(POINT at) {
  const TreeNode* node = DirectoryListBox1().Model().Nodes().Selected();
  // Only drive nodes have a menu.
  if (!node || node->parent || !node->data) return;
  const std::string root = node->data->Path;
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.get(), MF_STRING | (CanWipe(root) ? MF_ENABLED : MF_GRAYED), kWipeCommandId,
              Wide(kWipeMenuText).c_str());
  const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                     at.x, at.y, 0, hwnd(), nullptr);
  if (chosen == kWipeCommandId) WipeFreeSpaceOf(root);
}

void Tform_vazo::WipeFreeSpaceOf(const std::string& root) {
  if (Busy()) return;
  const HWND owner = hwnd();
  VolumeFacts facts;
  if (const SystemCode code = SystemFileSystem().QueryVolume(root, facts)) {
    throw IoError("query volume", root, code);
  }
  const std::string consent = WipeConsentText(root.substr(0, 2), facts.freeBytes,
                                              DurationText(WipeEstimate(facts.freeBytes)));
  // Only a Yes goes on: a box that could not be shown is no consent.
  if (ShredCommandBox(owner, consent, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

  auto state = std::make_shared<WipeRunState>(*this);
  LongRunSpec spec;
  spec.wording = WipeWording();
  spec.work = [root, state, cleanup = fillCleanup_](const StopSignal& stop, RunProgress& progress,
                                                    const ShowNow&) {
    // The start-up clean-up may still be removing a killed wipe's fill there.
    if (cleanup && !cleanup->WaitFor(root, stop)) {
      state->result.stopped = true;
      return;
    }
    WipeOptions options;
    options.stop = &stop;
    options.progress = &progress;
    state->result = WipeFreeSpace(SystemFileSystem(), root, options);
  };
  spec.done = [this, owner, state](const LongRunEnd& end) mutable {
    const WipeResult result = state->result;
    const std::chrono::seconds took = SecondsSince(state->start);
    state.reset();  // the watches resume before the views re-read
    if (end.closing) return;
    DirectoryListBox1().Follow(FileListBox().Folder());
    FileListBox().Reload();
    if (end.error) std::rethrow_exception(end.error);
    ShredCommandBox(owner, WipeEndText(result.stopped, result.bytesWritten, DurationText(took)),
                    MB_OK | MB_ICONINFORMATION);
  };
  RunLong(std::move(spec));
}

}  // namespace tovo
