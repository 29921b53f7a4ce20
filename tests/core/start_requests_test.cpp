// What a start asks for, and how the requests that reach the running
// instance wait and are gathered.
#include "app/start_requests.h"

#include <gtest/gtest.h>

namespace tovo {
namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string>;

TEST(StartRequests, SwitchesCountOnlyAsTheFirstArgumentInAnyCase) {
  const struct {
    Args arguments;
    StartKind kind;
    std::vector<GivenPath> paths;
  } cases[] = {
      {{}, StartKind::kPaths, {}},
      {{"a.txt", "/wipe"}, StartKind::kPaths, {{"a.txt", "F"}, {"/wipe", "F"}}},
      {{"/WIPE", "E:\""}, StartKind::kWipe, {{"E:\"", "F"}}},
      {{"/Recycle-Bin"}, StartKind::kRecycleBin, {}},
      {{"/recycle-bins"}, StartKind::kPaths, {{"/recycle-bins", "F"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseStartArguments(c.arguments, "F"), (StartRequest{c.kind, c.paths}))
        << (c.arguments.empty() ? "" : c.arguments.front());
  }
}

TEST(StartRequests, TheBlockForTheRunningInstanceKeepsEveryArgument) {
  const Args arguments = {"/wipe", "", "中文 名.txt"};
  EXPECT_EQ(DecodeStart(EncodeStart(arguments, "C:\\起点")),
            ParseStartArguments(arguments, "C:\\起点"));
  EXPECT_EQ(DecodeStart(EncodeStart({}, "C:\\")), ParseStartArguments({}, "C:\\"));
  for (std::string_view bad : {std::string_view(), std::string_view("C:\\\0x", 5)})
    EXPECT_FALSE(DecodeStart(bad));
}

TEST(StartRequests, AWipeTakesOnlyADriveRoot) {
  const struct {
    const char* given;
    std::optional<std::string> root;
  } cases[] = {
      {"e:\\", "E:\\"},           {"E:\"", "E:\\"},       {"E:", "E:\\"},
      {"E:\\Data", std::nullopt}, {"Data", std::nullopt}, {"\\\\srv\\share", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(WipeDriveRoot({c.given, "C:\\Work"}), c.root) << c.given;
}

// One step: at `ms`, either paths (or a switch) arrive, or the window is
// free and takes what is due (`taken`: the texts of the paths given back,
// "/recycle-bin" for that switch, nothing when nothing was due).
struct Step {
  int ms;
  Args arrive;
  std::optional<Args> taken = std::nullopt;
};

Args Texts(const StartRequest& request) {
  Args texts;
  if (request.kind == StartKind::kRecycleBin) texts.push_back("/recycle-bin");
  for (const GivenPath& path : request.paths) texts.push_back(path.text);
  return texts;
}

TEST(StartQueue, GathersPathsUntilAQuietMomentAndKeepsTheOrderOfRequests) {
  const struct {
    const char* what;
    std::vector<Step> steps;
  } cases[] = {
      {"paths close together are one question, due a quiet moment after the last",
       {{0, {"a"}},
        {300, {"b"}},
        {600, {"c"}},
        {999, {}, Args{}},
        {1000, {}, Args{"a", "b", "c"}}}},
      {"paths after the quiet moment but before the window was free still join",
       {{0, {"a"}}, {2000, {"b"}}, {2399, {}, Args{}}, {2400, {}, Args{"a", "b"}}}},
      {"paths that arrive once the question was taken are the next question",
       {{0, {"a"}}, {400, {}, Args{"a"}}, {500, {"b"}}, {900, {}, Args{"b"}}}},
      {"a switch is due at once and waits behind paths that came first",
       {{0, {"a"}},
        {10, {"/recycle-bin"}},
        {20, {"b"}},
        {100, {}, Args{}},
        {410, {}, Args{"a"}},
        {410, {}, Args{"/recycle-bin"}},
        {410, {}, Args{}},
        {420, {}, Args{"b"}}}},
      {"a start without paths only shows the window",
       {{0, {}}, {0, {}, Args{}}, {5000, {}, Args{}}}},
  };
  for (const auto& c : cases) {
    StartQueue queue(400ms);
    const StartQueue::Clock::time_point zero{};
    for (const Step& step : c.steps) {
      const auto at = zero + std::chrono::milliseconds(step.ms);
      if (!step.taken) {
        queue.Arrive(ParseStartArguments(step.arrive, "C:\\"), at);
        continue;
      }
      const std::optional<StartRequest> taken = queue.TakeDue(at);
      EXPECT_EQ(taken ? Texts(*taken) : Args{}, *step.taken) << c.what << " at " << step.ms;
    }
    EXPECT_FALSE(queue.DueAt()) << c.what << ": nothing is left behind";
  }
}

}  // namespace
}  // namespace tovo
