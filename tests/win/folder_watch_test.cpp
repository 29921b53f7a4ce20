// FolderWatch on real folders: a change is reported with its folder, and a
// message about a set that was replaced since is recognised and dropped.
#include "platform/folder_watch_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "platform/messages_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"

namespace tovo {
namespace {

// A message-only window that hands the watch's messages back to it.
class Receiver : public Window {
 public:
  Receiver() {
    Create(WindowClassSpec{.name = L"TovoFolderWatchTest"}, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
           nullptr);
    watch = std::make_unique<FolderWatch>(hwnd(), kFolderChanged, FILE_NOTIFY_CHANGE_FILE_NAME);
  }
  ~Receiver() override { watch.reset(); }

  // Runs messages until a change is reported; empty after `timeoutMs`.
  std::string NextChange(DWORD timeoutMs) {
    reported.clear();
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (ULONGLONG now = GetTickCount64(); reported.empty() && now < end; now = GetTickCount64()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return reported;
  }

  // Waits, without running it, until a change message is queued.
  bool ChangeQueued(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    MSG msg;
    while (!PeekMessageW(&msg, hwnd(), kFolderChanged, kFolderChanged, PM_NOREMOVE)) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
    }
    return true;
  }

  std::unique_ptr<FolderWatch> watch;
  std::string reported;

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg != kFolderChanged) return std::nullopt;
    if (const auto folder = watch->Changed(wParam, lParam)) reported = *folder;
    return 0;
  }
};

class FolderWatchTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string base = Narrow(temp) + "tovo-watch-" + std::to_string(GetCurrentProcessId());
    for (const char* name : {"-a", "-b"}) {
      folders_.push_back(base + name);
      ASSERT_TRUE(CreateDirectoryW(Wide(folders_.back()).c_str(), nullptr));
    }
  }
  void TearDown() override {
    for (const std::string& file : files_) DeleteFileW(Wide(file).c_str());
    for (const std::string& folder : folders_) RemoveDirectoryW(Wide(folder).c_str());
  }
  void Touch(const std::string& folder, const std::string& name) {
    files_.push_back(folder + "\\" + name);
    UniqueFile f(CreateFileW(Wide(files_.back()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(f);
  }

  std::vector<std::string> folders_;
  std::vector<std::string> files_;
};

TEST_F(FolderWatchTest, ReportsTheChangedFolderOfTheSetWatchedNow) {
  Receiver receiver;
  ASSERT_TRUE(receiver.hwnd());
  receiver.watch->Watch(folders_);
  Touch(folders_[1], "one");
  EXPECT_EQ(receiver.NextChange(5000), folders_[1]);

  // A change posted before the set was replaced is not taken for the folder
  // that has its place in the new set.
  Touch(folders_[0], "two");
  ASSERT_TRUE(receiver.ChangeQueued(5000));
  receiver.watch->Watch({folders_[1], folders_[0]});
  Touch(folders_[0], "three");
  EXPECT_EQ(receiver.NextChange(5000), folders_[0]);
}

}  // namespace
}  // namespace tovo
