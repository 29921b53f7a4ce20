#include "widgets/directory_tree.h"

#include <algorithm>
#include <tuple>
#include <unordered_set>
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
  host_ = &noHost_;
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
  if (types == driveTypes_) return;
  driveTypes_ = types;
  UpdateDriveLevel();
}

void DirectoryTreeModel::SetNetworkVolumeFormat(TNetworkVolumeFormat format) {
  if (format == format_) return;
  format_ = format;
  Rebuild();
}

void DirectoryTreeModel::SetShowHiddenDirs(bool show) {
  if (show == showHidden_) return;
  showHidden_ = show;
  Rebuild();
}

std::uint32_t DirectoryTreeModel::VolumeSerial(char letter) const {
  const int index = IndexOf(letter);
  return index < 0 ? 0 : volumeSerials_[index];
}

void DirectoryTreeModel::LoadSystemImages() {
  std::tie(closedFolderImage_, openFolderImage_) = provider_.FolderImages();
}

std::uint32_t DirectoryTreeModel::FilteredDriveMask() {
  std::uint32_t mask = provider_.LogicalDrives() & ((1u << 26) - 1);
  for (int i = 0; i < 26; ++i) {
    const std::uint32_t bit = 1u << i;
    if ((mask & bit) && !driveTypes_.Has(MemberOf(provider_.DriveType(RootOf(i))))) mask &= ~bit;
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
    driveMask_ = FilteredDriveMask();
    for (int i = 0; i < 26; ++i) {
      if (driveMask_ & (1u << i)) AddDriveNode(static_cast<char>('A' + i), nullptr);
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
    volumeSerials_[letter - 'A'] = name.serial;
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
  node.selectedImage = image == closedFolderImage_ ? openFolderImage_ : provider_.OpenImage(path);
}

void DirectoryTreeModel::AddPlaceholder(TreeNode& node) {
  nodes_.Add(&node, ":");
}

bool DirectoryTreeModel::Listed(const FolderEntry& entry) const {
  if (entry.attributes & attr::kSystem) return false;
  return showHidden_ || !(entry.attributes & attr::kHidden);
}

bool DirectoryTreeModel::ListedFolder(const FolderEntry& entry) const {
  return Listed(entry) && (entry.attributes & attr::kDirectory) && !IsDots(entry.name);
}

bool DirectoryTreeModel::HasListedSubfolder(const std::string& path) {
  bool found = false;
  provider_.List(path + "*.*", [&](const FolderEntry& entry) {
    found = ListedFolder(entry);
    return !found;
  });
  return found;
}

void DirectoryTreeModel::MarkExpandable(TreeNode& node) {
  if (node.buttonOnDemand) {
    AskButtonAgain(node);
    return;
  }
  // A node that already shows a button (or its folders) is not searched
  // again, so repeated expansions do not pile up placeholders.
  if (!node.data || node.data->ChildrenLoaded || !node.children.empty()) return;
  if (HasListedSubfolder(node.data->Path)) AddPlaceholder(node);
}

bool DirectoryTreeModel::ShowsButton(TreeNode& node) {
  TFolderInfo* info = node.data.get();
  if (!node.buttonOnDemand || !info || info->ChildrenLoaded) return !node.children.empty();
  if (!info->SubfoldersLookedUp) {
    info->SubfoldersLookedUp = true;
    info->HasSubfolders = HasListedSubfolder(info->Path);
  }
  return info->HasSubfolders;
}

// The answer is forgotten; the view asks again when it redraws the node.
void DirectoryTreeModel::AskButtonAgain(TreeNode& node) {
  if (!node.data) return;
  node.data->SubfoldersLookedUp = false;
  nodes_.Changed(node);
}

std::vector<FolderEntry> DirectoryTreeModel::SortedSubfolders(const std::string& path) {
  std::vector<FolderEntry> folders;
  provider_.List(path + "*.*", [&](const FolderEntry& entry) {
    if (ListedFolder(entry)) folders.push_back(entry);
    return true;
  });
  std::stable_sort(folders.begin(), folders.end(),
                   [this](const FolderEntry& a, const FolderEntry& b) {
                     return provider_.CompareNames(a.name, b.name) < 0;
                   });
  return folders;
}

TreeNode DirectoryTreeModel::FolderNode(const std::string& parentPath, const FolderEntry& folder) {
  const std::string full = parentPath + folder.name;
  TreeNode node;
  node.text = folder.name;
  node.buttonOnDemand = true;
  AttachFolderInfo(node, full + "\\", provider_.FolderImage(full, folder.attributes));
  return node;
}

void DirectoryTreeModel::LoadChildren(TreeNode& node) {
  if (!node.data || node.data->ChildrenLoaded) return;
  nodes_.DeleteChildren(node);
  // Marked first: a folder that cannot be listed is not searched again.
  node.data->ChildrenLoaded = true;
  const std::string parentPath = node.data->Path;
  for (const FolderEntry& folder : SortedSubfolders(parentPath)) {
    nodes_.Insert(&node, nullptr, FolderNode(parentPath, folder));
  }
}

bool DirectoryTreeModel::ExpandRequest(TreeNode& node) {
  return PrepareExpansion(node, true);
}

bool DirectoryTreeModel::PrepareExpansion(TreeNode& node, bool follow) {
  if (Vanished(node)) {
    FollowLater(node);
    return false;
  }
  WaitScope wait(*host_);
  BatchUpdate batch(nodes_);
  // Nobody watched the folders of a collapsed node.
  if (follow && node.data && node.data->ChildrenLoaded) SyncChildren(node);
  LoadChildren(node);
  return true;
}

void DirectoryTreeModel::Expand(TreeNode& node) {
  if (node.expanded || !PrepareExpansion(node, false)) return;
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
                                                 const std::string& callersPath) {
  if (provider_.FolderExists(target)) return target;
  for (size_t k = CountSlashes(target); k >= 1; --k) {
    const std::string prefix = ThroughSlash(target, k);
    if (provider_.FolderExists(prefix)) return prefix;
  }
  throw IoError("open folder", callersPath, kPathNotFound,
                "The " + callersPath + " directory does not exist");
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

TreeNode* DirectoryTreeModel::FindChild(const TreeNode* parent, const std::string& path) const {
  for (const auto& node : nodes_.ChildrenOf(parent)) {
    if (node->data && provider_.SameName(node->data->Path, path)) return node.get();
  }
  return nullptr;
}

TreeNode* DirectoryTreeModel::FindNode(const std::string& path) const {
  TreeNode* current = nullptr;
  const size_t levels = CountSlashes(path);
  for (size_t k = 1; k <= levels && (k == 1 || current); ++k) {
    current = FindChild(current, ThroughSlash(path, k));
  }
  return current;
}

TreeNode* DirectoryTreeModel::WalkTo(const std::string& path) {
  TreeNode* current = nullptr;
  const size_t levels = CountSlashes(path);
  for (size_t k = 1; k <= levels; ++k) {
    const std::string prefix = ThroughSlash(path, k);
    TreeNode* match = FindChild(current, prefix);
    // The level was loaded before the folder was made: read it again once.
    if (!match && current) {
      SyncChildren(*current);
      match = FindChild(current, prefix);
    }
    if (!match) return nullptr;
    LoadChildren(*match);
    current = match;
  }
  return current;
}

bool DirectoryTreeModel::BeforeChange() {
  if (OnChanging && !OnChanging()) return false;
  driveBeforeChange_ = SelectedDrive();
  return true;
}

void DirectoryTreeModel::HandleChanged(TreeNode* node) {
  const unsigned change = ++selectionChanges_;
  if (node && !destroying_ && !updating_) HandleSelectionChanged(node);
  // A change made by the handling itself has told its own node already.
  if (change != selectionChanges_) return;
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
  volumeSerials_[IndexOf(letter)] = name.serial;
  ResetNode(*drive);
  drive->text = std::move(name.text);
  nodes_.Changed(*drive);
  if (name.serial != kNoVolumeSerial && drive->children.empty()) AddPlaceholder(*drive);
}

void DirectoryTreeModel::HandleSelectionChanged(TreeNode* node) {
  // A folder deleted since its node was made: the node goes and the list
  // is not pointed at a folder that no longer exists.
  if (Vanished(*node)) {
    FollowLater(*node);
    return;
  }
  ShowsButton(*node);  // a node selected before it was drawn gets its answer now
  const char before = driveBeforeChange_;
  if (node->data && IndexOf(node->data->Path[0]) >= 0) {
    const char letter = node->data->Path[0];
    // May free the node: it is not used after this.
    if (MediumChanged(letter)) MediumChange(letter);
  }
  if (SelectedDrive() != before && OnDriveChange) OnDriveChange();
  if (fileList_) fileList_->SetFolder(SelectedFolder());
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
      if (!(driveMask_ & bit) || (present & bit)) continue;
      if (TreeNode* drive = FindDriveNode(RootOf(i))) nodes_.Delete(*drive);
    }
    for (int i = 0; i < 26; ++i) {
      const std::uint32_t bit = 1u << i;
      if (!(present & bit) || (driveMask_ & bit)) continue;
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
    driveMask_ = present;
  }
  host_->Repaint();
}

bool DirectoryTreeModel::Vanished(const TreeNode& node) {
  // Drive nodes follow their media instead.
  return node.parent && node.data && !provider_.FolderExists(node.data->Path);
}

void DirectoryTreeModel::FollowLater(const TreeNode& node) {
  host_->Defer([this, path = node.data->Path] { Follow(path); });
}

void DirectoryTreeModel::Follow(const std::string& folder) {
  TreeNode* node = FindNode(EndsWith(folder, "\\") ? folder : folder + "\\");
  while (node && node->data && !provider_.FolderExists(node->data->Path)) node = node->parent;
  if (!node || !node->data) return;
  BatchUpdate batch(nodes_);
  SyncChildren(*node);
}

void DirectoryTreeModel::SyncChildren(TreeNode& node) {
  if (!node.data->ChildrenLoaded) {
    UpdateButton(node);
    return;
  }
  const std::vector<FolderEntry> folders = SortedSubfolders(node.data->Path);
  if (DropGoneChildren(node, folders)) AddNewChildren(node, folders);
}

bool DirectoryTreeModel::DropGoneChildren(TreeNode& node, const std::vector<FolderEntry>& folders) {
  std::unordered_set<std::string> present;
  for (const FolderEntry& folder : folders) present.insert(folder.name);
  std::vector<TreeNode*> gone;
  for (const auto& child : node.children) {
    if (!present.count(child->text)) gone.push_back(child.get());
  }
  for (TreeNode* child : gone) {
    if (TreeModel::IsAncestorOrSelf(*child, nodes_.Selected())) {
      nodes_.Select(&node);
      // A changed medium found by the selection handling drops the whole
      // drive's subtree, this node included.
      if (nodes_.Selected() != &node) return false;
    }
    nodes_.Delete(*child);
  }
  return true;
}

// Both lists are in the same sorted order, so each new folder's place is
// found by one pass over the children.
void DirectoryTreeModel::AddNewChildren(TreeNode& node, const std::vector<FolderEntry>& folders) {
  std::unordered_set<std::string> shown;
  for (const auto& child : node.children) shown.insert(child->text);
  const std::string parentPath = node.data->Path;
  size_t at = 0;
  for (const FolderEntry& folder : folders) {
    if (shown.count(folder.name)) continue;
    while (at < node.children.size() &&
           provider_.CompareNames(node.children[at]->text, folder.name) <= 0) {
      ++at;
    }
    TreeNode* before = at < node.children.size() ? node.children[at].get() : nullptr;
    nodes_.Insert(&node, before, FolderNode(parentPath, folder));
    ++at;
  }
}

// A node whose folders are not loaded shows a button exactly when it has a
// listed sub-folder.
void DirectoryTreeModel::UpdateButton(TreeNode& node) {
  if (node.buttonOnDemand) {
    AskButtonAgain(node);
    return;
  }
  const bool shows = !node.children.empty();
  if (HasListedSubfolder(node.data->Path) == shows) return;
  if (shows) {
    nodes_.DeleteChildren(node);
  } else {
    AddPlaceholder(node);
  }
}

std::vector<std::string> DirectoryTreeModel::WatchedFolders() const {
  std::vector<std::string> folders;
  for (const TreeNode* node = nodes_.Selected(); node; node = node->parent) {
    if (node->data) folders.push_back(node->data->Path);
  }
  std::reverse(folders.begin(), folders.end());
  const std::function<void(const TreeNode&)> addExpanded = [&](const TreeNode& node) {
    if (!node.expanded || !node.data) return;
    if (std::find(folders.begin(), folders.end(), node.data->Path) == folders.end()) {
      folders.push_back(node.data->Path);
    }
    for (const auto& child : node.children) addExpanded(*child);
  };
  for (const auto& root : nodes_.Roots()) addExpanded(*root);
  return folders;
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
