// The drive and folder tree without its window: the drive level, lazy
// loading of folders, navigation by path, media and device changes, and the
// binding to the file list. Everything the platform answers comes from a
// DriveProvider, so the whole behaviour can be tested with a fake machine.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/file_attributes.h"
#include "widgets/tree_model.h"
#include "widgets/volume_naming.h"

namespace tovo {

enum TDriveType { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };

class TDriveTypes {
 public:
  constexpr TDriveTypes() = default;
  constexpr TDriveTypes(std::initializer_list<TDriveType> members) {
    for (TDriveType m : members) bits_ |= 1u << m;
  }
  constexpr bool Has(TDriveType m) const { return (bits_ >> m) & 1u; }
  constexpr bool operator==(const TDriveTypes&) const = default;

 private:
  unsigned bits_ = 0;
};

inline constexpr TDriveTypes kDefaultDriveTypes = {dtUnknown, dtFloppy, dtFixed,
                                                   dtNetwork, dtCDROM,  dtRAM};

struct ShellItem {
  std::string displayName;
  int image = -1;
};

// What the tree asks of the platform, besides the volume queries. Every
// drive and folder query runs with critical-error boxes switched off.
class DriveProvider : public VolumePlatform {
 public:
  virtual std::uint32_t LogicalDrives() = 0;
  // Display name and small system image index of a path.
  virtual ShellItem ShellInfo(const std::string& path) = 0;
  // The small system image index of a folder found with these attributes.
  virtual int FolderImage(const std::string& path, std::uint32_t attributes) = 0;
  // The small "open" image index of a path.
  virtual int OpenImage(const std::string& path) = 0;
  // The generic folder images, closed and open.
  virtual std::pair<int, int> FolderImages() = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Lists a search pattern in the system's order; the callback returns false
  // to stop. A pattern that cannot be searched lists nothing.
  virtual void List(const std::string& pattern,
                    const std::function<bool(const FolderEntry&)>& entry) = 0;
  // Order of names in the user's locale, ignoring case (<0, 0, >0).
  virtual int CompareNames(const std::string& a, const std::string& b) = 0;
  // Equality of file names ignoring case by the system's rules.
  virtual bool SameName(const std::string& a, const std::string& b) = 0;
};

// The file list's side of the binding: the tree hands it the selected folder.
class FolderTarget {
 public:
  virtual ~FolderTarget() = default;
  virtual void SetFolder(const std::string& path) = 0;
};

// The window side: waiting cursor and letting pending messages run.
class TreeHost {
 public:
  virtual ~TreeHost() = default;
  virtual void BeginWait() {}
  virtual void EndWait() {}
  virtual void ProcessMessages() {}
  virtual void UpdateDirLabel(const std::string& /*folder*/) {}
  virtual void Repaint() {}
  // Runs a task once the current notification of the view is over (a node
  // must not be deleted while the view still reports on it). Without a
  // window the task runs at once.
  virtual void Defer(std::function<void()> task) { task(); }
};

class DirectoryTreeModel {
 public:
  explicit DirectoryTreeModel(DriveProvider& provider);
  ~DirectoryTreeModel();
  DirectoryTreeModel(const DirectoryTreeModel&) = delete;
  DirectoryTreeModel& operator=(const DirectoryTreeModel&) = delete;

  TreeModel& Nodes() { return nodes_; }
  DriveProvider& Provider() { return provider_; }
  void SetHost(TreeHost* host) { host_ = host; }

  // Properties. Setting one to the value held does nothing.
  TDriveTypes DriveTypes() const { return driveTypes_; }
  void SetDriveTypes(TDriveTypes types);
  TNetworkVolumeFormat NetworkVolumeFormat() const { return format_; }
  void SetNetworkVolumeFormat(TNetworkVolumeFormat format);
  bool ShowHiddenDirs() const { return showHidden_; }
  void SetShowHiddenDirs(bool show);
  FolderTarget* FileList() const { return fileList_; }
  void SetFileList(FolderTarget* list) { fileList_ = list; }

  // Notifications (the main window assigns none).
  std::function<void()> OnDriveChange;
  std::function<bool()> OnChanging;
  std::function<void(TreeNode*)> OnChange;
  std::function<void(TreeNode&)> OnDeletion;
  std::function<void()> OnClick;

  // Effective only while the tree is live (its window exists).
  void SetLive(bool live) { live_ = live; }
  bool Live() const { return live_; }
  void SetDestroying() { destroying_ = true; }

  // The generic folder images, read when the window is created.
  void LoadSystemImages();
  std::uint32_t FilteredDriveMask();
  void BuildDriveLevel();
  void UpdateDriveLevel();
  void ClearNodes();
  void ResetNode(TreeNode& node);
  void Rebuild();

  void MarkExpandable(TreeNode& node);
  void LoadChildren(TreeNode& node);
  // Whether the node shows an expand button. A folder node's button is
  // decided by a search of its folder when this is first asked (the view
  // asks when it draws the node), and the answer is kept; so only the
  // folders a user gets to see are searched, each once.
  bool ShowsButton(TreeNode& node);
  // The view asks whether a node may expand (the user opens it): loads it,
  // or brings its folders in line with the disk when it was loaded before.
  // False for a node whose folder is gone; the node is then dropped.
  bool ExpandRequest(TreeNode& node);
  // Expands a node for navigation: loads it.
  void Expand(TreeNode& node);

  // Expands the tree down to a folder and selects it. A level that lacks
  // the next folder is read again once, for folders made after it was
  // loaded. Throws IoError when no prefix of the path exists; ends quietly
  // where the tree lists no folder.
  void OpenFolder(const std::string& path);

  // Brings the node of a folder (a path as the tree or the list gives it)
  // in line with the disk: nodes of vanished sub-folders go, new sub-folders
  // come in at their sorted place, the expand button follows, and the other
  // nodes keep their expansion. When the folder itself is gone, its nearest
  // existing ancestor is brought in line instead. A selection inside a
  // dropped subtree passes to the node brought in line. A folder without a
  // node changes nothing.
  void Follow(const std::string& folder);
  // The folders whose changes the tree follows: those from the drive down
  // to the selected node, then every other expanded node, in tree order.
  std::vector<std::string> WatchedFolders() const;

  std::string SelectedFolder() const;
  char SelectedDrive() const;
  TreeNode* FindDriveNode(const std::string& root) const;

  // The selection handling after a change, and the click rule.
  void HandleSelectionChanged(TreeNode* node);
  void Click();
  // A device came or went: the drive level follows, then the selection.
  void DeviceChanged();

  std::uint32_t DriveMask() const { return driveMask_; }
  std::uint32_t VolumeSerial(char letter) const;
  bool Updating() const { return updating_; }

 private:
  class UpdatingScope;
  class WaitScope;

  TreeNode& AddDriveNode(char letter, TreeNode* before);
  void AttachFolderInfo(TreeNode& node, const std::string& path, int image);
  void MakeVisible(TreeNode& node);
  void AddPlaceholder(TreeNode& node);
  bool Listed(const FolderEntry& entry) const;
  bool ListedFolder(const FolderEntry& entry) const;
  bool PrepareExpansion(TreeNode& node, bool follow);
  bool HasListedSubfolder(const std::string& path);
  std::vector<FolderEntry> SortedSubfolders(const std::string& path);
  TreeNode FolderNode(const std::string& parentPath, const FolderEntry& folder);
  void SyncChildren(TreeNode& node);
  bool DropGoneChildren(TreeNode& node, const std::vector<FolderEntry>& folders);
  void AddNewChildren(TreeNode& node, const std::vector<FolderEntry>& folders);
  void UpdateButton(TreeNode& node);
  void AskButtonAgain(TreeNode& node);
  bool Vanished(const TreeNode& node);
  void FollowLater(const TreeNode& node);
  TreeNode* FindChild(const TreeNode* parent, const std::string& path) const;
  TreeNode* FindNode(const std::string& path) const;
  bool MediumChanged(char letter);
  void MediumChange(char letter);
  bool BeforeChange();
  std::string ExistingFolderOf(const std::string& target, const std::string& callersPath);
  TreeNode* WalkTo(const std::string& path);
  void HandleChanged(TreeNode* node);

  DriveProvider& provider_;
  TreeModel nodes_;
  TreeHost* host_ = nullptr;
  TreeHost noHost_;
  FolderTarget* fileList_ = nullptr;

  TDriveTypes driveTypes_ = kDefaultDriveTypes;
  TNetworkVolumeFormat format_ = nvfExplorer;
  bool showHidden_ = false;

  std::array<std::uint32_t, 26> volumeSerials_{};
  std::uint32_t driveMask_ = 0;
  int closedFolderImage_ = -1;
  int openFolderImage_ = -1;
  bool updating_ = false;
  bool live_ = false;
  bool destroying_ = false;
  char driveBeforeChange_ = 0;
  unsigned selectionChanges_ = 0;
};

}  // namespace tovo
