// The paths of a drop, read from a real drop block as the system hands one
// to WM_DROPFILES.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "app/outside_paths_win.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

// A DROPFILES block with wide names, each ended by a null, the list by one
// more, in memory the drop's receiver frees with DragFinish.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) names += Wide(path) + L'\0';
  names += L'\0';
  const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

TEST(DroppedPaths, EveryPathOfTheDropInItsOrder) {
  const std::vector<std::string> paths = {"C:\\Data\\粉碎 文件.doc", "D:\\dir",
                                          "C:\\" + std::string(300, 'x') + "\\y.txt"};
  const UniqueDrop drop(MakeDrop(paths));
  EXPECT_EQ(DroppedPaths(drop.get()), paths);
}

}  // namespace
}  // namespace tovo
