// Base classes for windows and subclassed controls.
//
// A Window stores `this` at WM_NCCREATE and dispatches every message through
// one static procedure to OnMessage. Exceptions never unwind through user32:
// the procedure catches them and hands them to the general error handler.
//
// The parent reflects WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM and
// WM_CTLCOLOR* to the child that sent them as kReflect + message, so a control
// that owns its drawing or its notifications handles them itself. A nonzero
// reflected result counts as handled; otherwise the parent's OnMessage runs.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "platform/messages_win.h"

namespace tovo {

struct WindowClassSpec {
  const wchar_t* name;
  UINT style = 0;
  HBRUSH background = nullptr;  // null: the window paints its own background
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;  // null: the arrow
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Destroys the window now (the destructor does it too when still alive).
  void Destroy();

 protected:
  // Registers the class once per process and creates the window.
  HWND Create(const WindowClassSpec& cls, DWORD exStyle, const std::wstring& title, DWORD style,
              int x, int y, int width, int height, HWND parent, HMENU menuOrId);

  // Handle a message: return its result, or nullopt for the default handling.
  virtual std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  // Called from WM_NCDESTROY, after which hwnd() is null.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

// Sends a reflectable message to the child it concerns; nullopt when the
// message is not reflectable or the child left it unhandled (result 0).
std::optional<LRESULT> ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam);

// A standard control with our own handling in front of its class procedure,
// installed with SetWindowSubclass and removed when the control goes away.
class Subclass {
 public:
  Subclass() = default;
  virtual ~Subclass();
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  void Attach(HWND control);
  void Detach();

  virtual std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  // The control's own handling of a message.
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
  HWND hwnd_ = nullptr;
};

}  // namespace tovo
