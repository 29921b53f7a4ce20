#include "announce/identity.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tovo {
namespace {

using Mac = std::array<std::uint8_t, 6>;

// Answers like NetBIOS and the socket layer, from a script.
class FakeIdentity : public IdentitySource {
 public:
  std::uint8_t enumCode = kNrcGoodReturn;
  std::vector<std::uint8_t> lanas;
  std::map<std::uint8_t, std::pair<std::uint8_t, Mac>> status;  // lana -> code, address
  std::vector<std::string> calls;

  bool socketsStart = true;
  std::optional<std::string> host = "vm";
  std::optional<IPv4Address> address = IPv4Address{192, 168, 1, 5};
  bool throwOnResolve = false;

  std::uint8_t EnumerateLanas(LanaEnumBuffer& buffer) override {
    calls.push_back("enum");
    if (enumCode != kNrcGoodReturn) return enumCode;  // the count byte stays unfilled
    buffer[0] = static_cast<std::uint8_t>(lanas.size());
    for (std::size_t i = 0; i < lanas.size(); ++i) buffer[i + 1] = lanas[i];
    return enumCode;
  }
  std::uint8_t ResetLana(std::uint8_t lana) override {
    calls.push_back("reset " + std::to_string(lana));
    return kNrcGoodReturn;
  }
  std::uint8_t AdapterStatus(std::uint8_t lana, AdapterStatusBuffer& buffer) override {
    calls.push_back("status " + std::to_string(lana));
    const auto& [code, mac] = status.at(lana);
    if (code == kNrcGoodReturn || code == kNrcIncomplete) {
      std::copy(mac.begin(), mac.end(), buffer.begin());
    }
    return code;
  }
  bool StartSockets() override { return socketsStart; }
  std::optional<std::string> HostName() override { return host; }
  std::optional<IPv4Address> FirstIPv4(const std::string& name) override {
    if (throwOnResolve) throw std::runtime_error("empty address list");
    EXPECT_EQ(name, *host);
    return address;
  }
};

TEST(ByteToHex2, TwoUppercaseDigitsWithLeadingZero) {
  EXPECT_EQ(ByteToHex2(0), "00");
  EXPECT_EQ(ByteToHex2(10), "0A");
  EXPECT_EQ(ByteToHex2(15), "0F");
  EXPECT_EQ(ByteToHex2(16), "10");
  EXPECT_EQ(ByteToHex2(0xE0), "E0");
  EXPECT_EQ(ByteToHex2(255), "FF");
}

class MacAddressList : public ::testing::Test {
 protected:
  FakeIdentity fake;
  const Mac first{0, 224, 76, 104, 1, 35};
  const Mac second{0x02, 0xFC, 0xAB, 0xCD, 0xEF, 0x10};
};

TEST_F(MacAddressList, OneLanaGivesTwelveDigitsWithLeadingZeros) {
  fake.lanas = {0};
  fake.status[0] = {kNrcGoodReturn, first};
  EXPECT_EQ(GetMacAddressList(fake), "00E04C680123");
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"enum", "reset 0", "status 0"}));
}

TEST_F(MacAddressList, AdapterOnTwoLanasIsListedTwiceInEnumerationOrder) {
  fake.lanas = {3, 1, 7};
  fake.status[3] = {kNrcGoodReturn, first};
  fake.status[1] = {kNrcGoodReturn, second};
  fake.status[7] = {kNrcGoodReturn, first};
  EXPECT_EQ(GetMacAddressList(fake), "00E04C680123;02FCABCDEF10;00E04C680123");
}

TEST_F(MacAddressList, IncompleteStatusStillDeliversTheAddress) {
  fake.lanas = {0};
  fake.status[0] = {kNrcIncomplete, second};
  EXPECT_EQ(GetMacAddressList(fake), "02FCABCDEF10");
}

TEST_F(MacAddressList, FailedStatusLeavesTheLanaOutInsteadOfRepeatingTheLastAddress) {
  fake.lanas = {0, 1, 2};
  fake.status[0] = {kNrcGoodReturn, first};
  fake.status[1] = {0x23, second};  // NRC_BRIDGE: the status buffer is not written
  fake.status[2] = {kNrcGoodReturn, second};
  EXPECT_EQ(GetMacAddressList(fake), "00E04C680123;02FCABCDEF10");
}

TEST_F(MacAddressList, OnlyFailedLanasGiveEmptyText) {
  fake.lanas = {0};
  fake.status[0] = {0x23, first};
  EXPECT_EQ(GetMacAddressList(fake), "");
}

TEST_F(MacAddressList, NoLanaOrFailedEnumerationGivesEmptyText) {
  EXPECT_EQ(GetMacAddressList(fake), "");
  fake.enumCode = 0x3F;  // NRC_SYSTEM
  fake.lanas = {0};
  fake.status[0] = {kNrcGoodReturn, first};
  EXPECT_EQ(GetMacAddressList(fake), "");
}

TEST(LocalIPv4, DecimalBytesJoinedByDots) {
  FakeIdentity fake;
  EXPECT_EQ(GetLocalIPv4(fake), "192.168.1.5");
  fake.address = IPv4Address{127, 0, 0, 1};
  EXPECT_EQ(GetLocalIPv4(fake), "127.0.0.1");
  fake.address = IPv4Address{10, 0, 255, 9};
  EXPECT_EQ(GetLocalIPv4(fake), "10.0.255.9");
}

TEST(LocalIPv4, EveryFailureGivesTheCommaFallback) {
  {
    FakeIdentity fake;
    fake.socketsStart = false;
    EXPECT_EQ(GetLocalIPv4(fake), "0,0,0,0");
  }
  {
    FakeIdentity fake;
    fake.host.reset();  // a name of 32 characters or more does not fit the buffer
    EXPECT_EQ(GetLocalIPv4(fake), "0,0,0,0");
  }
  {
    FakeIdentity fake;
    fake.address.reset();
    EXPECT_EQ(GetLocalIPv4(fake), "0,0,0,0");
  }
  {
    FakeIdentity fake;
    fake.throwOnResolve = true;
    EXPECT_EQ(GetLocalIPv4(fake), "0,0,0,0");
  }
}

}  // namespace
}  // namespace tovo
