#include "platform/window_win.h"

#include "platform/error_handler_win.h"

namespace tovo {
namespace {

constexpr UINT_PTR kSubclassId = 0x70766F;  // one subclass of ours per control

HWND ReflectTarget(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return reinterpret_cast<HWND>(lParam);
    default: (void)wParam; return nullptr;
  }
}

}  // namespace

Window::~Window() {
  Destroy();
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND Window::Create(const WindowClassSpec& cls, DWORD exStyle, const std::wstring& title,
                    DWORD style, int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (!GetClassInfoExW(instance, cls.name, &existing)) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = cls.style;
    wc.lpfnWndProc = &Window::StaticProc;
    wc.hInstance = instance;
    wc.hIcon = cls.icon;
    wc.hIconSm = cls.icon;
    wc.hCursor = cls.cursor ? cls.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = cls.background;
    wc.lpszClassName = cls.name;
    RegisterClassExW(&wc);
  }
  return CreateWindowExW(exStyle, cls.name, title.c_str(), style, x, y, width, height, parent,
                         menuOrId, instance, this);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    return self->Dispatch(msg, wParam, lParam);
  } catch (...) {
    ReportException(std::current_exception());
    return 0;
  }
}

LRESULT Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = hwnd_;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    OnDestroyed();
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (const auto reflected = ReflectToChild(hwnd, msg, wParam, lParam)) return *reflected;
  if (const auto result = OnMessage(msg, wParam, lParam)) return *result;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::optional<LRESULT> ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
  const HWND child = ReflectTarget(msg, wParam, lParam);
  if (!child || child == parent || !IsChild(parent, child)) return std::nullopt;
  const LRESULT result = SendMessageW(child, kReflect + msg, wParam, lParam);
  if (result == 0) return std::nullopt;
  return result;
}

Subclass::~Subclass() {
  Detach();
}

void Subclass::Attach(HWND control) {
  Detach();
  hwnd_ = control;
  SetWindowSubclass(control, &Subclass::StaticProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void Subclass::Detach() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, &Subclass::StaticProc, kSubclassId);
  hwnd_ = nullptr;
}

LRESULT Subclass::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Subclass::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<Subclass*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &Subclass::StaticProc, kSubclassId);
    self->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  try {
    if (const auto reflected = ReflectToChild(hwnd, msg, wParam, lParam)) return *reflected;
    if (const auto result = self->OnMessage(msg, wParam, lParam)) return *result;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  } catch (...) {
    ReportException(std::current_exception());
    return 0;
  }
}

}  // namespace tovo
