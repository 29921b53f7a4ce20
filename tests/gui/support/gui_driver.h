// Helpers for tests that drive a real program of this project from a second
// process under Wine (or Windows): start it, find its windows and message
// boxes, read their texts and geometry, click, wait.
//
// Notes that shape these helpers:
// - Clicks are posted (PostMessageW BM_CLICK), never sent: a sent click
//   blocks while the target sits in a modal message box.
// - Without a window manager, every window that closes makes Wine wait about
//   2 s unless the prefix sets the X11 driver's Managed=N; the timeouts allow
//   for that.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tovo::gui {

// A started program. The destructor ends it (TerminateProcess) if it still
// runs, so a failing test never leaves it behind.
class Process {
 public:
  // Starts `exe` with `arguments` in `directory` (empty: the test's own);
  // `suspended`: its first thread waits for Resume. Fails the test (and
  // returns an empty Process) when it cannot start.
  static Process Start(const std::wstring& exe, const std::wstring& arguments = L"",
                       const std::wstring& directory = L"", bool suspended = false);

  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();

  explicit operator bool() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }

  // True when the program ended within `timeoutMs`; its exit code is stored.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  bool Running() const;
  // Lets a process started suspended run.
  void Resume();

 private:
  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;  // only while suspended
  DWORD id_ = 0;
};

// TovoShred.exe of the build that holds this test program: the environment
// variable TOVO_SHRED_EXE when set, else app\TovoShred.exe found in the test
// program's folder or one of its parents. Empty when not found.
std::wstring ProgramPath();

// The program with its main window shown, started in `directory` (empty:
// the test's own) with `arguments`. Fails the test, leaving `mainWindow` null, when the
// program is missing or its main window does not appear.
struct RunningProgram {
  Process process;
  HWND mainWindow = nullptr;
};
RunningProgram StartProgram(const std::wstring& directory = L"",
                            const std::wstring& arguments = L"");

// Closes the main window with its close box; true when the program then
// ended with exit code 0 within 15 s (a test failure says which was not so).
bool ClosesWithExitCodeZero(Process& program, HWND mainWindow);

// Polls `condition` every 20 ms until it holds or `timeoutMs` passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// True once the program has handled every message posted to its window
// thread before this call (clicks, keys), within `timeoutMs`. A further
// modal box that such a message opened exists by then. `tree` is a tree
// view of that thread: its insert-mark colour, which the program never
// draws, carries the marker.
bool HandledPostedMessages(HWND tree, DWORD timeoutMs = 5000);

// A visible top-level window of process `pid` with this title (and class,
// when given); null when none appeared within `timeoutMs`.
HWND WaitForWindow(DWORD pid, const std::wstring& title, const std::wstring& className = L"",
                   DWORD timeoutMs = 15000);

// A visible top-level window of class `className` of process `pid`, now
// (the last one found), or null.
HWND VisibleWindowOf(DWORD pid, const wchar_t* className);

// The visible message boxes (class #32770) of process `pid`, now.
std::vector<HWND> MessageBoxesOf(DWORD pid);
// The first message box of `pid` that appears within `timeoutMs`, or null.
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs = 15000);
// The last visible message box of `pid` other than `previous` that is
// there within `timeoutMs`, or null.
HWND WaitForNextMessageBox(DWORD pid, HWND previous = nullptr, DWORD timeoutMs = 30000);
// The text of a message box (its static with id 65535).
std::wstring MessageBoxText(HWND box);

// WM_GETTEXT across processes (Wine and Windows marshal it).
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// A window's rectangle in `parent`'s client coordinates.
RECT RectIn(HWND window, HWND parent);
SIZE ClientSize(HWND window);

// The window with the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

// Posts a button click (BM_CLICK) and returns at once.
void Click(HWND button);
// Posts a left mouse press and release at the centre of `window`.
void PostMouseClick(HWND window);
// Posts a key to the focused window of `window`'s thread: WM_KEYDOWN/UP for
// virtual keys, WM_CHAR or (with alt) WM_SYSCHAR for characters.
void PostKey(HWND window, UINT virtualKey);
void PostChar(HWND window, wchar_t ch, bool alt);

}  // namespace tovo::gui
