#include "app/system_menu_win.h"

#include "app/form_vazo_win.h"
#include "platform/wide_win.h"

namespace tovo {

void Tform_vazo::ExtendSystemMenu() {
  const HMENU menu = GetSystemMenu(hwnd(), FALSE);
  if (!menu) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kSysExplorerMenu,
              Wide("在资源管理器右键菜单中显示“粉碎”(&E)").c_str());
  AppendMenuW(menu, MF_STRING, kSysRecycleBin, Wide("粉碎回收站中的文件(&R)...").c_str());
}

bool Tform_vazo::SystemMenuCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case kSysExplorerMenu: ToggleExplorerMenu(); return true;
    case kSysRecycleBin: ShredRecycleBin(); return true;
    default: return false;
  }
}

}  // namespace tovo
