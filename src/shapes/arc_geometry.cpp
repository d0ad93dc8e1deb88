// Radius, box and radial points of arcs and wedges.
#include "src/shapes/arc_geometry.h"

#include <cmath>

#include "src/shapes/plot_point.h"

namespace tamvel {
namespace {

constexpr double kPageUnitsPerMillimetre = 56.6929;

}  // namespace

int32_t ArcRadiusInPageUnits(float radius, float factor) {
  const double r = std::trunc(radius * kPageUnitsPerMillimetre / factor + 0.5);
  if (std::isnan(r) || r < 0.0) return 0;
  if (r > kMaxArcRadius) return kMaxArcRadius;
  return static_cast<int32_t>(r);
}

void ArcAngles(float angle1, float angle2, int32_t direction, float rotation, float *start,
               float *end) {
  float a = angle1;
  float b = angle2;
  if (direction == -1) {
    a = angle2;
    b = angle1;
  }
  *start = a + rotation;
  *end = b + rotation;
}

ArcRecordGeometry ArcBoxAndRadials(int32_t cx, int32_t cy, int32_t r, float start_angle,
                                   float end_angle) {
  ArcRecordGeometry g;
  g.left = SaturatingSubtract(cx, r);
  g.top = SaturatingAdd(cy, r);
  g.right = SaturatingAdd(cx, r);
  g.bottom = SaturatingSubtract(cy, r);
  const double a = start_angle * kDegreesToRadians;
  const double b = end_angle * kDegreesToRadians;
  g.x_start = TruncToInt32(cx + r * std::cos(a));
  g.y_start = TruncToInt32(cy + r * std::sin(a));
  g.x_end = TruncToInt32(cx + r * std::cos(b));
  g.y_end = TruncToInt32(cy + r * std::sin(b));
  return g;
}

void WedgeGridRadial(int32_t cx, int32_t cy, float radius, float factor, float angle, int32_t *x,
                     int32_t *y) {
  const double a = angle * kDegreesToRadians;
  *x = TruncToInt32(radius * 20.0 * std::cos(a) / factor + cx + 0.5);
  *y = TruncToInt32(radius * 20.0 * std::sin(a) / factor + cy + 0.5);
}

}  // namespace tamvel
