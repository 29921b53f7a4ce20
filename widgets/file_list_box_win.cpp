#include "widgets/file_list_box_win.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <vector>

#include "forms/dpi_win.h"
#include "forms/scale.h"
#include "platform/dc_win.h"
#include "platform/errors.h"
#include "platform/file_system_win.h"
#include "platform/guards_win.h"
#include "platform/handles_win.h"
#include "platform/messages_win.h"
#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"
#include "widgets/extension_icon_cache_win.h"
#include "widgets/file_list_listing.h"

namespace tovo {
namespace {

constexpr int kIconMargin = 24;
constexpr int kTextIndent = 2;
constexpr int kIconIndent = 20;            // left of the narrowed rectangle
constexpr UINT_PTR kRereadTimer = 0x7265;  // "re"; the list box's own timers are small numbers
// Entries made, deleted or renamed; attribute and content changes leave the
// list as it is.
constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

int FontTextHeight(HWND window, HFONT font) {
  const WindowDC dc(window);
  const SelectObjectGuard use(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc.get(), &metrics);
  return metrics.tmHeight;
}

}  // namespace

TShellFileListBox::TShellFileListBox() : folder_(CurrentFolder()) {}

TShellFileListBox::~TShellFileListBox() {
  const HWND window = hwnd();
  Detach();
  if (window) DestroyWindow(window);
  ClearEntries();
}

void TShellFileListBox::Create(HWND parent, int id, const RECT& bounds, HFONT font,
                               COLORREF textColour, bool multiSelect) {
  textColour_ = textColour;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                      LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                      (multiSelect ? LBS_EXTENDEDSEL : 0);
  const HWND list = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, bounds.left, bounds.top, bounds.right - bounds.left,
      bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleW(nullptr), nullptr);
  if (!list) throw SystemError("creating the file list window", "", GetLastError());
  listProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
  Attach(list);
  watch_ = std::make_unique<FolderWatch>(list, kFolderChanged, kWatchedChanges);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  UpdateItemHeight();
  Reload();
  listed_ = true;
}

void TShellFileListBox::SetFolder(const std::string& path) {
  if (SameFileName(path, folder_)) return;
  // The folder "followed by \": a root such as C:\ is not given a second one.
  const std::string target = EndsWith(path, "\\") ? path : path + "\\";
  SetCurrentDirectoryW(Wide(target).c_str());
  folder_ = CurrentFolder();
  Reload();
}

void TShellFileListBox::SetMask(const std::string& mask) {
  if (mask == mask_) return;
  mask_ = mask;
  Reload();
}

void TShellFileListBox::SetFileType(FileType type) {
  if (type == fileType_) return;
  fileType_ = type;
  Reload();
}

void TShellFileListBox::SetShowGlyphs(bool on) {
  if (on == showGlyphs_) return;
  showGlyphs_ = on;
  UpdateItemHeight();
  if (on) Reload();
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void TShellFileListBox::SetShowLongNames(bool on) {
  if (on == showLongNames_) return;
  showLongNames_ = on;
  Reload();
}

void TShellFileListBox::SetItemHeight(int height) {
  if (!hwnd()) return;
  // A pixel above and below the icon, as at 96 DPI.
  if (showGlyphs_) height = std::max(height, SmallIconSize(dpi_) + 2);
  SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
}

void TShellFileListBox::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  UpdateItemHeight();
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

int TShellFileListBox::ItemHeight() const {
  return hwnd() ? static_cast<int>(SendMessageW(hwnd(), LB_GETITEMHEIGHT, 0, 0)) : 0;
}

void TShellFileListBox::UpdateItemHeight() {
  if (!hwnd()) return;
  const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  SetItemHeight(ItemHeightFor(FontTextHeight(hwnd(), font), showGlyphs_));
}

void TShellFileListBox::Reload() {
  if (!hwnd()) return;
  isReading_ = true;
  const auto reading = OnScopeExit([this] { isReading_ = false; });
  SetCurrentDirectoryW(Wide(folder_).c_str());
  // The watch moves with the folder before it is read, so no change falls
  // between the two; changes seen so far are covered by this reading.
  if (watch_) watch_->Watch({folder_});
  schedule_.Read(GetTickCount64());
  {
    // The previous cursor comes back on every way out, before OnChange runs.
    std::optional<CursorGuard> hourglass;
    RedrawGuard redraw(hwnd());
    ClearEntries();
    Win32FolderEnumerator directory;
    Win32ShellIcons icons;
    Win32Collation collation;
    ListingPlatform platform{directory, icons, collation, ProcessIconCache(),
                             [&hourglass] { hourglass.emplace(); }};
    ListFolder({mask_, fileType_, showGlyphs_}, platform, model_);
    Fill();
  }
  lastFocused_ = Caret();
  if (OnChange) OnChange();
}

void TShellFileListBox::FolderChanged(WPARAM wParam, LPARAM lParam) {
  if (!watch_ || !watch_->Changed(wParam, lParam)) return;
  if (const auto delay = schedule_.Changed(GetTickCount64())) {
    SetTimer(hwnd(), kRereadTimer, static_cast<UINT>(*delay), nullptr);
  }
}

void TShellFileListBox::Reread() {
  KillTimer(hwnd(), kRereadTimer);
  if (!schedule_.Due(GetTickCount64())) return;
  // What the user looks at is found again by name in the new entries.
  std::vector<std::string> selected;
  for (int i = 0; i < Count(); ++i) {
    if (IsSelected(i)) selected.push_back(Text(i));
  }
  const int caret = Caret();
  const std::string caretName = caret >= 0 && caret < Count() ? Text(caret) : std::string();
  const std::string top = Text(static_cast<int>(SendDirect(LB_GETTOPINDEX, 0, 0)));
  ++rereads_;
  Reload();
  Reselect(selected, caretName, top);
}

void TShellFileListBox::Reselect(const std::vector<std::string>& selected, const std::string& caret,
                                 const std::string& top) {
  const std::unordered_set<std::string> wanted(selected.begin(), selected.end());
  const bool multiple = GetWindowLongW(hwnd(), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL);
  std::optional<size_t> caretAt, topAt;
  for (size_t i = 0; i < model_.Count(); ++i) {
    const std::string& name = model_.Text(i);
    if (wanted.count(name)) {
      if (multiple)
        SendDirect(LB_SETSEL, TRUE, static_cast<LPARAM>(i));
      else
        SendDirect(LB_SETCURSEL, i, 0);
    }
    if (name == caret) caretAt = i;
    if (name == top) topAt = i;
  }
  // The caret may scroll the list; the top entry is set after it.
  if (caretAt) SendDirect(LB_SETCARETINDEX, *caretAt, FALSE);
  if (topAt) SendDirect(LB_SETTOPINDEX, *topAt, 0);
  lastFocused_ = Caret();
}

void TShellFileListBox::ClearEntries() {
  model_.Clear([](IconHandle icon) { DestroyIcon(ToHicon(icon)); });
  if (hwnd()) SendDirect(LB_RESETCONTENT, 0, 0);
}

void TShellFileListBox::Fill() {
  // Sorted in the model first and added once: exchanging strings inside the
  // control would cost a delete and an insert per exchange.
  size_t bytes = 0;
  for (size_t i = 0; i < model_.Count(); ++i) bytes += (model_.Text(i).size() + 1) * 2;
  SendDirect(LB_INITSTORAGE, model_.Count(), static_cast<LPARAM>(bytes));
  for (size_t i = 0; i < model_.Count(); ++i)
    SendDirect(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(model_.Text(i)).c_str()));
}

// Messages our subclass does not handle, given straight to the list box.
// Under Wine 8 every message through a SetWindowSubclass chain costs two
// window-property lookups in the wine server (about 10 us), which made
// filling a list of 20,000 entries take ten times longer than the listing.
LRESULT TShellFileListBox::SendDirect(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(listProc_, hwnd(), msg, wParam, lParam);
}

std::string TShellFileListBox::FocusedFileName() const {
  return tovo::FocusedFileName(*this);
}

std::string TShellFileListBox::FocusedFilePath() const {
  return tovo::FocusedFilePath(folder_, *this);
}

void TShellFileListBox::GoToPath(const std::string& text) {
  if (text.empty() || SameFileName(text, FocusedFilePath())) return;
  const std::string path = ResolveInFolder(CurrentFolder(), text);
  {
    ProcessFolderGuard back;
    if (!SetCurrentDirectoryW(Wide(path).c_str()))
      throw IoError("enter folder", path, GetLastError());
  }
  if (tree_)
    tree_->OpenFolder(path);
  else
    SetFolder(path);
}

int TShellFileListBox::Count() const {
  return hwnd() ? static_cast<int>(SendDirect(LB_GETCOUNT, 0, 0)) : 0;
}

int TShellFileListBox::SelectedCount() const {
  if (!hwnd()) return 0;
  const auto count = static_cast<int>(SendDirect(LB_GETSELCOUNT, 0, 0));
  if (count != LB_ERR) return count;
  // A single-selection list answers LB_ERR; its selection is the current index.
  return SendDirect(LB_GETCURSEL, 0, 0) == LB_ERR ? 0 : 1;
}

bool TShellFileListBox::IsSelected(int index) const {
  return hwnd() && SendDirect(LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

std::string TShellFileListBox::Text(int index) const {
  if (!hwnd()) return std::string();
  const LRESULT length = SendDirect(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendDirect(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

int TShellFileListBox::Caret() const {
  return hwnd() ? static_cast<int>(SendDirect(LB_GETCARETINDEX, 0, 0)) : -1;
}

void TShellFileListBox::SetColor(COLORREF colour) {
  color_ = colour;
  UpdateBackground();
}

void TShellFileListBox::SetFocusColor(COLORREF colour) {
  focusColor_ = colour;
  UpdateBackground();
}

void TShellFileListBox::SetDisabledColor(COLORREF colour) {
  disabledColor_ = colour;
  UpdateBackground();
}

COLORREF TShellFileListBox::BackgroundColour() const {
  const auto pick = [](COLORREF chosen, int system) {
    return chosen == CLR_INVALID ? GetSysColor(system) : chosen;
  };
  if (!IsWindowEnabled(hwnd())) return pick(disabledColor_, COLOR_BTNFACE);
  if (GetFocus() == hwnd()) return pick(focusColor_, COLOR_WINDOW);
  return pick(color_, COLOR_WINDOW);
}

HBRUSH TShellFileListBox::BackgroundBrush() {
  const COLORREF colour = BackgroundColour();
  if (!background_ || backgroundOf_ != colour) {
    background_.reset(CreateSolidBrush(colour));
    backgroundOf_ = colour;
  }
  return background_.get();
}

// The state decides the background: repaint when it may have changed.
void TShellFileListBox::UpdateBackground() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void TShellFileListBox::DrawEntry(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  if (showGlyphs_) r.left += forms::Scaled(kIconMargin, dpi_);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : BackgroundColour();
  const COLORREF fore = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour_;
  const HDC dc = item.hDC;
  if (selected) {
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(dc, &r, brush.get());
  } else {
    FillRect(dc, &r, BackgroundBrush());
  }
  if (item.itemID < model_.Count()) {
    SIZE pp = {};
    GetTextExtentPoint32W(dc, L"Pp", 2, &pp);
    const int offset = TextOffset(r.bottom - r.top, pp.cy);
    const std::wstring text = Wide(model_.Text(item.itemID));
    SetTextColor(dc, fore);
    SetBkColor(dc, back);
    ExtTextOutW(dc, r.left + forms::Scaled(kTextIndent, dpi_), r.top + offset,
                ETO_CLIPPED | ETO_OPAQUE, &r, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    if (showGlyphs_) {
      const int top = std::min(r.top + offset - 1, r.bottom - SmallIconSize(dpi_));
      DrawIcon(dc, item, r.left - forms::Scaled(kIconIndent, dpi_), std::max<int>(top, r.top));
    }
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void TShellFileListBox::DrawIcon(HDC dc, const DRAWITEMSTRUCT& item, int x, int y) {
  // At the small-icon size of the list's DPI, whatever size the shell gave.
  const int size = SmallIconSize(dpi_);
  if (item.itemState & ODS_SELECTED) {
    // The shell blends this fresh icon with the highlight colour.
    const std::wstring path = Wide(JoinPath(folder_, model_.Text(item.itemID)));
    UniqueIcon icon(FetchShellIcon(path, kSelectedListIconFlags));
    if (icon) DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    return;
  }
  const IconHandle icon = model_.Info(item.itemID).Icon;
  if (icon != kNoIcon) DrawIconEx(dc, x, y, ToHicon(icon), size, size, 0, nullptr, DI_NORMAL);
}

void TShellFileListBox::DoubleClick() {
  if (OnDblClick) OnDblClick();
  const int caret = Caret();
  if (caret < 0 || caret >= Count()) return;
  const std::string text = Text(caret);
  if (IsFolder(text)) {
    RedrawGuard redraw(hwnd());
    GoToPath(text);
    return;
  }
  if (!allowOpen_) return;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"Open", Wide(text).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32)
    MessageBoxW(nullptr, L"Could not open file.", L"Information", MB_OK | MB_ICONINFORMATION);
}

void TShellFileListBox::SelectionChanged() {
  const int caret = Caret();
  if (caret == lastFocused_) return;
  lastFocused_ = caret;
  if (OnChange) OnChange();
}

void TShellFileListBox::Wheel(int delta) {
  const int notches = wheel_.Add(delta);
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const bool down = notches < 0;
  for (int n = notches < 0 ? -notches : notches; n > 0; --n) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    GetScrollInfo(hwnd(), SB_VERT, &info);
    const auto target = WheelScrollTarget(info.nPos, static_cast<int>(lines), down);
    if (!target) continue;
    SendMessageW(hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, *target), 0);
    info.nPos = *target;
    SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
  }
}

std::optional<LRESULT> TShellFileListBox::Command(WORD code) {
  switch (code) {
    case LBN_DBLCLK: DoubleClick(); return 1;
    case LBN_SELCHANGE: SelectionChanged(); return 1;
    default: return std::nullopt;
  }
}

std::optional<LRESULT> TShellFileListBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kReflect + WM_DRAWITEM:
      DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case kReflect + WM_COMMAND: return Command(HIWORD(wParam));
    case kReflect + WM_CTLCOLORLISTBOX:
      SetBkColor(reinterpret_cast<HDC>(wParam), BackgroundColour());
      return reinterpret_cast<LRESULT>(BackgroundBrush());
    case WM_MOUSEWHEEL: Wheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_SETFONT: {
      // A new font changes the entry height; the entries are listed anew, as
      // when the list's window is created.
      const LRESULT result = Default(msg, wParam, lParam);
      UpdateItemHeight();
      if (listed_) Reload();
      return result;
    }
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: UpdateBackground(); return std::nullopt;
    case kFolderChanged: FolderChanged(wParam, lParam); return 0;
    case WM_TIMER:
      if (wParam != kRereadTimer) return std::nullopt;
      Reread();
      return 0;
    case WM_DESTROY:
      watch_.reset();
      ClearEntries();
      return std::nullopt;
    default: return std::nullopt;
  }
}

}  // namespace tovo
