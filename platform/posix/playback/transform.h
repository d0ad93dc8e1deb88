// The affine transforms of playback: recorded logical units -> reference pixels (page
// transform and world transform of the recording) -> target logical units (frame onto the
// target rectangle).
#pragma once

#include <cmath>

#include "platform/emf/emf_decoder.h"
#include "platform/posix/mapping.h"

namespace tamvel::posix::playback {

struct Point2 {
  double x = 0;
  double y = 0;
};

// x' = a x + c y + e, y' = b x + d y + f (the XFORM layout).
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point2 Apply(Point2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  double Determinant() const { return a * d - b * c; }
  // Lengths of the images of the unit x and y vectors.
  double XScale() const { return std::hypot(a, b); }
  double YScale() const { return std::hypot(c, d); }
  bool AxisAligned() const { return b == 0 && c == 0; }
};

// `then` after `first`.
inline Affine Compose(const Affine &then, const Affine &first) {
  return {
      then.a * first.a + then.c * first.b,          then.b * first.a + then.d * first.b,
      then.a * first.c + then.c * first.d,          then.b * first.c + then.d * first.d,
      then.a * first.e + then.c * first.f + then.e, then.b * first.e + then.d * first.f + then.f};
}

// A recorded XFORM; the identity when any of its numbers is not finite.
inline Affine FromXform(const emf::Xform &x) {
  Affine m{x.m11, x.m12, x.m21, x.m22, x.dx, x.dy};
  for (double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
    if (!std::isfinite(v)) return {};
  }
  return m;
}

// A page mapping: logical units -> device pixels.
inline Affine FromMapping(const PageMapping &m) {
  double x0, y0, x1, y1;
  LogicalToDevice(m, 0, 0, x0, y0);
  LogicalToDevice(m, 1, 1, x1, y1);
  return {x1 - x0, 0, 0, y1 - y0, x0, y0};
}

}  // namespace tamvel::posix::playback
