#include "app/form_vazo_strip_win.h"

#include <memory>

#include "announce/announce_strip_win.h"
#include "app/form_vazo_win.h"

namespace tovo {

void AttachAnnounceStrip(Tform_vazo& form) {
  namespace vazo = forms::vazo;
  auto strip = std::make_shared<AnnouncementStrip>(
      form.hwnd(), form.StripLabel(vazo::kLAd1), form.StripLabel(vazo::kLAd2),
      [&form](AnnouncementTimer timer, bool on) {
        form.SetTimerEnabled(
            timer == AnnouncementTimer::Rotation ? vazo::kTimerAd : vazo::kTimerAd2, on);
      },
      // Null once FormClose has released the list: the strip then has no lines.
      [&form]() -> const std::vector<std::string>* { return form.Announcements(); });
  form.SetTimerHandler(vazo::kTimerAd, [strip] { strip->ticker().RotationTick(); });
  form.SetTimerHandler(vazo::kTimerAd2, [strip] { strip->ticker().ScrollTick(); });
  form.SetAdLabelHandlers({.click = [strip](Label& label) { strip->Click(label); },
                           .mouseEnter = [strip](Label& label) { strip->MouseEnter(label); },
                           .mouseLeave = [strip](Label& label) { strip->MouseLeave(label); }});
}

}  // namespace tovo
