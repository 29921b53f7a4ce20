#include "app/placeholder_widgets_win.h"

#include <vector>

#include "platform/system_error_win.h"

namespace tovo {
namespace {

HWND CreateControl(const wchar_t* cls, DWORD style, RECT r, HWND parent, int id) {
  const HWND h = CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", WS_CHILD | WS_VISIBLE | style, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (!h) throw SystemError("CreateWindowEx", "placeholder", GetLastError());
  return h;
}

}  // namespace

PlaceholderTree::~PlaceholderTree() {
  if (const HWND h = hwnd()) DestroyWindow(h);
}

void PlaceholderTree::Create(HWND parent, int id, RECT rect, HFONT font, COLORREF textColour) {
  Attach(CreateControl(
      WC_TREEVIEWW,
      WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, rect,
      parent, id));
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(hwnd(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(textColour));
  SendMessageW(hwnd(), TVM_SETINDENT, 19, 0);
}

void PlaceholderTree::OpenFolder(const std::string&) {}

std::optional<LRESULT> PlaceholderTree::OnMessage(UINT, WPARAM, LPARAM) {
  return std::nullopt;
}

PlaceholderFileList::~PlaceholderFileList() {
  if (const HWND h = hwnd()) DestroyWindow(h);
}

void PlaceholderFileList::Create(HWND parent, int id, RECT rect, HFONT font, COLORREF textColour) {
  textColour_ = textColour;
  Attach(CreateControl(WC_LISTBOXW,
                       WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                           LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                       rect, parent, id));
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, 18);
}

void PlaceholderFileList::DrawEntry(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1)) {
    const auto length = SendMessageW(hwnd(), LB_GETTEXTLEN, item.itemID, 0);
    std::vector<wchar_t> text(length > 0 ? length + 1 : 1, L'\0');
    SendMessageW(hwnd(), LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour_);
    RECT r = item.rcItem;
    r.left += 2;
    DrawTextW(item.hDC, text.data(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

std::optional<LRESULT> PlaceholderFileList::OnMessage(UINT msg, WPARAM, LPARAM lParam) {
  if (msg != kReflect + WM_DRAWITEM) return std::nullopt;
  DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  return TRUE;
}

}  // namespace tovo
