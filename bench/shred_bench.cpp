// Times the shredding engine on files prepared by bench/shred_bench.sh.
//
//   shred_bench.exe file PATH REQUEST [plain]      ShredFile with REQUEST-byte
//                                                  writes
//   shred_bench.exe overwrite PATH REQUEST         the same without the delete
//   shred_bench.exe tree FOLDER [WORKERS] [plain]  a whole tree; WORKERS 0 is
//                                                  the sequential engine
//                                                  (default 4)
//   shred_bench.exe steps FOLDER WORKERS [plain]   the same, also printing the
//                                                  time spent in each
//                                                  file-system call, summed
//                                                  over the threads
//
// plain: without first hiding sizes, times and names.
//
// Prints "seconds=S" (the engine's own time, without Wine's start-up) and
// "peak_kib=K" (the process's peak working set), and exits 1 when
// anything was not destroyed.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "platform/wide_win.h"
#include "shred/folder_shredder.h"
#include "shred/windows_file_system_win.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Report(double start, std::size_t failures) {
  std::printf("seconds=%.3f\n", Now() - start);
  PROCESS_MEMORY_COUNTERS memory{};
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    std::printf("peak_kib=%lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
  if (failures) std::printf("not destroyed: %zu\n", failures);
  return failures ? 1 : 0;
}

std::size_t ShredTree(tovo::FileSystem& fs, const std::string& folder, unsigned workers,
                      bool plain) {
  tovo::ShredOptions options;
  options.concealMetadata = !plain;
  tovo::PipelineOptions pipeline;
  pipeline.workers = workers;
  return tovo::ShredFolderTreeWith(fs, tovo::ProcessRandomGenerator(), folder, nullptr, options,
                                   pipeline)
      .size();
}

// The real file system with a stopwatch on every call.
// Hiding the size, times and name are timed one by one; a file marked for
// deletion goes in its "close".
enum Step {
  kAttributes,
  kOpen,
  kWrite,
  kFlush,
  kTruncate,
  kTimes,
  kRename,
  kClose,
  kDelete,
  kWalk,
  kSteps
};
const char* const kStepNames[kSteps] = {"attributes", "open",   "write", "flush",  "truncate",
                                        "times",      "rename", "close", "delete", "walk"};
std::atomic<double> g_spent[kSteps];

template <typename Call>
auto Timed(Step step, Call call) {
  const double start = Now();
  auto result = call();
  double spent = g_spent[step].load();
  while (!g_spent[step].compare_exchange_weak(spent, spent + Now() - start)) {
  }
  return result;
}

class TimedFile final : public tovo::OpenFile {
 public:
  explicit TimedFile(std::unique_ptr<tovo::OpenFile> file) : file_(std::move(file)) {}
  tovo::SystemCode Length(std::uint64_t& n) override {
    return Timed(kWrite, [&] { return file_->Length(n); });
  }
  tovo::SystemCode Rewind() override {
    return Timed(kWrite, [&] { return file_->Rewind(); });
  }
  tovo::SystemCode Write(const std::uint8_t* data, std::size_t size, std::size_t& done) override {
    return Timed(kWrite, [&] { return file_->Write(data, size, done); });
  }
  tovo::SystemCode Flush() override {
    return Timed(kFlush, [&] { return file_->Flush(); });
  }
  tovo::SystemCode Truncate() override {
    return Timed(kTruncate, [&] { return file_->Truncate(); });
  }
  tovo::SystemCode SetTimes(tovo::FileTime time) override {
    return Timed(kTimes, [&] { return file_->SetTimes(time); });
  }
  tovo::SystemCode Rename(const std::string& newPath) override {
    return Timed(kRename, [&] { return file_->Rename(newPath); });
  }
  tovo::SystemCode MarkForDelete() override {
    return Timed(kDelete, [&] { return file_->MarkForDelete(); });
  }
  tovo::SystemCode Close() override {
    return Timed(kClose, [&] { return file_->Close(); });
  }

 private:
  std::unique_ptr<tovo::OpenFile> file_;
};

class TimedFileSystem final : public tovo::FileSystem {
 public:
  using Code = tovo::SystemCode;
  Code ReadAttributes(const std::string& p, std::uint32_t& a) override {
    return Timed(kAttributes, [&] { return fs_.ReadAttributes(p, a); });
  }
  Code WriteAttributes(const std::string& p, std::uint32_t a) override {
    return Timed(kAttributes, [&] { return fs_.WriteAttributes(p, a); });
  }
  Code ReadSize(const std::string& p, std::uint64_t& size) override {
    return Timed(kAttributes, [&] { return fs_.ReadSize(p, size); });
  }
  Code OpenExclusive(const std::string& p, std::unique_ptr<tovo::OpenFile>& file) override {
    std::unique_ptr<tovo::OpenFile> raw;
    const Code code = Timed(kOpen, [&] { return fs_.OpenExclusive(p, raw); });
    if (raw) file = std::make_unique<TimedFile>(std::move(raw));
    return code;
  }
  Code RemoveFile(const std::string& p) override {
    return Timed(kDelete, [&] { return fs_.RemoveFile(p); });
  }
  Code RemoveFolder(const std::string& p) override {
    return Timed(kWalk, [&] { return fs_.RemoveFolder(p); });
  }
  Code Rename(const std::string& p, const std::string& newPath) override {
    return Timed(kRename, [&] { return fs_.Rename(p, newPath); });
  }
  // The visits are not timed: they are the engine's own work.
  Code Search(const std::string& pattern,
              const std::function<void(const tovo::FolderEntry&)>& visit) override {
    return fs_.Search(pattern, visit);
  }
  std::string CurrentFolder() override { return fs_.CurrentFolder(); }
  Code EnterFolder(const std::string& p) override {
    return Timed(kWalk, [&] { return fs_.EnterFolder(p); });
  }
  bool CanRemoveFolderLinks() const override { return fs_.CanRemoveFolderLinks(); }

 private:
  tovo::FileSystem& fs_ = tovo::SystemFileSystem();
};

void PrintSteps() {
  for (int step = 0; step < kSteps; ++step)
    std::printf("step_%s_ms=%.0f\n", kStepNames[step], g_spent[step].load() * 1000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 2 ? argv[1] : L"";
  const bool plain = std::wstring(argv[argc - 1]) == L"plain";
  const int args = argc - plain;
  if ((mode == L"file" && args == 4) || (mode == L"overwrite" && argc == 4)) {
    const tovo::ShredOptions options{std::stoul(argv[3]), mode == L"file", !plain};
    const double start = Now();
    const tovo::ShredOutcome outcome = tovo::ShredFileWith(
        tovo::SystemFileSystem(), tovo::ProcessRandomGenerator(), tovo::Narrow(argv[2]), options);
    return Report(start, outcome.destroyed() ? 0 : 1);
  }
  if ((mode == L"tree" && (args == 3 || args == 4)) || (mode == L"steps" && args == 4)) {
    const unsigned workers = args == 4 ? static_cast<unsigned>(std::stoul(argv[3])) : 4;
    const std::string folder = tovo::Narrow(argv[2]);
    TimedFileSystem timed;
    tovo::FileSystem& fs =
        mode == L"steps" ? static_cast<tovo::FileSystem&>(timed) : tovo::SystemFileSystem();
    const double start = Now();
    const std::size_t failures = ShredTree(fs, folder, workers, plain);
    if (mode == L"steps") PrintSteps();
    return Report(start, failures);
  }
  std::fputs(
      "usage: shred_bench file PATH REQUEST [plain] | overwrite PATH REQUEST |"
      " tree FOLDER [WORKERS] [plain] | steps FOLDER WORKERS [plain]\n",
      stderr);
  return 2;
}
