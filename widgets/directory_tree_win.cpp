#include "widgets/directory_tree_win.h"

#include <shlwapi.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/dc_win.h"
#include "platform/error_handler_win.h"
#include "platform/messages_win.h"
#include "platform/wide_win.h"
#include "widgets/directory_tree_provider_win.h"

namespace tovo {
namespace {

// Watches on the bound list's and label's windows, to learn when they go.
constexpr UINT_PTR kListWatchId = 0x7472656C;
constexpr UINT_PTR kLabelWatchId = 0x74726562;
constexpr UINT_PTR kFollowTimer = 0x7466;  // "tf"; the view's own timers are small numbers
// The tree shows folders only.
constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_DIR_NAME;

// A parent whose window procedure the trees replaced, and the trees it
// serves. A plain swap of the procedure, not SetWindowSubclass: under Wine 8
// every message through a subclass chain costs window-property lookups in
// the wine server, and the parent gets a message for every entry of an
// owner-drawn list that empties (WM_DELETEITEM), thousands per re-read.
struct ParentHook {
  HWND parent;
  WNDPROC previous;
  std::vector<TDirectoryTree*> trees;
};

// Window thread only, as the windows are.
std::vector<ParentHook>& ParentHooks() {
  static std::vector<ParentHook> hooks;
  return hooks;
}

std::vector<ParentHook>::iterator FindHook(HWND parent) {
  return std::find_if(ParentHooks().begin(), ParentHooks().end(),
                      [parent](const ParentHook& hook) { return hook.parent == parent; });
}

// Puts the parent's own procedure back where nothing replaced ours since.
void Unhook(std::vector<ParentHook>::iterator hook, WNDPROC ours) {
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hook->parent, GWLP_WNDPROC)) != ours) return;
  SetWindowLongPtrW(hook->parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
  ParentHooks().erase(hook);
}

}  // namespace

TDirectoryTree::TDirectoryTree()
    : ownProvider_(std::make_unique<Win32DriveProvider>()), model_(*ownProvider_) {}

TDirectoryTree::TDirectoryTree(DriveProvider& provider) : model_(provider) {}

TDirectoryTree::~TDirectoryTree() {
  if (hwnd()) DestroyWindow(hwnd());
  UnhookParent();
  SetFileList(nullptr);
  SetDirLabel(nullptr);
}

void TDirectoryTree::Watch(HWND window, UINT_PTR id, bool on) {
  if (!window) return;
  if (on) {
    SetWindowSubclass(window, &TDirectoryTree::WatchProc, id, reinterpret_cast<DWORD_PTR>(this));
  } else {
    RemoveWindowSubclass(window, &TDirectoryTree::WatchProc, id);
  }
}

LRESULT CALLBACK TDirectoryTree::WatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) {
  if (msg == WM_NCDESTROY) {
    auto* self = reinterpret_cast<TDirectoryTree*>(data);
    RemoveWindowSubclass(hwnd, &TDirectoryTree::WatchProc, id);
    if (id == kListWatchId) {
      // The list object may be going with its window: it is not touched.
      self->fileList_ = nullptr;
      self->fileListWindow_ = nullptr;
      self->model_.SetFileList(nullptr);
    } else {
      self->dirLabel_ = nullptr;
    }
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TDirectoryTree::Create(HWND parent, int id, RECT bounds, HFONT font, COLORREF textColour) {
  const HWND view = CreateView(parent, id, bounds, model_.Nodes());
  watch_ = std::make_unique<FolderWatch>(view, kFolderChanged, kWatchedChanges);
  SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(view, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(textColour));
  // The shell's list is shared by the whole process and never destroyed here.
  SendMessageW(view, TVM_SETIMAGELIST, TVSIL_NORMAL,
               reinterpret_cast<LPARAM>(SystemSmallImageList()));
  HookParent(GetAncestor(parent, GA_ROOT));  // device changes reach top-level windows only
  model_.SetHost(this);
  model_.SetLive(true);
  model_.LoadSystemImages();
  model_.BuildDriveLevel();
  DriveProvider& provider = model_.Provider();
  OpenFolder(openCurrentDir_ ? provider.CurrentFolder() : CurrentDriveRoot(provider));
}

void TDirectoryTree::OpenFolder(const std::string& path) {
  model_.OpenFolder(path);
}

void TDirectoryTree::SetFileList(TShellFileListBox* list) {
  if (fileList_) fileList_->SetTree(nullptr);
  Watch(fileListWindow_, kListWatchId, false);
  fileList_ = list;
  fileListWindow_ = list ? list->hwnd() : nullptr;
  Watch(fileListWindow_, kListWatchId, true);
  if (list) list->SetTree(this);
  model_.SetFileList(list ? &listTarget_ : nullptr);
  // A list bound after the start-up selection still shows the tree's folder.
  const std::string folder = SelectedFolder();
  if (list && !folder.empty()) list->SetFolder(folder);
}

void TDirectoryTree::ListTarget::SetFolder(const std::string& path) {
  if (tree_.fileList_) tree_.fileList_->SetFolder(path);
}

void TDirectoryTree::SetDirLabel(HWND label) {
  Watch(dirLabel_, kLabelWatchId, false);
  dirLabel_ = label;
  Watch(dirLabel_, kLabelWatchId, true);
  UpdateDirLabel(SelectedFolder());
}

std::optional<LRESULT> TDirectoryTree::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY: WindowGoing(); break;
    case kTreeDeferred: RunDeferred(); return 0;
    case kFolderChanged: FolderChanged(wParam, lParam); return 0;
    case WM_TIMER:
      if (wParam != kFollowTimer) break;
      FollowChanges();
      return 0;
    case kReflect + WM_NOTIFY: {
      const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
      // The user's own selections and expansions move the watch too.
      if (code == TVN_SELCHANGEDW || code == TVN_ITEMEXPANDEDW) Rewatch();
      break;
    }
    default: break;
  }
  return TTreeViewBase::OnMessage(msg, wParam, lParam);
}

void TDirectoryTree::WindowGoing() {
  watch_.reset();
  deferred_.clear();
  UnhookParent();
  model_.SetLive(false);
  ForgetView();
  model_.ClearNodes();
}

bool TDirectoryTree::ExpandRequest(TreeNode& node) {
  return model_.ExpandRequest(node);
}

void TDirectoryTree::Clicked() {
  model_.Click();
}

void TDirectoryTree::BeginWait() {
  if (waits_++ == 0) cursor_.emplace();
}

void TDirectoryTree::EndWait() {
  if (waits_ > 0 && --waits_ == 0) cursor_.reset();
}

void TDirectoryTree::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TDirectoryTree::UpdateDirLabel(const std::string& folder) {
  if (!dirLabel_) return;
  // Shortened by the shell's rule: the drive, "...", and as many trailing
  // components as fit the label's width in the label's font.
  const std::wstring wide = Wide(folder);
  std::vector<wchar_t> text(std::max<size_t>(MAX_PATH, wide.size() + 1), L'\0');
  std::copy(wide.begin(), wide.end(), text.begin());
  RECT client = {};
  GetClientRect(dirLabel_, &client);
  {
    const WindowDC dc(dirLabel_);
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(dirLabel_, WM_GETFONT, 0, 0));
    const SelectObjectGuard use(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    PathCompactPathW(dc.get(), text.data(), static_cast<UINT>(client.right - client.left));
  }
  SetWindowTextW(dirLabel_, text.data());
}

void TDirectoryTree::Repaint() {
  if (hwnd()) UpdateWindow(hwnd());
}

void TDirectoryTree::Defer(std::function<void()> task) {
  deferred_.push_back(std::move(task));
  if (!deferredPosted_ && hwnd()) deferredPosted_ = PostMessageW(hwnd(), kTreeDeferred, 0, 0);
}

void TDirectoryTree::RunDeferred() {
  deferredPosted_ = false;
  for (const auto& task : std::exchange(deferred_, {})) task();
  if (!std::exchange(rewatch_, false) || !watch_) return;
  watch_->Watch(model_.WatchedFolders());
}

// The watched folders are worked out once the changes of the moment are
// over, not for every node an expansion adds or removes.
void TDirectoryTree::Rewatch() {
  if (rewatch_) return;
  rewatch_ = true;
  Defer([] {});
}

void TDirectoryTree::Selected(TreeNode* node) {
  TTreeViewBase::Selected(node);
  Rewatch();
}

void TDirectoryTree::ExpandedChanged(TreeNode& node) {
  TTreeViewBase::ExpandedChanged(node);
  Rewatch();
}

void TDirectoryTree::Removing(TreeNode& node) {
  TTreeViewBase::Removing(node);
  Rewatch();
}

void TDirectoryTree::FolderChanged(WPARAM wParam, LPARAM lParam) {
  const std::optional<std::string> folder = watch_ ? watch_->Changed(wParam, lParam) : std::nullopt;
  if (!folder) return;
  if (std::find(changed_.begin(), changed_.end(), *folder) == changed_.end()) {
    changed_.push_back(*folder);
  }
  if (const auto delay = schedule_.Changed(GetTickCount64())) {
    SetTimer(hwnd(), kFollowTimer, static_cast<UINT>(*delay), nullptr);
  }
}

void TDirectoryTree::FollowChanges() {
  KillTimer(hwnd(), kFollowTimer);
  if (!schedule_.Due(GetTickCount64())) return;
  for (const std::string& folder : std::exchange(changed_, {})) model_.Follow(folder);
}

void TDirectoryTree::HookParent(HWND parent) {
  UnhookParent();
  if (!parent) return;
  auto hook = FindHook(parent);
  if (hook == ParentHooks().end()) {
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentProc)));
    if (!previous) return;
    hook = ParentHooks().insert(ParentHooks().end(), ParentHook{parent, previous, {}});
  }
  hook->trees.push_back(this);
  hookedParent_ = parent;
}

void TDirectoryTree::UnhookParent() {
  if (!hookedParent_) return;
  const auto hook = FindHook(std::exchange(hookedParent_, nullptr));
  if (hook == ParentHooks().end()) return;
  std::erase(hook->trees, this);
  // A procedure put in after ours keeps calling it: the hook then stays and
  // passes every message on.
  if (hook->trees.empty()) Unhook(hook, &ParentProc);
}

LRESULT CALLBACK TDirectoryTree::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto hook = FindHook(hwnd);
  if (hook == ParentHooks().end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  const WNDPROC previous = hook->previous;
  if (msg == WM_DEVICECHANGE && !hook->trees.empty()) {
    // Whatever the event: the drive level follows the present drives. The
    // parent's own procedure does not see the message.
    for (TDirectoryTree* tree : std::vector<TDirectoryTree*>(hook->trees)) {
      try {
        tree->model_.DeviceChanged();
      } catch (...) {
        ReportException(std::current_exception());
      }
    }
    return 0;
  }
  if (msg == WM_NCDESTROY) {  // the window's last message: its handle may come back
    for (TDirectoryTree* tree : hook->trees) tree->hookedParent_ = nullptr;
    ParentHooks().erase(hook);
  }
  return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

}  // namespace tovo
