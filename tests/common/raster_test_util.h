// Rendering helpers for the tests that look at pixels: play a page into an image DC, find
// where the ink is, compare two images.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "include/tamvel_linux.h"
#include "platform/posix/raster_image.h"
#include "platform/win32.h"

namespace tamvel::test {

using posix::RasterImage;

// Inclusive box of the pixels darker than mid-grey in any channel; right < left when there
// is none.
struct InkBox {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool empty() const { return right < left; }
};

inline bool IsInk(uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) < 128 || ((pixel >> 8) & 0xFF) < 128 || (pixel & 0xFF) < 128;
}

inline InkBox FindInk(const RasterImage &image, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
  if (x1 < 0) x1 = image.width - 1;
  if (y1 < 0) y1 = image.height - 1;
  InkBox box{image.width, image.height, -1, -1};
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (!IsInk(image.At(x, y))) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  if (box.right < 0) box = InkBox{};
  return box;
}

// Plays `metafile` into (0, 0, width, height) of a fresh white image of that size.
inline RasterImage RenderMetafile(HENHMETAFILE metafile, int width, int height) {
  RasterImage image;
  HDC dc = TamvelCreateImageDC(width, height);
  RECT rect{0, 0, width, height};
  PlayEnhMetaFile(dc, metafile, &rect);
  posix::CaptureImageDc(dc, &image);
  TamvelDeleteDC(dc);
  return image;
}

// Pixels whose largest channel difference exceeds `threshold`.
inline int CountDifferentPixels(const RasterImage &a, const RasterImage &b, int threshold) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
  int different = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    const uint32_t p = a.pixels[i], q = b.pixels[i];
    for (int shift : {0, 8, 16}) {
      if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > threshold) {
        ++different;
        break;
      }
    }
  }
  return different;
}

}  // namespace tamvel::test
