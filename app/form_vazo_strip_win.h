// Plugs the announcement strip into the main window: its timers, the strip
// labels' events and the announcement list the window owns.
#pragma once

namespace tovo {

class Tform_vazo;

// Called once from FormCreate, after the controls and the list exist. The
// strip lives as long as the window's handlers do.
void AttachAnnounceStrip(Tform_vazo& form);

}  // namespace tovo
