#include <gtest/gtest.h>

#include <set>
#include <string>

#include "forms/main_form.h"

namespace tovo::forms::vazo {
namespace {

const Control* ParentOf(const Control& c) {
  return c.parent == kNoParent ? nullptr : &MainControl(c.parent);
}

TEST(MainFormTable, IdsAndNamesAreUniqueAndParentsComeFirst) {
  std::set<int> ids;
  std::set<std::string_view> names;
  for (const Control& c : MainForm().controls) {
    EXPECT_GT(c.id, 2) << c.name << " would collide with IDOK/IDCANCEL";
    EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id " << c.id;
    EXPECT_TRUE(names.insert(c.name).second) << "duplicate name " << c.name;
    if (c.parent != kNoParent) {
      EXPECT_TRUE(ids.count(c.parent)) << c.name << " is listed before its parent";
    }
  }
  EXPECT_EQ(ids.size(), 14u);
}

TEST(MainFormTable, OnlyTheTreeAndTheListTakeTheFocusInThatOrder) {
  EXPECT_EQ(MainControl(kDirectoryListBox1).tabOrder, 0);
  EXPECT_EQ(MainControl(kFileListBox).tabOrder, 1);
  EXPECT_EQ(MainControl(kPanel1).tabOrder, 2);
  for (const Control& c : MainForm().controls) {
    if (c.kind == Kind::FlatButton || c.kind == Kind::Label || c.kind == Kind::Picture) {
      EXPECT_EQ(c.tabOrder, kNoTab) << c.name;
    }
  }
}

// Every control lies inside its parent, except l_ad2, which waits below the
// visible strip until the ticker scrolls it in.
TEST(MainFormTable, RectanglesLieInsideTheirParent) {
  const Form& form = MainForm();
  for (const Control& c : form.controls) {
    const Control* parent = ParentOf(c);
    const int width = parent ? parent->rect.width : form.clientWidth;
    const int height = parent ? parent->rect.height : form.clientHeight;
    EXPECT_GE(c.rect.left, 0) << c.name;
    EXPECT_GE(c.rect.top, 0) << c.name;
    EXPECT_LE(c.rect.right(), width) << c.name;
    if (c.id == kLAd2) {
      EXPECT_GE(c.rect.top, height) << "l_ad2 must start hidden below the strip";
    } else {
      EXPECT_LE(c.rect.bottom(), height) << c.name;
    }
  }
}

// The strip's inner panel fills Panel1 inside its two one-pixel bevels.
TEST(MainFormTable, BottomAlignedPanelFillsItsParentsBottomInsideTheBevels) {
  const Control& outer = MainControl(kPanel1);
  const Control& inner = MainControl(kPanelCenterBottom);
  ASSERT_TRUE(inner.look & kAlignBottom);
  const int bevels = ((outer.look & kRaisedInner) ? 1 : 0) + ((outer.look & kLoweredOuter) ? 1 : 0);
  EXPECT_EQ(bevels, 2);
  EXPECT_EQ(inner.rect.left, bevels);
  EXPECT_EQ(inner.rect.width, outer.rect.width - 2 * bevels);
  EXPECT_EQ(inner.rect.bottom(), outer.rect.height - bevels);
}

struct CaptionCase {
  int id;
  std::string_view caption;
};

class MainFormCaption : public testing::TestWithParam<CaptionCase> {};

TEST_P(MainFormCaption, MatchesTheForm) {
  EXPECT_EQ(MainControl(GetParam().id).caption, GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, MainFormCaption,
    testing::Values(CaptionCase{kLabel2, "请在下面列表中选择要粉碎的文件和文件夹："},
                    CaptionCase{kSpeedButton1, ""}, CaptionCase{kSpeedButton2, ""},
                    CaptionCase{kSpeedButton3, "关于"}, CaptionCase{kButton1, "粉碎(&Y)"},
                    CaptionCase{kButton2, "关闭(&C)"},
                    CaptionCase{kLAd1, "更多实用软件请访问：" TOVO_SITE_HOST},
                    CaptionCase{kLAd2, "更多实用软件请访问：" TOVO_SITE_HOST}));

TEST(MainFormTable, WindowAndLabelTexts) {
  const Form& form = MainForm();
  EXPECT_EQ(form.caption, "Tovo文件粉碎");
  EXPECT_EQ(form.clientWidth, 519);
  EXPECT_EQ(form.clientHeight, 419);
  EXPECT_EQ(form.font.face, "宋体");
  EXPECT_EQ(form.font.colour, kNavy);
  EXPECT_EQ(form.font.charset, kGb2312Charset);
  const std::string_view label1 = MainControl(kLabel1).caption;
  EXPECT_TRUE(label1.starts_with("    普通的删除操作")) << "four leading blanks";
  EXPECT_TRUE(label1.ends_with("从而保障了信息安全。"));
  EXPECT_EQ(MainControl(kLAd1).hint, "http://" TOVO_SITE_HOST);
  EXPECT_EQ(MainControl(kLAd2).hint, "http://" TOVO_SITE_HOST);
  EXPECT_EQ(MainControl(kSpeedButton1).hint, "桌面");
  EXPECT_EQ(MainControl(kSpeedButton2).hint, "我的文档");
}

TEST(MainFormTable, TimersStartOff) {
  EXPECT_EQ(MainTimer(kTimerAd).intervalMs, 4000u);
  EXPECT_EQ(MainTimer(kTimerAd2).intervalMs, 100u);
  for (const Timer& t : MainTimers()) EXPECT_FALSE(t.enabled) << t.name;
  EXPECT_THROW(MainControl(999), std::out_of_range);
}

}  // namespace
}  // namespace tovo::forms::vazo
