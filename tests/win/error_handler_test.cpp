#include "platform/error_handler_win.h"

#include <gtest/gtest.h>

namespace tovo {
namespace {

TEST(ErrorHandler, TitleComesFromThisExecutable) {
  EXPECT_EQ(ApplicationTitleOfProcess(), "tovo_win_tests");
}

}  // namespace
}  // namespace tovo
