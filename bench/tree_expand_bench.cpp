// Expanding a folder with 5,000 sub-folders (each with one sub-folder of its
// own) in the real tree window, up to its first paint (which looks up the
// buttons of the folders it draws), and without a window, against a bare
// FindFirstFileW/FindNextFileW walk of the same folder, and of the folder
// plus each sub-folder (what a look-ahead of every revealed folder would
// search). Prints milliseconds and the ratios.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"
#include "widgets/directory_tree_provider_win.h"
#include "widgets/directory_tree_win.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFolders = 5000;

class Host : public tovo::Window {
 public:
  Host() {
    Create(tovo::WindowClassSpec{.name = L"TovoTreeBenchHost"}, 0, L"bench",
           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr);
  }

 protected:
  std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
};

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Counts the entries of a folder; with `deep`, searches each sub-folder too.
int Walk(const std::wstring& dir, bool deep) {
  WIN32_FIND_DATAW data;
  tovo::UniqueFind search(FindFirstFileW((dir + L"\\*.*").c_str(), &data));
  if (!search) return 0;
  int count = 0;
  do {
    ++count;
    const bool dots = wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0;
    if (deep && !dots && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      count += Walk(dir + L"\\" + data.cFileName, false);
    }
  } while (FindNextFileW(search.get(), &data));
  return count;
}

double BestOf(int runs, bool deep, const std::wstring& dir) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    Walk(dir, deep);
    best = std::min(best, Ms(start));
  }
  return best;
}

void Remove(const std::wstring& big) {
  for (int i = 0; i < kFolders; ++i) {
    const std::wstring sub = big + L"\\d" + std::to_wstring(i);
    RemoveDirectoryW((sub + L"\\inner").c_str());
    RemoveDirectoryW(sub.c_str());
  }
  RemoveDirectoryW(big.c_str());
}

}  // namespace

int wmain() {
  const std::wstring base = L"C:\\tovo-bench-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring big = base + L"\\big";
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW(big.c_str(), nullptr);
  for (int i = 0; i < kFolders; ++i) {
    const std::wstring sub = big + L"\\d" + std::to_wstring(i);
    CreateDirectoryW(sub.c_str(), nullptr);
    CreateDirectoryW((sub + L"\\inner").c_str(), nullptr);
  }
  Walk(big, true);  // warm the caches for every measurement alike

  // The same expansion without a window: the platform's share of the cost.
  double modelOnly = 1e9;
  {
    tovo::Win32DriveProvider provider;
    tovo::DirectoryTreeModel model(provider);
    model.SetLive(true);
    model.LoadSystemImages();
    model.BuildDriveLevel();
    model.OpenFolder(tovo::Narrow(base));
    tovo::TreeNode* bare = model.Nodes().Selected()->children.at(0).get();
    modelOnly = 1e9;
    for (int run = 0; run < 3; ++run) {
      model.ResetNode(*bare);
      const auto start = Clock::now();
      model.Expand(*bare);
      modelOnly = std::min(modelOnly, Ms(start));
    }
  }

  Host host;
  tovo::TDirectoryTree tree;
  tree.Create(host.hwnd(), 1, RECT{0, 0, 233, 239}, nullptr, 0);
  tree.OpenFolder(tovo::Narrow(base));
  tovo::TreeNode* node = tree.Model().Nodes().Selected()->children.at(0).get();

  double expand = 1e9;
  for (int run = 0; run < 3; ++run) {
    tree.Model().ResetNode(*node);
    const auto start = Clock::now();
    tree.Model().Expand(*node);
    RedrawWindow(tree.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    expand = std::min(expand, Ms(start));
  }
  const size_t shown = node->children.size();
  const double flat = BestOf(3, false, big);
  const double deep = BestOf(3, true, big);

  std::printf("folders shown after expansion: %zu\n", shown);
  std::printf("expand and paint (load, sort, icons, view):   %.1f ms\n", expand);
  std::printf("the same expansion without a window:          %.1f ms\n", modelOnly);
  std::printf(
      "bare walk of the folder:                      %.1f ms  ratio %.2f, %.2f without a window\n",
      flat, expand / flat, modelOnly / flat);
  std::printf("bare walk of the folder and each sub-folder:  %.1f ms  ratio %.2f\n", deep,
              expand / deep);
  tree.Model().ResetNode(*node);
  Remove(big);
  RemoveDirectoryW(base.c_str());
  return shown == kFolders ? 0 : 1;
}
