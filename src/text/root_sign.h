// The square-root sign drawn around a text: its outline from the font metrics, in page units.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace tamvel {

// Turns (px, py) by angle degrees about the origin; coordinates pass through 32-bit floats and
// are truncated toward zero (saturated, NaN to 0).
void RotatePoint(int32_t *px, int32_t *py, float angle);

// What the outline is built from: cell height, ascent, descent, the width of a blank and of
// the text (a blank followed by the caller's text), all page units.
struct RootSignMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int blank_width = 0;
  int text_width = 0;
};

struct RootSignShape {
  POINT outline[4];     // tick start, stroke bottom, stroke top, end of the bar
  POINT background[4];  // the text cell with the room above it, for an opaque background
};

// The outline for text written at (x, y) with the text-align flags and font angle given.
RootSignShape RootSignOutline(const RootSignMetrics &metrics, UINT align_flags, float angle, int x,
                              int y);

}  // namespace tamvel
