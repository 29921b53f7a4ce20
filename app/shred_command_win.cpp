// The shred command of the main window: destroys the entries selected in the
// file list after a confirmation, naming each file in the progress window.
#include <windows.h>

#include <exception>

#include "app/form_vazo_win.h"
#include "app/shred_command.h"
#include "platform/wide_win.h"
#include "progress/show_progress_win.h"
#include "shred/folder_shredder.h"
#include "shred/windows_file_system_win.h"

namespace tovo {
namespace {

int Box(HWND owner, std::string_view text, UINT flags) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(kShredCaption).c_str(),
                     flags | MB_SYSTEMMODAL);
}

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

void ShredPath(const std::string& path, std::vector<ShredOutcome>& failures) {
  KeepResponsive();
  const std::vector<ShredOutcome> left =
      ShredPathWith(SystemFileSystem(), ProcessRandomGenerator(), path,
                    [](const std::string& file, ShredSource source) {
                      if (source == ShredSource::kFileInFolder) KeepResponsive();
                      ShowProgress(ProgressText(file, source), kProgressText);
                    });
  failures.insert(failures.end(), left.begin(), left.end());
}

}  // namespace

void Tform_vazo::Button1Click() {
  TShellFileListBox& list = FileListBox();
  const HWND owner = hwnd();
  if (list.SelectedCount() == 0) {
    Box(owner, kNothingSelectedText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  // Only a Yes goes on: a box that could not be shown is no consent.
  if (Box(owner, kConfirmText, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

  const std::vector<std::string> paths = SelectedPaths(list.Folder(), list);
  std::vector<ShredOutcome> failures;
  std::exception_ptr error;
  if (!paths.empty()) {
    // Nothing is watched while the command runs: no re-read comes between
    // its steps, and no watch holds a folder it is removing open.
    const FolderWatch::Suspension quietList = list.SuspendWatch();
    const FolderWatch::Suspension quietTree = DirectoryListBox1().SuspendWatch();
    ProgressScope progress;
    try {
      for (const std::string& path : paths) ShredPath(path, failures);
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
    Box(owner, kCompletedText, MB_OK | MB_ICONINFORMATION);
  else
    Box(owner, FailureReport(failures), MB_OK | MB_ICONWARNING);
}

}  // namespace tovo
