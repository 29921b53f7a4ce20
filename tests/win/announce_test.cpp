#include <gtest/gtest.h>

#include <regex>

#include "announce/announce_strip_win.h"
#include "announce/autoupdate_win.h"
#include "announce/gbk_win.h"
#include "announce/identity_win.h"
#include "tests/win/support/announce_loopback_win.h"

namespace tovo {
namespace {

using testing::LoopbackHttpServer;
using testing::PumpUntil;

std::string Response(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TEST(AnnouncementIdentityWin, NetbiosGivesWellFormedAdapterList) {
  Win32IdentitySource source;
  const std::string list = GetMacAddressList(source);
  // Wine answers one LANA with the host interface's address, which differs
  // from machine to machine: only the form is fixed.
  EXPECT_TRUE(std::regex_match(list, std::regex("([0-9A-F]{12}(;[0-9A-F]{12})*)?"))) << list;
  EXPECT_FALSE(list.empty());
}

TEST(AnnouncementIdentityWin, HostNameResolvesToDottedAddress) {
  Win32IdentitySource source;
  const std::string ip = GetLocalIPv4(source);
  EXPECT_TRUE(std::regex_match(ip, std::regex("[0-9]{1,3}(\\.[0-9]{1,3}){3}"))) << ip;
  const std::optional<std::string> host = source.HostName();
  ASSERT_TRUE(host);
  EXPECT_LT(host->size(), 32u);
}

TEST(AnnouncementGbkWin, ConvertsCodePage936) {
  Win32GbkDecoder gbk;
  EXPECT_EQ(gbk.GbkToUtf8("\xD6\xD0\xCE\xC4"), "中文");
  EXPECT_EQ(gbk.GbkToUtf8("ab"), "ab");
  EXPECT_EQ(gbk.GbkToUtf8("\xD6"), std::nullopt);  // a lead byte cut off
}

// The libcurl built for Windows sends the same bytes as the native one.
TEST(AnnouncementFetchWin, RequestBytesAreExactlyTheFixedSet) {
  LoopbackHttpServer server(Response("[{\"t\":\"A\",\"u\":\"B\"}]"));
  Win32IdentitySource identity;
  Win32GbkDecoder gbk;
  const auto lines =
      FetchAnnouncements({"127.0.0.1", server.port()}, identity, gbk, "Ruzidudu", "1.0");
  EXPECT_EQ(lines, (std::vector<std::string>{"A|B"}));
  const std::string expected =
      "GET /rjservlet?Command=getmess&wkdz=" + GetMacAddressList(identity) +
      "&ip=" + GetLocalIPv4(identity) +
      "&softid=Ruzidudu&softver=1.0 HTTP/1.1\r\n"
      "Host: 127.0.0.1:" +
      std::to_string(server.port()) +
      "\r\n"
      "Accept: text/html, */*\r\n"
      "Accept-Encoding: identity\r\n"
      "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
      "\r\n";
  EXPECT_EQ(server.lastRequest(), expected);
}

// Two labels and the strip in a window of their own, wired as the main
// window wires them. Short intervals keep the test quick; the ticker counts
// ticks, not time.
class AnnouncementStripHost : public Window {
 public:
  AnnouncementStripHost() {
    const WindowClassSpec cls{.name = L"TovoStripHost",
                              .background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)};
    Window::Create(cls, 0, L"strip host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 100,
                   nullptr, nullptr);
    LabelStyle grey;
    grey.textColour = RGB(128, 128, 128);
    first.Create(hwnd(), 1, {7, 9, 287, 21}, "initial", grey);
    second.Create(hwnd(), 2, {7, 37, 205, 49}, "initial", grey);
    first.SetHint("http://initial.example/");
    second.SetHint("http://initial.example/");
    strip = std::make_unique<AnnouncementStrip>(hwnd(), first, second,
                                                AnnouncementTimers{kRotation, 200, kScroll, 10});
    for (Label* label : {&first, &second}) {
      label->SetOnClick([this](Label& l) { strip->Click(l); });
      label->SetOnMouseEnter([this](Label& l) { strip->MouseEnter(l); });
      label->SetOnMouseLeave([this](Label& l) { strip->MouseLeave(l); });
    }
  }

  Label first, second;
  std::unique_ptr<AnnouncementStrip> strip;
  int handOvers = 0;

 protected:
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == kAnnouncementsArrived) {
      ++handOvers;
      strip->LinesArrived(lParam);
      return 0;
    }
    if (msg == WM_TIMER && (wParam == kRotation || wParam == kScroll)) {
      strip->Tick(wParam == kRotation ? AnnouncementTimer::Rotation : AnnouncementTimer::Scroll);
      return 0;
    }
    return std::nullopt;
  }

 private:
  static constexpr UINT_PTR kRotation = 11, kScroll = 12;
};

TEST(AnnouncementWorkerWin, LinesReachTheLabelsAndRotate) {
  LoopbackHttpServer server(
      Response("[{\"t\":\"<>One\",\"u\":\"http://one.example/\"},{\"t\":\"Two\",\"u\":\"L2\"}]"));
  AnnouncementStripHost host;
  StartAutoupdateAt(host.hwnd(), "Ruzidudu", "1.0", {"127.0.0.1", server.port()});
  ASSERT_TRUE(PumpUntil([&] { return host.handOvers == 1; }, 15000));
  EXPECT_EQ(host.strip->ticker().lines(),
            (std::vector<std::string>{"<>One|http://one.example/", "Two|L2"}));
  ASSERT_TRUE(PumpUntil([&] { return host.first.Caption() == "<>One"; }, 5000));
  EXPECT_EQ(host.first.FontColour(), RGB(255, 0, 0));
  EXPECT_EQ(host.first.Hint(), "http://one.example/");
  ASSERT_TRUE(PumpUntil([&] { return host.second.Caption() == "Two"; }, 5000));
  ASSERT_TRUE(PumpUntil([&] { return host.second.Position().y == 9; }, 5000));
  // The scroll stops one tick after the last move, placing l_ad1 below.
  ASSERT_TRUE(PumpUntil([&] { return host.first.Position().y == 39; }, 5000));
  EXPECT_EQ(host.second.FontColour(), RGB(128, 128, 128));
}

TEST(AnnouncementWorkerWin, EmptyReplyLeavesTheInitialText) {
  LoopbackHttpServer server(Response("[]"));
  AnnouncementStripHost host;
  StartAutoupdateAt(host.hwnd(), "Ruzidudu", "1.0", {"127.0.0.1", server.port()});
  ASSERT_TRUE(PumpUntil([&] { return host.handOvers == 1; }, 15000));
  EXPECT_FALSE(host.strip->Running(AnnouncementTimer::Rotation));
  EXPECT_EQ(host.first.Caption(), "initial");
  EXPECT_TRUE(host.strip->ticker().lines().empty());
}

TEST(AnnouncementWorkerWin, WindowClosedBeforeTheReplyIsLeftAlone) {
  LoopbackHttpServer server(Response("[{\"t\":\"A\",\"u\":\"B\"}]"), 300);
  {
    AnnouncementStripHost host;
    StartAutoupdateAt(host.hwnd(), "Ruzidudu", "1.0", {"127.0.0.1", server.port()});
    ASSERT_TRUE(PumpUntil([&] { return server.requests() == 1; }, 15000));
  }
  // The post to the destroyed window fails and the worker frees the list;
  // nothing may arrive at, or crash, this thread.
  PumpUntil([] { return false; }, 1000);
  SUCCEED();
}

// The process's end takes the waiting worker with it: nothing joins it.
TEST(AnnouncementWorkerWin, ClosingEndsTheProgramWhileTheServiceNeverAnswers) {
  LoopbackHttpServer server("", INFINITE);
  std::wstring command = L"announce_exit_probe.exe " + std::to_wstring(server.port());
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  ASSERT_TRUE(PumpUntil([&] { return server.requests() == 1; }, 15000));
  HWND probe = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] { return (probe = FindWindowW(L"TovoAnnounceExitProbe", nullptr)) != nullptr; }, 5000));
  const DWORD start = GetTickCount();
  PostMessageW(probe, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
  EXPECT_LT(GetTickCount() - start, 3000u);
  DWORD code = 99;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
}

TEST(AnnouncementWorkerWin, ClickOpensOnlyWebLinksThroughTheShell) {
  testing::BrowserCapture capture;
  LoopbackHttpServer server(
      Response("[{\"t\":\"Web\",\"u\":\" http://strip-click.example/ok "
               "\"},{\"t\":\"Bad\",\"u\":\"file:///x\"}]"));
  AnnouncementStripHost host;
  StartAutoupdateAt(host.hwnd(), "Ruzidudu", "1.0", {"127.0.0.1", server.port()});
  ASSERT_TRUE(PumpUntil([&] { return host.first.Caption() == "Web"; }, 15000));
  SendMessageW(host.first.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(host.first.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(capture.WaitFor("http://strip-click.example/ok"));
}

TEST(AnnouncementWorkerWin, HoverUnderlinesAndHoldsTheRotation) {
  LoopbackHttpServer server(Response("[{\"t\":\"A\",\"u\":\"B\"},{\"t\":\"C\",\"u\":\"D\"}]"));
  AnnouncementStripHost host;
  StartAutoupdateAt(host.hwnd(), "Ruzidudu", "1.0", {"127.0.0.1", server.port()});
  ASSERT_TRUE(PumpUntil([&] { return host.first.Caption() == "A"; }, 15000));
  // The real pointer, so that the label's leave tracking sees it arrive.
  ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
  RECT r;
  GetWindowRect(host.first.hwnd(), &r);
  SetCursorPos(r.left + 3, r.top + 3);
  ASSERT_TRUE(PumpUntil([&] { return host.first.Underline(); }, 3000));
  const std::size_t index = host.strip->ticker().adIndex();
  EXPECT_FALSE(host.strip->Running(AnnouncementTimer::Rotation));
  ASSERT_TRUE(PumpUntil([&] { return !host.strip->Running(AnnouncementTimer::Scroll); }, 3000));
  EXPECT_FALSE(host.strip->Running(AnnouncementTimer::Rotation));
  EXPECT_EQ(host.strip->ticker().adIndex(), index);
  SetCursorPos(r.left + 3, r.bottom + 80);
  ASSERT_TRUE(PumpUntil([&] { return !host.first.Underline(); }, 3000));
  EXPECT_TRUE(PumpUntil([&] { return host.strip->ticker().adIndex() != index; }, 5000));
}

}  // namespace
}  // namespace tovo
