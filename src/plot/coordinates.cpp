// The plot coordinate model of the current page.
#include "src/plot/coordinates.h"

namespace tamvel {

#if defined(__SSE2__)
const detail::PlotConstants detail::kPlotConstants = {
    {999.0f, 999.0f, 999.0f, 999.0f}, {-0.0, -0.0}, {0.5, 0.5}, {kPageUnitsPerMm, kPageUnitsPerMm}};
#endif
namespace {

constexpr int32_t kPageMargin = 113;  // page units beyond each limit for filled shapes

void StoreUnits(float x, float y, int32_t x_lower, int32_t x_upper, int32_t y_lower,
                int32_t y_upper, int *px, int *py) {
  if (px != nullptr) *px = ClampedPageUnits(x, x_lower, x_upper);
  if (py != nullptr) *py = ClampedPageUnits(y, y_lower, y_upper);
}

}  // namespace

void TransformPoint(float *x, float *y) {
  if (x == nullptr || y == nullptr) return;
  TransformPoint(CurrentState(), *x, *y);
}

void ToPageUnits(float x, float y, int *px, int *py) {
  const PlotState &s = CurrentState();
  StoreUnits(x, y, s.x_lower, s.x_upper, s.y_lower, s.y_upper, px, py);
}

void ToPageUnitsWithMargin(float x, float y, int *px, int *py) {
  const PlotState &s = CurrentState();
  StoreUnits(x, y, SaturatingSubtract(s.x_lower, kPageMargin),
             SaturatingAdd(s.x_upper, kPageMargin), SaturatingSubtract(s.y_lower, kPageMargin),
             SaturatingAdd(s.y_upper, kPageMargin), px, py);
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
