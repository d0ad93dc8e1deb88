#include "platform/posix/arcs.h"

#include <algorithm>
#include <cmath>

namespace tamvel::posix {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Largest distance of a chord from the curve, in reference pixels: small enough that the
// facets stay invisible when a picture is played back at printer resolution.
constexpr double kTolerancePx = 0.02;
constexpr int kMaxSegments = 4096;

struct Ellipse {
  double cx, cy, a, b;
};

Ellipse FromBox(const RECT &box) {
  const double left = box.left, right = box.right, top = box.top, bottom = box.bottom;
  return {(left + right) / 2, (top + bottom) / 2, std::fabs(right - left) / 2,
          std::fabs(bottom - top) / 2};
}

// The parameter angle of the point where the radial through `p` meets the ellipse.
double RadialAngle(const Ellipse &e, POINT p) {
  return std::atan2((p.y - e.cy) / e.b, (p.x - e.cx) / e.a);
}

// +1 when increasing angles run counter-clockwise on the device, -1 when the page transform
// mirrors them (MM_TEXT: y grows downwards on the device).
int Orientation(const PageMapping &m) { return ScaleX(m) * -ScaleY(m) > 0 ? 1 : -1; }

int Segments(const PageMapping &m, const Ellipse &e, double sweep) {
  const double radius_px = std::max(e.a * std::fabs(ScaleX(m)), e.b * std::fabs(ScaleY(m)));
  double step = kTwoPi / 4;
  if (radius_px > kTolerancePx) step = std::min(step, 2 * std::acos(1 - kTolerancePx / radius_px));
  const double n = std::ceil(std::fabs(sweep) / step);
  return static_cast<int>(std::clamp(n, 2.0, static_cast<double>(kMaxSegments)));
}

std::vector<POINT> Trace(const PageMapping &m, const Ellipse &e, double from, double sweep) {
  const int n = Segments(m, e, sweep);
  std::vector<POINT> points;
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double angle = from + sweep * i / n;
    POINT p{RoundToLong(e.cx + e.a * std::cos(angle)), RoundToLong(e.cy + e.b * std::sin(angle))};
    if (points.empty() || p.x != points.back().x || p.y != points.back().y) points.push_back(p);
  }
  return points;
}

bool HasArea(const Ellipse &e) {
  return e.a > 0 && e.b > 0 && std::isfinite(e.a) && std::isfinite(e.b);
}

}  // namespace

std::vector<POINT> ArcPoints(const PageMapping &mapping, const RECT &box, POINT start, POINT end) {
  const Ellipse e = FromBox(box);
  if (!HasArea(e)) return {};
  const double from = RadialAngle(e, start);
  const int direction = Orientation(mapping);
  double sweep = RadialAngle(e, end) - from;
  if (direction > 0) {
    while (sweep <= 0) sweep += kTwoPi;
  } else {
    while (sweep >= 0) sweep -= kTwoPi;
  }
  return Trace(mapping, e, from, sweep);
}

std::vector<POINT> EllipsePoints(const PageMapping &mapping, const RECT &box) {
  const Ellipse e = FromBox(box);
  if (!HasArea(e)) return {};
  std::vector<POINT> points = Trace(mapping, e, 0, kTwoPi * Orientation(mapping));
  if (points.size() > 1 && points.front().x == points.back().x &&
      points.front().y == points.back().y) {
    points.pop_back();
  }
  return points;
}

POINT BoxCentre(const RECT &box) {
  const Ellipse e = FromBox(box);
  return {RoundToLong(e.cx), RoundToLong(e.cy)};
}

}  // namespace tamvel::posix
