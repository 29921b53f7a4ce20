#include "platform/guards_win.h"

namespace tovo {

CurrentDirectoryGuard::CurrentDirectoryGuard() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return;
  saved_.resize(needed);
  const DWORD length = GetCurrentDirectoryW(needed, saved_.data());
  saved_.resize(length < needed ? length : 0);
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  if (saved_.empty()) return;
  const DWORD error = GetLastError();
  SetCurrentDirectoryW(saved_.c_str());
  SetLastError(error);
}

}  // namespace tovo
