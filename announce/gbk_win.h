// GBK (code page 936) to UTF-8 through the system's conversion tables.
#pragma once

#include "announce/reply_decode.h"

namespace tovo {

class Win32GbkDecoder : public GbkDecoder {
 public:
  std::optional<std::string> GbkToUtf8(std::string_view gbk) override;
};

}  // namespace tovo
