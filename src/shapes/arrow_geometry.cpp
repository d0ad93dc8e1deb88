// Construction points and step table of the arrow heads.
#include "src/shapes/arrow_geometry.h"

#include <cmath>

namespace tamvel {
namespace {

constexpr double kQuarterTurn = 1.570796326794895;

PlotPoint Along(PlotPoint from, double distance, double angle) {
  return {static_cast<float>(from.x + distance * std::cos(angle)),
          static_cast<float>(from.y + distance * std::sin(angle))};
}

}  // namespace

bool ArrowHasLength(PlotPoint s, PlotPoint e) {
  const float dx = e.x - s.x;
  const float dy = e.y - s.y;
  return dx * dx + dy * dy > 0.0f;
}

ArrowPoints MakeArrowPoints(PlotPoint s, PlotPoint e, float length, float width) {
  ArrowPoints a;
  a.s = s;
  a.e = e;
  const double dx = static_cast<double>(e.x) - s.x;
  const double dy = static_cast<double>(e.y) - s.y;
  const double distance = std::sqrt(dx * dx + dy * dy);
  const double angle = std::atan2(dy, dx);
  a.p = Along(s, distance - length, angle);
  a.q = Along(s, length, angle);
  const double half_width = width / 2.0f;
  const double right = angle - kQuarterTurn;
  const double left = right + kPi;
  a.pr = Along(a.p, half_width, right);
  a.pl = Along(a.p, half_width, left);
  a.qr = Along(a.q, half_width, right);
  a.ql = Along(a.q, half_width, left);
  return a;
}

ShapeProgram ArrowProgram(const ArrowPoints &a, int32_t type) {
  ShapeProgram p;
  const int32_t t = type % 10;
  const int32_t n = type / 10;
  const bool shaft = n >= 1;
  const bool second_head = n >= 2;
  switch (t) {
    case 1:  // closed outline, shaft between the head bases
      p.Stroke(a.e, a.pr);
      p.Draw(a.pl);
      p.Draw(a.e);
      if (shaft) p.Stroke(a.p, a.q);
      if (second_head) {
        p.Stroke(a.s, a.ql);
        p.Draw(a.qr);
        p.Draw(a.s);
      }
      break;
    case 2:  // closed outline, shaft from the tip through the head to S
      p.Stroke(a.e, a.pr);
      p.Draw(a.pl);
      p.Draw(a.e);
      if (shaft) p.Draw(a.s);
      if (second_head) {
        p.Draw(a.ql);
        p.Draw(a.qr);
        p.Draw(a.s);
      }
      break;
    case 3:  // left half, closed
      p.Stroke(a.p, a.pl);
      p.Draw(a.e);
      p.Draw(a.p);
      if (shaft) p.Draw(a.s);
      if (second_head) {
        p.Draw(a.ql);
        p.Draw(a.q);
      }
      break;
    case 4:  // open head with its axis
      p.Stroke(a.pr, a.e);
      p.Draw(a.pl);
      p.Stroke(a.e, a.p);
      if (shaft) p.Draw(a.s);
      if (second_head) {
        p.Stroke(a.ql, a.s);
        p.Draw(a.qr);
      }
      break;
    case 5:  // single barb with its axis
      p.Stroke(a.pl, a.e);
      p.Draw(a.p);
      if (shaft) p.Draw(a.s);
      if (second_head) p.Draw(a.ql);
      break;
    case 6:  // filled, the shaft drawn first
      if (shaft) p.Stroke(a.p, a.q);
      p.Fill({a.pr, a.pl, a.e}, 1);
      if (second_head) p.Fill({a.ql, a.qr, a.s}, 1);
      break;
    case 7:  // filled left half
      p.Fill({a.e, a.p, a.pl}, 1);
      if (shaft) p.Stroke(a.p, a.q);
      if (second_head) p.Fill({a.ql, a.q, a.s}, 1);
      break;
    case 8:  // open head
      p.Stroke(a.pr, a.e);
      p.Draw(a.pl);
      if (shaft) p.Stroke(a.p, a.q);
      if (second_head) {
        p.Stroke(a.ql, a.s);
        p.Draw(a.qr);
      }
      break;
    default:
      break;
  }
  return p;
}

}  // namespace tamvel
