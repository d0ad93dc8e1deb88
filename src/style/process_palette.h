// The library-wide palette collected by UpPalette/UpPalette0: ten explicit system entries
// followed by up to 235 collected colours.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace tamvel {

constexpr int kMaxProcessColors = 235;
constexpr int kSystemPaletteEntries = 10;

// Adds a colour (COLORREF) unless it is already collected or the list is full.
void CollectProcessColor(COLORREF colour);
// Number of collected colours and the palette handle (null before the first colour).
int ProcessColorCount();
HPALETTE ProcessPaletteHandle();
// Frees the palette block and deletes the palette; the list is emptied (InitPalette, detach).
void ReleaseProcessPalette();

}  // namespace tamvel
