#include "forms/scale.h"

#include <algorithm>
#include <cstdlib>

namespace tovo::forms {

int Scaled(int value, int dpi) {
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kDesignDpi / 2;
  const long long rounded = (std::llabs(product) + half) / kDesignDpi;
  return static_cast<int>(product < 0 ? -rounded : rounded);
}

Rect Scaled(const Rect& r, int dpi) {
  const int left = Scaled(r.left, dpi);
  const int top = Scaled(r.top, dpi);
  return {left, top, Scaled(r.right(), dpi) - left, Scaled(r.bottom(), dpi) - top};
}

Font Scaled(Font font, int dpi) {
  font.height = Scaled(font.height, dpi);
  return font;
}

int PictureSourcePercent(int dpi) {
  if (dpi <= kDesignDpi) return 100;
  if (dpi <= kDesignDpi * 3 / 2) return 150;
  return 200;
}

namespace {

// How much of source pixel `i` lies in [from, to), both in source pixels.
double Overlap(int i, double from, double to) {
  return std::max(0.0, std::min<double>(i + 1, to) - std::max<double>(i, from));
}

}  // namespace

Pixels Resampled(const Pixels& source, int width, int height) {
  Pixels out{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  if (source.width <= 0 || source.height <= 0) return out;
  const double sx = static_cast<double>(source.width) / width;
  const double sy = static_cast<double>(source.height) / height;
  for (int y = 0; y < height; ++y) {
    const double y0 = y * sy, y1 = (y + 1) * sy;
    for (int x = 0; x < width; ++x) {
      const double x0 = x * sx, x1 = (x + 1) * sx;
      double sum[4] = {0, 0, 0, 0};
      for (int j = static_cast<int>(y0); j < std::min<double>(y1, source.height); ++j) {
        const double wy = Overlap(j, y0, y1);
        for (int i = static_cast<int>(x0); i < std::min<double>(x1, source.width); ++i) {
          const double w = wy * Overlap(i, x0, x1);
          const std::uint32_t p = source.argb[static_cast<size_t>(j) * source.width + i];
          for (int c = 0; c < 4; ++c) sum[c] += w * ((p >> (8 * c)) & 0xFF);
        }
      }
      const double area = sx * sy;
      std::uint32_t pixel = 0;
      for (int c = 0; c < 4; ++c) {
        const auto channel = static_cast<std::uint32_t>(std::min(255.0, sum[c] / area + 0.5));
        pixel |= channel << (8 * c);
      }
      out.argb[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  return out;
}

}  // namespace tovo::forms
