#include "widgets/tree_model.h"

#include <algorithm>

namespace tovo {

const TreeModel::Children& TreeModel::ChildrenOf(const TreeNode* parent) const {
  return parent ? parent->children : roots_;
}

TreeModel::Children& TreeModel::MutableChildrenOf(TreeNode* parent) {
  return parent ? parent->children : roots_;
}

TreeNode& TreeModel::Add(TreeNode* parent, std::string text) {
  TreeNode node;
  node.text = std::move(text);
  return Insert(parent, nullptr, std::move(node));
}

TreeNode& TreeModel::Insert(TreeNode* parent, TreeNode* before, TreeNode prepared) {
  Children& siblings = MutableChildrenOf(parent);
  auto node = std::make_unique<TreeNode>(std::move(prepared));
  node->parent = parent;
  TreeNode& added = *node;
  auto at = std::find_if(siblings.begin(), siblings.end(),
                         [before](const auto& sibling) { return sibling.get() == before; });
  siblings.insert(before ? at : siblings.end(), std::move(node));
  if (sink_) sink_->Inserted(added);
  return added;
}

bool TreeModel::IsAncestorOrSelf(const TreeNode& ancestor, const TreeNode* node) {
  for (; node; node = node->parent) {
    if (node == &ancestor) return true;
  }
  return false;
}

void TreeModel::ForEachInSubtree(TreeNode& node, const std::function<void(TreeNode&)>& fn) {
  for (auto& child : node.children) ForEachInSubtree(*child, fn);
  fn(node);
}

TreeNode* TreeModel::SelectionAfterRemoving(TreeNode& node) {
  const Children& siblings = ChildrenOf(node.parent);
  auto at = std::find_if(siblings.begin(), siblings.end(),
                         [&node](const auto& sibling) { return sibling.get() == &node; });
  if (at + 1 != siblings.end()) return (at + 1)->get();
  if (at != siblings.begin()) return (at - 1)->get();
  return node.parent;
}

void TreeModel::Reselect(TreeNode* next) {
  selected_ = next;
  if (!next) return;
  if (sink_) sink_->Selected(next);
  if (OnChanged) OnChanged(next);
}

void TreeModel::Delete(TreeNode& node) {
  const bool heldSelection = selected_ && IsAncestorOrSelf(node, selected_);
  TreeNode* next = heldSelection ? SelectionAfterRemoving(node) : nullptr;
  // The selected node is going: the owner hears of the change while the old
  // selection still exists, and cannot refuse it.
  if (heldSelection && OnChanging) OnChanging();
  if (sink_) sink_->Removing(node);
  if (OnDeleting) ForEachInSubtree(node, OnDeleting);
  if (heldSelection) selected_ = nullptr;
  Children& siblings = MutableChildrenOf(node.parent);
  std::erase_if(siblings, [&node](const auto& sibling) { return sibling.get() == &node; });
  if (heldSelection) Reselect(next);
}

void TreeModel::DeleteChildren(TreeNode& node) {
  const bool heldSelection = selected_ && selected_ != &node && IsAncestorOrSelf(node, selected_);
  if (heldSelection && OnChanging) OnChanging();
  for (auto& child : node.children) {
    if (sink_) sink_->Removing(*child);
    if (OnDeleting) ForEachInSubtree(*child, OnDeleting);
  }
  if (heldSelection) selected_ = nullptr;
  node.children.clear();
  if (node.expanded) {
    node.expanded = false;
    if (sink_) sink_->ExpandedChanged(node);
  }
  if (heldSelection) Reselect(&node);
}

void TreeModel::Clear() {
  for (auto& root : roots_) {
    if (sink_) sink_->Removing(*root);
    if (OnDeleting) ForEachInSubtree(*root, OnDeleting);
  }
  selected_ = nullptr;
  roots_.clear();
}

bool TreeModel::Select(TreeNode* node) {
  if (node == selected_) return true;
  if (OnChanging && !OnChanging()) return false;
  selected_ = node;
  if (sink_) sink_->Selected(node);
  if (OnChanged) OnChanged(node);
  return true;
}

bool TreeModel::ViewChanging() {
  return OnChanging ? OnChanging() : true;
}

void TreeModel::ViewChanged(TreeNode* node) {
  selected_ = node;
  if (OnChanged) OnChanged(node);
}

void TreeModel::SetExpanded(TreeNode& node, bool expanded) {
  if (node.expanded == expanded) return;
  node.expanded = expanded;
  if (sink_) sink_->ExpandedChanged(node);
}

void TreeModel::MadeVisible(TreeNode& node) {
  if (sink_) sink_->MadeVisible(node);
}

void TreeModel::Changed(TreeNode& node) {
  if (sink_) sink_->Changed(node);
}

}  // namespace tovo
