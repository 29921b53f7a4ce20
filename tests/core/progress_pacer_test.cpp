// Pacing the progress window: the newest name, at most once per interval,
// and never a name left unpainted at the end.
#include "progress/progress_pacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovo {
namespace {

using namespace std::chrono_literals;

TEST(ProgressPacer, PaintsTheNewestTextAtMostOncePerIntervalAndTheLastAtTheEnd) {
  std::chrono::steady_clock::time_point now{};
  std::vector<std::string> painted;
  ProgressPacer pacer([&](const std::string& text) { painted.push_back(text); }, 50ms,
                      [&] { return now; });
  pacer.Offer("a");  // the first is shown at once
  now += 10ms;
  pacer.Offer("b");
  pacer.Offer("c");  // b is never shown: c replaced it before it was due
  pacer.Tick();
  now += 40ms;
  pacer.Tick();  // due: c, the name of the file that may be stalling
  pacer.Tick();
  now += 60ms;
  pacer.Offer("d");
  pacer.Offer("e");
  pacer.Flush();
  pacer.Flush();
  pacer.Offer("f", true);  // the caller knows it must be seen now
  EXPECT_EQ(painted, (std::vector<std::string>{"a", "c", "d", "e", "f"}));
}

}  // namespace
}  // namespace tovo
