// A tree view of another process, read from the test. Its items live in the
// program's memory, so TVM_GETITEMW goes through a buffer allocated there
// (Wine marshals nothing for tree views).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/support/gui_driver.h"
#include "platform/handles_win.h"

namespace tovo::gui {

class RemoteTree {
 public:
  RemoteTree(HWND tree, DWORD pid);
  ~RemoteTree();
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;
  explicit operator bool() const { return block_ != nullptr; }

  HTREEITEM Next(HTREEITEM item, UINT how) const;
  std::wstring Text(HTREEITEM item) const;
  std::vector<std::wstring> RootTexts() const;
  // The texts of an item's children, in the view's order.
  std::vector<std::wstring> ChildTexts(HTREEITEM item) const;
  // The texts from the drive node down to the selected node.
  std::vector<std::wstring> SelectionPath() const;
  HTREEITEM Selected() const { return Next(nullptr, TVGN_CARET); }
  // The rectangle of an item's text in the view's client area.
  RECT TextRect(HTREEITEM item) const;

 private:
  static constexpr SIZE_T kSize = 4096;
  HWND tree_;
  UniqueKernelHandle process_;
  void* block_ = nullptr;
};

// The program started in C:\windows (so its tree opens on C:\), with its
// drive tree readable. Fails the test, leaving `remote` null, when it does
// not start.
struct ProgramWithTree {
  Process process;
  HWND mainWindow = nullptr;
  HWND tree = nullptr;
  std::unique_ptr<RemoteTree> remote;
};
ProgramWithTree StartWithTree();

}  // namespace tovo::gui
