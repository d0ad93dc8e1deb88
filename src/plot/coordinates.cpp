// The plot coordinate model of the current page.
#include "src/plot/coordinates.h"

#include <cmath>

#include "src/pages/page_table.h"

namespace tamvel {
namespace {

constexpr int32_t kPageMargin = 113;  // page units beyond each limit for filled shapes

// Page millimetres to page units, rounded half away from zero, then clamped. A value beyond
// 32 bits saturates first (infinities included), so it lands on the nearer limit; NaN lands on
// the lower limit.
int32_t ClampedUnits(float mm, int32_t lower, int32_t upper) {
  const double v = mm * kPageUnitsPerMm;
  int32_t units = std::isnan(v) ? lower : RoundToInt32(v);
  if (units < lower) units = lower;
  if (units > upper) units = upper;
  return units;
}

void ClampedPageUnits(float x, float y, int32_t margin, int *px, int *py) {
  const PlotState &s = CurrentState();
  const int32_t x_value =
      ClampedUnits(x, SaturatingSubtract(s.x_lower, margin), SaturatingAdd(s.x_upper, margin));
  const int32_t y_value =
      ClampedUnits(y, SaturatingSubtract(s.y_lower, margin), SaturatingAdd(s.y_upper, margin));
  if (px != nullptr) *px = x_value;
  if (py != nullptr) *py = y_value;
}

}  // namespace

void TransformPoint(float *x, float *y) {
  if (x == nullptr || y == nullptr) return;
  PlotState &s = CurrentState();
  if (*x == 999.0f) *x = s.last_x;
  if (*y == 999.0f) *y = s.last_y;
  s.last_x = *x;
  s.last_y = *y;
  const double px = *x;
  const double py = *y;
  const double factor = s.factor;
  *x = static_cast<float>(s.origin_x + (px * s.rotation_cos - py * s.rotation_sin) / factor);
  *y = static_cast<float>(s.origin_y + (px * s.rotation_sin + py * s.rotation_cos) / factor);
}

void ToPageUnits(float x, float y, int *px, int *py) { ClampedPageUnits(x, y, 0, px, py); }

void ToPageUnitsWithMargin(float x, float y, int *px, int *py) {
  ClampedPageUnits(x, y, kPageMargin, px, py);
}

void PageUnitsToPlot(int px, int py, float *x, float *y) {
  const PlotState &s = CurrentState();
  const double dx = px / kPageUnitsPerMm - s.origin_x;
  const double dy = py / kPageUnitsPerMm - s.origin_y;
  const double factor = s.factor;
  if (x != nullptr) *x = static_cast<float>((dx * s.rotation_cos + dy * s.rotation_sin) * factor);
  if (y != nullptr) *y = static_cast<float>((-dx * s.rotation_sin + dy * s.rotation_cos) * factor);
}

}  // namespace tamvel
