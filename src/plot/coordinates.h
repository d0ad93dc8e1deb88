// The plot coordinate model: plot units (the caller's millimetres) to page millimetres
// (999 rule, rotation, scale factor, origin) and on to page units (MM_TWIPS, rounded half
// away from zero, clamped to the page limits). Every drawing call goes through these.
#pragma once

#include <cstdint>

#include "platform/saturating.h"

namespace tamvel {

// Applies the 999 rule, records the last point, rotates, divides by the scale factor and
// adds the origin; (x, y) become page millimetres, rounded to float.
void TransformPoint(float *x, float *y);
// Page millimetres to page units, clamped to the current page's limits. Non-finite values and
// values beyond the 32-bit range saturate before the clamp (NaN goes to the lower limit).
void ToPageUnits(float x, float y, int *px, int *py);
// As ToPageUnits with the limits moved 113 page units outwards (corners of filled shapes).
void ToPageUnitsWithMargin(float x, float y, int *px, int *py);
// A page-unit position back to plot units of the current page, as WHERE reports it
// (origin, rotation and scale factor undone; the OFFSET mapping is not).
void PageUnitsToPlot(int px, int py, float *x, float *y);

// Every conversion of a computed length or size to an integer goes through TruncToInt32 or
// RoundToInt32, and page-unit sums through the saturating helpers (platform/saturating.h).

}  // namespace tamvel
