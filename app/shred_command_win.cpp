#include "app/shred_command_win.h"

#include <windows.h>

#include <exception>

#include "app/form_vazo_win.h"
#include "app/shred_command.h"
#include "platform/wide_win.h"
#include "progress/show_progress_win.h"
#include "shred/shred_win.h"

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

void ShredPath(Tform_vazo& form, const std::string& path, std::vector<ShredOutcome>& failures) {
  KeepResponsive();
  if (FolderExists(path)) {
    const std::vector<ShredOutcome> left = ShredFolder(form, path);
    failures.insert(failures.end(), left.begin(), left.end());
    return;
  }
  ShowProgress(FileProgressText(path), kProgressText);
  ShredOutcome outcome = ShredFile(path);
  if (!outcome.destroyed()) failures.push_back(std::move(outcome));
}

}  // namespace

std::vector<ShredOutcome> ShredFolder(Tform_vazo&, const std::string& folder) {
  return ShredFolderTree(folder, [](const std::string& text) {
    KeepResponsive();
    ShowProgress(text, kProgressText);
  });
}

void Button1Click(Tform_vazo& form) {
  TShellFileListBox& list = form.FileListBox();
  const HWND owner = form.hwnd();
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
    ProgressScope progress;
    try {
      for (const std::string& path : paths) ShredPath(form, path, failures);
    } catch (...) {
      error = std::current_exception();
    }
  }
  // Paths before the failing one may be gone already: the list shows what is
  // left before the error is reported.
  list.Reload();
  if (error) std::rethrow_exception(error);
  if (failures.empty())
    Box(owner, kCompletedText, MB_OK | MB_ICONINFORMATION);
  else
    Box(owner, FailureReport(failures), MB_OK | MB_ICONWARNING);
}

}  // namespace tovo
