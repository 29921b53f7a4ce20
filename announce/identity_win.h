// The machine's identity from NetBIOS (netapi32) and Windows Sockets.
#pragma once

#include "announce/identity.h"

namespace tovo {

class Win32IdentitySource : public IdentitySource {
 public:
  std::uint8_t EnumerateLanas(LanaEnumBuffer& buffer) override;
  std::uint8_t ResetLana(std::uint8_t lana) override;
  std::uint8_t AdapterStatus(std::uint8_t lana, AdapterStatusBuffer& buffer) override;
  // The socket layer is started once and never shut down: the resolver may
  // still be in use by the fetch that follows.
  bool StartSockets() override;
  std::optional<std::string> HostName() override;
  std::optional<IPv4Address> FirstIPv4(const std::string& host) override;
};

}  // namespace tovo
