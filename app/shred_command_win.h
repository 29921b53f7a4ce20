// The shred command of the main window: destroys the entries selected in the
// file list after a confirmation, naming each file in the progress window.
#pragma once

#include <string>
#include <vector>

#include "shred/shred_outcome.h"

namespace tovo {

class Tform_vazo;

// Nothing selected: says so. No to the confirmation: nothing happens. Yes:
// every selected path (the list's folder + the entry's exact text, in list
// order) is shredded as a folder when it names one at that moment, else as a
// file; then the list is re-read and the completion box, or a warning naming
// what was not destroyed, is shown. A folder that cannot be entered ends the
// command: the list is re-read all the same and the IoError goes on to the
// general error handler.
void Button1Click(Tform_vazo& form);

// Destroys one folder tree with a progress text per file; returns the
// outcomes of what was not destroyed. Raises IoError as ShredFolderTree does.
std::vector<ShredOutcome> ShredFolder(Tform_vazo& form, const std::string& folder);

}  // namespace tovo
