#include "forms/dpi_win.h"

#include "forms/scale.h"
#include "platform/dc_win.h"

namespace tovo {
namespace {

template <typename Function>
Function User32(const char* name) {
  static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using MetricForDpiFn = int(WINAPI*)(int, UINT);

}  // namespace

int SystemDpi() {
  static const auto forSystem = User32<GetDpiForSystemFn>("GetDpiForSystem");
  if (forSystem) return static_cast<int>(forSystem());
  const WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : forms::kDesignDpi;
}

int WindowDpi(HWND window) {
  static const auto forWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (forWindow && window) {
    if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

void AdjustFrameForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjust = User32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (adjust && adjust(rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto metric = User32<MetricForDpiFn>("GetSystemMetricsForDpi");
  if (metric) return metric(index, static_cast<UINT>(dpi));
  // Without per-monitor support every window has the system DPI.
  return GetSystemMetrics(index);
}

}  // namespace tovo
