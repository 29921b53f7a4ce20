#include "announce/identity_win.h"

#include <windows.h>
#include <winsock2.h>

#include <nb30.h>

#include <cstring>

namespace tovo {
namespace {

// Every command starts from a zeroed control block; only the fields a
// command needs are set, so the platform's defaults apply to the rest.
std::uint8_t RunNetbios(UCHAR command, UCHAR lana, void* buffer, WORD length,
                        const char* callName) {
  NCB ncb;
  std::memset(&ncb, 0, sizeof(ncb));
  ncb.ncb_command = command;
  ncb.ncb_lana_num = lana;
  ncb.ncb_buffer = static_cast<PUCHAR>(buffer);
  ncb.ncb_length = length;
  if (callName) std::memcpy(ncb.ncb_callname, callName, std::strlen(callName));
  return Netbios(&ncb);
}

}  // namespace

std::uint8_t Win32IdentitySource::EnumerateLanas(LanaEnumBuffer& buffer) {
  static_assert(sizeof(LANA_ENUM) <= sizeof(LanaEnumBuffer));
  return RunNetbios(NCBENUM, 0, buffer.data(), static_cast<WORD>(buffer.size()), nullptr);
}

std::uint8_t Win32IdentitySource::ResetLana(std::uint8_t lana) {
  return RunNetbios(NCBRESET, lana, nullptr, 0, nullptr);
}

std::uint8_t Win32IdentitySource::AdapterStatus(std::uint8_t lana, AdapterStatusBuffer& buffer) {
  // The call name "*" with the other 15 bytes zero; the 60-byte buffer holds
  // the fixed header only, so a longer name table reports "incomplete".
  static_assert(sizeof(ADAPTER_STATUS) == sizeof(AdapterStatusBuffer));
  return RunNetbios(NCBASTAT, lana, buffer.data(), static_cast<WORD>(buffer.size()), "*");
}

bool Win32IdentitySource::StartSockets() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 0), &data) == 0;
}

std::optional<std::string> Win32IdentitySource::HostName() {
  char name[32] = {};
  if (gethostname(name, sizeof(name)) != 0) return std::nullopt;
  return std::string(name, strnlen(name, sizeof(name)));
}

std::optional<IPv4Address> Win32IdentitySource::FirstIPv4(const std::string& host) {
  const hostent* entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
      !entry->h_addr_list[0]) {
    return std::nullopt;
  }
  IPv4Address address;
  std::memcpy(address.data(), entry->h_addr_list[0], 4);
  return address;
}

}  // namespace tovo
