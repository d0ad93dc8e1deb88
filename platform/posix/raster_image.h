// Pixels of image DCs and PNG files as plain arrays, for the tool and the tests that compare
// renderings (they cannot use cairo themselves).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

struct RasterImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The current pixels of an image DC (TamvelCreateImageDC's, CreateAlphaImageDc's); false for
// any other DC. With `stored`, the 32-bit words as the image holds them (0xAARRGGBB with
// premultiplied alpha, or an unused top byte), to compare two ways of painting exactly.
bool CaptureImageDc(HDC dc, RasterImage *image, bool stored = false);
// A DC on a fresh transparent image that keeps an alpha channel (TamvelCreateImageDC's has
// none), for the tests that paint on both kinds; null when it cannot be made.
HDC CreateAlphaImageDc(int width, int height);
bool ReadPng(const std::string &path, RasterImage *image);
bool WritePng(const std::string &path, const RasterImage &image);

}  // namespace tamvel::posix
