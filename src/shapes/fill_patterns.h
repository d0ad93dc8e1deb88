// The fill pattern table: sixteen 8 x 8 pictures ('0' ink, blank background), of which codes 2
// to 15 become monochrome pattern bitmaps.
#pragma once

#include <array>
#include <cstdint>

namespace tamvel {

constexpr int32_t kFirstBitmapPattern = 2;
constexpr int32_t kLastBitmapPattern = 15;

// Eight rows, top row first, of a table entry (0..15); null for any other code.
const char *const *FillPatternRows(int32_t code);

// The bitmap bits of a pattern code 2..15 in CreateBitmap's layout: eight 16-bit scan lines,
// top row first, ink pixels 0 bits and background pixels 1 bits in the low byte, the padding
// byte 0. False for a code outside 2..15.
bool FillPatternScanLines(int32_t code, std::array<uint8_t, 16> *bits);

}  // namespace tamvel
