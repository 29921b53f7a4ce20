// Small standard controls shared by the windows: fonts, keyed pictures, the
// push button that never takes the keyboard focus, tooltips.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "forms/form_types.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tovo {

// A font of `pixelHeight` pixels cell height (a negative lfHeight), unscaled.
UniqueFont CreateUiFont(const std::string& face, int pixelHeight, bool bold, bool underline,
                        int charset);

// A form font with its height scaled for `dpi`.
UniqueFont CreateFormFont(const forms::Font& font, int dpi, bool underline = false);

// A picture resource as a one-image list whose bottom-left pixel's colour is
// transparent (the convention of the program's pictures), at `dpi`: the
// 100 % picture scaled, drawn from the source made for that scale and
// shrunk smoothly where no source matches exactly. Throws SystemError when
// the resource is missing.
UniqueImageList LoadKeyedPicture(int resourceId, int dpi, SIZE* size = nullptr);

// A push button that never takes the keyboard focus: a click leaves the focus
// (and so a list's selection and caret) where it was. Mouse, BM_CLICK and the
// dialog manager's mnemonics all work, because the button tracks its own
// press instead of letting the class procedure call SetFocus.
class FlatButton : public Subclass {
 public:
  ~FlatButton() override;

  // `caption` may carry an "&" mnemonic; `picture` 0 for a text button.
  void Create(HWND parent, int id, RECT rect, const std::string& caption, HFONT font,
              int picture = 0);
  void SetOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
  // Takes the picture for a new DPI.
  void SetDpi(int dpi);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Release(bool click);

  std::function<void()> onClick_;
  UniqueIcon icon_;
  int picture_ = 0;
  bool pressed_ = false;
};

// A picture resource drawn with its key colour transparent on `background`.
class Picture : public Subclass {
 public:
  ~Picture() override;

  // With `autoSize` the control takes the picture's size.
  void Create(HWND parent, int id, RECT rect, int picture, COLORREF background, bool autoSize);
  // Takes the picture for a new DPI (and its size, with `autoSize`).
  void SetDpi(int dpi);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  UniqueImageList image_;
  UniqueBrush background_;
  int picture_ = 0;
  bool autoSize_ = false;
};

// Tooltips for controls of one window (shown on hover, hidden on click).
class Tooltips {
 public:
  void Create(HWND owner);
  void Add(HWND tool, const std::string& text);

 private:
  UniqueWindow window_;
  HWND owner_ = nullptr;
};

}  // namespace tovo
