// Small standard controls shared by the windows: fonts, keyed pictures, the
// push button that never takes the keyboard focus, tooltips.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tovo {

// A font of `pixelHeight` pixels cell height (a negative lfHeight), unscaled.
UniqueFont CreateUiFont(const std::string& face, int pixelHeight, bool bold, bool underline,
                        int charset);

// A bitmap resource as a one-image list whose bottom-left pixel's colour is
// transparent (the convention of the program's pictures). Throws SystemError
// when the resource is missing.
UniqueImageList LoadKeyedPicture(int resourceId, SIZE* size = nullptr);

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

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Release(bool click);

  std::function<void()> onClick_;
  UniqueIcon icon_;
  bool pressed_ = false;
};

// A picture resource drawn with its key colour transparent on `background`.
class Picture : public Subclass {
 public:
  ~Picture() override;

  // With `autoSize` the control takes the picture's size.
  void Create(HWND parent, int id, RECT rect, int picture, COLORREF background, bool autoSize);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  UniqueImageList image_;
  UniqueBrush background_;
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
