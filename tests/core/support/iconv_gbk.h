// GBK conversion for native runs (iconv); the program uses the Windows one.
#pragma once

#include <memory>

#include "announce/reply_decode.h"

namespace tovo::testing {

// null where iconv is not available (Windows builds of the core tests).
std::unique_ptr<GbkDecoder> MakeIconvGbkDecoder();

}  // namespace tovo::testing
