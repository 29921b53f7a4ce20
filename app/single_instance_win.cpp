#include "app/single_instance_win.h"

#include <chrono>

namespace tovo {
namespace {

// Local\: one lock per logon session, so each user who is logged on has an
// instance of their own.
constexpr wchar_t kLockName[] = L"Local\\TovoShred.SingleInstance";
constexpr wchar_t kMainWindowClass[] = L"Tform_vazo";
constexpr auto kGiveUpAfter = std::chrono::seconds(15);
constexpr DWORD kRetryMs = 50;
constexpr UINT kSendTimeoutMs = 10000;

// True when the running instance's window took the block.
bool HandTo(HWND window, const std::string& block) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  // This start was the user's, so it may give the foreground on: the window
  // comes to the front with its question.
  AllowSetForegroundWindow(pid);
  COPYDATASTRUCT data = {kStartHandOver, static_cast<DWORD>(block.size()),
                         const_cast<char*>(block.data())};
  DWORD_PTR accepted = 0;
  return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &accepted) &&
         accepted == TRUE;
}

}  // namespace

SingleInstance::SingleInstance(const std::vector<std::string>& arguments,
                               const std::string& folder) {
  mutex_.reset(CreateMutexW(nullptr, FALSE, kLockName));
  // Without a lock object the program runs as it did before: alone.
  if (!mutex_) return;
  const std::string block = EncodeStart(arguments, folder);
  const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
  while (!TakeLock()) {
    const HWND running = FindWindowW(kMainWindowClass, nullptr);
    if (running && HandTo(running, block)) {
      handedOver_ = true;
      return;
    }
    if (std::chrono::steady_clock::now() >= giveUp) return;
    Sleep(kRetryMs);
  }
}

SingleInstance::~SingleInstance() {
  if (owned_) ReleaseMutex(mutex_.get());
}

bool SingleInstance::TakeLock() {
  // An instance that ended without releasing the lock (killed) leaves it
  // abandoned: that is a free lock too.
  const DWORD result = WaitForSingleObject(mutex_.get(), 0);
  owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return owned_;
}

std::optional<StartRequest> HandedOverStart(const COPYDATASTRUCT& data) {
  if (data.dwData != kStartHandOver || (!data.lpData && data.cbData)) return std::nullopt;
  return DecodeStart(std::string_view(static_cast<const char*>(data.lpData), data.cbData));
}

void BringToFront(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(window));
}

}  // namespace tovo
