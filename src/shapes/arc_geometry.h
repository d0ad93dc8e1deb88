// The geometry of arcs and wedges in page units: the radius, the bounding box and the two
// radial points handed to Arc and Pie. Plain functions; the calls in arcs.cpp supply the
// transformed centre and record the result.
#pragma once

#include <cstdint>

namespace tamvel {

// The eight Arc/Pie arguments in page units (y upwards: top is the larger y).
struct ArcRecordGeometry {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t x_start = 0;
  int32_t y_start = 0;
  int32_t x_end = 0;
  int32_t y_end = 0;
};

// Radii beyond this are cut to it so that the box stays inside the 32-bit range around any
// centre on the page.
constexpr int32_t kMaxArcRadius = 1 << 29;

// trunc(radius * 56.6929 / factor + 0.5); 0 (nothing drawn) for NaN and negative results, at
// most kMaxArcRadius.
int32_t ArcRadiusInPageUnits(float radius, float factor);

// The start and end angles in degrees, exchanged for direction -1, turned by the rotation.
void ArcAngles(float angle1, float angle2, int32_t direction, float rotation, float *start,
               float *end);

// Box of radius r about (cx, cy) and the radial points on the circle at the two angles
// (degrees), truncated towards zero.
ArcRecordGeometry ArcBoxAndRadials(int32_t cx, int32_t cy, int32_t r, float start_angle,
                                   float end_angle);

// The radial points of WEDGEG: on the rays at radius * 20 / factor page units from the
// centre, rounded; they only give the directions of the pie's sides.
void WedgeGridRadial(int32_t cx, int32_t cy, float radius, float factor, float angle, int32_t *x,
                     int32_t *y);

}  // namespace tamvel
