// The bitmap of the fill pattern chosen last, shared by all pages.
#include "src/shapes/pattern_bitmap.h"

#include "platform/win32.h"

namespace tamvel {
namespace {

HBITMAP g_pattern_bitmap = nullptr;

}  // namespace

void ReleasePatternBitmap() {
  if (g_pattern_bitmap != nullptr) DeleteObject(g_pattern_bitmap);
  g_pattern_bitmap = nullptr;
}

}  // namespace tamvel
