#include "announce/fetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "tests/core/support/announce_server.h"
#include "tests/core/support/iconv_gbk.h"

namespace tovo {
namespace {

using Lines = std::vector<std::string>;

class FixedIdentity : public IdentitySource {
 public:
  std::uint8_t EnumerateLanas(LanaEnumBuffer& buffer) override {
    buffer[0] = 1;
    buffer[1] = 0;
    return kNrcGoodReturn;
  }
  std::uint8_t ResetLana(std::uint8_t) override { return kNrcGoodReturn; }
  std::uint8_t AdapterStatus(std::uint8_t, AdapterStatusBuffer& buffer) override {
    const std::uint8_t mac[] = {0, 0xE0, 0x4C, 0x68, 0x01, 0x23};
    std::copy(std::begin(mac), std::end(mac), buffer.begin());
    return kNrcGoodReturn;
  }
  bool StartSockets() override { return true; }
  std::optional<std::string> HostName() override { return "vm"; }
  std::optional<IPv4Address> FirstIPv4(const std::string&) override {
    return IPv4Address{192, 168, 1, 5};
  }
};

TEST(AnnouncementUrl, PlainConcatenation) {
  const AnnouncementServer site;
  EXPECT_EQ(BuildAnnounceUrl(site, "00E04C680123;00E04C680123", "0,0,0,0", "Ruzidudu", "1.0"),
            "http://" TOVO_SITE_HOST
            "/rjservlet?Command=getmess&wkdz=00E04C680123;00E04C680123&ip=0,0,0,0"
            "&softid=Ruzidudu&softver=1.0");
  EXPECT_EQ(BuildAnnounceUrl({"127.0.0.1", 8080}, "", "10.0.0.1", "a", "b"),
            "http://127.0.0.1:8080/rjservlet?Command=getmess&wkdz=&ip=10.0.0.1&softid=a&softver=b");
}

class AnnouncementFetch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new testing::AnnouncementServerProcess(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (server_->port() == 0) GTEST_SKIP() << "no python3 loopback server here";
    gbk_ = testing::MakeIconvGbkDecoder();
    ASSERT_TRUE(gbk_);
  }

  Lines Fetch(const std::string& softId, const FetchLimits& limits = {}) {
    return FetchAnnouncements({"127.0.0.1", server_->port()}, identity_, *gbk_, softId, "1.0",
                              limits);
  }

  static testing::AnnouncementServerProcess* server_;
  FixedIdentity identity_;
  std::unique_ptr<GbkDecoder> gbk_;
};

testing::AnnouncementServerProcess* AnnouncementFetch::server_ = nullptr;

TEST_F(AnnouncementFetch, RequestBytesAreExactlyTheFixedSet) {
  Fetch("good");
  const std::string expected =
      "GET /rjservlet?Command=getmess&wkdz=00E04C680123&ip=192.168.1.5&softid=good&softver=1.0 "
      "HTTP/1.1\r\n"
      "Host: 127.0.0.1:" +
      std::to_string(server_->port()) +
      "\r\n"
      "Accept: text/html, */*\r\n"
      "Accept-Encoding: identity\r\n"
      "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
      "\r\n";
  EXPECT_EQ(server_->RequestFor("good"), expected);
}

TEST_F(AnnouncementFetch, GoodRepliesGiveTheirLines) {
  EXPECT_EQ(Fetch("good"), (Lines{"One|http://one.example/1", "<>Two|L2"}));
  EXPECT_EQ(Fetch("crlf"), (Lines{"One|L1"}));
  EXPECT_EQ(Fetch("chinese"),
            (Lines{"\xE4\xB8\xAD\xE6\x96\x87\xE5\x85\xAC\xE5\x91\x8A|http://x.example/"}));
}

TEST_F(AnnouncementFetch, PercentEncodedGbkArrivesAsText) {
  EXPECT_EQ(Fetch("gbk"), (Lines{"\xE4\xB8\xAD\xE6\x96\x87|http://x.example/+"}));
  EXPECT_EQ(Fetch("notgbk"), Lines{});
}

class AnnouncementFetchWithoutLines : public AnnouncementFetch,
                                      public ::testing::WithParamInterface<const char*> {};

TEST_P(AnnouncementFetchWithoutLines, GivesNoLines) {
  EXPECT_EQ(Fetch(GetParam()), Lines{});
  EXPECT_NE(server_->RequestFor(GetParam()), "") << "the service was asked";
}

INSTANTIATE_TEST_SUITE_P(Replies, AnnouncementFetchWithoutLines,
                         ::testing::Values("empty", "nobody", "status204", "status404", "status500",
                                           "status302", "status304", "status401", "overcap",
                                           "badutf8", "badpercent", "close"));

TEST_F(AnnouncementFetch, BodyOfExactlyTheCapIsAccepted) {
  EXPECT_EQ(Fetch("atcap"), (Lines{"A|B"}));
}

TEST_F(AnnouncementFetch, RedirectIsNotFollowed) {
  Fetch("status302");
  EXPECT_EQ(server_->RequestFor("redirected"), "");
}

TEST_F(AnnouncementFetch, SilentServerEndsAfterTheStallLimit) {
  FetchLimits limits;
  limits.stallSeconds = 1;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Fetch("silent", limits), Lines{});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(AnnouncementFetchOffline, RefusedConnectionGivesNoLines) {
  FixedIdentity identity;
  class NoGbk : public GbkDecoder {
    std::optional<std::string> GbkToUtf8(std::string_view) override { return std::nullopt; }
  } gbk;
  // Port 9 (discard) on the loopback answers with a refusal on this machine.
  EXPECT_EQ(FetchAnnouncements({"127.0.0.1", 9}, identity, gbk, "x", "1.0"), Lines{});
}

}  // namespace
}  // namespace tovo
