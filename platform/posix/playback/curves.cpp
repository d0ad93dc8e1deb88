// Curves of the recording, flattened in recorded units before they are transformed (so any
// mapping places them right), finely enough for a tenth of a target pixel: arcs, chords,
// pies, ellipses, round rectangles and Beziers.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/posix/playback/player.h"

namespace tamvel::posix::playback {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kMaxArcSegments = 2048;
constexpr int kMaxCurveSegments = 256;

}  // namespace

std::vector<Point2> Player::ArcPoints(const emf::Rect &box, emf::Point start, emf::Point end,
                                      bool whole_if_equal) const {
  const double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
  const double rx = std::fabs(double(box.right) - box.left) / 2;
  const double ry = std::fabs(double(box.bottom) - box.top) / 2;
  if (rx == 0 || ry == 0) return {};
  // Parameter angles of the radials through the two points.
  double t0 = std::atan2((start.y - cy) * rx, (start.x - cx) * ry);
  double t1 = std::atan2((end.y - cy) * rx, (end.x - cx) * ry);
  // Counter-clockwise as seen on the recording's device: with y down on that device (no
  // flip) that is decreasing angles in logical units, with y up increasing ones.
  const bool flipped = RecordedFlip();
  double direction = flipped ? 1.0 : -1.0;
  if (state_.arc_direction == AD_CLOCKWISE) direction = -direction;
  double sweep = direction * (t1 - t0);
  while (sweep <= 0) sweep += 2 * kPi;
  if (whole_if_equal && start.x == end.x && start.y == end.y) sweep = 2 * kPi;
  if (sweep > 2 * kPi) sweep = 2 * kPi;
  // Enough segments for a tenth of a device pixel of error, within bounds.
  const double radius_px = std::max(rx, ry) * DevicePixelsPerUnit();
  double step = radius_px > 0.2 ? 2 * std::acos(std::max(-1.0, 1 - 0.1 / radius_px)) : kPi / 2;
  int segments = static_cast<int>(std::ceil(sweep / std::max(step, 1e-6)));
  segments = std::clamp(segments, 4, kMaxArcSegments);
  std::vector<Point2> points;
  points.reserve(segments + 1);
  for (int i = 0; i <= segments; ++i) {
    const double t = t0 + direction * sweep * i / segments;
    points.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
  return points;
}

std::vector<Point2> Player::Bezier(Point2 p0, const std::vector<Point2> &controls) const {
  std::vector<Point2> out;
  const double scale = DevicePixelsPerUnit();
  for (size_t i = 0; i + 2 < controls.size(); i += 3) {
    const Point2 p1 = controls[i], p2 = controls[i + 1], p3 = controls[i + 2];
    const double length = std::hypot(p1.x - p0.x, p1.y - p0.y) +
                          std::hypot(p2.x - p1.x, p2.y - p1.y) +
                          std::hypot(p3.x - p2.x, p3.y - p2.y);
    double wanted = length * scale / 4;
    int n = std::isfinite(wanted) ? static_cast<int>(std::clamp(wanted, 4.0, 256.0)) : 4;
    n = std::min(n, kMaxCurveSegments);
    for (int k = 1; k <= n; ++k) {
      const double t = double(k) / n, u = 1 - t;
      const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
      out.push_back({b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                     b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y});
    }
    p0 = p3;
  }
  return out;
}

void Player::On(const emf::Record &record, const emf::ArcValue &v) {
  std::vector<Point2> points = ArcPoints(v.box, v.start, v.end, true);
  if (points.empty()) return;
  switch (record.type) {
    case emf::kArc:
      DrawPolyline(points);
      break;
    case emf::kArcTo:
      LineToAll(points);
      break;
    case emf::kChord:
      DrawPolygon(points);
      break;
    case emf::kPie:
      points.insert(points.begin(), {(double(v.box.left) + v.box.right) / 2,
                                     (double(v.box.top) + v.box.bottom) / 2});
      DrawPolygon(points);
      break;
    default:
      break;
  }
}

// ROUNDRECT: four quarter ellipses of the corner size (at most the box) joined by the sides,
// counter-clockwise with y down.
void Player::On(const emf::Record &, const emf::RoundRectValue &v) {
  const emf::Rect &box = v.box;
  const double l = std::min(box.left, box.right), r = std::max(box.left, box.right);
  const double t = std::min(box.top, box.bottom), b = std::max(box.top, box.bottom);
  const double ew = std::min(std::fabs(double(v.corner.cx)), r - l) / 2;
  const double eh = std::min(std::fabs(double(v.corner.cy)), b - t) / 2;
  std::vector<Point2> points;
  constexpr int kQuarterSegments = 16;
  const double cx[4] = {r - ew, l + ew, l + ew, r - ew}, cy[4] = {t + eh, t + eh, b - eh, b - eh};
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i <= kQuarterSegments; ++i) {
      const double a = -kPi / 2 * corner - kPi / 2 * i / kQuarterSegments;
      points.push_back({cx[corner] + ew * std::cos(a), cy[corner] + eh * std::sin(a)});
    }
  }
  DrawPolygon(points);
}

}  // namespace tamvel::posix::playback
