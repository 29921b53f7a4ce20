#include "announce/ticker.h"

#include <gtest/gtest.h>

namespace tovo {
namespace {

using Lines = std::vector<std::string>;

// Keeps what a real strip would show, plus the timers and opened links.
class RecordingView : public AnnouncementView {
 public:
  struct Shown {
    std::string caption, hint;
    std::uint32_t colour = kAnnouncementGrey;
    int top = 0;
    bool underline = false;
  };
  Shown shown[2];
  bool rotation = false, scroll = false;
  int rotationStarts = 0;
  Lines opened;

  static int I(AnnouncementLabel l) { return l == AnnouncementLabel::First ? 0 : 1; }
  void SetCaption(AnnouncementLabel l, const std::string& c) override { shown[I(l)].caption = c; }
  void SetHint(AnnouncementLabel l, const std::string& h) override { shown[I(l)].hint = h; }
  void SetColour(AnnouncementLabel l, std::uint32_t c) override { shown[I(l)].colour = c; }
  void SetTop(AnnouncementLabel l, int t) override { shown[I(l)].top = t; }
  void SetUnderline(AnnouncementLabel l, bool u) override { shown[I(l)].underline = u; }
  void SetRotationTimer(bool on) override {
    rotation = on;
    rotationStarts += on ? 1 : 0;
  }
  void SetScrollTimer(bool on) override { scroll = on; }
  void OpenLink(const std::string& link) override { opened.push_back(link); }
};

class AnnouncementTickerTest : public ::testing::Test {
 protected:
  AnnouncementTickerTest() {
    view.shown[0].top = kAnnouncementShowingTop;
    view.shown[1].top = kAnnouncementWaitingTop;
  }

  // What the main window's timers would do: a rotation tick, then scroll
  // ticks while the scroll timer runs. Returns the number of scroll ticks.
  int Rotate() {
    EXPECT_TRUE(view.rotation);
    ticker.RotationTick();
    int ticks = 0;
    while (view.scroll && ticks < 100) {
      ticker.ScrollTick();
      ++ticks;
    }
    return ticks;
  }
  const RecordingView::Shown& Showing() {
    return view.shown[view.shown[0].top == kAnnouncementShowingTop ? 0 : 1];
  }

  RecordingView view;
  AnnouncementTicker ticker{view, "more: www.site", "http://www.site"};
};

TEST_F(AnnouncementTickerTest, FirstRotationReplacesTheInitialTextInPlace) {
  ticker.TakeLines({"One|http://one", "Two|http://two"});
  EXPECT_EQ(Rotate(), 1);
  EXPECT_EQ(view.shown[0].caption, "One");
  EXPECT_EQ(view.shown[0].hint, "http://one");
  EXPECT_EQ(view.shown[0].top, 9);
  EXPECT_EQ(view.shown[1].top, 39);
  EXPECT_EQ(ticker.adTurn(), 1);
  EXPECT_EQ(ticker.adIndex(), 1u);
  EXPECT_TRUE(view.rotation);
}

TEST_F(AnnouncementTickerTest, ScrollMakesSixMovesOfFivePixelsAndStopsOnTheSeventhTick) {
  ticker.TakeLines({"One|a", "Two|b"});
  Rotate();
  ticker.RotationTick();  // "Two" into l_ad2, waiting at 39
  EXPECT_EQ(view.shown[1].caption, "Two");
  std::vector<int> incoming, outgoing;
  for (int tick = 0; tick < 6; ++tick) {
    ticker.ScrollTick();
    incoming.push_back(view.shown[1].top);
    outgoing.push_back(view.shown[0].top);
    EXPECT_TRUE(view.scroll);
  }
  EXPECT_EQ(incoming, (std::vector<int>{34, 29, 24, 19, 14, 9}));
  EXPECT_EQ(outgoing, (std::vector<int>{4, -1, -6, -11, -16, -21}));
  ticker.ScrollTick();
  EXPECT_FALSE(view.scroll);
  EXPECT_EQ(view.shown[0].top, 39);
  EXPECT_EQ(ticker.adTurn(), 2);
}

TEST_F(AnnouncementTickerTest, ThreeLinesRotateInOrderWithLabelsTakingTurns) {
  ticker.TakeLines({"A|1", "B|2", "C|3"});
  std::vector<std::string> captions;
  std::vector<std::size_t> indices;
  for (int i = 0; i < 5; ++i) {
    indices.push_back(ticker.adIndex());
    Rotate();
    captions.push_back(Showing().caption);
  }
  EXPECT_EQ(captions, (Lines{"A", "B", "C", "A", "B"}));
  EXPECT_EQ(indices, (std::vector<std::size_t>{0, 1, 2, 0, 1}));
  EXPECT_EQ(Rotate(), 7);
}

TEST_F(AnnouncementTickerTest, SingleLineScrollsInAgainEachRotation) {
  ticker.TakeLines({"Only|x"});
  Rotate();
  EXPECT_EQ(Rotate(), 7);
  EXPECT_EQ(view.shown[1].top, 9);
  EXPECT_EQ(view.shown[1].caption, "Only");
  EXPECT_EQ(ticker.adIndex(), 0u);
}

struct SplitCase {
  const char* line;
  const char* caption;
  const char* hint;
  std::uint32_t colour;
};

class AnnouncementTickerSplit : public AnnouncementTickerTest,
                                public ::testing::WithParamInterface<SplitCase> {};

TEST_P(AnnouncementTickerSplit, CaptionHintAndColourOfTheLine) {
  ticker.TakeLines({GetParam().line});
  Rotate();
  EXPECT_EQ(view.shown[0].caption, GetParam().caption);
  EXPECT_EQ(view.shown[0].hint, GetParam().hint);
  EXPECT_EQ(view.shown[0].colour, GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AnnouncementTickerSplit,
    ::testing::Values(SplitCase{"Text|http://l", "Text", "http://l", kAnnouncementGrey},
                      SplitCase{"no bar at all", "", "no bar at all", kAnnouncementGrey},
                      SplitCase{"a|b|c", "a", "b|c", kAnnouncementGrey},
                      SplitCase{"<>Hot|x", "<>Hot", "x", kAnnouncementRed},
                      SplitCase{"Not <>hot|x", "Not <>hot", "x", kAnnouncementGrey},
                      SplitCase{"<|x", "<", "x", kAnnouncementGrey},
                      SplitCase{"|x", "", "x", kAnnouncementGrey}));

TEST_F(AnnouncementTickerTest, NoLinesSwitchesNothingOn) {
  ticker.TakeLines({});
  EXPECT_FALSE(view.rotation);
  ticker.PointerEnter(AnnouncementLabel::First);
  EXPECT_TRUE(view.shown[0].underline);
  ticker.PointerLeave(AnnouncementLabel::First);
  EXPECT_FALSE(view.shown[0].underline);
  EXPECT_FALSE(view.rotation);
  EXPECT_EQ(view.rotationStarts, 0);
}

TEST_F(AnnouncementTickerTest, HoverHoldsTheRotationButTheScrollFinishes) {
  ticker.TakeLines({"A|1", "B|2"});
  Rotate();
  ticker.RotationTick();
  ticker.ScrollTick();
  ticker.PointerEnter(AnnouncementLabel::Second);
  EXPECT_FALSE(view.rotation);
  EXPECT_TRUE(view.scroll);
  EXPECT_TRUE(view.shown[1].underline);
  int ticks = 0;
  while (view.scroll && ticks < 100) ticker.ScrollTick(), ++ticks;
  EXPECT_EQ(ticks, 6);
  EXPECT_EQ(view.shown[1].top, 9);
  EXPECT_FALSE(view.rotation);
  const int starts = view.rotationStarts;
  ticker.PointerLeave(AnnouncementLabel::Second);
  EXPECT_FALSE(view.shown[1].underline);
  EXPECT_TRUE(view.rotation);
  EXPECT_EQ(view.rotationStarts, starts + 1);
}

TEST_F(AnnouncementTickerTest, ClickOpensTheTrimmedWebLinkOnly) {
  ticker.Click(AnnouncementLabel::First);  // the initial hint: the maker's site
  ticker.TakeLines({"A| \r\n HTTPS://x.example/a b\t\r\n", "B|file:///c:/windows/calc.exe",
                    "C|calc.exe", "D|\\\\server\\share\\x.exe", "E|mailto:a@b", "F|http:/x"});
  for (int i = 0; i < 6; ++i) {
    Rotate();
    ticker.Click(view.shown[0].top == kAnnouncementShowingTop ? AnnouncementLabel::First
                                                              : AnnouncementLabel::Second);
  }
  EXPECT_EQ(view.opened, (Lines{"http://www.site", "HTTPS://x.example/a b"}));
}

TEST_F(AnnouncementTickerTest, ReleasedAtCloseShowsNothingMoreAndIgnoresLateLines) {
  ticker.TakeLines({"A|1", "B|2"});
  ticker.RotationTick();
  EXPECT_EQ(view.shown[0].caption, "A");
  ticker.Release();  // the window has closed
  view.shown[0].caption.clear();
  ticker.RotationTick();
  EXPECT_EQ(view.shown[0].caption, "");
  EXPECT_FALSE(view.rotation);
  ticker.PointerLeave(AnnouncementLabel::First);
  EXPECT_FALSE(view.rotation);
  ticker.TakeLines({"C|3"});
  EXPECT_FALSE(view.rotation);
  EXPECT_TRUE(ticker.lines().empty());
}

TEST(OpenableLink, WebSchemesInAnyCase) {
  EXPECT_TRUE(IsOpenableLink("http://a"));
  EXPECT_TRUE(IsOpenableLink("HtTpS://a"));
  EXPECT_FALSE(IsOpenableLink("https:/a"));
  EXPECT_FALSE(IsOpenableLink("ftp://a"));
  EXPECT_FALSE(IsOpenableLink("C:\\x.exe"));
  EXPECT_FALSE(IsOpenableLink(""));
}

}  // namespace
}  // namespace tovo
