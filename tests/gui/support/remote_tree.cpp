#include "gui/support/remote_tree.h"

#include <gtest/gtest.h>

#include "forms/main_form.h"

namespace tovo::gui {

RemoteTree::RemoteTree(HWND tree, DWORD pid)
    : tree_(tree),
      process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
  if (process_) block_ = VirtualAllocEx(process_.get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteTree::~RemoteTree() {
  if (block_) VirtualFreeEx(process_.get(), block_, 0, MEM_RELEASE);
}

HTREEITEM RemoteTree::Next(HTREEITEM item, UINT how) const {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

std::wstring RemoteTree::Text(HTREEITEM item) const {
  auto* remote = static_cast<unsigned char*>(block_);
  TVITEMW data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
  data.cchTextMax = 260;
  WriteProcessMemory(process_.get(), remote, &data, sizeof(data), nullptr);
  SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
  wchar_t text[261] = {};
  ReadProcessMemory(process_.get(), remote + sizeof(TVITEMW), text, 260 * sizeof(wchar_t), nullptr);
  return text;
}

RECT RemoteTree::TextRect(HTREEITEM item) const {
  // The message takes the item in the rectangle it fills.
  WriteProcessMemory(process_.get(), block_, &item, sizeof(item), nullptr);
  SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block_));
  RECT rect = {};
  ReadProcessMemory(process_.get(), block_, &rect, sizeof(rect), nullptr);
  return rect;
}

std::vector<std::wstring> RemoteTree::RootTexts() const {
  return ChildTexts(nullptr);
}

std::vector<std::wstring> RemoteTree::ChildTexts(HTREEITEM item) const {
  std::vector<std::wstring> texts;
  for (HTREEITEM child = item ? Next(item, TVGN_CHILD) : Next(nullptr, TVGN_ROOT); child;
       child = Next(child, TVGN_NEXT)) {
    texts.push_back(Text(child));
  }
  return texts;
}

std::vector<std::wstring> RemoteTree::SelectionPath() const {
  std::vector<std::wstring> path;
  for (HTREEITEM item = Selected(); item; item = Next(item, TVGN_PARENT)) {
    path.insert(path.begin(), Text(item));
  }
  return path;
}

ProgramWithTree StartWithTree() {
  RunningProgram running = StartProgram(L"C:\\windows");
  ProgramWithTree started{std::move(running.process), running.mainWindow, nullptr, nullptr};
  EXPECT_NE(started.mainWindow, nullptr);
  if (!started.mainWindow) return started;
  started.tree = GetDlgItem(started.mainWindow, forms::vazo::kDirectoryListBox1);
  started.remote = std::make_unique<RemoteTree>(started.tree, started.process.id());
  if (!*started.remote) {
    ADD_FAILURE() << "the tree's memory cannot be reached";
    started.remote.reset();
  }
  return started;
}

}  // namespace tovo::gui
