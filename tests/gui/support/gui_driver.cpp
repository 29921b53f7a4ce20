#include "gui/support/gui_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tovo::gui {
namespace {

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring OwnFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      std::wstring full(path.data(), n);
      return full.substr(0, full.find_last_of(L"\\/"));
    }
    path.resize(path.size() * 2);
  }
}

struct Search {
  DWORD pid;
  const std::wstring* title;
  const std::wstring* className;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  if (search->className && ClassOf(window) != *search->className) return TRUE;
  if (search->title && WindowText(window) != *search->title) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

}  // namespace

Process Process::Start(const std::wstring& exe, const std::wstring& arguments,
                       const std::wstring& directory, bool suspended) {
  std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE,
                      suspended ? CREATE_SUSPENDED : 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
    ADD_FAILURE() << "cannot start the program, error " << GetLastError();
    return {};
  }
  Process process;
  if (suspended) {
    process.thread_ = info.hThread;
  } else {
    CloseHandle(info.hThread);
  }
  process.process_ = info.hProcess;
  process.id_ = info.dwProcessId;
  return process;
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      thread_(std::exchange(other.thread_, nullptr)),
      id_(other.id_) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    this->~Process();
    process_ = std::exchange(other.process_, nullptr);
    thread_ = std::exchange(other.thread_, nullptr);
    id_ = other.id_;
  }
  return *this;
}

void Process::Resume() {
  if (!thread_) return;
  ResumeThread(thread_);
  CloseHandle(std::exchange(thread_, nullptr));
}

Process::~Process() {
  if (thread_) CloseHandle(thread_);
  thread_ = nullptr;
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

RunningProgram StartProgram(const std::wstring& directory, const std::wstring& arguments) {
  RunningProgram running;
  const std::wstring exe = ProgramPath();
  if (exe.empty()) {
    ADD_FAILURE() << "TovoShred.exe not found next to the tests";
    return running;
  }
  running.process = Process::Start(exe, arguments, directory);
  if (!running.process) return running;
  running.mainWindow = WaitForWindow(running.process.id(), L"Tovo文件粉碎", L"Tform_vazo");
  if (!running.mainWindow) ADD_FAILURE() << "the main window did not appear";
  return running;
}

bool ClosesWithExitCodeZero(Process& program, HWND mainWindow) {
  PostMessageW(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD code = 1;
  if (!program.WaitForExit(15000, &code)) {
    ADD_FAILURE() << "the program did not end";
    return false;
  }
  if (code != 0) ADD_FAILURE() << "exit code " << code;
  return code == 0;
}

std::wstring ProgramPath() {
  wchar_t fromEnvironment[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(L"TOVO_SHRED_EXE", fromEnvironment, MAX_PATH * 2);
  if (n > 0 && n < MAX_PATH * 2) return fromEnvironment;
  std::wstring folder = OwnFolder();
  for (int up = 0; up < 4 && !folder.empty(); ++up) {
    const std::wstring candidate = folder + L"\\app\\TovoShred.exe";
    if (FileExists(candidate)) return candidate;
    const size_t cut = folder.find_last_of(L"\\/");
    if (cut == std::wstring::npos) break;
    folder.resize(cut);
  }
  return L"";
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

// Posted messages of one thread come out of its queue in the order they were
// posted, so a marker posted now is handled after everything posted before.
bool HandledPostedMessages(HWND tree, DWORD timeoutMs) {
  static COLORREF marker = RGB(1, 2, 3);
  marker = marker == RGB(1, 2, 3) ? RGB(3, 2, 1) : RGB(1, 2, 3);
  if (!PostMessageW(tree, TVM_SETINSERTMARKCOLOR, 0, static_cast<LPARAM>(marker))) return false;
  return WaitUntil(
      [&] {
        return static_cast<COLORREF>(SendMessageW(tree, TVM_GETINSERTMARKCOLOR, 0, 0)) == marker;
      },
      timeoutMs);
}

HWND WaitForWindow(DWORD pid, const std::wstring& title, const std::wstring& className,
                   DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        Search search{pid, &title, className.empty() ? nullptr : &className, {}};
        EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
        window = search.found.empty() ? nullptr : search.found.front();
        return window != nullptr;
      },
      timeoutMs);
  return window;
}

std::vector<HWND> MessageBoxesOf(DWORD pid) {
  const std::wstring dialog = L"#32770";
  Search search{pid, nullptr, &dialog, {}};
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND VisibleWindowOf(DWORD pid, const wchar_t* className) {
  HWND found = nullptr;
  for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
       w = FindWindowExW(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) found = w;
  }
  return found;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> boxes = MessageBoxesOf(pid);
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
      },
      timeoutMs);
  return box;
}

HWND WaitForNextMessageBox(DWORD pid, HWND previous, DWORD timeoutMs) {
  HWND next = nullptr;
  WaitUntil(
      [&] {
        for (HWND b : MessageBoxesOf(pid))
          if (b != previous && IsWindowVisible(b)) next = b;
        return next != nullptr;
      },
      timeoutMs);
  return next;
}

std::wstring MessageBoxText(HWND box) {
  return WindowText(GetDlgItem(box, 0xFFFF));
}

std::wstring WindowText(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

RECT RectIn(HWND window, HWND parent) {
  RECT r = {};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void Click(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

void PostMouseClick(HWND window) {
  const SIZE size = ClientSize(window);
  const LPARAM at = MAKELPARAM(size.cx / 2, size.cy / 2);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND window, UINT virtualKey) {
  const HWND target = FocusOf(window) ? FocusOf(window) : window;
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void PostChar(HWND window, wchar_t ch, bool alt) {
  const HWND target = FocusOf(window) ? FocusOf(window) : window;
  PostMessageW(target, alt ? WM_SYSCHAR : WM_CHAR, ch, alt ? 0x20000001 : 1);
}

}  // namespace tovo::gui
