// The message boxes of the shred command and of every way into it.
#pragma once

#include <windows.h>

#include <string_view>

namespace tovo {

// A box owned by `owner` with the command's caption, kept above every other
// window (MB_SYSTEMMODAL is added to `flags`); returns the button pressed.
int ShredCommandBox(HWND owner, std::string_view text, UINT flags);

}  // namespace tovo
