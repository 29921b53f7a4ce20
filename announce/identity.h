// The machine's identity as the announcement service sees it: the adapter
// (MAC) addresses through NetBIOS and the IPv4 address of the own host name.
// The formatting is portable; what the platform answers sits behind
// IdentitySource. Neither routine reports an error: each has a fixed fallback.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tovo {

// NetBIOS return codes the formatting distinguishes.
inline constexpr std::uint8_t kNrcGoodReturn = 0x00;
// The status did not fit the buffer; the address in its first bytes is valid.
inline constexpr std::uint8_t kNrcIncomplete = 0x06;

using LanaEnumBuffer = std::array<std::uint8_t, 256>;  // count byte, then LANA numbers
using AdapterStatusBuffer = std::array<std::uint8_t, 60>;
using IPv4Address = std::array<std::uint8_t, 4>;  // network order

// What the platform answers. Each NetBIOS call returns the command's return
// code; the buffers are the caller's and are not cleared by it.
class IdentitySource {
 public:
  virtual ~IdentitySource() = default;

  virtual std::uint8_t EnumerateLanas(LanaEnumBuffer& buffer) = 0;
  virtual std::uint8_t ResetLana(std::uint8_t lana) = 0;
  // Adapter status with the call name "*".
  virtual std::uint8_t AdapterStatus(std::uint8_t lana, AdapterStatusBuffer& buffer) = 0;

  // Starts the socket layer (version 2.0); true on success.
  virtual bool StartSockets() = 0;
  // The host name through a 32-byte buffer; nullopt when the call fails.
  virtual std::optional<std::string> HostName() = 0;
  // The first IPv4 address the resolver gives for the name, if any.
  virtual std::optional<IPv4Address> FirstIPv4(const std::string& host) = 0;
};

// Two uppercase hexadecimal digits: 0 gives "00", 10 "0A", 255 "FF".
std::string ByteToHex2(std::uint8_t byte);

// One entry of 12 hex digits per LANA, in enumeration order, separated by
// ";". A failed enumeration counts as no LANA (empty text); a LANA whose
// status fails (other than "incomplete") is left out rather than repeating
// whatever the buffer held before.
std::string GetMacAddressList(IdentitySource& source);

// "a.b.c.d" in decimal, or "0,0,0,0" (commas) when any step fails.
std::string GetLocalIPv4(IdentitySource& source);

}  // namespace tovo
