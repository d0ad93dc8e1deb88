// The plot coordinate model of the current page.
#include "src/plot/coordinates.h"

#include <cmath>

#include "src/pages/page_table.h"

namespace tamvel {
namespace {

constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;
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
  int32_t x_lower = s.x_lower, x_upper = s.x_upper, y_lower = s.y_lower, y_upper = s.y_upper;
  if (margin != 0) {  // every PLOT comes here without one
    // The limits are widened in 64 bits so that a margin never wraps around.
    auto widen = [margin](int32_t limit, int sign) {
      return TruncToInt32(static_cast<double>(limit) + sign * static_cast<double>(margin));
    };
    x_lower = widen(x_lower, -1);
    x_upper = widen(x_upper, 1);
    y_lower = widen(y_lower, -1);
    y_upper = widen(y_upper, 1);
  }
  const int32_t x_value = ClampedUnits(x, x_lower, x_upper);
  const int32_t y_value = ClampedUnits(y, y_lower, y_upper);
  if (px != nullptr) *px = x_value;
  if (py != nullptr) *py = y_value;
}

}  // namespace

int32_t TruncToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= kInt32Min) return INT32_MIN;
  if (value >= kInt32Max) return INT32_MAX;
  return static_cast<int32_t>(value);
}

int32_t RoundToInt32(double value) {
  return TruncToInt32(value >= 0.0 ? value + 0.5 : value - 0.5);
}

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
