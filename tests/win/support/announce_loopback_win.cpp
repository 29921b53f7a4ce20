#include "tests/win/support/announce_loopback_win.h"

#include <fstream>
#include <sstream>

namespace tovo::testing {
namespace {

// The script and its log live on the Unix side: winebrowser starts Unix
// programs, and Z: is the Unix root.
std::string SourceDir() {
  std::string file = __FILE__;
  return file.substr(0, file.find_last_of('/'));
}
constexpr wchar_t kLogWine[] = L"Z:\\tmp\\tovo-winebrowser.log";
constexpr wchar_t kBrowserKey[] = L"Software\\Wine\\WineBrowser";

void SetValue(HKEY key, const wchar_t* name, const std::wstring& value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::string response, DWORD delayMs)
    : response_(std::move(response)), delayMs_(delayMs) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  listen(listener_, 8);
  int length = sizeof(address);
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread_.reset(CreateThread(nullptr, 0, &Serve, this, 0, nullptr));
}

LoopbackHttpServer::~LoopbackHttpServer() {
  SetEvent(stop_.get());
  closesocket(listener_);  // ends the blocking accept
  WaitForSingleObject(thread_.get(), 10000);
}

DWORD WINAPI LoopbackHttpServer::Serve(void* self) {
  auto* server = static_cast<LoopbackHttpServer*>(self);
  for (;;) {
    const SOCKET client = accept(server->listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return 0;
    server->ServeOne(client);
  }
}

void LoopbackHttpServer::ServeOne(SOCKET client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(client, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    request.append(buffer, got);
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    lastRequest_ = request;
  }
  ++requests_;
  if (WaitForSingleObject(stop_.get(), delayMs_) == WAIT_TIMEOUT) {
    send(client, response_.data(), static_cast<int>(response_.size()), 0);
  }
  shutdown(client, SD_SEND);
  closesocket(client);
}

std::string LoopbackHttpServer::lastRequest() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return lastRequest_;
}

BrowserCapture::BrowserCapture() {
  DeleteFileW(kLogWine);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                  nullptr);
  UniqueRegKey owned(key);
  std::string script = SourceDir() + "/capture-browser.sh";
  const std::wstring wide(script.begin(), script.end());
  SetValue(key, L"Browsers", wide);
  SetValue(key, L"Mailers", wide);
}

BrowserCapture::~BrowserCapture() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kBrowserKey);
}

std::string BrowserCapture::logText() const {
  std::ifstream in(kLogWine, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool BrowserCapture::WaitFor(const std::string& needle, DWORD timeoutMs) const {
  return PumpUntil([&] { return logText().find(needle) != std::string::npos; }, timeoutMs);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

}  // namespace tovo::testing
