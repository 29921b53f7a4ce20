#include "announce/fetch.h"

#include <curl/curl.h>

#include <memory>

#include "announce/reply_parser.h"

namespace tovo {
namespace {

struct Body {
  std::string bytes;
  std::size_t limit;
};

// Returning less than offered makes curl abandon the transfer.
size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const size_t length = size * count;
  if (length > body->limit - body->bytes.size()) return 0;
  body->bytes.append(data, length);
  return length;
}

struct EasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void InitialiseCurlOnce() {
  [[maybe_unused]] static const bool initialised =
      curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

// curl puts its own Host line first; with our Accept given it adds none of
// its own, and without CURLOPT_USERAGENT / CURLOPT_ACCEPT_ENCODING the rest
// goes out exactly in this order.
std::unique_ptr<curl_slist, ListDeleter> RequestHeaders() {
  curl_slist* list = nullptr;
  for (const char* header : {"Accept: text/html, */*", "Accept-Encoding: identity",
                             "User-Agent: Mozilla/3.0 (compatible; Indy Library)"}) {
    curl_slist* grown = curl_slist_append(list, header);
    if (!grown) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = grown;
  }
  return std::unique_ptr<curl_slist, ListDeleter>(list);
}

bool Configure(CURL* curl, const std::string& url, curl_slist* headers, Body& body,
               const FetchLimits& limits) {
  bool ok = true;
  auto set = [&](CURLoption option, auto value) {
    ok = ok && curl_easy_setopt(curl, option, value) == CURLE_OK;
  };
  set(CURLOPT_URL, url.c_str());
  set(CURLOPT_PROTOCOLS_STR, "http");
  set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  set(CURLOPT_PROXY, "");
  set(CURLOPT_FOLLOWLOCATION, 0L);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_HTTPHEADER, headers);
  set(CURLOPT_WRITEFUNCTION, &AppendBody);
  set(CURLOPT_WRITEDATA, static_cast<void*>(&body));
  set(CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  set(CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
  return ok;
}

}  // namespace

std::string BuildAnnounceUrl(const AnnouncementServer& server, const std::string& adapters,
                             const std::string& ip, const std::string& softId,
                             const std::string& softVer) {
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on the chain
  // of operator+ that says the same.
  std::string url = "http://";
  url.append(server.host);
  if (server.port != 80) url.append(":").append(std::to_string(server.port));
  url.append("/rjservlet?Command=getmess&wkdz=").append(adapters);
  url.append("&ip=").append(ip);
  url.append("&softid=").append(softId);
  url.append("&softver=").append(softVer);
  return url;
}

std::optional<std::string> HttpGetBody(const std::string& url, const FetchLimits& limits) {
  InitialiseCurlOnce();
  std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  const auto headers = RequestHeaders();
  if (!curl || !headers) return std::nullopt;
  Body body{{}, limits.maxBody};
  if (!Configure(curl.get(), url, headers.get(), body, limits)) return std::nullopt;
  if (curl_easy_perform(curl.get()) != CURLE_OK) return std::nullopt;
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  if (status < 200 || status > 299) return std::nullopt;
  return std::move(body.bytes);
}

std::vector<std::string> FetchAnnouncements(const AnnouncementServer& server,
                                            IdentitySource& identity, GbkDecoder& gbk,
                                            const std::string& softId, const std::string& softVer,
                                            const FetchLimits& limits) {
  std::string reply;
  try {
    const std::string adapters = GetMacAddressList(identity);
    const std::string ip = GetLocalIPv4(identity);
    const std::optional<std::string> body =
        HttpGetBody(BuildAnnounceUrl(server, adapters, ip, softId, softVer), limits);
    if (body) reply = DecodeReplyBody(*body, gbk);
  } catch (...) {
    // Best effort: any failure of the fetch leaves the reply empty.
    reply.clear();
  }
  return ParseReply(reply);
}

}  // namespace tovo
