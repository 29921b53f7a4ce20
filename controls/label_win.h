// A text label: a STATIC child with its own font, colour and underline, a
// stored hint, mouse enter/leave/click callbacks and optional auto-size,
// hand cursor and transparent background. Its parent must reflect
// WM_CTLCOLORSTATIC (every tovo::Window does).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tovo {

struct LabelStyle {
  std::string face = "宋体";
  int height = 12;  // pixels at 96 DPI
  bool bold = false;
  int charset = 134;  // GB2312
  COLORREF textColour = RGB(0, 0, 0);
  std::optional<COLORREF> background;  // nullopt: transparent over the parent
  bool wordWrap = false;
  bool autoSize = false;  // sized to its text (width too, unless word-wrapped)
  bool handCursor = false;
  bool underline = false;
  int dpi = 96;  // the DPI the font is made for
};

class Label : public Subclass {
 public:
  using Callback = std::function<void(Label&)>;

  ~Label() override;

  // `rect` in the parent's client coordinates. Captions are shown as they
  // stand: an "&" is not a mnemonic.
  void Create(HWND parent, int id, RECT rect, const std::string& caption, const LabelStyle& style);

  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // A text the label only stores (for example the link it stands for).
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }

  COLORREF FontColour() const { return style_.textColour; }
  void SetFontColour(COLORREF colour);

  bool Underline() const { return style_.underline; }
  void SetUnderline(bool underline);

  // Makes the font anew for a new DPI (and fits an auto-sized label again).
  void SetDpi(int dpi);
  int Dpi() const { return style_.dpi; }

  // Position in the parent's client coordinates.
  POINT Position() const;
  SIZE Size() const;
  void MoveTo(int left, int top);

  void SetOnClick(Callback callback) { onClick_ = std::move(callback); }
  void SetOnMouseEnter(Callback callback) { onEnter_ = std::move(callback); }
  void SetOnMouseLeave(Callback callback) { onLeave_ = std::move(callback); }

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void ApplyFont();
  void FitToText();
  void Repaint();
  LRESULT ColourStatic(HDC dc);
  void MouseMoved();

  LabelStyle style_;
  std::string hint_;
  UniqueFont font_;
  UniqueBrush brush_;
  Callback onClick_, onEnter_, onLeave_;
  bool hovering_ = false;
  bool pressed_ = false;
};

}  // namespace tovo
