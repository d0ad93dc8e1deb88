// The library-wide bitmap of the fill pattern chosen last.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace tamvel {

// Deletes the current pattern bitmap and makes the 8 x 8 monochrome bitmap of pattern code
// 2..15; returns it (it stays owned here), or null when it cannot be made. Brushes made from
// an older bitmap keep their own copy of the pixels.
HBITMAP ReplacePatternBitmap(int32_t code);
// The current pattern bitmap, null if none.
HBITMAP CurrentPatternBitmap();
// Deletes the pattern bitmap if it exists (detach).
void ReleasePatternBitmap();

}  // namespace tamvel
