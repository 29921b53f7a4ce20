// Times the real program's shred command, driven from this process as a user
// would: TovoShred.exe started on FOLDER (directly below C:\), every entry of
// its file list selected, the button pressed and Yes answered. The time runs
// from Yes to the completion box, so it holds the command's own overhead
// (progress window, report, the list's re-read) on top of the engine.
//
//   shred_command_bench.exe FOLDER ENTRIES
//
// Prints "seconds=S"; exits 1 when the program did not report completion.
//
//   shred_command_bench.exe steps FILE
//
// Prints what the command's own steps around the engine cost per call, in
// this process: a progress text set and painted, a look at the queue, an
// attribute read of FILE.
//
//   shred_command_bench.exe count FOLDER
//
// Times the command's counting pass alone (CountSelection) on the entries of
// FOLDER, each a selected path as in the command, in this process: prints
// "seconds=S files=N bytes=B".
//
//   shred_command_bench.exe stop FOLDER ENTRIES FILES|PERCENT%
//
// As the first form, but presses the stop button once the progress window
// shows FILES files done (or the bar PERCENT), and times the stop to the
// final box: prints "stop_seconds=S", the part of it until the progress window
// went ("run_ended_seconds=S"), the time until the list shows what is left
// of FOLDER ("list_followed_seconds=S", with the box up or before it) and the
// box's first line.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "forms/message_form.h"
#include "gui/support/gui_driver.h"
#include "platform/wide_win.h"
#include "progress/show_progress_win.h"
#include "shred/shred_run.h"
#include "shred/windows_file_system_win.h"

namespace {

namespace gui = tovo::gui;
namespace vazo = tovo::forms::vazo;

int Count(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

// The list starts on the folder the program was started in or, when the tree
// picked the drive root first, is sent into it with a double-click.
bool ShowFolder(HWND window, HWND list, const std::wstring& name, int entries) {
  if (gui::WaitUntil([&] { return Count(list) == entries; }, 1500)) return true;
  const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name.c_str()));
  if (index == LB_ERR) return false;
  SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(vazo::kFileListBox, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
  return gui::WaitUntil([&] { return Count(list) == entries; }, 60000);
}

HWND NextBox(DWORD pid, HWND previous) {
  HWND box = nullptr;
  gui::WaitUntil(
      [&] {
        for (HWND b : gui::MessageBoxesOf(pid))
          if (b != previous && IsWindowVisible(b)) box = b;
        return box != nullptr;
      },
      600000);
  return box;
}

template <typename Step>
void TimeStep(const char* name, Step step) {
  constexpr int kCalls = 2000;
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kCalls; ++i) step(i);
  QueryPerformanceCounter(&end);
  const double us = static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                    static_cast<double>(frequency.QuadPart) / kCalls;
  std::printf("%s_us=%.1f\n", name, us);
}

int Steps(const std::wstring& file) {
  tovo::ShowProgress("", tovo::kProgressOpen);
  TimeStep("paint", [](int i) {
    tovo::ShowProgress("正在粉碎文件：f" + std::to_string(i) + ".bin，请稍等...",
                       tovo::kProgressText);
  });
  tovo::ShowProgress("", tovo::kProgressClose);
  TimeStep("peek", [](int) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  });
  TimeStep("attributes", [&](int) { GetFileAttributesW(file.c_str()); });
  return 0;
}

int Fail(const char* what) {
  std::fprintf(stderr, "shred_command_bench: %s\n", what);
  return 1;
}

// The selection the command gets when every entry of the list is selected:
// each entry of FOLDER as a path of its own.
std::vector<std::string> Entries(const std::wstring& folder) {
  std::vector<std::string> paths;
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return paths;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") paths.push_back(tovo::Narrow(folder + L"\\" + name));
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return paths;
}

int CountOnDisk(const std::wstring& folder) {
  return static_cast<int>(Entries(folder).size());
}

int Count(const std::wstring& folder) {
  const std::vector<std::string> paths = Entries(folder);
  tovo::RunProgress progress;
  const auto start = std::chrono::steady_clock::now();
  tovo::CountSelection(tovo::SystemFileSystem(), paths, nullptr, progress);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const tovo::ProgressSnapshot totals = progress.Snapshot();
  std::printf("seconds=%.3f files=%llu bytes=%llu\n", took.count(),
              static_cast<unsigned long long>(totals.filesTotal),
              static_cast<unsigned long long>(totals.bytesTotal));
  return 0;
}

// The program's visible run window (class TFrm_message), or null.
HWND RunWindow(DWORD pid) {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"TFrm_message", nullptr); w;
       w = FindWindowExW(nullptr, w, L"TFrm_message", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// "文件：1,234 / 3,000 个" -> 1234.
long FilesDone(HWND run) {
  wchar_t text[128] = {};
  InternalGetWindowText(GetDlgItem(run, tovo::forms::message::kFilesLine), text, 128);
  std::wstring digits;
  for (const wchar_t* c = text; *c && *c != L'/'; ++c)
    if (*c >= L'0' && *c <= L'9') digits += *c;
  return digits.empty() ? -1 : std::stol(digits);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"steps") return Steps(argv[2]);
  if (argc == 3 && std::wstring(argv[1]) == L"count") return Count(argv[2]);
  const bool stop = argc == 5 && std::wstring(argv[1]) == L"stop";
  if (argc != 3 && !stop) {
    std::fputs(
        "usage: shred_command_bench FOLDER ENTRIES | steps FILE | count FOLDER |"
        " stop FOLDER ENTRIES FILES|PERCENT%\n",
        stderr);
    return 2;
  }
  if (stop) ++argv;
  const std::wstring folder = argv[1];
  const int entries = std::stoi(argv[2]);
  gui::RunningProgram program = gui::StartProgram(folder);
  if (!program.mainWindow) return Fail("the program did not start");
  const HWND list = GetDlgItem(program.mainWindow, vazo::kFileListBox);
  const DWORD pid = program.process.id();
  if (!ShowFolder(program.mainWindow, list, folder.substr(folder.rfind(L'\\') + 1), entries))
    return Fail("the list does not show the folder");
  SendMessageW(list, LB_SETSEL, TRUE, -1);
  gui::Click(GetDlgItem(program.mainWindow, vazo::kButton1));
  const HWND confirm = gui::WaitForMessageBox(pid);
  if (!confirm) return Fail("no confirmation box");
  const ULONGLONG start = GetTickCount64();
  gui::Click(GetDlgItem(confirm, IDYES));
  if (stop) {
    const std::wstring when = argv[3];
    const bool percent = when.back() == L'%';
    const long threshold = std::stol(percent ? when.substr(0, when.size() - 1) : when);
    HWND run = nullptr;
    const bool due = gui::WaitUntil(
        [&] {
          run = RunWindow(pid);
          if (!run) return false;
          if (percent)
            return SendMessageW(GetDlgItem(run, tovo::forms::message::kBar), PBM_GETPOS, 0, 0) >=
                   threshold;
          return FilesDone(run) >= threshold;
        },
        600000);
    if (!due) return Fail("the run did not get that far");
    const ULONGLONG stopped = GetTickCount64();
    gui::Click(GetDlgItem(run, tovo::forms::message::kStopButton));
    gui::WaitUntil([&] { return !IsWindow(run) || !IsWindowVisible(run); }, 600000);
    const ULONGLONG ended = GetTickCount64();
    const HWND box = NextBox(pid, confirm);
    const ULONGLONG end = GetTickCount64();
    if (!box) return Fail("no final box");
    const int left = CountOnDisk(folder);
    gui::WaitUntil([&] { return Count(list) == left; }, 600000);
    const ULONGLONG followed = GetTickCount64();
    const std::wstring text = gui::MessageBoxText(box);
    std::printf("stop_seconds=%.3f\nrun_ended_seconds=%.3f\nlist_followed_seconds=%.3f\nbox=%s\n",
                static_cast<double>(end - stopped) / 1000.0,
                static_cast<double>(ended - stopped) / 1000.0,
                static_cast<double>(followed - stopped) / 1000.0,
                tovo::Narrow(text.substr(0, text.find(L'\n'))).c_str());
    gui::Click(GetDlgItem(box, IDOK));
    gui::ClosesWithExitCodeZero(program.process, program.mainWindow);
    return 0;
  }
  const HWND done = NextBox(pid, confirm);
  const ULONGLONG end = GetTickCount64();
  if (!done || gui::MessageBoxText(done) != L"粉碎顺利完成！") return Fail("no completion box");
  std::printf("seconds=%.3f\n", static_cast<double>(end - start) / 1000.0);
  gui::Click(GetDlgItem(done, IDOK));
  gui::ClosesWithExitCodeZero(program.process, program.mainWindow);
  return 0;
}
