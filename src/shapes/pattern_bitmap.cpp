// The bitmap of the fill pattern chosen last, shared by all pages.
#include "src/shapes/pattern_bitmap.h"

#include <array>

#include "src/shapes/fill_patterns.h"

namespace tamvel {
namespace {

HBITMAP g_pattern_bitmap = nullptr;

}  // namespace

HBITMAP ReplacePatternBitmap(int32_t code) {
  ReleasePatternBitmap();
  std::array<uint8_t, 16> bits{};
  if (!FillPatternScanLines(code, &bits)) return nullptr;
  g_pattern_bitmap = CreateBitmap(8, 8, 1, 1, bits.data());
  return g_pattern_bitmap;
}

HBITMAP CurrentPatternBitmap() { return g_pattern_bitmap; }

void ReleasePatternBitmap() {
  if (g_pattern_bitmap != nullptr) DeleteObject(g_pattern_bitmap);
  g_pattern_bitmap = nullptr;
}

}  // namespace tamvel
