// TDirectoryTree: the main window's drive and folder tree (DirectoryListBox1).
// The behaviour lives in DirectoryTreeModel; this class gives it a tree-view
// window, the system's small-icon images, the hourglass, the file list
// binding and the device-change hook on the parent window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_watch_win.h"
#include "platform/guards_win.h"
#include "widgets/directory_tree.h"
#include "widgets/file_list_box_win.h"
#include "widgets/reread_schedule.h"
#include "widgets/tree_view_base_win.h"

namespace tovo {

class TDirectoryTree : public TTreeViewBase, public FolderOpener, private TreeHost {
 public:
  TDirectoryTree();
  // With the platform's answers injected (tests); the provider outlives the tree.
  explicit TDirectoryTree(DriveProvider& provider);
  ~TDirectoryTree() override;

  // Creates the view, hooks the parent's device changes, builds the drive
  // level and opens the start folder (the current drive's root, or the
  // current folder with OpenCurrentDir), which points the file list there.
  void Create(HWND parent, int id, RECT bounds, HFONT font, COLORREF textColour);

  void OpenFolder(const std::string& path) override;
  std::string SelectedFolder() const { return model_.SelectedFolder(); }
  char SelectedDrive() const { return model_.SelectedDrive(); }
  void BuildDriveLevel() { model_.BuildDriveLevel(); }
  void UpdateDriveLevel() { model_.UpdateDriveLevel(); }
  void Rebuild() { model_.Rebuild(); }

  // Binds the file list both ways; null unbinds. Bind a list whose window
  // exists: the binding then ends by itself when that window goes.
  void SetFileList(TShellFileListBox* list);
  TShellFileListBox* FileList() const { return fileList_; }
  // A static label that shows the selected folder, shortened to fit; forgotten
  // when the label's window goes.
  void SetDirLabel(HWND label);
  void SetDriveTypes(TDriveTypes types) { model_.SetDriveTypes(types); }
  void SetNetworkVolumeFormat(TNetworkVolumeFormat f) { model_.SetNetworkVolumeFormat(f); }
  void SetShowHiddenDirs(bool show) { model_.SetShowHiddenDirs(show); }
  void SetOpenCurrentDir(bool open) { openCurrentDir_ = open; }

  DirectoryTreeModel& Model() { return model_; }

  // The tree follows the folders it shows: sub-folders that other programs
  // make, delete or rename appear, vanish or move under the expanded nodes
  // and the selected one (bursts followed at most every 300 ms). Within the
  // scope of a suspension no folder is watched.
  FolderWatch::Suspension SuspendWatch() { return FolderWatch::Suspension(watch_.get()); }
  // Brings a folder's node in line with the disk now.
  void Follow(const std::string& folder) { model_.Follow(folder); }

  // TreeSink: the watched folders follow the selection and the expansion.
  void Selected(TreeNode* node) override;
  void ExpandedChanged(TreeNode& node) override;
  void Removing(TreeNode& node) override;

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool ExpandRequest(TreeNode& node) override;
  bool HasButton(TreeNode& node) override { return model_.ShowsButton(node); }
  void Clicked() override;

 private:
  class ListTarget : public FolderTarget {
   public:
    explicit ListTarget(TDirectoryTree& tree) : tree_(tree) {}
    void SetFolder(const std::string& path) override;

   private:
    TDirectoryTree& tree_;
  };

  // TreeHost
  void BeginWait() override;
  void EndWait() override;
  void ProcessMessages() override;
  void UpdateDirLabel(const std::string& folder) override;
  void Repaint() override;
  void Defer(std::function<void()> task) override;

  void RunDeferred();
  void Rewatch();
  void FolderChanged(WPARAM wParam, LPARAM lParam);
  void FollowChanges();

  void HookParent(HWND parent);
  void UnhookParent();
  void WindowGoing();
  void Watch(HWND window, UINT_PTR id, bool on);
  static LRESULT CALLBACK WatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<DriveProvider> ownProvider_;
  DirectoryTreeModel model_;
  ListTarget listTarget_{*this};
  TShellFileListBox* fileList_ = nullptr;
  HWND fileListWindow_ = nullptr;
  HWND dirLabel_ = nullptr;
  HWND hookedParent_ = nullptr;
  bool openCurrentDir_ = false;
  int waits_ = 0;
  std::optional<CursorGuard> cursor_;
  std::unique_ptr<FolderWatch> watch_;
  RereadSchedule schedule_;
  std::vector<std::string> changed_;  // folders reported since they were last followed
  std::vector<std::function<void()>> deferred_;
  bool deferredPosted_ = false;
  bool rewatch_ = false;
};

}  // namespace tovo
