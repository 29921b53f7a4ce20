#include "announce/identity.h"

namespace tovo {

std::string ByteToHex2(std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

std::string GetMacAddressList(IdentitySource& source) {
  LanaEnumBuffer lanas = {};
  if (source.EnumerateLanas(lanas) != kNrcGoodReturn) return {};
  std::string list;
  AdapterStatusBuffer status = {};
  const std::uint8_t count = lanas[0];
  for (int i = 1; i <= count; ++i) {
    const std::uint8_t lana = lanas[i];
    source.ResetLana(lana);
    const std::uint8_t code = source.AdapterStatus(lana, status);
    if (code != kNrcGoodReturn && code != kNrcIncomplete) continue;
    for (int b = 0; b < 6; ++b) list += ByteToHex2(status[b]);
    list += ';';
  }
  if (!list.empty()) list.pop_back();
  return list;
}

std::string GetLocalIPv4(IdentitySource& source) {
  const std::string fallback = "0,0,0,0";
  try {
    if (!source.StartSockets()) return fallback;
    const std::optional<std::string> host = source.HostName();
    if (!host) return fallback;
    const std::optional<IPv4Address> address = source.FirstIPv4(*host);
    if (!address) return fallback;
    std::string text;
    for (int i = 0; i < 4; ++i) {
      if (i > 0) text += '.';
      text += std::to_string((*address)[i]);
    }
    return text;
  } catch (...) {
    return fallback;
  }
}

}  // namespace tovo
