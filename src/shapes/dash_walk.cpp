// Dash table, width allowance and the DASHP step plan.
#include "src/shapes/dash_walk.h"

#include <cmath>

namespace tamvel {
namespace {

// Dash/gap lengths in millimetres and the number of slots each pattern cycles through.
constexpr DashPattern kDashTable[kDashPatternCount] = {
    {{1.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},       // 1
    {{2.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},       // 2
    {{5.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},       // 3
    {{5.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f}, 4},       // 4 dash-dot
    {{4.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}, 6},       // 5 dash-dot-dot
    {{0.5f, 0.25f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},      // 6
    {{1.0f, 0.25f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},      // 7
    {{2.0f, 0.25f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},      // 8
    {{1.75f, 0.25f, 0.25f, 0.25f, 0.0f, 0.0f}, 4},   // 9 dash-dot
    {{1.5f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f}, 6},  // 10 dash-dot-dot
    {{2.0f, 1.5f, 0.0f, 0.0f, 0.0f, 0.0f}, 2},       // 11
};

}  // namespace

float DashWidthAllowance(int32_t pen_width) {
  return static_cast<float>(TruncToInt32(pen_width / 5.68 + 0.5)) * 0.1f;
}

bool MakeDashPattern(int32_t pattern, float allowance, DashPattern *out) {
  if (pattern < 1 || pattern > kDashPatternCount || out == nullptr) return false;
  *out = kDashTable[pattern - 1];
  // Gaps grow by the pen width so that the flat-capped dashes keep their visible gaps.
  for (int slot = 1; slot < kDashSlots; slot += 2) {
    if (out->length[slot] > 0.0f) out->length[slot] += allowance;
  }
  return true;
}

bool DashIsSolid(float dash) {
  return std::isnan(dash) || static_cast<double>(dash) <= kOnePageUnitMm;
}

DashStepPlan PlanDashSteps(PlotPoint start, PlotPoint end, float dash) {
  DashStepPlan plan;
  const float dx = end.x - start.x;
  const float dy = end.y - start.y;
  const float sum = dx * dx + dy * dy;
  float length = 0.0f;
  if (sum >= 1e-6f) length = static_cast<float>(std::sqrt(static_cast<double>(sum)));
  if (std::isnan(sum) || std::isinf(length)) {
    plan.kind = DashStepPlan::Kind::kSolidLine;  // nothing sensible to cut
    return plan;
  }
  if (length < 0.01f) {
    plan.kind = DashStepPlan::Kind::kNothing;
    return plan;
  }
  float d = dash;
  if (length / 2.0f < d) d = length / 2.0f;
  const double steps = std::trunc(static_cast<double>(length) / d + 0.999999);
  if (!(steps <= kMaxDashSteps)) {
    plan.kind = DashStepPlan::Kind::kSolidLine;
    return plan;
  }
  plan.kind = DashStepPlan::Kind::kDashes;
  plan.steps = steps < 2.0 ? 2 : static_cast<int32_t>(steps);
  // Axis-parallel lines step exactly along the axis.
  if (std::fabs(dx) < 0.001f) {
    plan.step_y = end.y > start.y ? d : -d;
  } else if (std::fabs(dy) < 0.001f) {
    plan.step_x = end.x > start.x ? d : -d;
  } else {
    const double divisions = static_cast<double>(length) / d;
    plan.step_x = dx / divisions;
    plan.step_y = dy / divisions;
  }
  return plan;
}

PlotPoint DashStepPoint(PlotPoint start, PlotPoint end, const DashStepPlan &plan, int32_t i) {
  // The last point is cut back to the end point, so that an odd last dash stops at T.
  if (i >= plan.steps) return end;
  return {static_cast<float>(start.x + i * plan.step_x),
          static_cast<float>(start.y + i * plan.step_y)};
}

}  // namespace tamvel
