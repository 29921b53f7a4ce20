// The items the program adds to its main window's system menu. System menu
// commands must stay below 0xF000 and keep their low four bits clear: the
// system uses those bits itself.
#pragma once

#include <windows.h>

namespace tovo {

inline constexpr UINT kSysExplorerMenu = 0x0110;
inline constexpr UINT kSysRecycleBin = 0x0120;

}  // namespace tovo
