#include "app/shred_command_win.h"

namespace tovo {

void Button1Click(Tform_vazo&) {}

}  // namespace tovo
