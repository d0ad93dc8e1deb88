// The plot coordinate model: plot units (the caller's millimetres) to page millimetres
// (999 rule, rotation, scale factor, origin) and on to page units (MM_TWIPS, rounded half
// away from zero, clamped to the page limits). Every drawing call goes through these; the
// ones PLOT needs are inline.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/saturating.h"
#include "src/pages/page_table.h"

namespace tamvel {

// Applies the 999 rule, records the last point, rotates, divides by the scale factor and
// adds the origin of `s`; (x, y) become page millimetres, rounded to float.
inline void TransformPoint(PlotState &s, float &x, float &y) {
  if (x == 999.0f) x = s.last_x;
  if (y == 999.0f) y = s.last_y;
  s.last_x = x;
  s.last_y = y;
  const double px = x;
  const double py = y;
  x = static_cast<float>(s.origin_x + (px * s.rotation_cos - py * s.rotation_sin) / s.factor);
  y = static_cast<float>(s.origin_y + (px * s.rotation_sin + py * s.rotation_cos) / s.factor);
}
// The same with the current page's values; null pointers do nothing.
void TransformPoint(float *x, float *y);

// Page millimetres to page units, rounded half away from zero and then clamped to
// [lower, upper] (to upper when lower > upper). Rounding is monotonic and keeps whole
// numbers, so the clamp is done first, in double: values beyond 32 bits (infinities
// included) land on the nearer limit, NaN on the lower one. Written as max, min and a
// rounding with the sign's half, which compile to no branch.
inline int32_t ClampedPageUnits(float mm, double lower, double upper) {
  double v = mm * kPageUnitsPerMm;
  v = v > lower ? v : lower;
  v = v < upper ? v : upper;
  return static_cast<int32_t>(v + std::copysign(0.5, v));
}
// Page millimetres to page units within the limits of `s`.
inline void ToPageUnits(const PlotState &s, float x, float y, int &px, int &py) {
  px = ClampedPageUnits(x, s.x_lower_units, s.x_upper_units);
  py = ClampedPageUnits(y, s.y_lower_units, s.y_upper_units);
}
// The same within the current page's limits; null pointers are skipped.
void ToPageUnits(float x, float y, int *px, int *py);
// As ToPageUnits with the limits moved 113 page units outwards (corners of filled shapes).
void ToPageUnitsWithMargin(float x, float y, int *px, int *py);
// A page-unit position back to plot units of the current page, as WHERE reports it
// (origin, rotation and scale factor undone; the OFFSET mapping is not).
void PageUnitsToPlot(int px, int py, float *x, float *y);

// Every conversion of a computed length or size to an integer goes through TruncToInt32 or
// RoundToInt32, and page-unit sums through the saturating helpers (platform/saturating.h).

}  // namespace tamvel
