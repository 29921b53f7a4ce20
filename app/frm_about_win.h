// The about window: product name, version, maker, terms of use and the two
// links (the maker's site and contact address). Each press of "关于" makes a
// fresh window, shows it modally and destroys it.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "controls/label_win.h"
#include "forms/form_types.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tovo {

class Tfrm_about : public Window {
 public:
  Tfrm_about();
  ~Tfrm_about() override;

  // Creates the window (hidden), topmost, centred on the screen.
  void Create(HWND owner);

  // Shows the window with `owner` disabled and returns once it has closed.
  void ShowModal(HWND owner);

  void Button1Click();
  void Label_urlClick();
  void Label_emailClick();
  void Label_urlMouseEnter(Label& sender);
  void Label_urlMouseLeave(Label& sender);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  HWND CreateLabel(const forms::Control& control, HWND parent, const RECT& r);
  HWND CreateButton(const forms::Control& control, HWND parent, const RECT& r);
  // Lays the window out anew for a new DPI.
  void DpiChanged(int dpi, const RECT& suggested);
  void Paint(HDC dc);
  void Open(const wchar_t* verb, const std::string& file, int show);

  int dpi_ = 96;  // the DPI the window is laid out for
  std::map<int, HWND> controls_;
  std::vector<std::unique_ptr<Label>> labels_;
  HWND button_ = nullptr;
  UniqueFont windowFont_;
  UniqueBrush background_;
  bool closed_ = false;
};

// The about button's handler: create, show modally, destroy.
void ShowAboutWindow(HWND owner);

}  // namespace tovo
