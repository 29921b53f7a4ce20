#include <gtest/gtest.h>

#include <tuple>

#include "forms/main_form.h"
#include "forms/scale.h"

namespace tovo::forms {
namespace {

TEST(FormScale, RoundsEveryLengthToTheNearestPixelWithHalvesAwayFromZero) {
  struct Case {
    int value, dpi, expected;
  };
  for (const Case c :
       {Case{12, 96, 12}, Case{1, 120, 1}, Case{2, 120, 3}, Case{1, 144, 2}, Case{-1, 144, -2},
        Case{519, 144, 779}, Case{419, 120, 524}, Case{19, 192, 38}, Case{0, 192, 0}}) {
    EXPECT_EQ(Scaled(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  }
}

// Edges, not sizes: controls that touch at 96 DPI touch at every DPI, and
// every rectangle stays within a pixel of the exact product.
TEST(FormScale, AdjoiningControlsStayAdjoiningAndSizesStayWithinAPixel) {
  const Rect left{7, 9, 33, 12}, right{40, 9, 33, 12};
  for (const int dpi : {96, 120, 144, 168, 192}) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(Scaled(left, dpi).right(), Scaled(right, dpi).left);
    for (const Control& control : vazo::MainForm().controls) {
      const Rect s = Scaled(control.rect, dpi);
      EXPECT_NEAR(s.width, control.rect.width * dpi / 96.0, 1.0) << control.name;
      EXPECT_NEAR(s.height, control.rect.height * dpi / 96.0, 1.0) << control.name;
    }
  }
  const Rect any{13, 14, 50, 50};
  const Rect same = Scaled(any, 96);
  EXPECT_EQ(std::tie(same.left, same.top, same.width, same.height),
            std::tie(any.left, any.top, any.width, any.height));
}

TEST(FormScale, PicksThePictureSourceThatIsOnlyEverShrunk) {
  EXPECT_EQ(PictureSourcePercent(96), 100);
  EXPECT_EQ(PictureSourcePercent(120), 150);
  EXPECT_EQ(PictureSourcePercent(144), 150);
  EXPECT_EQ(PictureSourcePercent(168), 200);
  EXPECT_EQ(PictureSourcePercent(288), 200);
}

// A hard black/white edge shrunk by 2/3 gives grey in between, not a block
// of one or the other; a transparent pixel stays transparent.
TEST(FormScale, ResamplingAveragesTheCoveredAreaSmoothly) {
  const std::uint32_t black = 0xFF000000, white = 0xFFFFFFFF;
  const Pixels source{3, 1, {black, white, 0}};
  const Pixels out = Resampled(source, 2, 1);
  ASSERT_EQ(out.argb.size(), 2u);
  EXPECT_EQ(out.argb[0], 0xFF555555u);  // 2/3 black, 1/3 white
  EXPECT_EQ(out.argb[1], 0x55555555u);  // 1/3 white, 2/3 transparent (premultiplied)
  const Pixels same = Resampled(source, 3, 1);
  EXPECT_EQ(same.argb, source.argb);
}

}  // namespace
}  // namespace tovo::forms
