#include "widgets/directory_tree.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/file_attributes.h"
#include "platform/text.h"

namespace tovo {
namespace {

constexpr unsigned long kPathNotFound = 3;

// The drive-type member that governs a platform drive type. Letters without
// a root directory follow dtNoDrive (left out by default); types the filter
// does not know count as undetermined.
TDriveType MemberOf(unsigned type) {
  switch (type) {
    case kDriveNoRootDir: return dtNoDrive;
    case kDriveRemovable: return dtFloppy;
    case kDriveFixed: return dtFixed;
    case kDriveRemote: return dtNetwork;
    case kDriveCdRom: return dtCDROM;
    case kDriveRamDisk: return dtRAM;
    default: return dtUnknown;
  }
}

std::string RootOf(int index) {
  return std::string(1, static_cast<char>('A' + index)) + ":\\";
}

int IndexOf(char letter) {
  const char upper = AsciiUpper(std::string(1, letter))[0];
  return (upper >= 'A' && upper <= 'Z') ? upper - 'A' : -1;
}

bool IsDots(const std::string& name) {
  return name == "." || name == "..";
}

// A drive root keeps its "\", any longer folder path loses it.
std::string WithoutFinalSlash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

size_t CountSlashes(const std::string& path) {
  return static_cast<size_t>(std::count(path.begin(), path.end(), '\\'));
}

// The path up to and including its k-th "\" (k from 1).
std::string ThroughSlash(const std::string& path, size_t k) {
  size_t at = std::string::npos;
  for (size_t i = 0; i < k; ++i) at = path.find('\\', at + 1);
  return path.substr(0, at + 1);
}

}  // namespace

class DirectoryTreeModel::UpdatingScope {
 public:
  explicit UpdatingScope(DirectoryTreeModel& tree)
      : tree_(tree), previous_(std::exchange(tree.updating_, true)) {}
  ~UpdatingScope() { tree_.updating_ = previous_; }
  UpdatingScope(const UpdatingScope&) = delete;
  UpdatingScope& operator=(const UpdatingScope&) = delete;

 private:
  DirectoryTreeModel& tree_;
  bool previous_;
};

class DirectoryTreeModel::WaitScope {
 public:
  explicit WaitScope(TreeHost& host) : host_(host) { host_.BeginWait(); }
  ~WaitScope() { host_.EndWait(); }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  TreeHost& host_;
};

DirectoryTreeModel::DirectoryTreeModel(DriveProvider& provider) : provider_(provider) {
  host_ = &no_host_;
  nodes_.OnChanging = [this] { return BeforeChange(); };
  nodes_.OnChanged = [this](TreeNode* node) { HandleChanged(node); };
  nodes_.OnDeleting = [this](TreeNode& node) {
    if (OnDeletion) OnDeletion(node);
    node.data.reset();
  };
}

DirectoryTreeModel::~DirectoryTreeModel() {
  destroying_ = true;
  nodes_.SetSink(nullptr);
}

void DirectoryTreeModel::SetDriveTypes(TDriveTypes types) {
  if (types == drive_types_) return;
  drive_types_ = types;
  UpdateDriveLevel();
}

void DirectoryTreeModel::SetNetworkVolumeFormat(TNetworkVolumeFormat format) {
  if (format == format_) return;
  format_ = format;
  Rebuild();
}

void DirectoryTreeModel::SetShowHiddenDirs(bool show) {
  if (show == show_hidden_) return;
  show_hidden_ = show;
  Rebuild();
}

std::uint32_t DirectoryTreeModel::VolumeSerial(char letter) const {
  const int index = IndexOf(letter);
  return index < 0 ? 0 : volume_serials_[index];
}

void DirectoryTreeModel::LoadSystemImages() {
  std::tie(closed_folder_image_, open_folder_image_) = provider_.FolderImages();
}

std::uint32_t DirectoryTreeModel::FilteredDriveMask() {
  std::uint32_t mask = provider_.LogicalDrives() & ((1u << 26) - 1);
  for (int i = 0; i < 26; ++i) {
    const std::uint32_t bit = 1u << i;
    if ((mask & bit) && !drive_types_.Has(MemberOf(provider_.DriveType(RootOf(i))))) mask &= ~bit;
  }
  return mask;
}

void DirectoryTreeModel::BuildDriveLevel() {
  if (!live_) return;
  UpdatingScope updating(*this);
  WaitScope wait(*host_);
  {
    BatchUpdate batch(nodes_);
    ClearNodes();
    host_->ProcessMessages();
    drive_mask_ = FilteredDriveMask();
    for (int i = 0; i < 26; ++i) {
      if (drive_mask_ & (1u << i)) AddDriveNode(static_cast<char>('A' + i), nullptr);
      host_->ProcessMessages();
    }
  }
  if (TreeNode* selected = nodes_.Selected()) nodes_.MadeVisible(*selected);
}

TreeNode& DirectoryTreeModel::AddDriveNode(char letter, TreeNode* before) {
  const std::string root = std::string(1, letter) + ":\\";
  const unsigned type = provider_.DriveType(root);
  const ShellItem shell = provider_.ShellInfo(root);
  TreeNode node;
  if (type == kDriveRemovable) {
    // The shell's name costs no medium access; no serial is recorded, so
    // the first selection on the drive relabels it from its volume.
    node.text = shell.displayName;
  } else {
    VolumeDisplayName name = GetVolumeDisplayName(provider_, letter, format_);
    node.text = std::move(name.text);
    volume_serials_[letter - 'A'] = name.serial;
  }
  AttachFolderInfo(node, root, shell.image);
  TreeNode& added = nodes_.Insert(nullptr, before, std::move(node));
  // Slow or empty drives are not searched while the level is built.
  const bool searchable = type == kDriveFixed || type == kDriveRemote || type == kDriveRamDisk;
  if (searchable) {
    MarkExpandable(added);
  } else {
    AddPlaceholder(added);
  }
  return added;
}

void DirectoryTreeModel::AttachFolderInfo(TreeNode& node, const std::string& path, int image) {
  node.data = std::make_unique<TFolderInfo>();
  node.data->Path = path;
  node.image = image;
  node.selectedImage =
      image == closed_folder_image_ ? open_folder_image_ : provider_.OpenImage(path);
}

void DirectoryTreeModel::AddPlaceholder(TreeNode& node) {
  nodes_.Add(&node, ":");
}

bool DirectoryTreeModel::Listed(const FolderEntry& entry) const {
  if (entry.attributes & attr::kSystem) return false;
  return show_hidden_ || !(entry.attributes & attr::kHidden);
}

void DirectoryTreeModel::MarkExpandable(TreeNode& node) {
  // A node that already shows a button (or its folders) is not searched
  // again, so repeated expansions do not pile up placeholders.
  if (!node.data || node.data->ChildrenLoaded || !node.children.empty()) return;
  bool found = false;
  provider_.List(node.data->Path + "*.*", [&](const FolderEntry& entry) {
    found = Listed(entry) && (entry.attributes & attr::kDirectory) && !IsDots(entry.name);
    return !found;
  });
  if (found) AddPlaceholder(node);
}

void DirectoryTreeModel::LoadChildren(TreeNode& node) {
  if (!node.data || node.data->ChildrenLoaded) return;
  nodes_.DeleteChildren(node);
  // Marked first: a folder that cannot be listed is not searched again.
  node.data->ChildrenLoaded = true;
  std::vector<FolderEntry> folders;
  provider_.List(node.data->Path + "*.*", [&](const FolderEntry& entry) {
    if (Listed(entry) && (entry.attributes & attr::kDirectory) && !IsDots(entry.name)) {
      folders.push_back(entry);
    }
    return true;
  });
  std::stable_sort(folders.begin(), folders.end(),
                   [this](const FolderEntry& a, const FolderEntry& b) {
                     return provider_.CompareNames(a.name, b.name) < 0;
                   });
  const std::string parent_path = node.data->Path;
  for (FolderEntry& folder : folders) {
    const std::string full = parent_path + folder.name;
    TreeNode child;
    child.text = std::move(folder.name);
    AttachFolderInfo(child, full + "\\", provider_.FolderImage(full, folder.attributes));
    nodes_.Insert(&node, nullptr, std::move(child));
  }
}

bool DirectoryTreeModel::ExpandRequest(TreeNode& node) {
  WaitScope wait(*host_);
  BatchUpdate batch(nodes_);
  LoadChildren(node);
  for (auto& child : node.children) MarkExpandable(*child);
  return true;
}

void DirectoryTreeModel::Expand(TreeNode& node) {
  if (node.expanded) return;
  ExpandRequest(node);
  if (!node.children.empty()) nodes_.SetExpanded(node, true);
}

void DirectoryTreeModel::MakeVisible(TreeNode& node) {
  std::vector<TreeNode*> ancestors;
  for (TreeNode* up = node.parent; up; up = up->parent) ancestors.push_back(up);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) Expand(**it);
  nodes_.MadeVisible(node);
}

std::string DirectoryTreeModel::SelectedFolder() const {
  const TreeNode* node = nodes_.Selected();
  if (!live_ || !node || !node->data) return std::string();
  return WithoutFinalSlash(node->data->Path);
}

char DirectoryTreeModel::SelectedDrive() const {
  const std::string folder = SelectedFolder();
  return folder.empty() ? '\0' : AsciiUpper(folder.substr(0, 1))[0];
}

TreeNode* DirectoryTreeModel::FindDriveNode(const std::string& root) const {
  for (const auto& node : nodes_.Roots()) {
    if (node->data && node->data->Path == root) return node.get();
  }
  return nullptr;
}

std::string DirectoryTreeModel::ExistingFolderOf(const std::string& target,
                                                 const std::string& callers_path) {
  if (provider_.FolderExists(target)) return target;
  for (size_t k = CountSlashes(target); k >= 1; --k) {
    const std::string prefix = ThroughSlash(target, k);
    if (provider_.FolderExists(prefix)) return prefix;
  }
  throw IoError("open folder", callers_path, kPathNotFound,
                "The " + callers_path + " directory does not exist");
}

void DirectoryTreeModel::OpenFolder(const std::string& path) {
  std::string target = MapUncPathToDrive(provider_, provider_.FullPathName(path));
  if (target.empty()) return;
  if (provider_.SameName(WithoutFinalSlash(target), SelectedFolder())) return;
  target = ExistingFolderOf(AsciiUpper(target), path);
  if (!EndsWith(target, "\\")) target += '\\';

  WaitScope wait(*host_);
  BatchUpdate batch(nodes_);
  TreeNode* found = WalkTo(target);
  if (!found) return;
  // The selection handling may drop the found node with its drive's subtree
  // (a changed medium): what is selected afterwards is made visible.
  nodes_.Select(found);
  if (TreeNode* selected = nodes_.Selected()) MakeVisible(*selected);
}

TreeNode* DirectoryTreeModel::WalkTo(const std::string& path) {
  TreeNode* current = nullptr;
  const size_t levels = CountSlashes(path);
  for (size_t k = 1; k <= levels; ++k) {
    const std::string prefix = ThroughSlash(path, k);
    TreeNode* match = nullptr;
    for (const auto& node : nodes_.ChildrenOf(current)) {
      if (node->data && provider_.SameName(node->data->Path, prefix)) {
        match = node.get();
        break;
      }
    }
    if (!match) return nullptr;
    LoadChildren(*match);
    current = match;
  }
  return current;
}

bool DirectoryTreeModel::BeforeChange() {
  if (OnChanging && !OnChanging()) return false;
  drive_before_change_ = SelectedDrive();
  return true;
}

void DirectoryTreeModel::HandleChanged(TreeNode* node) {
  if (node && !destroying_ && !updating_) HandleSelectionChanged(node);
  if (OnChange) OnChange(node);
}

bool DirectoryTreeModel::MediumChanged(char letter) {
  return GetVolumeSerial(provider_, letter) != VolumeSerial(letter);
}

void DirectoryTreeModel::MediumChange(char letter) {
  TreeNode* drive = FindDriveNode(std::string(1, letter) + ":\\");
  if (!drive) return;
  // The serial is stored before the subtree goes, so the selection handling
  // that the drop may start sees the medium as known.
  VolumeDisplayName name = GetVolumeDisplayName(provider_, letter, format_);
  volume_serials_[IndexOf(letter)] = name.serial;
  ResetNode(*drive);
  drive->text = std::move(name.text);
  nodes_.Changed(*drive);
  if (name.serial != kNoVolumeSerial && drive->children.empty()) AddPlaceholder(*drive);
}

void DirectoryTreeModel::HandleSelectionChanged(TreeNode* node) {
  const char before = drive_before_change_;
  if (node->data && IndexOf(node->data->Path[0]) >= 0) {
    const char letter = node->data->Path[0];
    // May free the node: it is not used after this.
    if (MediumChanged(letter)) MediumChange(letter);
  }
  if (SelectedDrive() != before && OnDriveChange) OnDriveChange();
  if (file_list_) file_list_->SetFolder(SelectedFolder());
  host_->UpdateDirLabel(SelectedFolder());
}

void DirectoryTreeModel::Click() {
  TreeNode* node = nodes_.Selected();
  if (node && node->data && IndexOf(node->data->Path[0]) >= 0 &&
      MediumChanged(node->data->Path[0])) {
    HandleSelectionChanged(node);
    return;
  }
  if (OnClick) OnClick();
}

void DirectoryTreeModel::DeviceChanged() {
  UpdateDriveLevel();
  if (TreeNode* node = nodes_.Selected()) HandleSelectionChanged(node);
}

void DirectoryTreeModel::UpdateDriveLevel() {
  if (!live_) return;
  {
    UpdatingScope updating(*this);
    BatchUpdate batch(nodes_);
    const std::uint32_t present = FilteredDriveMask();
    for (int i = 0; i < 26; ++i) {
      const std::uint32_t bit = 1u << i;
      if (!(drive_mask_ & bit) || (present & bit)) continue;
      if (TreeNode* drive = FindDriveNode(RootOf(i))) nodes_.Delete(*drive);
    }
    for (int i = 0; i < 26; ++i) {
      const std::uint32_t bit = 1u << i;
      if (!(present & bit) || (drive_mask_ & bit)) continue;
      const std::string root = RootOf(i);
      TreeNode* before = nullptr;
      for (const auto& node : nodes_.Roots()) {
        if (node->data && node->data->Path > root) {
          before = node.get();
          break;
        }
      }
      AddDriveNode(static_cast<char>('A' + i), before);
    }
    drive_mask_ = present;
  }
  host_->Repaint();
}

void DirectoryTreeModel::ClearNodes() {
  BatchUpdate batch(nodes_);
  nodes_.Clear();
}

void DirectoryTreeModel::ResetNode(TreeNode& node) {
  nodes_.DeleteChildren(node);
  if (node.data) node.data->ChildrenLoaded = false;
  MarkExpandable(node);
}

void DirectoryTreeModel::Rebuild() {
  const std::string folder = SelectedFolder();
  BuildDriveLevel();
  OpenFolder(folder);
}

}  // namespace tovo
