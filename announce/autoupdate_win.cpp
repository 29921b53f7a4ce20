#include "announce/autoupdate_win.h"

#include "announce/gbk_win.h"
#include "announce/identity_win.h"
#include "platform/handles_win.h"

namespace tovo {
namespace {

// One run: fetch, parse, hand over, then the object frees itself.
class TautoupdateThread {
 public:
  TautoupdateThread(HWND mainWindow, std::string softId, std::string softVer,
                    AnnouncementServer server, FetchLimits limits)
      : mainWindow_(mainWindow),
        softId_(std::move(softId)),
        softVer_(std::move(softVer)),
        server_(std::move(server)),
        limits_(limits) {}

  static DWORD WINAPI Run(void* self) {
    std::unique_ptr<TautoupdateThread> thread(static_cast<TautoupdateThread*>(self));
    try {
      thread->Execute();
    } catch (...) {
      // Best effort: the strip keeps its initial text.
    }
    return 0;
  }

 private:
  void Execute() {
    Win32IdentitySource identity;
    Win32GbkDecoder gbk;
    auto lines = std::make_unique<AnnouncementList>(
        FetchAnnouncements(server_, identity, gbk, softId_, softVer_, limits_));
    // The list is posted even when empty so the window may tell that the
    // worker has finished; only a list with lines starts the rotation.
    if (PostMessageW(mainWindow_, kAnnouncementsArrived, 0,
                     reinterpret_cast<LPARAM>(lines.get()))) {
      lines.release();  // the window thread owns it now
    }
  }

  HWND mainWindow_;
  std::string softId_;
  std::string softVer_;
  AnnouncementServer server_;
  FetchLimits limits_;
};

}  // namespace

void StartAutoupdate(HWND mainWindow, const std::string& softId, const std::string& softVer) {
  StartAutoupdateAt(mainWindow, softId, softVer, AnnouncementServer{});
}

void StartAutoupdateAt(HWND mainWindow, const std::string& softId, const std::string& softVer,
                       const AnnouncementServer& server, const FetchLimits& limits) {
  auto worker = std::make_unique<TautoupdateThread>(mainWindow, softId, softVer, server, limits);
  // Detached at once: closing the program must never wait for a service
  // that does not answer, and the process's end takes the thread with it.
  UniqueKernelHandle thread(
      CreateThread(nullptr, 0, &TautoupdateThread::Run, worker.get(), 0, nullptr));
  if (thread) worker.release();
}

std::unique_ptr<AnnouncementList> TakeAnnouncements(LPARAM lParam) {
  return std::unique_ptr<AnnouncementList>(reinterpret_cast<AnnouncementList*>(lParam));
}

}  // namespace tovo
