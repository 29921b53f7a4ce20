// Stand-ins for the drive tree and the file list, with the window classes,
// styles and focus behaviour of the real widgets, so the main window is
// complete before they exist. Each is created in one place of form_vazo_win.cpp.
#pragma once

#include <windows.h>

#include <string>

#include "platform/window_win.h"

namespace tovo {

// A common-controls tree view with no content.
class PlaceholderTree : public Subclass {
 public:
  ~PlaceholderTree() override;
  void Create(HWND parent, int id, RECT rect, HFONT font, COLORREF textColour);

  // Does nothing: the real tree expands down to the folder and selects it.
  void OpenFolder(const std::string& path);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// An owner-drawn, fixed-height, multi-select list box that keeps its entry
// texts as strings; it draws the plain texts.
class PlaceholderFileList : public Subclass {
 public:
  ~PlaceholderFileList() override;
  void Create(HWND parent, int id, RECT rect, HFONT font, COLORREF textColour);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawEntry(const DRAWITEMSTRUCT& item) const;
  COLORREF textColour_ = 0;
};

}  // namespace tovo
