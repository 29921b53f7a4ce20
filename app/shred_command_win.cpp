// The shred command of the main window: destroys the entries selected in the
// file list after a confirmation, as a long run beside the live window (a
// worker thread counts, then shreds; the progress window names each file,
// shows how far the run is and can stop it).
#include <windows.h>

#include <exception>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/form_vazo_win.h"
#include "app/shred_command.h"
#include "app/shred_command_win.h"
#include "platform/paths.h"
#include "platform/wide_win.h"
#include "shred/folder_shredder.h"
#include "shred/shred_pipeline.h"
#include "shred/shred_run.h"
#include "shred/windows_file_system_win.h"

namespace tovo {

int ShredCommandBox(HWND owner, std::string_view text, UINT flags) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(kShredCaption).c_str(),
                     flags | MB_SYSTEMMODAL);
}

namespace {

// Each worker holds open files. With the files ended in any order, four
// workers took 0.54-0.70 of the sequential engine's time on a tree of 10,000
// small files (bench/shred_bench.sh --workers, medians of alternating
// rounds), and 0.60 in both worker sweeps; more were not steadily faster.
constexpr unsigned kWorkers = 4;

// What one run holds from its start on the window thread to its end there:
// the folder watches stay suspended for the whole run (nothing re-reads
// between its steps, no watch holds a folder open that it removes), and the
// worker leaves its result here.
struct ShredRunState {
  explicit ShredRunState(Tform_vazo& form) : quiet(form.Quiet()) {}
  QuietViews quiet;
  ShredRunResult result;
};

// The final box of a run that was stopped: the counts, then what was not
// destroyed (the file left partly overwritten among it).
void ShowStoppedBox(HWND owner, const ShredRunResult& result) {
  std::string text = StoppedText(result.destroyed, result.untouched);
  if (!result.failures.empty()) text += "\n\n" + FailureReport(result.failures);
  ShredCommandBox(owner, text,
                  MB_OK | (result.failures.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

// The distinct folders that hold `paths`.
std::set<std::string> FoldersHolding(const std::vector<std::string>& paths) {
  std::set<std::string> folders;
  for (const std::string& path : paths) {
    if (std::string folder = FolderHolding(path); !folder.empty()) folders.insert(folder);
  }
  return folders;
}

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

void Tform_vazo::ShredPaths(const std::vector<std::string>& paths, std::function<void()> afterRun) {
  if (Busy()) return;
  const HWND owner = hwnd();
  // Paths before a failing one may be gone already: the tree and the list
  // show what is left before any box but a stop's. Paths from outside the program may lie
  // anywhere in the tree, so the folder of each one is followed as well.
  const auto followDisk = [this, folders = FoldersHolding(paths)] {
    DirectoryListBox1().Follow(FileListBox().Folder());
    for (const std::string& folder : folders) DirectoryListBox1().Follow(folder);
    FileListBox().Reload();
  };
  if (paths.empty()) {
    if (afterRun) afterRun();
    followDisk();
    ShredCommandBox(owner, kCompletedText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  auto state = std::make_shared<ShredRunState>(*this);
  LongRunSpec spec;
  spec.work = [paths, state](const StopSignal& stop, RunProgress& progress,
                             const ShowNow& showNow) {
    ShredOptions options;
    options.stop = &stop;
    options.progress = &progress;
    PipelineOptions pipeline;
    pipeline.workers = kWorkers;
    state->result = RunShred(SystemFileSystem(), ProcessRandomGenerator(), paths, options, pipeline,
                             [&](const std::string& file, ShredSource source) {
                               progress.SetCurrent(ProgressText(file, source));
                               showNow();
                             });
  };
  spec.done = [this, owner, followDisk, state,
               afterRun = std::move(afterRun)](const LongRunEnd& end) mutable {
    const ShredRunResult result = std::move(state->result);
    state.reset();  // the watches resume before the views re-read
    if (afterRun) afterRun();
    if (end.closing) return;
    // A stop may leave thousands of entries to re-read: its box answers the
    // press at once, and the views follow the disk while it is up.
    if (result.stopped && !end.error) {
      AfterBoxShown(followDisk);
      ShowStoppedBox(owner, result);
      return;
    }
    followDisk();
    if (end.error) std::rethrow_exception(end.error);
    if (result.failures.empty())
      ShredCommandBox(owner, kCompletedText, MB_OK | MB_ICONINFORMATION);
    else
      ShredCommandBox(owner, FailureReport(result.failures), MB_OK | MB_ICONWARNING);
  };
  RunLong(std::move(spec));
}

}  // namespace tovo
