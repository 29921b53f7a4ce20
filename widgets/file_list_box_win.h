// TShellFileListBox: the main window's file list. A standard owner-drawn
// list box (each entry's text kept as its string, so screen readers and
// automation read the entries) with extended multi-selection, listing the
// entries of one folder, folders first, with their shell icons. The list
// keeps the process's current folder at its folder between calls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/folder_watch_win.h"
#include "platform/handles_win.h"
#include "platform/window_win.h"
#include "widgets/file_list_model.h"
#include "widgets/file_list_rules.h"
#include "widgets/reread_schedule.h"

namespace tovo {

// The directory tree as the list sees it: a double-click on a folder entry is
// handed to it, and it then calls SetFolder in turn.
class FolderOpener {
 public:
  virtual ~FolderOpener() = default;
  virtual void OpenFolder(const std::string& path) = 0;
};

class TShellFileListBox : public Subclass, public ListSelection {
 public:
  // Folder starts as the process's current folder.
  TShellFileListBox();
  ~TShellFileListBox() override;

  // Creates the list box child and lists Folder for the first time.
  // `textColour` is the font's colour (unselected entries are drawn in it).
  void Create(HWND parent, int id, const RECT& bounds, HFONT font, COLORREF textColour,
              bool multiSelect = true);

  const std::string& Folder() const { return folder_; }
  // Nothing when `path` names Folder ignoring case. Otherwise makes it the
  // current folder (a failure is ignored), reads Folder back from the
  // system and lists it.
  void SetFolder(const std::string& path);

  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);
  FileType GetFileType() const { return fileType_; }
  void SetFileType(FileType type);
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool on);
  bool ShowLongNames() const { return showLongNames_; }
  void SetShowLongNames(bool on);
  bool AllowOpen() const { return allowOpen_; }
  void SetAllowOpen(bool on) { allowOpen_ = on; }
  // Never lower than the icons and the text need.
  void SetItemHeight(int height);
  // The DPI the entries are drawn for (icons, margins).
  void SetDpi(int dpi);
  int ItemHeight() const;

  // Background colours by state; CLR_INVALID gives back the default (the
  // window colour for Color and FocusColor, button face for DisabledColor).
  void SetColor(COLORREF colour);
  void SetFocusColor(COLORREF colour);
  void SetDisabledColor(COLORREF colour);

  // The tree the list hands folder double-clicks to; null for none.
  void SetTree(FolderOpener* tree) { tree_ = tree; }

  // Re-reads Folder; nothing while the list has no window.
  void Reload();
  bool IsReading() const { return isReading_; }

  // The list follows its folder: entries that other programs make or
  // delete appear and vanish by themselves (bursts read at most every
  // 300 ms), the selection, focused and top entries kept by name. Within
  // the scope of a suspension the folder is not watched.
  FolderWatch::Suspension SuspendWatch() { return FolderWatch::Suspension(watch_.get()); }
  // How often the list was read because its folder changed.
  int Rereads() const { return rereads_; }

  std::string FocusedFileName() const;
  std::string FocusedFilePath() const;

  // Opens the folder `text` names inside the current folder, through the
  // tree when one is bound. Raises IoError when it cannot be entered.
  virtual void GoToPath(const std::string& text);

  // The standard list box queries.
  int Count() const override;
  int SelectedCount() const;
  bool IsSelected(int index) const override;
  std::string Text(int index) const override;
  int Caret() const override;

  const FileListModel& Model() const { return model_; }

  std::function<void()> OnChange;
  std::function<void()> OnDblClick;

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Fill();
  void ClearEntries();
  void UpdateItemHeight();
  void DrawEntry(const DRAWITEMSTRUCT& item);
  void DrawIcon(HDC dc, const DRAWITEMSTRUCT& item, int x, int y);
  COLORREF BackgroundColour() const;
  HBRUSH BackgroundBrush();
  void UpdateBackground();
  void DoubleClick();
  void SelectionChanged();
  void FolderChanged(WPARAM wParam, LPARAM lParam);
  void Reread();
  void Reselect(const std::vector<std::string>& selected, const std::string& caret,
                const std::string& top);
  void Wheel(int delta);
  std::optional<LRESULT> Command(WORD code);
  LRESULT SendDirect(UINT msg, WPARAM wParam, LPARAM lParam) const;

  std::string folder_;
  std::string mask_ = "*.*";
  FileType fileType_{FileAttr::ftNormal};
  int dpi_ = 96;
  bool showGlyphs_ = true;
  bool showLongNames_ = true;
  bool allowOpen_ = false;
  bool isReading_ = false;
  bool listed_ = false;  // the first listing after creation has run
  FolderOpener* tree_ = nullptr;
  WNDPROC listProc_ = nullptr;  // the list box class's own procedure
  FileListModel model_;
  COLORREF textColour_ = 0;
  COLORREF color_ = CLR_INVALID;
  COLORREF focusColor_ = CLR_INVALID;
  COLORREF disabledColor_ = CLR_INVALID;
  UniqueBrush background_;
  COLORREF backgroundOf_ = CLR_INVALID;  // the colour of background_
  int lastFocused_ = -1;
  WheelNotches wheel_;
  std::unique_ptr<FolderWatch> watch_;
  RereadSchedule schedule_;
  int rereads_ = 0;
};

}  // namespace tovo
