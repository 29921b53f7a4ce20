// Test helpers for the announcement path under Wine: a loopback HTTP server
// inside the test process, and a capture of what ShellExecuteW opens.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/handles_win.h"

namespace tovo::testing {

// Answers every connection on 127.0.0.1 with one fixed response, after an
// optional delay (a delay of INFINITE accepts and never answers).
class LoopbackHttpServer {
 public:
  LoopbackHttpServer(std::string response, DWORD delayMs = 0);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int port() const { return port_; }
  int requests() const { return requests_; }
  // The raw bytes of the last request received.
  std::string lastRequest() const;

 private:
  static DWORD WINAPI Serve(void* self);
  void ServeOne(SOCKET client);

  std::string response_;
  DWORD delayMs_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<int> requests_ = 0;
  mutable std::mutex mutex_;
  std::string lastRequest_;
  UniqueKernelHandle stop_;
  UniqueKernelHandle thread_;
};

// Points winebrowser (what ShellExecuteW runs for http: and mailto:) at a
// script that appends each URL to a log, and restores the setting after.
class BrowserCapture {
 public:
  BrowserCapture();
  ~BrowserCapture();
  BrowserCapture(const BrowserCapture&) = delete;
  BrowserCapture& operator=(const BrowserCapture&) = delete;

  // Waits up to `timeoutMs` for a logged URL that contains `needle`.
  bool WaitFor(const std::string& needle, DWORD timeoutMs = 15000) const;

 private:
  std::string logText() const;
};

// Runs the thread's messages until `done` holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace tovo::testing
