#include "app/frm_about_win.h"

#include <shellapi.h>

#include "controls/controls_win.h"
#include "forms/about_form.h"
#include "forms/dpi_win.h"
#include "forms/form_builder_win.h"
#include "platform/dc_win.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

namespace about = forms::about;

constexpr wchar_t kClassName[] = L"Tfrm_about";
// No WS_CLIPCHILDREN: the labels are transparent, so the window must paint
// the background under them.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

}  // namespace

Tfrm_about::Tfrm_about() = default;

Tfrm_about::~Tfrm_about() {
  labels_.clear();
  Destroy();
}

void Tfrm_about::Create(HWND owner) {
  const forms::Form& form = about::AboutForm();
  background_.reset(CreateSolidBrush(ToColorRef(form.colour)));
  const RECT frame = CentredFrame(form, kStyle, kExStyle, WorkArea(), SystemDpi());
  const WindowClassSpec cls{.name = kClassName};
  if (!Window::Create(cls, kExStyle, Wide(form.caption), kStyle, frame.left, frame.top,
                      frame.right - frame.left, frame.bottom - frame.top, owner, nullptr)) {
    throw SystemError("CreateWindowEx", "Tfrm_about", GetLastError());
  }
  CreateControls();
}

void Tfrm_about::DpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  UniqueFont font = CreateFormFont(about::AboutForm().font, dpi);
  RelayoutForm(about::AboutForm(), hwnd(), controls_, suggested, dpi);
  SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  windowFont_ = std::move(font);
  for (auto& label : labels_) label->SetDpi(dpi);
}

void Tfrm_about::CreateControls() {
  const forms::Form& form = about::AboutForm();
  dpi_ = WindowDpi(hwnd());
  windowFont_ = CreateFormFont(form.font, dpi_);
  controls_ = BuildForm(form, hwnd(),
                        [this](const forms::Control& control, HWND parent, const RECT& r) -> HWND {
                          switch (control.kind) {
                            case forms::Kind::Label:
                            case forms::Kind::LinkLabel: return CreateLabel(control, parent, r);
                            case forms::Kind::Button: return CreateButton(control, parent, r);
                            default: return nullptr;  // lines are painted
                          }
                        });
}

HWND Tfrm_about::CreateButton(const forms::Control& control, HWND parent, const RECT& r) {
  button_ = CreateWindowExW(0, WC_BUTTONW, Wide(control.caption).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                            GetModuleHandleW(nullptr), nullptr);
  if (!button_) throw SystemError("CreateWindowEx", "Button1", GetLastError());
  SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.get()), FALSE);
  return button_;
}

HWND Tfrm_about::CreateLabel(const forms::Control& control, HWND parent, const RECT& r) {
  const forms::Font font = FontOf(about::AboutForm(), control);
  LabelStyle style;
  style.face = std::string(font.face);
  style.height = font.height;
  style.bold = font.bold;
  style.charset = font.charset;
  style.dpi = dpi_;
  style.textColour = ToColorRef(font.colour);
  style.autoSize = (control.look & forms::kAutoSize) != 0;
  style.handCursor = control.kind == forms::Kind::LinkLabel;
  auto label = std::make_unique<Label>();
  label->Create(parent, control.id, r, std::string(control.caption), style);
  if (control.id == about::kLabelUrl || control.id == about::kLabelEmail) {
    label->SetOnMouseEnter([this](Label& sender) { Label_urlMouseEnter(sender); });
    label->SetOnMouseLeave([this](Label& sender) { Label_urlMouseLeave(sender); });
    if (control.id == about::kLabelUrl)
      label->SetOnClick([this](Label&) { Label_urlClick(); });
    else
      label->SetOnClick([this](Label&) { Label_emailClick(); });
  }
  return labels_.emplace_back(std::move(label))->hwnd();
}

void Tfrm_about::ShowModal(HWND owner) {
  // The owner is re-enabled before this window goes away, so the system
  // hands the activation back to it rather than to some other program.
  const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
  closed_ = false;
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetFocus(button_);
  MSG msg;
  bool quit = false;
  while (!closed_ && hwnd()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quit = got == 0;
      break;
    }
    if (!IsDialogMessageW(hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (owner && ownerWasEnabled) EnableWindow(owner, TRUE);
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
}

void Tfrm_about::Button1Click() {
  closed_ = true;
}

void Tfrm_about::Label_urlClick() {
  Open(L"Open", "http://" TOVO_SITE_HOST, SW_SHOWNORMAL);
}

void Tfrm_about::Label_emailClick() {
  Open(L"open", "mailto:" TOVO_CONTACT_EMAIL, SW_SHOW);
}

void Tfrm_about::Label_urlMouseEnter(Label& sender) {
  if (!sender.Underline()) sender.SetUnderline(true);
}

void Tfrm_about::Label_urlMouseLeave(Label& sender) {
  if (sender.Underline()) sender.SetUnderline(false);
}

void Tfrm_about::Open(const wchar_t* verb, const std::string& file, int show) {
  // No browser or mail program: fails silently.
  ShellExecuteW(hwnd(), verb, Wide(file).c_str(), nullptr, nullptr, show);
}

void Tfrm_about::Paint(HDC dc) {
  for (const forms::Control& control : about::AboutForm().controls) {
    if (control.kind != forms::Kind::Line) continue;
    UniqueBrush brush(CreateSolidBrush(ToColorRef(control.outline)));
    const RECT r = ToRect(control.rect, dpi_);
    FillRect(dc, &r, brush.get());
  }
}

std::optional<LRESULT> Tfrm_about::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      FillClient(hwnd(), reinterpret_cast<HDC>(wParam), background_.get());
      return 1;
    case WM_PAINT: {
      const PaintScope paint(hwnd());
      Paint(paint.dc());
      return 0;
    }
    case WM_COMMAND:
      // Enter on the focused default button arrives as its BN_CLICKED or,
      // from the dialog manager, as IDOK.
      if (LOWORD(wParam) == about::kButton1 || LOWORD(wParam) == IDOK) {
        Button1Click();
        return 0;
      }
      return std::nullopt;
    case WM_CLOSE: closed_ = true; return 0;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default: return std::nullopt;
  }
}

void ShowAboutWindow(HWND owner) {
  Tfrm_about frm_about;
  frm_about.Create(owner);
  frm_about.ShowModal(owner);
}

}  // namespace tovo
