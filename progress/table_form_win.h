// A borderless top-level window built from a form table: rectangles painted
// as shapes, labels and panels as STATIC children with their own fonts and
// colours, buttons as push buttons (the one first in the tab order the default), bars as
// progress controls. The two progress windows are built on it.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "forms/form_types.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tovo {

class TableForm : public Window {
 public:
  HWND Control(int id) const;

  // A copy of the table rectangle of a shape (shapes may be resized), at
  // 96 DPI like the table; painted at the window's DPI.
  forms::Rect ShapeRect(int id) const;
  void SetShapeWidth(int id, int width);

  std::string ControlText(int id) const;
  void SetControlText(int id, const std::string& text);

 protected:
  // Creates the window hidden, centred on the screen, with its controls;
  // owned by `owner` when given.
  void CreateFromForm(const forms::Form& form, const wchar_t* className, DWORD style, DWORD exStyle,
                      HWND owner = nullptr);

  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Look {
    COLORREF text;
    COLORREF background;
    bool transparent;
    HBRUSH brush;
  };

  HWND CreateChild(const forms::Control& control, HWND parent, const RECT& r);
  HWND CreateButton(const forms::Control& control, HWND parent, const RECT& r);
  HWND CreateBar(const forms::Control& control, HWND parent, const RECT& r);
  // Lays the window out anew for a new DPI, with fonts made for it.
  void DpiChanged(int dpi, const RECT& suggested);
  HFONT FontFor(const forms::Font& font);
  HBRUSH BrushFor(COLORREF colour);
  void Paint(HDC dc);
  std::optional<LRESULT> ColourStatic(HDC dc, HWND child);

  const forms::Form* form_ = nullptr;
  int dpi_ = 96;  // the DPI the window is laid out for
  std::map<int, forms::Rect> shapes_;
  std::map<int, HWND> children_;
  std::map<HWND, Look> looks_;
  std::vector<UniqueFont> fonts_;
  std::map<COLORREF, UniqueBrush> brushes_;
};

}  // namespace tovo
