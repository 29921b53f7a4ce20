#include "progress/show_progress_win.h"

#include <memory>

#include "progress/frm_message_win.h"

namespace tovo {
namespace {

std::unique_ptr<TFrm_message> g_progress;

}  // namespace

void ShowProgress(const std::string& text, int mode) {
  switch (mode) {
    case kProgressOpen:
      if (g_progress) g_progress->Close();
      g_progress = std::make_unique<TFrm_message>();
      g_progress->Open();
      break;
    case kProgressText:
      if (g_progress && g_progress->hwnd()) g_progress->SetText(text);
      break;
    case kProgressClose:
      if (g_progress) g_progress->Close();
      g_progress.reset();
      break;
    default: break;
  }
}

HWND ProgressWindow() {
  return g_progress ? g_progress->hwnd() : nullptr;
}

}  // namespace tovo
