// The geometry of the dashed lines: the eleven dash patterns of LINE6 with the pen-width
// allowance on their gaps, the dash walk that cuts a path into dash polylines, and the step
// plan of DASHP. Plain functions over page millimetres; the callers convert the points to
// page units and record them.
#pragma once

#include <cmath>
#include <cstdint>

#include "src/shapes/plot_point.h"

namespace tamvel {

constexpr int kDashPatternCount = 11;
constexpr int kDashSlots = 6;

// One row of the dash table: lengths in millimetres, read dash, gap, dash, gap, ...
struct DashPattern {
  float length[kDashSlots] = {};
  int elements = 0;
};

// The pen width allowance: page units to millimetres in steps of 0.1 mm.
float DashWidthAllowance(int32_t pen_width);

// The call's copy of row `pattern` (1..11) with `allowance` added to every gap; false for a
// pattern outside the table.
bool MakeDashPattern(int32_t pattern, float allowance, DashPattern *out);

// The walk gives up cutting dashes after this many element ends and draws the rest of the
// path solid; a path this long would otherwise take unbounded time and memory.
constexpr int64_t kMaxDashElementEnds = 4000000;

// Walks the path vertices[0 .. count-1] with the dash pattern and reports the dash polylines
// to the sink: sink.StartPolyline() opens a dash, sink.Append(PlotPoint) adds a point to the
// dash opened last. The pattern starts with a dash at the first vertex and runs on across
// vertices. A path of one vertex gives one polyline of one point. A template, so that the
// counting and the filling pass share it without a virtual call per point.
template <typename Sink>
void WalkDashes(const PlotPoint *vertices, int32_t count, const DashPattern &pattern, Sink &sink);

// The plan of one DASHP call from S to T with dash length d (page millimetres).
struct DashStepPlan {
  enum class Kind {
    kSolidPlot,  // dash not longer than one page unit: a plain PLOT line
    kNothing,    // start and end less than 0.01 mm apart
    kSolidLine,  // more than the step limit: one solid line to T
    kDashes,     // steps + 1 points S + i * step, the last one cut back to T
  };
  Kind kind = Kind::kNothing;
  int32_t steps = 0;  // N
  double step_x = 0.0;
  double step_y = 0.0;
};

constexpr int32_t kMaxDashSteps = 1000000;
// One page unit in millimetres: dashes not longer than this are drawn solid.
constexpr double kOnePageUnitMm = 0.017638893053627525;

// Only the dash length decides whether DASHP draws a solid PLOT line; checked before the
// points are transformed.
bool DashIsSolid(float dash);
DashStepPlan PlanDashSteps(PlotPoint start, PlotPoint end, float dash);
// Point i (0 .. steps) of a kDashes plan; point `steps` is the end point itself.
PlotPoint DashStepPoint(PlotPoint start, PlotPoint end, const DashStepPlan &plan, int32_t i);

// ---- the dash walk ----

namespace dash_walk_detail {

inline double Distance(PlotPoint a, PlotPoint b) {
  const double dx = static_cast<double>(b.x) - a.x;
  const double dy = static_cast<double>(b.y) - a.y;
  const double sum = dx * dx + dy * dy;
  return sum > 0.0 ? std::sqrt(sum) : 0.0;  // NaN fails the test and counts as 0
}

}  // namespace dash_walk_detail

template <typename Sink>
void WalkDashes(const PlotPoint *vertices, int32_t count, const DashPattern &pattern, Sink &sink) {
  if (vertices == nullptr || count <= 0 || pattern.elements <= 0) return;
  const int elements = pattern.elements;
  auto length_of = [&](int e) { return pattern.length[e - 1]; };
  auto next_element = [&](int e) { return e >= elements ? 1 : e + 1; };
  auto is_dash = [](int e) { return (e & 1) == 1; };

  int e = 1;
  float remaining = length_of(1);
  PlotPoint m = vertices[0];
  sink.StartPolyline();
  sink.Append(m);
  int64_t budget = kMaxDashElementEnds;
  bool solid = false;  // set once the walk gave up cutting dashes

  for (int32_t i = 1; i < count; ++i) {
    const PlotPoint p = vertices[i];
    if (solid) {
      sink.Append(p);
      continue;
    }
    const double theta = std::atan2(static_cast<double>(p.y) - m.y, static_cast<double>(p.x) - m.x);
    const double ux = std::cos(theta);
    const double uy = std::sin(theta);
    double d = 0.0;
    for (;;) {
      d = dash_walk_detail::Distance(m, p);
      if (remaining >= d) break;
      const PlotPoint moved{static_cast<float>(m.x + remaining * ux),
                            static_cast<float>(m.y + remaining * uy)};
      // A step that no longer moves the position (coordinates too large for the float
      // precision, or infinite) or an exhausted budget would never reach the vertex: draw the
      // rest solid.
      if (--budget < 0 || (moved == m && remaining > 0.0f) || !std::isfinite(moved.x) ||
          !std::isfinite(moved.y)) {
        solid = true;
        break;
      }
      m = moved;
      if (is_dash(e)) sink.Append(m);
      e = next_element(e);
      remaining = length_of(e);
      if (is_dash(e)) {
        sink.StartPolyline();
        sink.Append(m);
      }
    }
    if (solid) {
      if (!is_dash(e)) {
        sink.StartPolyline();
        sink.Append(m);
      }
      sink.Append(p);
      continue;
    }
    m = p;
    if (remaining == d) {
      // The element ends exactly at the vertex.
      if (is_dash(e)) sink.Append(p);
      e = next_element(e);
      if (i == count - 1) return;
      if (is_dash(e)) sink.StartPolyline();
      remaining = length_of(e);
    } else {
      remaining = static_cast<float>(remaining - d);
    }
    if (is_dash(e)) sink.Append(p);
  }
}

}  // namespace tamvel
