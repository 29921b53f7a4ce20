// The shred command of the main window: destroys the entries selected in the
// file list after a confirmation, naming each file in the progress window.
#include <windows.h>

#include <chrono>
#include <exception>

#include "app/form_vazo_win.h"
#include "app/shred_command.h"
#include "app/shred_command_win.h"
#include "platform/wide_win.h"
#include "progress/progress_pacer.h"
#include "progress/show_progress_win.h"
#include "shred/folder_shredder.h"
#include "shred/shred_pipeline.h"
#include "shred/windows_file_system_win.h"

namespace tovo {

int ShredCommandBox(HWND owner, std::string_view text, UINT flags) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(kShredCaption).c_str(),
                     flags | MB_SYSTEMMODAL);
}

namespace {

// Lets Windows see that the window thread still looks at its queue, so the
// program is not marked "not responding" during a long run. PM_NOREMOVE
// leaves every posted message (input included) queued: the window stays
// inert until the command ends.
void KeepResponsive() {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// The progress window for one run, closed on every way out.
class ProgressScope {
 public:
  ProgressScope() { ShowProgress("", kProgressOpen); }
  ~ProgressScope() { ShowProgress("", kProgressClose); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
};

using namespace std::chrono_literals;

// The eye follows a name for about this long; painting more often only slows
// the command down (a paint costs about 0.5 ms under Wine, more than a small
// file's share of the engine).
constexpr auto kPaintInterval = 50ms;
// Windows marks a window "not responding" after 5 s without a look at its
// queue; a few looks a second are plenty.
constexpr auto kResponsiveInterval = 250ms;
// Each worker holds open files; bench/shred_bench.sh --workers compares the
// counts, and under Wine none clearly beat four.
constexpr unsigned kWorkers = 4;

std::chrono::steady_clock::time_point Now() {
  return std::chrono::steady_clock::now();
}

// One press of the button on the real file system: this thread opens the
// files in order and names them, the workers finish them, and the window is
// kept alive while this thread waits for the workers.
class CommandRun {
 public:
  CommandRun()
      : pacer_([](const std::string& text) { ShowProgress(text, kProgressText); }, kPaintInterval,
               Now),
        responsive_(kResponsiveInterval),
        pipeline_(SystemFileSystem(), ProcessRandomGenerator(), {}, Options()) {}

  void Shred(const std::string& path) {
    ShredPathInto(pipeline_, path, [this](const std::string& file, ShredSource source) {
      // Nothing else in flight: this file alone is being shredded, and it may
      // be a large one, so its name goes up at once.
      pacer_.Offer(ProgressText(file, source), pipeline_.Idle());
      KeepAlive();
    });
  }

  // Waits for the workers; the failures in the order of the paths.
  std::vector<ShredOutcome> Finish() {
    std::vector<ShredOutcome> failures = pipeline_.TakeFailures();
    pacer_.Flush();
    return failures;
  }

 private:
  PipelineOptions Options() {
    PipelineOptions options;
    options.workers = kWorkers;
    options.whileWaiting = [this] { KeepAlive(); };
    options.tick = kPaintInterval;
    return options;
  }

  // A name that had to wait is painted now if due, so a large file that
  // stalls the workers is still named.
  void KeepAlive() {
    pacer_.Tick();
    if (responsive_.Due(Now())) KeepResponsive();
  }

  ProgressPacer pacer_;
  IntervalGate responsive_;
  ShredPipeline pipeline_;  // last: finished before what it calls back goes
};

}  // namespace

void Tform_vazo::Button1Click() {
  TShellFileListBox& list = FileListBox();
  const HWND owner = hwnd();
  if (list.SelectedCount() == 0) {
    ShredCommandBox(owner, kNothingSelectedText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  // Only a Yes goes on: a box that could not be shown is no consent.
  if (ShredCommandBox(owner, kConfirmText, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;

  ShredPaths(SelectedPaths(list.Folder(), list));
}

void Tform_vazo::ShredPaths(const std::vector<std::string>& paths) {
  TShellFileListBox& list = FileListBox();
  const HWND owner = hwnd();
  std::vector<ShredOutcome> failures;
  std::exception_ptr error;
  if (!paths.empty()) {
    // Nothing is watched while the command runs: no re-read comes between
    // its steps, and no watch holds a folder it is removing open.
    const FolderWatch::Suspension quietList = list.SuspendWatch();
    const FolderWatch::Suspension quietTree = DirectoryListBox1().SuspendWatch();
    ProgressScope progress;
    try {
      CommandRun run;
      for (const std::string& path : paths) run.Shred(path);
      failures = run.Finish();
    } catch (...) {
      error = std::current_exception();
    }
  }
  // Paths before the failing one may be gone already: the tree and the list
  // show what is left before the error is reported.
  DirectoryListBox1().Follow(list.Folder());
  list.Reload();
  if (error) std::rethrow_exception(error);
  if (failures.empty())
    ShredCommandBox(owner, kCompletedText, MB_OK | MB_ICONINFORMATION);
  else
    ShredCommandBox(owner, FailureReport(failures), MB_OK | MB_ICONWARNING);
}

}  // namespace tovo
