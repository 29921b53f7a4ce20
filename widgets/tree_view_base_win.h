// TTreeViewBase: a common-controls tree view (a real WC_TREEVIEW child) that
// mirrors a TreeModel, with colours by focus and enablement, an outline of
// the selection while unfocused, wheel scrolling, and the context-menu keys
// consumed. Labels are read-only. Nodes map to HTREEITEM only here.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/guards_win.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"
#include "widgets/tree_model.h"

namespace tovo {

class TTreeViewBase : public Subclass, public TreeSink {
 public:
  TTreeViewBase();
  ~TTreeViewBase() override;

  // Pen of the outline drawn round the selected node while unfocused.
  void SetSelectionPen(COLORREF colour);
  void SetFocusColor(COLORREF colour);
  void SetDisabledColor(COLORREF colour);
  // Sets the normal colour, and FocusColor too when the two were equal.
  void SetColor(COLORREF colour);
  void SetHideSelection(bool hide) { hideSelection_ = hide; }
  bool AutoExpand() const { return autoExpand_; }
  void SetAutoExpand(bool on);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool on);
  void SetIndent(int pixels);
  // A right click selects the node under the pointer before any popup.
  void SetRightClickSelect(bool on) { rightClickSelect_ = on; }

  // Opens a popup for the selected node (screen point); none by default.
  std::function<void(POINT)> OnContextPopup;

  HTREEITEM ItemOf(const TreeNode* node) const;
  TreeNode* NodeOf(HTREEITEM item) const;

  // TreeSink: the model changed.
  void Inserted(TreeNode& node) override;
  void Removing(TreeNode& node) override;
  void Changed(TreeNode& node) override;
  void Selected(TreeNode* node) override;
  void ExpandedChanged(TreeNode& node) override;
  void MadeVisible(TreeNode& node) override;
  void BeginUpdate() override;
  void EndUpdate() override;

 protected:
  // Creates the control; the model is mirrored from then on.
  HWND CreateView(HWND parent, int id, const RECT& bounds, TreeModel& model);
  // The window goes: the mapping is dropped without touching the control.
  void ForgetView();

  // The view asks whether a node may expand (load it here).
  virtual bool ExpandRequest(TreeNode& node) = 0;
  // The view draws a node marked buttonOnDemand: does it get a button?
  virtual bool HasButton(TreeNode& node) { return !node.children.empty(); }
  virtual void Clicked() {}

  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  class Syncing;

  std::optional<LRESULT> Notify(const NMHDR& header);
  LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
  void DrawSelectionOutline(HDC dc);
  void UpdateBackground();
  void Wheel(int delta);
  bool ContextKey(WPARAM key);
  void ShowContextPopup(bool atCursor);
  void SelectUnderCursor();
  void ForgetSubtree(TreeNode& node);
  LRESULT SendDirect(UINT msg, WPARAM wParam, LPARAM lParam) const;
  void SettleButton(TreeNode& node);
  void SetButton(HTREEITEM item, int children);
  void ChildCountChanging(const TreeNode& child, bool going);

  TreeModel* model_ = nullptr;
  WNDPROC viewProc_ = nullptr;  // the tree view class's own procedure
  std::unordered_map<const TreeNode*, HTREEITEM> items_;
  std::unordered_set<const TreeNode*> settled_;  // buttonOnDemand items holding their answer
  int syncing_ = 0;
  int updates_ = 0;
  std::optional<RedrawGuard> redraw_;
  UniquePen selectionPen_;
  COLORREF color_;
  COLORREF focusColor_;
  COLORREF disabledColor_;
  bool hideSelection_ = false;
  bool autoExpand_ = false;
  bool autoSelect_ = false;
  bool rightClickSelect_ = false;
  int wheelAccumulated_ = 0;
};

}  // namespace tovo
