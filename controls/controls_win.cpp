#include "controls/controls_win.h"

#include <windowsx.h>

#include "forms/dpi_win.h"
#include "forms/picture_ids.h"
#include "forms/scale.h"
#include "platform/dc_win.h"
#include "platform/guards_win.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

HWND CreateChild(const wchar_t* cls, const std::string& text, DWORD style, RECT r, HWND parent,
                 int id, DWORD exStyle = 0) {
  const HWND hwnd =
      CreateWindowExW(exStyle, cls, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                      r.top, r.right - r.left, r.bottom - r.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (!hwnd) throw SystemError("CreateWindowEx", Narrow(cls), GetLastError());
  return hwnd;
}

COLORREF BottomLeftPixel(HBITMAP bitmap, int height) {
  const WindowDC screen(nullptr);
  const MemoryDC dc(screen.get());
  const SelectObjectGuard use(dc.get(), bitmap);
  return GetPixel(dc.get(), 0, height - 1);
}

}  // namespace

UniqueFont CreateUiFont(const std::string& face, int pixelHeight, bool bold, bool underline,
                        int charset) {
  LOGFONTW lf = {};
  lf.lfHeight = -pixelHeight;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(charset);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  const std::wstring wide = Wide(face).substr(0, LF_FACESIZE - 1);
  wide.copy(lf.lfFaceName, wide.size());
  UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) throw SystemError("CreateFontIndirect", face, GetLastError());
  return font;
}

UniqueFont CreateFormFont(const forms::Font& font, int dpi, bool underline) {
  return CreateUiFont(std::string(font.face), forms::Scaled(font.height, dpi), font.bold, underline,
                      font.charset);
}

namespace {

UniqueBitmap LoadBitmapResource(int resourceId) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, 0)));
  if (!bitmap) {
    throw SystemError("LoadImage", "bitmap " + std::to_string(resourceId), GetLastError());
  }
  return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectW(bitmap, sizeof(info), &info);
  return {info.bmWidth, info.bmHeight};
}

UniqueImageList KeyedList(HBITMAP bitmap, SIZE size) {
  UniqueImageList list(ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 1, 0));
  if (!list) throw SystemError("ImageList_Create", "", GetLastError());
  ImageList_AddMasked(list.get(), bitmap, BottomLeftPixel(bitmap, size.cy));
  return list;
}

// 32-bit pixels, rows top first.
BITMAPINFO TopDown32(SIZE size) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The bitmap's pixels with the key colour made fully transparent.
forms::Pixels KeyedPixels(HBITMAP bitmap, SIZE size) {
  forms::Pixels pixels{size.cx, size.cy,
                       std::vector<std::uint32_t>(static_cast<size_t>(size.cx) * size.cy)};
  BITMAPINFO info = TopDown32(size);
  const WindowDC screen(nullptr);
  GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(size.cy), pixels.argb.data(), &info,
            DIB_RGB_COLORS);
  const std::uint32_t key = pixels.argb[static_cast<size_t>(size.cy - 1) * size.cx] & 0xFFFFFF;
  for (std::uint32_t& p : pixels.argb) p = (p & 0xFFFFFF) == key ? 0 : (p | 0xFF000000u);
  return pixels;
}

// A list with one 32-bit image whose alpha carries the smoothed edges.
UniqueImageList AlphaList(const forms::Pixels& pixels) {
  BITMAPINFO info = TopDown32({pixels.width, pixels.height});
  void* bits = nullptr;
  UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) throw SystemError("CreateDIBSection", "", GetLastError());
  std::copy(pixels.argb.begin(), pixels.argb.end(), static_cast<std::uint32_t*>(bits));
  UniqueImageList list(ImageList_Create(pixels.width, pixels.height, ILC_COLOR32, 1, 0));
  if (!list) throw SystemError("ImageList_Create", "", GetLastError());
  ImageList_Add(list.get(), dib.get(), nullptr);
  return list;
}

}  // namespace

UniqueImageList LoadKeyedPicture(int resourceId, int dpi, SIZE* size) {
  const int percent = forms::PictureSourcePercent(dpi);
  const int sourceId = resourceId + (percent == 150   ? TOVO_PICTURE_150
                                     : percent == 200 ? TOVO_PICTURE_200
                                                      : 0);
  const UniqueBitmap bitmap = LoadBitmapResource(sourceId);
  const SIZE source = BitmapSize(bitmap.get());
  SIZE wanted = source;
  if (percent != 100) {
    const SIZE design = BitmapSize(LoadBitmapResource(resourceId).get());
    wanted = {forms::Scaled(design.cx, dpi), forms::Scaled(design.cy, dpi)};
  } else if (dpi != forms::kDesignDpi) {
    wanted = {forms::Scaled(source.cx, dpi), forms::Scaled(source.cy, dpi)};
  }
  if (size) *size = wanted;
  if (wanted.cx == source.cx && wanted.cy == source.cy) return KeyedList(bitmap.get(), source);
  return AlphaList(forms::Resampled(KeyedPixels(bitmap.get(), source), wanted.cx, wanted.cy));
}

FlatButton::~FlatButton() {
  if (const HWND h = hwnd()) DestroyWindow(h);
}

void FlatButton::Create(HWND parent, int id, RECT rect, const std::string& caption, HFONT font,
                        int picture) {
  const DWORD style = BS_PUSHBUTTON | (picture ? BS_ICON : 0);
  Attach(CreateChild(WC_BUTTONW, caption, style, rect, parent, id));
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  picture_ = picture;
  if (picture) SetDpi(WindowDpi(parent));
}

void FlatButton::SetDpi(int dpi) {
  if (!picture_) return;
  const UniqueImageList image = LoadKeyedPicture(picture_, dpi);
  UniqueIcon icon(ImageList_GetIcon(image.get(), 0, ILD_NORMAL));
  SendMessageW(hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
  icon_ = std::move(icon);  // the old icon goes once the button no longer shows it
}

void FlatButton::Release(bool click) {
  pressed_ = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  SendMessageW(hwnd(), BM_SETSTATE, FALSE, 0);
  if (click) {
    const int id = GetDlgCtrlID(hwnd());
    SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd()));
  }
}

std::optional<LRESULT> FlatButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The class procedure would call SetFocus here; press without it.
      pressed_ = true;
      SetCapture(hwnd());
      SendMessageW(hwnd(), BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      RECT client;
      GetClientRect(hwnd(), &client);
      const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      Release(PtInRect(&client, at) != FALSE);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) Release(false);
      return 0;
    case WM_SETFOCUS:
      // Someone gave us the focus anyway (SetFocus from outside): hand it back.
      if (wParam && IsWindow(reinterpret_cast<HWND>(wParam))) {
        SetFocus(reinterpret_cast<HWND>(wParam));
      }
      return 0;
    case WM_KILLFOCUS: return 0;
    case kReflect + WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return std::nullopt;
      if (onClick_) onClick_();
      return 1;
    default: return std::nullopt;
  }
}

Picture::~Picture() {
  if (const HWND h = hwnd()) DestroyWindow(h);
}

void Picture::Create(HWND parent, int id, RECT rect, int picture, COLORREF background,
                     bool autoSize) {
  picture_ = picture;
  autoSize_ = autoSize;
  background_.reset(CreateSolidBrush(background));
  Attach(CreateChild(WC_STATICW, "", SS_OWNERDRAW, rect, parent, id));
  SetDpi(WindowDpi(parent));
}

void Picture::SetDpi(int dpi) {
  SIZE size = {};
  image_ = LoadKeyedPicture(picture_, dpi, &size);
  if (autoSize_) {
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

std::optional<LRESULT> Picture::OnMessage(UINT msg, WPARAM, LPARAM lParam) {
  if (msg != kReflect + WM_DRAWITEM) return std::nullopt;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  FillRect(item->hDC, &item->rcItem, background_.get());
  ImageList_Draw(image_.get(), 0, item->hDC, item->rcItem.left, item->rcItem.top, ILD_TRANSPARENT);
  return TRUE;
}

void Tooltips::Create(HWND owner) {
  owner_ = owner;
  window_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                Instance(), nullptr));
  if (!window_) throw SystemError("CreateWindowEx", "tooltips", GetLastError());
}

void Tooltips::Add(HWND tool, const std::string& text) {
  std::wstring wide = Wide(text);
  TTTOOLINFOW info = {};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = wide.data();  // copied by the control
  SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace tovo
