#include "platform/error_handler_win.h"

#include <vector>

#include "platform/errors.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

HWND g_owner = nullptr;

std::string MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace

void SetErrorBoxOwner(HWND owner) {
  g_owner = owner;
}

std::string ApplicationTitleOfProcess() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return ApplicationTitle(Narrow(std::wstring(path.data(), length)));
    path.resize(path.size() * 2);
  }
}

void ReportException(std::exception_ptr error) {
  if (!error) return;
  const std::wstring text = Wide(MessageWithPeriod(MessageOf(error)));
  const std::wstring title = Wide(ApplicationTitleOfProcess());
  const HWND owner = g_owner && IsWindow(g_owner) ? g_owner : nullptr;
  MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace tovo
