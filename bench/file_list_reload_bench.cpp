// Benchmark: TShellFileListBox::Reload of a folder of many files against a
// bare FindFirstFileW/FindNextFileW walk of the same folder, in one run.
//
//   file_list_reload_bench.exe [FILES] [ROUNDS]
//
// Creates FILES empty files (default 20000) in a fresh folder under the temp
// folder, times ROUNDS walks and ROUNDS reloads (default 5), prints the best
// and median of each and the ratio of the medians, then removes the folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_system_win.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"
#include "widgets/file_list_box_win.h"

namespace {

using tovo::FileAttr;

class Host : public tovo::Window {
 public:
  Host() {
    Create(tovo::WindowClassSpec{.name = L"TovoBenchHost"}, 0, L"bench", WS_OVERLAPPEDWINDOW, 0, 0,
           400, 400, nullptr, nullptr);
  }

 protected:
  std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Mixed case and a handful of extensions, as a real folder of documents.
std::wstring NameOf(int i) {
  static const wchar_t* const kExtensions[] = {L".txt", L".doc", L".PDF", L".jpg", L".log",
                                               L".dat", L".xls", L".zip", L".Png", L""};
  return std::wstring(i % 3 ? L"file" : L"File") + std::to_wstring(i * 7919 % 100003) +
         kExtensions[i % 10];
}

size_t BareWalk(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  tovo::UniqueFind search(FindFirstFileW((folder + L"\\*.*").c_str(), &data));
  size_t count = 0;
  if (!search) return 0;
  do ++count;
  while (FindNextFileW(search.get(), &data));
  return count;
}

struct Figures {
  double best, median;
};

template <typename F>
Figures Time(int rounds, F&& f) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    const double start = Now();
    f();
    times.push_back(Now() - start);
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

void RemoveFolder(const std::wstring& folder, int files) {
  for (int i = 0; i < files; ++i) DeleteFileW((folder + L"\\" + NameOf(i)).c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int files = argc > 1 ? _wtoi(argv[1]) : 20000;
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 5;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"tovo-list-bench-" + std::to_wstring(GetCurrentProcessId());
  if (!CreateDirectoryW(folder.c_str(), nullptr)) return 1;
  for (int i = 0; i < files; ++i) {
    tovo::UniqueFile f(CreateFileW((folder + L"\\" + NameOf(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  tovo::ProcessFolderGuard keep;
  Host host;
  tovo::TShellFileListBox list;
  list.SetFileType({FileAttr::ftReadOnly, FileAttr::ftHidden, FileAttr::ftDirectory,
                    FileAttr::ftArchive, FileAttr::ftNormal});
  list.Create(host.hwnd(), 1, RECT{0, 0, 264, 239}, nullptr, RGB(0, 0, 128));
  list.SetFolder(tovo::Narrow(folder));  // the first listing fills the icon cache

  size_t walked = 0;
  const Figures walk = Time(rounds, [&] { walked = BareWalk(folder); });
  const Figures reload = Time(rounds, [&] { list.Reload(); });
  std::printf("entries: walk %zu, list %d\n", walked - 2, list.Count());
  std::printf("bare walk: best %.1f ms, median %.1f ms\n", walk.best * 1e3, walk.median * 1e3);
  std::printf("Reload:    best %.1f ms, median %.1f ms\n", reload.best * 1e3, reload.median * 1e3);
  std::printf("ratio (median Reload / median walk): %.2f (target: at most 3)\n",
              reload.median / walk.median);
  RemoveFolder(folder, files);
  return 0;
}
