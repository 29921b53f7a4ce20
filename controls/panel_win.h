// A panel: a child window with a background colour of its own and optional
// one-pixel bevels (inner raised, outer lowered), holding other controls.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tovo {

struct PanelStyle {
  COLORREF background = GetSysColor(COLOR_BTNFACE);
  bool raisedInner = false;
  bool loweredOuter = false;
};

class Panel : public Window {
 public:
  void Create(HWND parent, int id, RECT rect, const PanelStyle& style);

  // The area inside the bevels, in the panel's client coordinates.
  RECT InnerRect() const;

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc) const;

  PanelStyle style_;
  UniqueBrush brush_;
};

}  // namespace tovo
