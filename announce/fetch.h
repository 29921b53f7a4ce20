// The one request to the announcement service and the lines it yields.
// Portable: runs natively against a loopback server in the tests; the
// program points it at the build-time site host on port 80.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "announce/identity.h"
#include "announce/reply_decode.h"

namespace tovo {

struct AnnouncementServer {
  std::string host = TOVO_SITE_HOST;
  int port = 80;
};

struct FetchLimits {
  long connectSeconds = 30;
  // The transfer is abandoned when nothing arrives for this long.
  long stallSeconds = 30;
  // A larger body is refused whole: a real reply is a few hundred bytes.
  std::size_t maxBody = 64 * 1024;
};

// "http://host[:port]/rjservlet?Command=getmess&wkdz=…&ip=…&softid=…&softver=…"
// by plain concatenation; nothing is percent-encoded, the service expects the
// ";" of the adapter list and the "," of the fallback address as they are.
std::string BuildAnnounceUrl(const AnnouncementServer& server, const std::string& adapters,
                             const std::string& ip, const std::string& softId,
                             const std::string& softVer);

// One HTTP/1.1 GET with the fixed header set (Host, Accept, Accept-Encoding,
// User-Agent, in that order), no proxy, no cookies, no redirects. The body
// only for a 2xx status within the cap; nullopt for everything else.
std::optional<std::string> HttpGetBody(const std::string& url, const FetchLimits& limits);

// Identity, URL, request, decoding and parsing: the announcement lines, or
// none when anything on the way fails.
std::vector<std::string> FetchAnnouncements(const AnnouncementServer& server,
                                            IdentitySource& identity, GbkDecoder& gbk,
                                            const std::string& softId, const std::string& softVer,
                                            const FetchLimits& limits = {});

}  // namespace tovo
