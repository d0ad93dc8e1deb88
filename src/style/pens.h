// Colour codes of PENC, FILLC, TEXTC, ALLC, SETBKC and PALC.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace tamvel {

// -1: RGB from r, g, b on a 0..996 scale (each clamped); 0..15: the fixed table of sixteen
// colours; any other value: black.
COLORREF DecodeColor(int32_t code, int32_t r, int32_t g, int32_t b);

// Codes of -2 and below select no colour: a null pen, a hollow brush, no change.
constexpr bool IsNoColor(int32_t code) { return code <= -2; }

}  // namespace tamvel
