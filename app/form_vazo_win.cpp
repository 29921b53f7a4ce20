#include "app/form_vazo_win.h"

#include <utility>

#include "announce/autoupdate_win.h"
#include "app/frm_about_win.h"
#include "app/shell_folders_win.h"
#include "forms/dpi_win.h"
#include "forms/form_builder_win.h"
#include "forms/mnemonic.h"
#include "forms/picture_ids.h"
#include "forms/scale.h"
#include "platform/messages_win.h"
#include "platform/system_error_win.h"
#include "platform/wide_win.h"

namespace tovo {

namespace {

namespace vazo = forms::vazo;

// Beside the form's own timers (small numbers).
constexpr UINT_PTR kAfterBoxTimer = 0x6162;  // "ab"

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

// At 96 DPI; scaled with the rest of the layout.
constexpr int kTreeIndent = 19;
constexpr int kListRowHeight = 18;

HICON LoadMainIcon(int metricX, int metricY, int dpi) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TOVO_IDI_MAIN),
                                       IMAGE_ICON, SystemMetricForDpi(metricX, dpi),
                                       SystemMetricForDpi(metricY, dpi), LR_SHARED));
}

// The caption's and the task bar's icons at the window's DPI.
void SetMainIcons(HWND window, int dpi) {
  SendMessageW(window, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadMainIcon(SM_CXICON, SM_CYICON, dpi)));
  SendMessageW(window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadMainIcon(SM_CXSMICON, SM_CYSMICON, dpi)));
}

}  // namespace

Tform_vazo::~Tform_vazo() {
  Destroy();
}

void Tform_vazo::Create() {
  const forms::Form& form = vazo::MainForm();
  // Placed by the system until Show centres it: only the size counts here.
  const RECT frame = CentredFrame(form, kStyle, kExStyle, ScreenArea(), SystemDpi());
  const HICON icon = LoadMainIcon(SM_CXICON, SM_CYICON, SystemDpi());
  const HWND h =
      Window::Create({.name = L"Tform_vazo",
                      .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      .icon = icon},
                     kExStyle, Wide(form.caption), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                     frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr);
  if (!h) throw SystemError("CreateWindowEx", "Tform_vazo", GetLastError());
  // Explorer drags through OLE drag-and-drop; programs that only post
  // WM_DROPFILES reach the window as well.
  DragAcceptFiles(h, TRUE);
  dropTarget_ = new FileDropTarget(
      h, [this](std::vector<std::string> paths) { QueueGivenPaths(std::move(paths)); });
  RegisterDragDrop(h, dropTarget_);
  SetMainIcons(h, dpi_);
}

void Tform_vazo::Show() {
  if (!shown_) {
    RECT r;
    GetWindowRect(hwnd(), &r);
    const POINT origin = CentredIn({r.right - r.left, r.bottom - r.top}, ScreenArea());
    SetWindowPos(hwnd(), nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shown_ = true;
  }
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
}

HWND Tform_vazo::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void Tform_vazo::BuildControls() {
  dpi_ = WindowDpi(hwnd());
  windowFont_ = CreateFormFont(vazo::MainForm().font, dpi_);
  tooltips_.Create(hwnd());
  controls_ = BuildForm(vazo::MainForm(), hwnd(),
                        [this](const forms::Control& control, HWND parent, const RECT& rect) {
                          return CreateControl(control, parent, rect);
                        });
  BindWidgets();
}

// The window moved to a monitor of another DPI (or the DPI changed): the
// layout, fonts, pictures and rows are made anew for it.
void Tform_vazo::DpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetMainIcons(hwnd(), dpi);
  UniqueFont font = CreateFormFont(vazo::MainForm().font, dpi);
  RelayoutForm(vazo::MainForm(), hwnd(), controls_, suggested, dpi);
  for (const HWND child : {Control(vazo::kDirectoryListBox1), Control(vazo::kFileListBox)})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  for (auto& [id, button] : buttons_) {
    SendMessageW(button->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    button->SetDpi(dpi);
  }
  windowFont_ = std::move(font);  // no control uses the old one now
  for (auto& [id, label] : labels_) label->SetDpi(dpi);
  for (auto& picture : pictures_) picture->SetDpi(dpi);
  tree_->SetIndent(forms::Scaled(kTreeIndent, dpi));
  fileList_->SetDpi(dpi);
  fileList_->SetItemHeight(forms::Scaled(kListRowHeight, dpi));
  if (strip_) strip_->PlaceLabels();
}

HWND Tform_vazo::CreateControl(const forms::Control& control, HWND parent, const RECT& rect) {
  switch (control.kind) {
    case forms::Kind::Picture: {
      auto& picture = pictures_.emplace_back(std::make_unique<Picture>());
      picture->Create(parent, control.id, rect, control.resource,
                      BackgroundOf(vazo::MainForm(), control),
                      (control.look & forms::kAutoSize) != 0);
      return picture->hwnd();
    }
    case forms::Kind::Label:
    case forms::Kind::LinkLabel: return CreateLabel(control, parent, rect);
    case forms::Kind::Button:
    case forms::Kind::FlatButton: return CreateButton(control, parent, rect);
    case forms::Kind::Panel: {
      auto& panel = panels_[control.id] = std::make_unique<Panel>();
      panel->Create(parent, control.id, rect,
                    {.background = BackgroundOf(vazo::MainForm(), control),
                     .raisedInner = (control.look & forms::kRaisedInner) != 0,
                     .loweredOuter = (control.look & forms::kLoweredOuter) != 0});
      return panel->hwnd();
    }
    case forms::Kind::DirectoryTree: return CreateDirectoryTree(control, parent, rect);
    case forms::Kind::FileList: return CreateFileList(control, parent, rect);
    case forms::Kind::Line:
    case forms::Kind::Rectangle:
    case forms::Kind::ProgressBar: break;  // the main window has no shapes or bars
  }
  return nullptr;
}

HWND Tform_vazo::CreateLabel(const forms::Control& control, HWND parent, const RECT& rect) {
  const forms::Font font = FontOf(vazo::MainForm(), control);
  auto& label = labels_[control.id] = std::make_unique<Label>();
  label->Create(parent, control.id, rect, std::string(control.caption),
                {.face = std::string(font.face),
                 .height = font.height,
                 .bold = font.bold,
                 .charset = font.charset,
                 .textColour = ToColorRef(font.colour),
                 .background = BackgroundOf(vazo::MainForm(), control),
                 .wordWrap = (control.look & forms::kWordWrap) != 0,
                 .autoSize = (control.look & forms::kAutoSize) != 0,
                 .handCursor = control.kind == forms::Kind::LinkLabel,
                 .dpi = dpi_});
  label->SetHint(std::string(control.hint));
  if (control.id == vazo::kLAd1 || control.id == vazo::kLAd2) {
    label->SetOnClick([this](Label& l) { l_ad1Click(l); });
    label->SetOnMouseEnter([this](Label& l) { l_ad1MouseEnter(l); });
    label->SetOnMouseLeave([this](Label& l) { l_ad1MouseLeave(l); });
  }
  return label->hwnd();
}

HWND Tform_vazo::CreateButton(const forms::Control& control, HWND parent, const RECT& rect) {
  auto& button = buttons_[control.id] = std::make_unique<FlatButton>();
  button->Create(parent, control.id, rect, std::string(control.caption), windowFont_.get(),
                 control.resource);
  button->SetOnClick(ClickHandler(control.id));
  // Buttons show their hints; labels only store theirs (the strip's links).
  if (!control.hint.empty()) tooltips_.Add(button->hwnd(), std::string(control.hint));
  return button->hwnd();
}

// The one place where the drive tree is made.
HWND Tform_vazo::CreateDirectoryTree(const forms::Control& control, HWND parent, const RECT& rect) {
  tree_ = std::make_unique<DirectoryTreeWidget>();
  // Drives whose kind cannot be determined are not shown.
  tree_->SetDriveTypes({dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM});
  tree_->SetRightClickSelect(true);
  tree_->OnContextPopup = [this](POINT at) { TreePopup(at); };
  tree_->Create(parent, control.id, rect, windowFont_.get(),
                ToColorRef(FontOf(vazo::MainForm(), control).colour));
  tree_->SetIndent(forms::Scaled(kTreeIndent, dpi_));
  return tree_->hwnd();
}

// The one place where the file list is made.
HWND Tform_vazo::CreateFileList(const forms::Control& control, HWND parent, const RECT& rect) {
  fileList_ = std::make_unique<FileListWidget>();
  // Sub-folders beside the files; hidden entries shown, system ones never.
  fileList_->SetFileType({FileAttr::ftReadOnly, FileAttr::ftHidden, FileAttr::ftDirectory,
                          FileAttr::ftArchive, FileAttr::ftNormal});
  fileList_->Create(parent, control.id, rect, windowFont_.get(),
                    ToColorRef(FontOf(vazo::MainForm(), control).colour));
  fileList_->SetDpi(dpi_);
  fileList_->SetItemHeight(forms::Scaled(kListRowHeight, dpi_));
  return fileList_->hwnd();
}

// Connects the tree to the list once both exist; the list then shows the
// folder the tree selected at its creation.
void Tform_vazo::BindWidgets() {
  tree_->SetFileList(fileList_.get());
}

std::function<void()> Tform_vazo::ClickHandler(int id) {
  switch (id) {
    case vazo::kSpeedButton1: return [this] { SpeedButton1Click(); };
    case vazo::kSpeedButton2: return [this] { SpeedButton2Click(); };
    case vazo::kSpeedButton3: return [this] { SpeedButton3Click(); };
    case vazo::kButton1: return [this] { Button1Click(); };
    case vazo::kButton2: return [this] { Button2Click(); };
    default: return {};
  }
}

void Tform_vazo::FormCreate() {
  // The skin engine is not part of this program: the window keeps the
  // system's plain look.
  strip_ = std::make_unique<AnnouncementStrip>(
      hwnd(), *labels_.at(vazo::kLAd1), *labels_.at(vazo::kLAd2),
      AnnouncementTimers{vazo::kTimerAd, vazo::MainTimer(vazo::kTimerAd).intervalMs,
                         vazo::kTimerAd2, vazo::MainTimer(vazo::kTimerAd2).intervalMs});
  StartAutoupdate(hwnd(), "Ruzidudu", "1.0");
  ExtendSystemMenu();
  StartFillCleanup();
}

// Lines that arrive from now on are dropped; nothing waits for the worker.
void Tform_vazo::FormClose() {
  if (strip_) strip_->Release();
}

// Posted, not sent: the button that was clicked is still inside its own
// message handling and must not be destroyed under it.
void Tform_vazo::Button2Click() {
  PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void Tform_vazo::SpeedButton1Click() {
  DirectoryListBox1().OpenFolder(GetShellFolderPath("desktop"));
}

void Tform_vazo::SpeedButton2Click() {
  DirectoryListBox1().OpenFolder(GetShellFolderPath("personal"));
}

void Tform_vazo::SpeedButton3Click() {
  ShowAboutWindow(hwnd());
}

void Tform_vazo::Timer_adTimer() {
  if (strip_) strip_->Tick(AnnouncementTimer::Rotation);
}

void Tform_vazo::Timer_ad2Timer() {
  if (strip_) strip_->Tick(AnnouncementTimer::Scroll);
}

void Tform_vazo::l_ad1Click(Label& sender) {
  if (strip_) strip_->Click(sender);
}

void Tform_vazo::l_ad1MouseEnter(Label& sender) {
  if (strip_) strip_->MouseEnter(sender);
}

void Tform_vazo::l_ad1MouseLeave(Label& sender) {
  if (strip_) strip_->MouseLeave(sender);
}

// Like a dialog: the focus goes back to the control that had it when the
// window was last deactivated, at first to the tree (tab order 0).
void Tform_vazo::Activated(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
    return;
  }
  const HWND target =
      lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : Control(vazo::kDirectoryListBox1);
  if (target) SetFocus(target);
}

// The dialog manager's Tab handling sends WM_NEXTDLGCTL, which only a dialog's
// own procedure would understand.
void Tform_vazo::NextControl(WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    target = GetNextDlgTabItem(hwnd(), GetFocus(), wParam != 0);
  }
  if (target && IsWindowEnabled(target)) SetFocus(target);
}

bool Tform_vazo::RunLong(LongRunSpec spec) {
  if (Busy() || !hwnd()) return false;
  closeAfterRun_ = false;
  longRun_ = std::make_unique<LongRun>(hwnd(), kLongRunEnded, ++runNumber_, std::move(spec));
  return true;
}

void Tform_vazo::LongRunEnded(WPARAM id) {
  if (!longRun_ || id != runNumber_) return;  // a repeated or late post
  LongRunEnd end = longRun_->Join();
  const std::function<void(const LongRunEnd&)> done = longRun_->TakeDone();
  longRun_.reset();  // the progress window closes, this window is enabled
  end.closing = closeAfterRun_;
  if (closeAfterRun_) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
  if (done) done(end);
}

void Tform_vazo::AfterBoxShown(std::function<void()> task) {
  afterBox_ = std::move(task);
  SetTimer(hwnd(), kAfterBoxTimer, USER_TIMER_MINIMUM, nullptr);
}

bool Tform_vazo::MayCloseNow() {
  if (!Busy()) return true;
  closeAfterRun_ = true;
  longRun_->Stop();
  return false;
}

bool Tform_vazo::PreTranslate(const MSG& msg) {
  if (longRun_) {
    // Esc stops the run wherever the program has the keyboard; the progress
    // window takes Tab and Enter as a dialog does.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      longRun_->Stop();
      return true;
    }
    const HWND progress = longRun_->ProgressWindow();
    if (progress && (msg.hwnd == progress || IsChild(progress, msg.hwnd))) {
      MSG copy = msg;
      return IsDialogMessageW(progress, &copy) != FALSE;
    }
  }
  if (msg.message != WM_CHAR || !hwnd() || !IsWindowEnabled(hwnd())) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  if ((GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) & 0x8000) return false;
  // As in a dialog: a control that takes typed characters (the tree's and the
  // list's type-ahead, an edit) keeps them, so typing never presses a button.
  if (SendMessageW(msg.hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_HASSETSEL)) return false;
  const std::optional<int> button = MnemonicButton(static_cast<wchar_t>(msg.wParam));
  if (!button) return false;
  SendMessageW(Control(*button), BM_CLICK, 0, 0);
  return true;
}

std::optional<int> Tform_vazo::MnemonicButton(wchar_t key) const {
  for (const auto& [id, button] : buttons_) {
    const HWND h = button->hwnd();
    if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (forms::MatchesMnemonic(vazo::MainControl(id).caption, key)) return id;
  }
  return std::nullopt;
}

std::optional<LRESULT> Tform_vazo::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      BuildControls();
      FormCreate();
      return 0;
    case WM_ACTIVATE: Activated(wParam); return 0;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_NEXTDLGCTL: NextControl(wParam, lParam); return 0;
    case WM_SYSCOMMAND:
      if (SystemMenuCommand(wParam)) return 0;
      return std::nullopt;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam)) SystemMenuOpening(reinterpret_cast<HMENU>(wParam));
      return std::nullopt;
    case WM_TIMER:
      if (wParam == vazo::kTimerAd) Timer_adTimer();
      if (wParam == vazo::kTimerAd2) Timer_ad2Timer();
      if (wParam == kStartsDueTimer) ServeStarts();
      if (wParam == kAfterBoxTimer) {
        KillTimer(hwnd(), kAfterBoxTimer);
        if (const auto task = std::exchange(afterBox_, {})) task();
      }
      return 0;
    case WM_DROPFILES: FormDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case kServeStarts: ServeStarts(); return 0;
    case WM_COPYDATA:
      return StartHandedOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case kOutsidePathsSorted: OutsidePathsSorted(lParam); return 0;
    case WM_ENABLE:
      if (wParam) PostMessageW(hwnd(), kServeStarts, 0, 0);
      if (wParam) PostMessageW(hwnd(), kFillCleanupEnded, 0, 0);
      return 0;
    case kRecycleBinListed: RecycleBinListed(lParam); return 0;
    case kFillCleanupEnded: FillCleanupEnded(); return 0;
    case kAnnouncementsArrived:
      if (strip_) strip_->LinesArrived(lParam);
      return 0;
    case kLongRunEnded: LongRunEnded(wParam); return 0;
    case WM_CLOSE:
      if (!MayCloseNow()) return 0;
      FormClose();
      return std::nullopt;  // the default destroys the window
    case WM_QUERYENDSESSION:
      MayCloseNow();  // the session may end: the run stops now
      return TRUE;
    case WM_ENDSESSION:
      // The process ends when this returns: the run is stopped and waited
      // for, so that no file is left between two steps.
      if (wParam && longRun_) {
        longRun_->Stop();
        longRun_->Join();
        longRun_.reset();
        if (closeAfterRun_) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_DESTROY:
      longRun_.reset();  // stops and waits, should the window go another way
      if (dropTarget_) {
        RevokeDragDrop(hwnd());
        std::exchange(dropTarget_, nullptr)->Release();
      }
      PostQuitMessage(0);
      return 0;
    default: return std::nullopt;
  }
}

}  // namespace tovo
