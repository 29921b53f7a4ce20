#include <gtest/gtest.h>

#include "forms/mnemonic.h"

namespace tovo::forms {
namespace {

struct MnemonicCase {
  std::string_view caption;
  std::optional<char> mnemonic;
};

class CaptionMnemonic : public testing::TestWithParam<MnemonicCase> {};

TEST_P(CaptionMnemonic, IsTheCharacterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(Mnemonic(GetParam().caption), GetParam().mnemonic);
}

INSTANTIATE_TEST_SUITE_P(Captions, CaptionMnemonic,
                         testing::Values(MnemonicCase{"粉碎(&Y)", 'Y'},
                                         MnemonicCase{"关闭(&C)", 'C'}, MnemonicCase{"关于", {}},
                                         MnemonicCase{"", {}}, MnemonicCase{"trailing&", {}},
                                         MnemonicCase{"A && B", {}}, MnemonicCase{"A && &B", 'B'},
                                         MnemonicCase{"&中文", {}}));

TEST(CaptionMnemonic, MatchesTheTypedKeyInEitherCase) {
  EXPECT_TRUE(MatchesMnemonic("关闭(&C)", U'c'));
  EXPECT_TRUE(MatchesMnemonic("关闭(&C)", U'C'));
  EXPECT_FALSE(MatchesMnemonic("关闭(&C)", U'y'));
  EXPECT_FALSE(MatchesMnemonic("关于", U'g'));
  EXPECT_FALSE(MatchesMnemonic("关闭(&C)", U'C' + 0x10000)) << "no truncation to a byte";
}

}  // namespace
}  // namespace tovo::forms
