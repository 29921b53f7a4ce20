// Tform_vazo: the main window. It builds its controls from the form table in
// forms/main_form.h, holds the announcement strip (which owns the lines and
// switches the two strip timers) and runs the handlers of its buttons.
//
// Plugging in: the browsing widgets are created in one function each
// (CreateDirectoryTree, CreateFileList in form_vazo_win.cpp) behind the two
// aliases below.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "announce/announce_strip_win.h"
#include "app/file_drop_target_win.h"
#include "app/long_run_win.h"
#include "app/start_requests.h"
#include "controls/controls_win.h"
#include "controls/label_win.h"
#include "controls/panel_win.h"
#include "forms/main_form.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"
#include "widgets/directory_tree_win.h"
#include "widgets/file_list_box_win.h"

namespace tovo {

class FillCleanup;

using DirectoryTreeWidget = TDirectoryTree;
using FileListWidget = TShellFileListBox;

// The folder watches of both views, quiet while this lives: a long run's
// steps are not re-read one by one, and no watch holds a folder open that
// the run removes.
struct QuietViews {
  FolderWatch::Suspension list;
  FolderWatch::Suspension tree;
};

class Tform_vazo : public Window {
 public:
  Tform_vazo() = default;
  ~Tform_vazo() override;

  // Creates the window hidden, with all its controls, and runs FormCreate.
  void Create();

  // Shows the window; the first time centred on the screen.
  void Show();

  // The child window of a control of the form table; null for an unknown id.
  HWND Control(int id) const;

  DirectoryTreeWidget& DirectoryListBox1() { return *tree_; }
  FileListWidget& FileListBox() { return *fileList_; }

  // Plain letters (no Alt or Ctrl) typed where no control takes characters
  // press the button whose caption marks that letter with "&", as Alt+letter
  // does. True when `msg` was such a letter and a button took it.
  bool PreTranslate(const MSG& msg);

  // The form's event handlers.
  void FormCreate();
  void FormClose();
  // Nothing selected: says so. No to the confirmation: nothing happens. Yes:
  // every selected path (the list's folder + the entry's exact text, in list
  // order) is shredded as a file or a folder tree, whichever it is at that
  // moment, with the folder watches suspended, as a long run beside the live
  // window (counted first, then shredded; it can be stopped); then the tree
  // drops the nodes of the folders destroyed, the list is re-read and the
  // completion box, a warning naming what was not destroyed, or after a stop
  // the counts of what was destroyed and left, is shown. A folder that cannot
  // be entered ends the command: the list is re-read all the same and the
  // IoError goes on to the general error handler.
  void Button1Click();
  // Destroys `paths` (full paths, files or folder trees) as Button1Click does
  // after its Yes: the caller has asked for consent. Also the way in for
  // paths that come from outside the program. Returns at once: the run goes
  // on beside the live window (RunLong) and ends with the final box. Does
  // nothing while another run is under way (Busy). `afterRun`, when given,
  // runs on the window thread once the run has ended, however it ended,
  // before the final box.
  void ShredPaths(const std::vector<std::string>& paths, std::function<void()> afterRun = {});
  // Paths from outside (the command line, a drop): what does not exist or
  // must never be shredded is named in one warning and left out; the rest is
  // shredded with ShredPaths after its own consent box. Returns at once: the
  // file system is asked on a worker while the window is disabled, and the
  // boxes come when its answer arrives.
  void ShredFromOutside(const std::vector<GivenPath>& given);
  // Keeps what the program was started with (paths or a switch) and serves
  // it once the message loop runs; relative paths are taken from
  // `startFolder`, the folder the program was started in.
  void OfferStart(std::string startFolder, const std::vector<std::string>& arguments);
  // Files dropped on the window as WM_DROPFILES; refused while the window is
  // disabled.
  void FormDropFiles(HDROP drop);

  // The menu of the tree's selected node at the screen point `at`: on a
  // drive node, the free-space wipe, offered where CanWipeDriveType allows it
  // and the drive is ready, greyed otherwise. Folders have no menu.
  void TreePopup(POINT at);
  // The system menu's own items: turns the Explorer menu entries on or off,
  // and shreds what the current user's Recycle Bin holds after consent.
  void ToggleExplorerMenu();
  void ShredRecycleBin();
  // Asks for consent naming the drive, its free space and a rough time, then
  // wipes the free space of the drive whose root is `root` as a long run;
  // the final box says how much was overwritten, how long it took and
  // whether it was stopped. Does nothing while another run is under way.
  void WipeFreeSpaceOf(const std::string& root);

  // Long work beside the live window: shows the progress window, disables
  // this one and runs `spec.work` on a worker thread; `spec.done` runs here
  // once it has ended. A stop button, Esc or a close request stops it; after
  // a close request the window closes once the run has ended (`done` is told
  // `closing`, and shows no box then). False, and nothing runs, while another
  // run is under way.
  bool RunLong(LongRunSpec spec);
  bool Busy() const { return longRun_ != nullptr; }
  QuietViews Quiet() { return QuietViews{fileList_->SuspendWatch(), tree_->SuspendWatch()}; }
  // The open run's progress window, or null.
  HWND RunWindow() const { return longRun_ ? longRun_->ProgressWindow() : nullptr; }
  // Runs `task` (the views following the disk) once a box about to be shown
  // is up and painted: a timer comes after the paint in the box's own loop.
  void AfterBoxShown(std::function<void()> task);
  void Button2Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void Timer_adTimer();
  void Timer_ad2Timer();
  // The strip labels' events; both labels share them.
  void l_ad1Click(Label& sender);
  void l_ad1MouseEnter(Label& sender);
  void l_ad1MouseLeave(Label& sender);

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildControls();
  HWND CreateControl(const forms::Control& control, HWND parent, const RECT& rect);
  HWND CreateLabel(const forms::Control& control, HWND parent, const RECT& rect);
  HWND CreateButton(const forms::Control& control, HWND parent, const RECT& rect);
  HWND CreateDirectoryTree(const forms::Control& control, HWND parent, const RECT& rect);
  HWND CreateFileList(const forms::Control& control, HWND parent, const RECT& rect);
  void DpiChanged(int dpi, const RECT& suggested);
  void BindWidgets();
  std::function<void()> ClickHandler(int id);
  std::optional<int> MnemonicButton(wchar_t key) const;
  void Activated(WPARAM wParam);
  // Adds the program's items to the window's system menu.
  void ExtendSystemMenu();
  // True when `command` (WM_SYSCOMMAND's wParam) was one of those items.
  bool SystemMenuCommand(WPARAM command);
  // The system menu is about to open: its check mark says whether the
  // Explorer menu entries run this copy of the program.
  void SystemMenuOpening(HMENU menu);
  void NextControl(WPARAM wParam, LPARAM lParam);
  // A later start handed its arguments over (WM_COPYDATA): they wait with
  // the others and the window comes to the front. False for a block that is
  // not such a start.
  bool StartHandedOver(const COPYDATASTRUCT& data);
  // Keeps dropped `paths` to be asked about from the message loop.
  void QueueGivenPaths(std::vector<std::string> paths);
  // Every start request waits in `starts_`; ServeStarts serves the one that
  // is due once the window is free (no run, no box) and sets a timer for the
  // next one otherwise.
  void StartArrived(StartRequest request);
  void ServeStarts();
  void Serve(StartRequest request);
  void OutsidePathsSorted(LPARAM result);
  // The run numbered `id` has ended: joins it, closes its window, enables
  // this one, then runs its completion (or closes, after a close request).
  void LongRunEnded(WPARAM id);
  // A close request: false when a run is under way (it is stopped, and the
  // window closes once it has ended).
  bool MayCloseNow();
  // The current user's Recycle Bin has been listed on a worker: lParam owns
  // the listing. Asks for consent and shreds it, or says the bin is empty.
  void RecycleBinListed(LPARAM result);
  // At start: a killed wipe's fill folders are removed on a worker; a wipe
  // waits for its drive's. The box that names what was given back comes when
  // the window is free.
  void StartFillCleanup();
  void FillCleanupEnded();

  int dpi_ = 96;  // the DPI the window is laid out for
  UniqueFont windowFont_;
  std::map<int, HWND> controls_;
  std::map<int, std::unique_ptr<Panel>> panels_;
  std::map<int, std::unique_ptr<Label>> labels_;
  std::map<int, std::unique_ptr<FlatButton>> buttons_;
  std::vector<std::unique_ptr<Picture>> pictures_;
  std::unique_ptr<DirectoryTreeWidget> tree_;
  std::unique_ptr<FileListWidget> fileList_;
  Tooltips tooltips_;
  // After the labels: it refers to them. Made by FormCreate.
  std::unique_ptr<AnnouncementStrip> strip_;
  std::string startFolder_;
  // Paths arriving closer together than this are one question. The shell
  // starts one process per selected item, all at once, and on a busy
  // machine their hand-overs still come within a few hundred milliseconds
  // of each other, while a user's separate selections are seconds apart;
  // a longer wait would be felt before the question comes.
  StartQueue starts_{std::chrono::milliseconds(500)};
  // Registered for the window's life; the system holds references of its own.
  FileDropTarget* dropTarget_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool shown_ = false;
  // The long run under way, and the number of the latest one started.
  std::unique_ptr<LongRun> longRun_;
  WPARAM runNumber_ = 0;
  bool closeAfterRun_ = false;
  std::shared_ptr<FillCleanup> fillCleanup_;
  // Fires when the front start request is due (ServeStarts).
  static constexpr UINT_PTR kStartsDueTimer = 0x19A;
  std::function<void()> afterBox_;
};

}  // namespace tovo
