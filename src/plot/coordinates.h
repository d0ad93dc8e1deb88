// The plot coordinate model: plot units (the caller's millimetres) to page millimetres
// (999 rule, rotation, scale factor, origin) and on to page units (MM_TWIPS, rounded half
// away from zero, clamped to the page limits). Every drawing call goes through these; the
// ones PLOT needs are inline.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// TransformPoint and then ToPageUnits: PLOT's way for pen codes 2 and 3. With SSE2 both
// coordinates go through at once: the same operations on the same values in the same order
// (the difference of two products as the sum with one negated, which is exact), so the same
// page units; tests compare it with the two functions above.
#if defined(__SSE2__)
namespace detail {
// PLOT's constants as whole registers in memory, each the operand of one instruction.
// Defined in coordinates.cpp: where the compiler sees their values it builds them in
// registers instead, two instructions each.
struct PlotConstants {
  alignas(16) float is_999[4];
  alignas(16) double sign[2];
  alignas(16) double half[2];
  alignas(16) double units_per_mm[2];
};
extern const PlotConstants kPlotConstants;
}  // namespace detail
#endif

inline void PlotPointToPageUnits(PlotState &s, float x, float y, int &px, int &py) {
#if defined(__SSE2__)
  const detail::PlotConstants &k = detail::kPlotConstants;
  __m128 xy = _mm_setr_ps(x, y, 0.0f, 0.0f);
  if (_mm_movemask_ps(_mm_cmpeq_ps(xy, _mm_load_ps(k.is_999)))) {
    if (x == 999.0f) x = s.last_x;
    if (y == 999.0f) y = s.last_y;
    xy = _mm_setr_ps(x, y, 0.0f, 0.0f);
  }
  _mm_storel_pi(reinterpret_cast<__m64 *>(&s.last_x), xy);
  const __m128d p = _mm_cvtps_pd(xy);
  const __m128d x_products = _mm_mul_pd(_mm_unpacklo_pd(p, p), _mm_load_pd(&s.rotation_cos));
  const __m128d y_products = _mm_mul_pd(_mm_unpackhi_pd(p, p), _mm_load_pd(s.rotation_y_column));
  __m128d mm = _mm_add_pd(x_products, y_products);  // x cos - y sin, x sin + y cos
  mm = _mm_add_pd(_mm_load_pd(&s.origin_x), _mm_div_pd(mm, _mm_set1_pd(s.factor)));
  mm = _mm_cvtps_pd(_mm_cvtpd_ps(mm));  // page millimetres, rounded to float
  __m128d v = _mm_mul_pd(mm, _mm_load_pd(k.units_per_mm));
  v = _mm_min_pd(_mm_max_pd(v, _mm_load_pd(&s.x_lower_units)), _mm_load_pd(&s.x_upper_units));
  const __m128d half = _mm_or_pd(_mm_and_pd(v, _mm_load_pd(k.sign)), _mm_load_pd(k.half));
  const __m128i units = _mm_cvttpd_epi32(_mm_add_pd(v, half));
  px = _mm_cvtsi128_si32(units);
  py = _mm_cvtsi128_si32(_mm_srli_si128(units, 4));
#else
  TransformPoint(s, x, y);
  ToPageUnits(s, x, y, px, py);
#endif
}
// As ToPageUnits with the limits moved 113 page units outwards (corners of filled shapes).
void ToPageUnitsWithMargin(float x, float y, int *px, int *py);
// A page-unit position back to plot units of the current page, as WHERE reports it
// (origin, rotation and scale factor undone; the OFFSET mapping is not).
void PageUnitsToPlot(int px, int py, float *x, float *y);

// Every conversion of a computed length or size to an integer goes through TruncToInt32 or
// RoundToInt32, and page-unit sums through the saturating helpers (platform/saturating.h).

}  // namespace tamvel
