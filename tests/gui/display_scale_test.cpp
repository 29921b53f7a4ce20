// The main window of the real program laid out for the display's DPI: run at
// the prefix's DPI (display_scale.sh runs it at several).
#include <gtest/gtest.h>

#include <string>

#include "controls/controls_win.h"
#include "forms/dpi_win.h"
#include "forms/form_builder_win.h"
#include "forms/main_form.h"
#include "forms/scale.h"
#include "gui/support/gui_driver.h"
#include "tests/win/support/display_scale_win.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;

HWND ChildOf(HWND window, int id) {
  const forms::Control& control = vazo::MainControl(id);
  const HWND parent = control.parent == forms::kNoParent ? window : ChildOf(window, control.parent);
  return GetDlgItem(parent, id);
}

TEST(DisplayScale, MainWindowIsLaidOutWithRowsAsTallAsTheirIconsAndTextsThatFit) {
  const int dpi = testing::MakeDpiAware();
  gui::RunningProgram running = gui::StartProgram();
  ASSERT_NE(running.mainWindow, nullptr);
  const HWND window = running.mainWindow;
  testing::ExpectFormLaidOut(vazo::MainForm(), window, dpi);

  // The program's fonts live in its own process: the captions are measured
  // with the same font made here from the table.
  for (const forms::Control& control : vazo::MainForm().controls) {
    if (control.caption.empty() || control.look & forms::kAutoSize) continue;
    SCOPED_TRACE(std::string(control.name));
    const UniqueFont font = CreateFormFont(FontOf(vazo::MainForm(), control), dpi);
    testing::ExpectTextFits(ChildOf(window, control.id), font.get());
  }

  const int icon = SmallIconSize(dpi);
  const int text = forms::Scaled(12, dpi);
  const auto list =
      static_cast<int>(SendMessageW(ChildOf(window, vazo::kFileListBox), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_GE(list, icon + 2);
  EXPECT_GE(list, text);
  const auto tree = static_cast<int>(
      SendMessageW(ChildOf(window, vazo::kDirectoryListBox1), TVM_GETITEMHEIGHT, 0, 0));
  EXPECT_GE(tree, icon);
  EXPECT_GE(tree, text);
  EXPECT_TRUE(gui::ClosesWithExitCodeZero(running.process, window));
}

}  // namespace
}  // namespace tovo
