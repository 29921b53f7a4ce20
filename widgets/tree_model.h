// The nodes of a tree view, held apart from any window: nodes own their data
// and children, and a sink (the view) mirrors every change. Nodes are known
// to the view by address only; the model holds no view handles.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tovo {

// The record attached to every drive and folder node; owned by its node.
struct TFolderInfo {
  std::string Path;  // always ends in "\": C:\ or C:\Windows\ .
  bool ChildrenLoaded = false;
  // Whether the folder has a listed sub-folder, looked up once, when the
  // view first draws the node (or it is selected first).
  bool SubfoldersLookedUp = false;
  bool HasSubfolders = false;
};

struct TreeNode {
  std::string text;
  int image = -1;
  int selectedImage = -1;
  std::unique_ptr<TFolderInfo> data;  // none for a placeholder child
  TreeNode* parent = nullptr;
  std::vector<std::unique_ptr<TreeNode>> children;
  bool expanded = false;
  // The view asks the owner whether to draw an expand button when it needs
  // to know, instead of going by the child nodes.
  bool buttonOnDemand = false;
};

// What the view does to mirror the model. Every call comes after the model
// changed, except Removing, which comes before the node and its subtree go.
class TreeSink {
 public:
  virtual ~TreeSink() = default;
  virtual void Inserted(TreeNode& node) = 0;
  virtual void Removing(TreeNode& node) = 0;
  virtual void Changed(TreeNode& node) = 0;
  virtual void Selected(TreeNode* node) = 0;
  virtual void ExpandedChanged(TreeNode& node) = 0;
  virtual void MadeVisible(TreeNode& node) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

class TreeModel {
 public:
  using Children = std::vector<std::unique_ptr<TreeNode>>;

  // Hooks of the owner: OnChanging may veto a selection change; OnChanged
  // runs after it; OnDeleting runs for every node before it is freed.
  std::function<bool()> OnChanging;
  std::function<void(TreeNode*)> OnChanged;
  std::function<void(TreeNode&)> OnDeleting;

  void SetSink(TreeSink* sink) { sink_ = sink; }
  TreeSink* sink() const { return sink_; }

  const Children& Roots() const { return roots_; }
  const Children& ChildrenOf(const TreeNode* parent) const;

  // Inserts a prepared node (text, images, data) under parent (null: the top
  // level) before a sibling (null: at the end).
  TreeNode& Insert(TreeNode* parent, TreeNode* before, TreeNode node);
  TreeNode& Add(TreeNode* parent, std::string text);

  // Deleting the selected node or one of its ancestors moves the selection
  // to the next sibling, else the previous one, else the parent, as the
  // platform's tree view does, and runs the change hooks for it.
  void Delete(TreeNode& node);
  void DeleteChildren(TreeNode& node);  // also collapses the node
  void Clear();

  TreeNode* Selected() const { return selected_; }
  // Selects a node as the user would; false when OnChanging vetoed it.
  bool Select(TreeNode* node);
  // The view reports a selection that the user made.
  bool ViewChanging();
  void ViewChanged(TreeNode* node);

  void SetExpanded(TreeNode& node, bool expanded);
  void MadeVisible(TreeNode& node);
  void Changed(TreeNode& node);

  static bool IsAncestorOrSelf(const TreeNode& ancestor, const TreeNode* node);

 private:
  Children& MutableChildrenOf(TreeNode* parent);
  void Notify(TreeNode& node);
  void ForEachInSubtree(TreeNode& node, const std::function<void(TreeNode&)>& fn);
  TreeNode* SelectionAfterRemoving(TreeNode& node);
  void Reselect(TreeNode* next);

  Children roots_;
  TreeNode* selected_ = nullptr;
  TreeSink* sink_ = nullptr;
};

// Begins a batch update of the sink and ends it on every way out.
class BatchUpdate {
 public:
  explicit BatchUpdate(const TreeModel& model) : sink_(model.sink()) {
    if (sink_) sink_->BeginUpdate();
  }
  ~BatchUpdate() {
    if (sink_) sink_->EndUpdate();
  }
  BatchUpdate(const BatchUpdate&) = delete;
  BatchUpdate& operator=(const BatchUpdate&) = delete;

 private:
  TreeSink* sink_;
};

}  // namespace tovo
