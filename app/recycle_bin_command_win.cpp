// The Recycle Bin command: every item of the current user's Recycle Bin on
// every fixed drive is listed on a worker (a drive may be slow to answer),
// named from its record in one consent box, then shredded, data and record
// alike, as one run of the shred command.
#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/form_vazo_win.h"
#include "app/recycle_bin.h"
#include "app/shred_command_win.h"
#include "platform/errors.h"
#include "platform/file_system_win.h"
#include "platform/handles_win.h"
#include "platform/messages_win.h"
#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "platform/wide_win.h"
#include "platform/worker_result_win.h"

namespace tovo {
namespace {

// No record the system writes comes near this: 28 bytes and a path of at
// most 32,767 characters.
constexpr DWORD kRecordBytesAtMost = 64 * 1024 + 28;

struct BinListing {
  std::vector<std::string> folders;  // the bin folders that were read
  std::vector<BinItem> items;
  std::exception_ptr error;
};

// The current user's SID as text ("S-1-5-21-…"): the name of the user's own
// folder in each drive's bin.
std::string CurrentUserSid() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) {
    throw IoError("open token", "", GetLastError());
  }
  const UniqueKernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<std::uint8_t> buffer(size);
  if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
    throw IoError("read token", "", GetLastError());
  }
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    throw IoError("read token", "", GetLastError());
  }
  const auto release = OnScopeExit([&] { LocalFree(text); });
  return Narrow(text);
}

// A real folder: a link may lead anywhere, and under Wine removing through
// one acts on its target.
bool IsPlainFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(ExtendedLengthPath(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::optional<std::string> OriginalPath(const std::string& recordPath) {
  const UniqueFile file(CreateFileW(Wide(ExtendedLengthPath(recordPath)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes(kRecordBytesAtMost, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), kRecordBytesAtMost, &read, nullptr)) return std::nullopt;
  bytes.resize(read);
  std::optional<DeletedItemRecord> record = ParseDeletedItemRecord(bytes);
  if (!record) return std::nullopt;
  return std::move(record->originalPath);
}

// The current user's bin on every fixed drive, in drive order. Other users'
// folders are never entered.
BinListing ListRecycleBin() {
  BinListing listing;
  const std::string sid = CurrentUserSid();
  for (const std::string& root : FixedDriveRoots()) {
    const std::string bin = JoinPath(root, kRecycleBinFolder);
    const std::string folder = JoinPath(bin, sid);
    if (!IsPlainFolder(bin) || !IsPlainFolder(folder)) continue;
    std::vector<std::string> names;
    const SystemCode code = ForEachEntry(JoinPath(folder, "*"), [&](const FolderEntry& entry) {
      if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
      return true;
    });
    if (code != 0 && code != ERROR_FILE_NOT_FOUND) throw IoError("list folder", folder, code);
    std::vector<BinItem> items = PairBinEntries(folder, names, OriginalPath);
    listing.items.insert(listing.items.end(), std::make_move_iterator(items.begin()),
                         std::make_move_iterator(items.end()));
    listing.folders.push_back(folder);
  }
  return listing;
}

// Explorer's view of the bin (its window, its full or empty icon) follows
// only when told.
void TellShellBinChanged(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders)
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, Wide(folder).c_str(), nullptr);
  PIDLIST_ABSOLUTE bin = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin))) {
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, bin, nullptr);
    CoTaskMemFree(bin);
  }
}

}  // namespace

void Tform_vazo::ShredRecycleBin() {
  // A run, a box or a listing under way holds the window.
  if (Busy() || !IsWindowEnabled(hwnd())) return;
  EnableWindow(hwnd(), FALSE);
  PostFromWorker(hwnd(), kRecycleBinListed, [] {
    auto listing = std::make_unique<BinListing>();
    try {
      *listing = ListRecycleBin();
    } catch (...) {
      listing->error = std::current_exception();
    }
    return listing;
  });
}

void Tform_vazo::RecycleBinListed(LPARAM result) {
  const std::unique_ptr<BinListing> listing = TakeWorkerResult<BinListing>(result);
  EnableWindow(hwnd(), TRUE);
  if (listing->error) std::rethrow_exception(listing->error);
  const HWND owner = hwnd();
  if (listing->items.empty()) {
    ShredCommandBox(owner, kRecycleBinEmptyText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  // Only a Yes goes on: a box that could not be shown is no consent.
  if (ShredCommandBox(owner, RecycleBinConsentText(listing->items),
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  ShredPaths(BinPaths(listing->items),
             [folders = std::move(listing->folders)] { TellShellBinChanged(folders); });
}

}  // namespace tovo
