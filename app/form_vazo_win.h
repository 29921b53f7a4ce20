// Tform_vazo: the main window. It builds its controls from the form table in
// forms/main_form.h, owns the announcement list and the two strip timers, and
// runs the handlers of its buttons.
//
// Plugging in: the browsing widgets are created in one function each
// (CreateDirectoryTree, CreateFileList in form_vazo_win.cpp) behind the two
// aliases below; timers and any window message can be given a handler with
// SetTimerHandler / SetMessageHandler; the strip labels are reached with
// StripLabel and their events with SetAdLabelHandlers.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "controls/controls_win.h"
#include "platform/handles_win.h"
#include "controls/label_win.h"
#include "controls/panel_win.h"
#include "platform/window_win.h"
#include "widgets/directory_tree_win.h"
#include "widgets/file_list_box_win.h"

namespace tovo {

using DirectoryTreeWidget = TDirectoryTree;
using FileListWidget = TShellFileListBox;

// Messages WM_APP + 0x100 to WM_APP + 0x1BFF are free for the subsystems'
// own use (kReflect lies above them).
inline constexpr UINT kFirstAppMessage = WM_APP + 0x100;

// Returns the message's result, or nullopt to let the window handle it.
using MessageHandler = std::function<std::optional<LRESULT>(WPARAM, LPARAM)>;

struct AdLabelHandlers {
  std::function<void(Label&)> click, mouseEnter, mouseLeave;
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

  // l_ad1 or l_ad2 (forms::vazo::kLAd1, kLAd2).
  Label& StripLabel(int id);
  void SetAdLabelHandlers(AdLabelHandlers handlers) { adHandlers_ = std::move(handlers); }

  // The announcement list: created empty by FormCreate, released by
  // FormClose (null before and after).
  std::vector<std::string>* Announcements() { return announcements_.get(); }

  // Timer_ad and Timer_ad2 (forms::vazo::kTimerAd, kTimerAd2), with the
  // intervals of the form table. Switching on a running timer changes nothing;
  // switching it off and on again restarts its interval. Window thread only.
  void SetTimerEnabled(int timerId, bool enabled);
  bool TimerEnabled(int timerId) const;
  void SetTimerHandler(int timerId, std::function<void()> handler);

  // A handler that sees `msg` before the window does.
  void SetMessageHandler(UINT msg, MessageHandler handler);

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
  // moment; then the list is re-read and the completion box, or a warning
  // naming what was not destroyed, is shown. A folder that cannot be entered
  // ends the command: the list is re-read all the same and the IoError goes
  // on to the general error handler.
  void Button1Click();
  void Button2Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void Timer_adTimer();
  void Timer_ad2Timer();

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildControls();
  void CreateControl(const forms::Control& control);
  void CreateLabel(const forms::Control& control, HWND parent, RECT rect);
  void CreateButton(const forms::Control& control, HWND parent, RECT rect);
  void CreateDirectoryTree(const forms::Control& control, HWND parent, RECT rect);
  void CreateFileList(const forms::Control& control, HWND parent, RECT rect);
  void BindWidgets();
  std::function<void()> ClickHandler(int id);
  std::optional<int> MnemonicButton(wchar_t key) const;
  void AnnouncementsArrived(LPARAM lParam);
  void Activated(WPARAM wParam);
  void NextControl(WPARAM wParam, LPARAM lParam);

  UniqueFont windowFont_;
  std::map<int, HWND> controls_;
  std::map<int, std::unique_ptr<Panel>> panels_;
  std::map<int, std::unique_ptr<Label>> labels_;
  std::map<int, std::unique_ptr<FlatButton>> buttons_;
  std::vector<std::unique_ptr<Picture>> pictures_;
  std::unique_ptr<DirectoryTreeWidget> tree_;
  std::unique_ptr<FileListWidget> fileList_;
  Tooltips tooltips_;
  AdLabelHandlers adHandlers_;
  std::map<int, bool> timersOn_;
  std::map<int, std::function<void()>> timerHandlers_;
  std::map<UINT, MessageHandler> messageHandlers_;
  std::unique_ptr<std::vector<std::string>> announcements_;
  HWND lastFocus_ = nullptr;
  bool shown_ = false;
};

// The main window of this run, once created (the form object of its unit).
extern Tform_vazo* form_vazo;

}  // namespace tovo
