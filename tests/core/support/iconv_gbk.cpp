#include "tests/core/support/iconv_gbk.h"

#if __has_include(<iconv.h>)
#include <iconv.h>
#define TOVO_HAVE_ICONV 1
#endif

namespace tovo::testing {

#ifdef TOVO_HAVE_ICONV
namespace {

class IconvGbkDecoder : public GbkDecoder {
 public:
  std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in(gbk);
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = in.size();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
  }
};

}  // namespace

std::unique_ptr<GbkDecoder> MakeIconvGbkDecoder() {
  return std::make_unique<IconvGbkDecoder>();
}
#else
std::unique_ptr<GbkDecoder> MakeIconvGbkDecoder() {
  return nullptr;
}
#endif

}  // namespace tovo::testing
