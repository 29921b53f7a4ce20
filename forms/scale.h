// How a layout drawn at 96 DPI becomes pixels at a window's DPI. Every
// length of a form goes through here, so every window rounds the same way.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/form_types.h"

namespace tovo::forms {

inline constexpr int kDesignDpi = 96;

// A length at `dpi`: value * dpi / 96, rounded to the nearest pixel with
// halves away from zero. At 96 DPI the value itself.
int Scaled(int value, int dpi);

// Scales the four edges rather than the size, so that controls which touch
// (or line up) at 96 DPI still do at every DPI.
Rect Scaled(const Rect& r, int dpi);

// A font's cell height at `dpi`; the rest of the font as it stands.
Font Scaled(Font font, int dpi);

// The picture source made for `dpi`: 100, 150 or 200 (percent), the
// smallest that is at least as large as the display needs, so that
// pictures are only ever scaled down.
int PictureSourcePercent(int dpi);

// Pixels as 0xAARRGGBB with premultiplied alpha, rows top first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// Resizes by averaging the area of the source each target pixel covers:
// smooth at any ratio, never blocks of repeated pixels.
Pixels Resampled(const Pixels& source, int width, int height);

}  // namespace tovo::forms
