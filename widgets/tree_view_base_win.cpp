#include "widgets/tree_view_base_win.h"

#include <windowsx.h>

#include <cstring>

#include "platform/errors.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

constexpr int kWheelNotch = WHEEL_DELTA;

bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

// TVM_GETITEMRECT takes the item in the rectangle it fills: the text's
// rectangle, or the whole line's.
bool ItemTextRect(HWND view, HTREEITEM item, RECT& rect, BOOL textOnly = TRUE) {
  if (!item) return false;
  static_assert(sizeof(RECT) >= sizeof(HTREEITEM));
  std::memcpy(&rect, &item, sizeof(item));
  return SendMessageW(view, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)) != 0;
}

HTREEITEM Caret(HWND view) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(view, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

}  // namespace

// The model's own changes reach the control; the notifications the control
// sends back for them (selection, expansion, deletion) are not the user's.
class TTreeViewBase::Syncing {
 public:
  explicit Syncing(TTreeViewBase& view) : view_(view) { ++view_.syncing_; }
  ~Syncing() { --view_.syncing_; }
  Syncing(const Syncing&) = delete;
  Syncing& operator=(const Syncing&) = delete;

 private:
  TTreeViewBase& view_;
};

TTreeViewBase::TTreeViewBase()
    : selectionPen_(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW))),
      color_(GetSysColor(COLOR_WINDOW)),
      focusColor_(GetSysColor(COLOR_WINDOW)),
      disabledColor_(GetSysColor(COLOR_BTNFACE)) {}

TTreeViewBase::~TTreeViewBase() {
  ForgetView();
}

HWND TTreeViewBase::CreateView(HWND parent, int id, const RECT& bounds, TreeModel& model) {
  // No TVS_EDITLABELS: the labels are read-only, so F2 starts no editor.
  DWORD style =
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
  if (!hideSelection_) style |= TVS_SHOWSELALWAYS;
  if (autoExpand_) style |= TVS_SINGLEEXPAND;
  const HWND view = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!view) {
    throw Error("CreateWindowEx", "folder tree", GetLastError(),
                "the folder tree could not be created");
  }
  viewProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(view, GCLP_WNDPROC));
  Attach(view);
  model_ = &model;
  model.SetSink(this);
  UpdateBackground();
  return view;
}

void TTreeViewBase::ForgetView() {
  if (model_ && model_->sink() == this) model_->SetSink(nullptr);
  items_.clear();
  settled_.clear();
  redraw_.reset();
  updates_ = 0;
}

void TTreeViewBase::SetSelectionPen(COLORREF colour) {
  selectionPen_.reset(CreatePen(PS_SOLID, 1, colour));
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTreeViewBase::SetFocusColor(COLORREF colour) {
  focusColor_ = colour;
  UpdateBackground();
}

void TTreeViewBase::SetDisabledColor(COLORREF colour) {
  disabledColor_ = colour;
  UpdateBackground();
}

void TTreeViewBase::SetColor(COLORREF colour) {
  if (focusColor_ == color_) focusColor_ = colour;
  color_ = colour;
  UpdateBackground();
}

void TTreeViewBase::SetAutoExpand(bool on) {
  autoExpand_ = on;
  if (on) autoSelect_ = false;
  if (!hwnd()) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  SetWindowLongPtrW(hwnd(), GWL_STYLE,
                    on ? (style | TVS_SINGLEEXPAND) : (style & ~TVS_SINGLEEXPAND));
}

void TTreeViewBase::SetAutoSelect(bool on) {
  if (on && autoExpand_) SetAutoExpand(false);
  autoSelect_ = on;
}

void TTreeViewBase::SetIndent(int pixels) {
  if (hwnd()) SendMessageW(hwnd(), TVM_SETINDENT, static_cast<WPARAM>(pixels), 0);
}

HTREEITEM TTreeViewBase::ItemOf(const TreeNode* node) const {
  const auto it = items_.find(node);
  return it == items_.end() ? nullptr : it->second;
}

TreeNode* TTreeViewBase::NodeOf(HTREEITEM item) const {
  if (!item || !hwnd()) return nullptr;
  TVITEMW data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  auto* node = reinterpret_cast<TreeNode*>(data.lParam);
  return items_.count(node) ? node : nullptr;
}

void TTreeViewBase::Inserted(TreeNode& node) {
  if (!hwnd()) return;
  const auto& siblings = model_->ChildrenOf(node.parent);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = node.parent ? ItemOf(node.parent) : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  if (siblings.back().get() != &node) {
    insert.hInsertAfter = TVI_FIRST;
    for (size_t i = 1; i < siblings.size(); ++i) {
      if (siblings[i].get() == &node) insert.hInsertAfter = ItemOf(siblings[i - 1].get());
    }
  }
  std::wstring text = Wide(node.text);
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = text.data();
  insert.item.iImage = node.image;
  insert.item.iSelectedImage = node.selectedImage;
  insert.item.lParam = reinterpret_cast<LPARAM>(&node);
  if (node.buttonOnDemand) {
    insert.item.mask |= TVIF_CHILDREN;
    insert.item.cChildren = I_CHILDRENCALLBACK;
  }
  Syncing syncing(*this);
  const auto item = reinterpret_cast<HTREEITEM>(
      SendDirect(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item) items_[&node] = item;
  ChildCountChanging(node, false);
}

// An item whose button is decided on demand asks through TVN_GETDISPINFO
// until it is first drawn, then holds the answer: Wine 8 draws a button for
// every item still in callback mode without asking. Its first child coming
// and its last one going change the answer the item holds.
void TTreeViewBase::SettleButton(TreeNode& node) {
  if (!node.buttonOnDemand || settled_.count(&node)) return;
  settled_.insert(&node);
  SetButton(ItemOf(&node), HasButton(node) ? 1 : 0);
}

void TTreeViewBase::ChildCountChanging(const TreeNode& child, bool going) {
  TreeNode* parent = child.parent;
  if (!parent || !settled_.count(parent)) return;
  if (going && parent->children.size() == 1) SetButton(ItemOf(parent), 0);
  if (!going && parent->children.size() == 1) SetButton(ItemOf(parent), 1);
}

void TTreeViewBase::SetButton(HTREEITEM item, int children) {
  if (!item) return;
  TVITEMW data = {};
  data.mask = TVIF_HANDLE | TVIF_CHILDREN;
  data.hItem = item;
  data.cChildren = children;
  Syncing syncing(*this);
  SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  RECT rect = {};
  if (ItemTextRect(hwnd(), item, rect, FALSE)) InvalidateRect(hwnd(), &rect, TRUE);
}

// Straight to the tree view, past our own subclass: under Wine 8 every
// message through a SetWindowSubclass chain costs two window-property
// lookups in the wine server (about 10 us), the larger part of inserting
// the thousands of items one expansion may bring.
LRESULT TTreeViewBase::SendDirect(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(viewProc_, hwnd(), msg, wParam, lParam);
}

void TTreeViewBase::ForgetSubtree(TreeNode& node) {
  for (auto& child : node.children) ForgetSubtree(*child);
  items_.erase(&node);
  settled_.erase(&node);
}

void TTreeViewBase::Removing(TreeNode& node) {
  const HTREEITEM item = ItemOf(&node);
  ForgetSubtree(node);
  if (!item || !hwnd()) return;
  Syncing syncing(*this);
  SendMessageW(hwnd(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  ChildCountChanging(node, true);
}

void TTreeViewBase::Changed(TreeNode& node) {
  const HTREEITEM item = ItemOf(&node);
  if (!item) return;
  std::wstring text = Wide(node.text);
  TVITEMW data = {};
  data.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  data.hItem = item;
  data.pszText = text.data();
  data.iImage = node.image;
  data.iSelectedImage = node.selectedImage;
  if (node.buttonOnDemand) {
    // Its button may have changed too: asked again when next drawn.
    settled_.erase(&node);
    data.mask |= TVIF_CHILDREN;
    data.cChildren = I_CHILDRENCALLBACK;
  }
  SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
}

void TTreeViewBase::Selected(TreeNode* node) {
  if (!hwnd()) return;
  Syncing syncing(*this);
  SendMessageW(hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemOf(node)));
}

void TTreeViewBase::ExpandedChanged(TreeNode& node) {
  const HTREEITEM item = ItemOf(&node);
  if (!item) return;
  Syncing syncing(*this);
  if (node.expanded) {
    SendMessageW(hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    return;
  }
  SendMessageW(hwnd(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
  // An item whose children went keeps its expanded state otherwise, and the
  // control would not ask again before showing new children.
  TVITEMW data = {};
  data.mask = TVIF_HANDLE | TVIF_STATE;
  data.hItem = item;
  data.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
}

void TTreeViewBase::MadeVisible(TreeNode& node) {
  const HTREEITEM item = ItemOf(&node);
  if (!item) return;
  Syncing syncing(*this);
  SendMessageW(hwnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

void TTreeViewBase::BeginUpdate() {
  if (updates_++ == 0 && hwnd()) redraw_.emplace(hwnd());
}

void TTreeViewBase::EndUpdate() {
  if (updates_ > 0 && --updates_ == 0) redraw_.reset();
}

std::optional<LRESULT> TTreeViewBase::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kReflect + WM_NOTIFY: return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      const LRESULT result = Default(msg, wParam, lParam);
      UpdateBackground();
      InvalidateRect(hwnd(), nullptr, FALSE);  // the outline comes or goes
      return result;
    }
    case WM_MOUSEWHEEL: Wheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ContextKey(wParam)) return 0;
      if (wParam == VK_F2) return 0;
      return std::nullopt;
    case WM_CONTEXTMENU: return 0;  // the keys and the right click open the popup
    default: return std::nullopt;
  }
}

std::optional<LRESULT> TTreeViewBase::Notify(const NMHDR& header) {
  switch (header.code) {
    case TVN_SELCHANGINGW:
      if (syncing_ || !model_) return std::nullopt;
      return model_->ViewChanging() ? std::nullopt : std::optional<LRESULT>(TRUE);
    case TVN_SELCHANGEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (!syncing_ && model_) model_->ViewChanged(NodeOf(change.itemNew.hItem));
      return std::nullopt;
    }
    case TVN_ITEMEXPANDINGW: {
      // Wine sends this for TVM_EXPAND as well; the model's own expansions
      // have loaded the node already.
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      TreeNode* node = NodeOf(change.itemNew.hItem);
      if (syncing_ || !node || !(change.action & TVE_EXPAND)) return std::nullopt;
      return ExpandRequest(*node) ? std::nullopt : std::optional<LRESULT>(TRUE);
    }
    case TVN_ITEMEXPANDEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      TreeNode* node = NodeOf(change.itemNew.hItem);
      if (!node) return std::nullopt;
      node->expanded = (change.itemNew.state & TVIS_EXPANDED) != 0;
      if (!syncing_ && autoSelect_) model_->Select(node);
      return std::nullopt;
    }
    case TVN_GETDISPINFOW: {
      auto& info = reinterpret_cast<NMTVDISPINFOW&>(const_cast<NMHDR&>(header));
      auto* node = reinterpret_cast<TreeNode*>(info.item.lParam);
      if ((info.item.mask & TVIF_CHILDREN) && items_.count(node)) {
        info.item.cChildren = HasButton(*node) ? 1 : 0;
      }
      return std::nullopt;
    }
    case TVN_BEGINLABELEDITW: return TRUE;  // read-only labels
    case NM_CLICK: Clicked(); return std::nullopt;
    case NM_RCLICK:
      if (rightClickSelect_) SelectUnderCursor();
      if (!OnContextPopup) return std::nullopt;
      ShowContextPopup(true);
      return TRUE;
    case NM_CUSTOMDRAW:
      return CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    default: return std::nullopt;
  }
}

LRESULT TTreeViewBase::CustomDraw(NMTVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      auto* node = reinterpret_cast<TreeNode*>(draw.nmcd.lItemlParam);
      if (items_.count(node)) SettleButton(*node);
      return CDRF_DODEFAULT;
    }
    case CDDS_POSTPAINT: DrawSelectionOutline(draw.nmcd.hdc); return CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
  }
}

void TTreeViewBase::DrawSelectionOutline(HDC dc) {
  if (hideSelection_ || GetFocus() == hwnd()) return;
  RECT rect = {};
  if (!ItemTextRect(hwnd(), Caret(hwnd()), rect)) return;
  SelectObjectGuard pen(dc, selectionPen_.get());
  SelectObjectGuard brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void TTreeViewBase::UpdateBackground() {
  if (!hwnd()) return;
  const COLORREF colour = !IsWindowEnabled(hwnd()) ? disabledColor_
                          : GetFocus() == hwnd()   ? focusColor_
                                                   : color_;
  SendMessageW(hwnd(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
}

void TTreeViewBase::Wheel(int delta) {
  wheelAccumulated_ += delta;
  const int notches = wheelAccumulated_ / kWheelNotch;
  wheelAccumulated_ %= kWheelNotch;
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  const bool scrolls = (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VSCROLL) &&
                       GetScrollInfo(hwnd(), SB_VERT, &info) &&
                       info.nMax - info.nMin + 1 > static_cast<int>(info.nPage);
  if (!scrolls) return;  // the content fits
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const bool up = notches > 0;
  for (int n = 0; n < (up ? notches : -notches); ++n) {
    if (lines == WHEEL_PAGESCROLL) {
      SendMessageW(hwnd(), WM_VSCROLL, up ? SB_PAGEUP : SB_PAGEDOWN, 0);
      continue;
    }
    for (UINT i = 0; i < lines; ++i)
      SendMessageW(hwnd(), WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
  }
}

bool TTreeViewBase::ContextKey(WPARAM key) {
  const bool shift = KeyDown(VK_SHIFT), ctrl = KeyDown(VK_CONTROL), alt = KeyDown(VK_MENU);
  const bool apps = key == VK_APPS && !shift && !ctrl && !alt;
  const bool shiftF10 = key == VK_F10 && shift && !ctrl && !alt;
  if (!apps && !shiftF10) return false;
  ShowContextPopup(false);
  return true;
}

void TTreeViewBase::SelectUnderCursor() {
  TVHITTESTINFO hit = {};
  GetCursorPos(&hit.pt);
  ScreenToClient(hwnd(), &hit.pt);
  SendMessageW(hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  TreeNode* node = (hit.flags & TVHT_ONITEM) ? NodeOf(hit.hItem) : nullptr;
  if (node && model_) model_->Select(node);
}

void TTreeViewBase::ShowContextPopup(bool atCursor) {
  if (!OnContextPopup) return;
  POINT point = {0, 0};
  if (atCursor) {
    GetCursorPos(&point);
    OnContextPopup(point);
    return;
  }
  RECT rect = {};
  if (ItemTextRect(hwnd(), Caret(hwnd()), rect)) {
    point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  ClientToScreen(hwnd(), &point);
  OnContextPopup(point);
}

}  // namespace tovo
