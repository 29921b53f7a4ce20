#include "app/form_vazo_win.h"

namespace tovo {

void Tform_vazo::ShredRecycleBin() {}

}  // namespace tovo
