#include "app/explorer_menu_win.h"
#include "app/form_vazo_win.h"
#include "app/outside_paths_win.h"
#include "app/system_menu_win.h"

namespace tovo {

void Tform_vazo::ToggleExplorerMenu() {
  const std::string program = RunningProgramPath();
  // Entries that name another copy of the program count as off: turning
  // them on makes them name this one.
  if (ExplorerMenuInstalled(program)) {
    RemoveExplorerMenu();
  } else {
    InstallExplorerMenu(program);
  }
}

void Tform_vazo::SystemMenuOpening(HMENU menu) {
  // Read each time: the entries may have been changed by another copy of the
  // program, or the program moved since it was last asked.
  const bool on = ExplorerMenuInstalled(RunningProgramPath());
  CheckMenuItem(menu, kSysExplorerMenu, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace tovo
