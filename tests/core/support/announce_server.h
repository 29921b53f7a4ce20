// The loopback announcement service of the fetch tests (announce_server.py),
// started once per test program run. The reply is chosen by the softid of the
// request; what the server received is kept per softid.
#pragma once

#include <string>

namespace tovo::testing {

class AnnouncementServerProcess {
 public:
  // Starts the server; port() is 0 when it could not be started (the tests
  // then skip: Windows builds of the core tests have no python3 to start).
  AnnouncementServerProcess();
  ~AnnouncementServerProcess();
  AnnouncementServerProcess(const AnnouncementServerProcess&) = delete;
  AnnouncementServerProcess& operator=(const AnnouncementServerProcess&) = delete;

  int port() const { return port_; }
  // The raw bytes of the last request that carried this softid.
  std::string RequestFor(const std::string& softId) const;

 private:
  std::string folder_;
  long pid_ = 0;
  int port_ = 0;
};

}  // namespace tovo::testing
