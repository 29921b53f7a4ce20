#include "tests/core/support/announce_server.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace tovo::testing {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

AnnouncementServerProcess::AnnouncementServerProcess() {
#ifndef _WIN32
  char pattern[] = "/tmp/tovo-announce-XXXXXX";
  if (!mkdtemp(pattern)) return;
  folder_ = pattern;
  const std::string script = std::string(TOVO_TEST_SCRIPTS_DIR) + "/announce_server.py";
  std::string python = "python3";
  char* argv[] = {python.data(), const_cast<char*>(script.c_str()), folder_.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "python3", nullptr, nullptr, argv, environ) != 0) return;
  pid_ = pid;
  const auto portFile = std::filesystem::path(folder_) / "port";
  for (int i = 0; i < 200 && port_ == 0; ++i) {
    if (std::filesystem::exists(portFile))
      port_ = std::stoi(ReadFile(portFile));
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
#endif
}

AnnouncementServerProcess::~AnnouncementServerProcess() {
#ifndef _WIN32
  if (pid_ > 0) {
    kill(static_cast<pid_t>(pid_), SIGTERM);
    waitpid(static_cast<pid_t>(pid_), nullptr, 0);
  }
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
#endif
}

std::string AnnouncementServerProcess::RequestFor(const std::string& softId) const {
  return ReadFile(std::filesystem::path(folder_) / (softId + ".request"));
}

}  // namespace tovo::testing
