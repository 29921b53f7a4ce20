#include "progress/table_form_win.h"

#include <utility>

#include "controls/controls_win.h"
#include "forms/dpi_win.h"
#include "forms/form_builder_win.h"
#include "forms/scale.h"
#include "platform/dc_win.h"
#include "platform/guards_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

// A shape's outline as the classic shape control draws it: the pen's width
// inside the bounds, centred on a rectangle shrunk by half of it.
RECT ShapeOutline(const forms::Rect& r, int penWidth) {
  const int inset = penWidth / 2;
  int width = r.width - penWidth + 1;
  int height = r.height - penWidth + 1;
  if (penWidth == 0) --width, --height;
  return RECT{r.left + inset, r.top + inset, r.left + inset + width, r.top + inset + height};
}

}  // namespace

void TableForm::CreateFromForm(const forms::Form& form, const wchar_t* className, DWORD style,
                               DWORD exStyle, HWND owner) {
  form_ = &form;
  const RECT frame = CentredFrame(form, style, exStyle, ScreenArea(), SystemDpi());
  Create(WindowClassSpec{.name = className}, exStyle, Wide(form.caption), style, frame.left,
         frame.top, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr);
  dpi_ = WindowDpi(hwnd());
  children_ =
      BuildForm(form, hwnd(), [this](const forms::Control& control, HWND parent, const RECT& r) {
        if (control.kind != forms::Kind::Rectangle) return CreateChild(control, parent, r);
        shapes_[control.id] = control.rect;  // painted by the window
        return HWND{};
      });
}

void TableForm::DpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  RelayoutForm(*form_, hwnd(), children_, suggested, dpi);
  // The old fonts go at the end, once no child uses them.
  const std::vector<UniqueFont> old = std::exchange(fonts_, {});
  for (const forms::Control& control : form_->controls) {
    const HWND child = Control(control.id);
    if (!child || control.kind == forms::Kind::ProgressBar) continue;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(FontOf(*form_, control))),
                 TRUE);
  }
}

HWND TableForm::CreateChild(const forms::Control& control, HWND parent, const RECT& r) {
  if (control.kind == forms::Kind::Button) return CreateButton(control, parent, r);
  if (control.kind == forms::Kind::ProgressBar) return CreateBar(control, parent, r);
  const bool panel = control.kind == forms::Kind::Panel;
  // A panel's caption is one line centred both ways; a label's is left aligned.
  const DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX |
                      (panel ? SS_CENTER | SS_CENTERIMAGE : SS_LEFT | SS_LEFTNOWORDWRAP);
  const HWND child = CreateWindowExW(0, L"STATIC", Wide(control.caption).c_str(), style, r.left,
                                     r.top, r.right - r.left, r.bottom - r.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
  const forms::Font font = FontOf(*form_, control);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), FALSE);
  const COLORREF back = BackgroundOf(*form_, control);
  const bool transparent = (control.look & forms::kTransparent) != 0;
  looks_[child] = Look{ToColorRef(font.colour), back, transparent, BrushFor(back)};
  return child;
}

HWND TableForm::CreateButton(const forms::Control& control, HWND parent, const RECT& r) {
  // The first in the tab order is the default button.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (control.tabOrder == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  const HWND child = CreateWindowExW(0, WC_BUTTONW, Wide(control.caption).c_str(), style, r.left,
                                     r.top, r.right - r.left, r.bottom - r.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(FontOf(*form_, control))),
               FALSE);
  return child;
}

HWND TableForm::CreateBar(const forms::Control& control, HWND parent, const RECT& r) {
  const HWND child = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, PBM_SETRANGE32, 0, 100);
  // Heeded where the bar is drawn without visual styles (Wine's own theme and
  // the system's themes draw it in their colours).
  SendMessageW(child, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(BackgroundOf(*form_, control)));
  if (control.outline != forms::kInherit)
    SendMessageW(child, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(ToColorRef(control.outline)));
  return child;
}

HFONT TableForm::FontFor(const forms::Font& font) {
  fonts_.push_back(CreateFormFont(font, dpi_));
  return fonts_.back().get();
}

HBRUSH TableForm::BrushFor(COLORREF colour) {
  auto it = brushes_.find(colour);
  if (it == brushes_.end())
    it = brushes_.emplace(colour, UniqueBrush(CreateSolidBrush(colour))).first;
  return it->second.get();
}

HWND TableForm::Control(int id) const {
  const auto it = children_.find(id);
  return it == children_.end() ? nullptr : it->second;
}

forms::Rect TableForm::ShapeRect(int id) const {
  const auto it = shapes_.find(id);
  return it == shapes_.end() ? forms::Rect{} : it->second;
}

void TableForm::SetShapeWidth(int id, int width) {
  const auto it = shapes_.find(id);
  if (it == shapes_.end()) return;
  it->second.width = width;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

std::string TableForm::ControlText(int id) const {
  const HWND child = Control(id);
  if (!child) return std::string();
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void TableForm::SetControlText(int id, const std::string& text) {
  if (const HWND child = Control(id)) SetWindowTextW(child, Wide(text).c_str());
}

void TableForm::Paint(HDC dc) {
  FillClient(hwnd(), dc, BrushFor(ToColorRef(form_->colour)));
  for (const forms::Control& control : form_->controls) {
    if (control.kind != forms::Kind::Rectangle) continue;
    const forms::Rect r = forms::Scaled(shapes_[control.id], dpi_);
    if (r.width <= 0 || r.height <= 0) continue;
    const int penWidth = forms::Scaled(control.outlineWidth, dpi_);
    UniquePen pen(CreatePen(PS_SOLID, penWidth, ToColorRef(control.outline)));
    SelectObjectGuard usePen(dc, pen.get());
    SelectObjectGuard useBrush(dc, BrushFor(ToColorRef(control.colour)));
    const RECT o = ShapeOutline(r, penWidth);
    Rectangle(dc, o.left, o.top, o.right, o.bottom);
  }
}

std::optional<LRESULT> TableForm::ColourStatic(HDC dc, HWND child) {
  const auto it = looks_.find(child);
  if (it == looks_.end()) return std::nullopt;
  SetTextColor(dc, it->second.text);
  if (it->second.transparent) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  SetBkColor(dc, it->second.background);
  return reinterpret_cast<LRESULT>(it->second.brush);
}

std::optional<LRESULT> TableForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills everything
    case WM_PAINT: {
      const PaintScope paint(hwnd());
      Paint(paint.dc());
      return 0;
    }
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default: return std::nullopt;
  }
}

}  // namespace tovo
