#include "app/wipe_command.h"

#include <gtest/gtest.h>

namespace tovo {
namespace {

TEST(WipeCommand, OnlyFixedAndRemovableDrivesAreOffered) {
  // unknown, no root, removable, fixed, network, CD-ROM, RAM
  const bool offered[] = {false, false, true, true, false, false, false};
  for (unsigned type = 0; type < 7; ++type) EXPECT_EQ(CanWipeDriveType(type), offered[type]);
}

TEST(WipeCommand, BoxesNameTheDriveTheBytesAndTheTime) {
  EXPECT_EQ(WipeConsentText("E:", 3u << 30, "约 46 秒"),
            "将擦除驱动器 E: 的剩余空间（现有 3.00 GB）。\n\n"
            "此前在该驱动器上删除的文件将无法再恢复。\n"
            "擦除期间该驱动器的剩余空间会被暂时占满，其他程序可能无法向它写入。\n"
            "预计需要约 46 秒。\n\n要继续吗？");
  EXPECT_EQ(WipeEndText(false, 1536u << 20, "约 2 分 05 秒"),
            "剩余空间擦除完成。\n\n共覆写 1.50 GB，用时约 2 分 05 秒。");
  EXPECT_EQ(WipeEndText(true, 512, "约 3 秒"),
            "剩余空间擦除已停止。\n\n共覆写 512 字节，用时约 3 秒。\n填充文件已全部删除。");
  EXPECT_EQ(LeftoverFillText({}), "");
  EXPECT_EQ(
      LeftoverFillText({{"C:", 3u << 30, ""}, {"D:", 0, "拒绝访问。"}, {"W:", 80u << 20, ""}}),
      "已删除上次未完成的剩余空间擦除留下的填充文件：\nC: 释放了 3.00 GB\nW: 释放了 80.0 MB"
      "\n\n未能删除上次未完成的剩余空间擦除留下的填充文件：\nD: 拒绝访问。");
  EXPECT_EQ(WipeEstimate(0).count(), 15);
  EXPECT_EQ(WipeEstimate((100u << 20) + 1).count(), 17);
}

}  // namespace
}  // namespace tovo
