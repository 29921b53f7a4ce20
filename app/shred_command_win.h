// The shred command of the main window (a stand-in until it is built).
#pragma once

namespace tovo {

class Tform_vazo;

// Shreds the entries selected in the main window's file list.
void Button1Click(Tform_vazo& form);

}  // namespace tovo
