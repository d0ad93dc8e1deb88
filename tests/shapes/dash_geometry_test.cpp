// The dash walk of LINE6 and the step plan of DASHP, without a DC.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "src/shapes/dash_walk.h"

namespace tamvel {
namespace {

using Polylines = std::vector<std::vector<PlotPoint>>;

struct CollectingSink {
  Polylines lines;
  void StartPolyline() { lines.emplace_back(); }
  void Append(PlotPoint p) { lines.back().push_back(p); }
};

Polylines Walk(const std::vector<PlotPoint> &path, int32_t pattern, float allowance = 0.0f) {
  DashPattern dashes;
  EXPECT_TRUE(MakeDashPattern(pattern, allowance, &dashes));
  CollectingSink sink;
  WalkDashes(path.data(), static_cast<int32_t>(path.size()), dashes, sink);
  return sink.lines;
}

void ExpectLine(const std::vector<PlotPoint> &line, std::vector<PlotPoint> expected) {
  ASSERT_EQ(line.size(), expected.size());
  for (size_t i = 0; i < line.size(); ++i) {
    EXPECT_NEAR(line[i].x, expected[i].x, 1e-5) << "point " << i;
    EXPECT_NEAR(line[i].y, expected[i].y, 1e-5) << "point " << i;
  }
}

TEST(DashPatternTable, RowsAllowanceAndRange) {
  DashPattern p;
  ASSERT_TRUE(MakeDashPattern(5, 0.0f, &p));
  EXPECT_EQ(p.elements, 6);
  EXPECT_FLOAT_EQ(p.length[0], 4.5f);
  ASSERT_TRUE(MakeDashPattern(9, 0.3f, &p));  // gaps grow, dashes stay
  EXPECT_FLOAT_EQ(p.length[0], 1.75f);
  EXPECT_FLOAT_EQ(p.length[1], 0.55f);
  EXPECT_FLOAT_EQ(p.length[2], 0.25f);
  EXPECT_FLOAT_EQ(p.length[3], 0.55f);
  EXPECT_EQ(p.length[5], 0.0f);  // unused slots stay 0
  EXPECT_FALSE(MakeDashPattern(0, 0.0f, &p));
  EXPECT_FALSE(MakeDashPattern(12, 0.0f, &p));
  EXPECT_FALSE(MakeDashPattern(-3, 0.0f, &p));
}

TEST(DashPatternTable, WidthAllowanceInTenthsOfMillimetres) {
  EXPECT_EQ(DashWidthAllowance(0), 0.0f);
  EXPECT_FLOAT_EQ(DashWidthAllowance(57), 1.0f);  // a 1 mm pen
  EXPECT_FLOAT_EQ(DashWidthAllowance(6), 0.1f);   // PEN(1)
  EXPECT_FLOAT_EQ(DashWidthAllowance(2), 0.0f);
  // A 1 mm pen turns pattern 1 into dash 1.0, gap 1.5.
  Polylines lines = Walk({{0, 0}, {6, 0}}, 1, DashWidthAllowance(57));
  ASSERT_EQ(lines.size(), 3u);
  ExpectLine(lines[1], {{2.5f, 0}, {3.5f, 0}});
  ExpectLine(lines[2], {{5.0f, 0}, {6.0f, 0}});
}

TEST(DashWalk, WorkedExampleStraightPath) {
  Polylines lines = Walk({{0, 0}, {3.2f, 0}}, 1);
  ASSERT_EQ(lines.size(), 3u);
  ExpectLine(lines[0], {{0, 0}, {1.0f, 0}});
  ExpectLine(lines[1], {{1.5f, 0}, {2.5f, 0}});
  ExpectLine(lines[2], {{3.0f, 0}, {3.2f, 0}});  // the last dash ends at the last vertex
}

TEST(DashWalk, CornerInsideDashBendsTheDash) {
  Polylines lines = Walk({{0, 0}, {0.5f, 0}, {0.5f, 2.0f}}, 1);
  ASSERT_EQ(lines.size(), 2u);
  ExpectLine(lines[0], {{0, 0}, {0.5f, 0}, {0.5f, 0.5f}});
  // The second dash ends exactly at the last vertex: no empty polyline follows.
  ExpectLine(lines[1], {{0.5f, 1.0f}, {0.5f, 2.0f}});
}

TEST(DashWalk, ElementsEndingExactlyAtVertices) {
  // The gap ends at the middle vertex, so the next dash starts there; the walk ends in a gap.
  Polylines lines = Walk({{0, 0}, {1.5f, 0}, {3.0f, 0}}, 1);
  ASSERT_EQ(lines.size(), 2u);
  ExpectLine(lines[0], {{0, 0}, {1.0f, 0}});
  ExpectLine(lines[1], {{1.5f, 0}, {2.5f, 0}});
  // A dash ending at a middle vertex does not take the vertex twice.
  lines = Walk({{0, 0}, {0, 1.0f}, {0, 3.0f}}, 1);
  ASSERT_EQ(lines.size(), 2u);
  ExpectLine(lines[0], {{0, 0}, {0, 1.0f}});
  ExpectLine(lines[1], {{0, 1.5f}, {0, 2.5f}});
}

TEST(DashWalk, PatternRunsOnAcrossVerticesAndDots) {
  // Dash-dot pattern 4 (5.0, 0.5, 0.5, 0.5) over two segments.
  Polylines lines = Walk({{0, 0}, {3, 0}, {3, 5}}, 4);
  ASSERT_EQ(lines.size(), 3u);
  ExpectLine(lines[0], {{0, 0}, {3, 0}, {3, 2}});
  ExpectLine(lines[1], {{3, 2.5f}, {3, 3}});  // the dot
  ExpectLine(lines[2], {{3, 3.5f}, {3, 5}});
  for (const auto &line : lines) EXPECT_GE(line.size(), 2u);
}

TEST(DashWalk, SingleVertexEmptyAndDegeneratePaths) {
  Polylines lines = Walk({{1, 1}}, 2);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 1u);
  EXPECT_TRUE(Walk({}, 2).empty());
  DashPattern p;
  MakeDashPattern(1, 0, &p);
  CollectingSink sink;
  WalkDashes(nullptr, 5, p, sink);  // no array: nothing read, nothing reported
  EXPECT_TRUE(sink.lines.empty());
  WalkDashes(nullptr, -7, p, sink);
  EXPECT_TRUE(sink.lines.empty());
  // Repeated vertices and NaN vertices end without looping.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  lines = Walk({{0, 0}, {0, 0}, {nan, 1}, {2, 0}}, 1);
  EXPECT_FALSE(lines.empty());
}

TEST(DashWalk, HugePathsEndAndDrawTheRestSolid) {
  // Coordinates too large for a 1 mm step in float: the walk stops cutting and goes solid.
  Polylines lines = Walk({{1e9f, 0}, {1e30f, 0}, {1e30f, 1e30f}}, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines.back().back(), (PlotPoint{1e30f, 1e30f}));
  const float inf = std::numeric_limits<float>::infinity();
  lines = Walk({{inf, 0}, {0, 0}, {5, 5}}, 3);
  EXPECT_FALSE(lines.empty());
}

TEST(DashSteps, SolidNothingAndShortLines) {
  EXPECT_TRUE(DashIsSolid(0.01f));
  EXPECT_TRUE(DashIsSolid(-2.0f));
  EXPECT_TRUE(DashIsSolid(std::numeric_limits<float>::quiet_NaN()));
  EXPECT_FALSE(DashIsSolid(0.02f));
  EXPECT_EQ(PlanDashSteps({0, 0}, {0.005f, 0}, 1.0f).kind, DashStepPlan::Kind::kNothing);
  // A 10 mm dash over 4 mm becomes one 2 mm dash.
  DashStepPlan plan = PlanDashSteps({0, 0}, {4, 0}, 10.0f);
  ASSERT_EQ(plan.kind, DashStepPlan::Kind::kDashes);
  EXPECT_EQ(plan.steps, 2);
  EXPECT_EQ(DashStepPoint({0, 0}, {4, 0}, plan, 1), (PlotPoint{2, 0}));
}

TEST(DashSteps, StepRules) {
  // N = trunc(L/d + 0.999999): 3.2 mm with 1 mm dashes gives 4 steps, dashes 0-1 and 2-3.
  DashStepPlan plan = PlanDashSteps({0, 0}, {3.2f, 0}, 1.0f);
  EXPECT_EQ(plan.steps, 4);
  EXPECT_EQ(plan.step_x, 1.0);
  EXPECT_EQ(plan.step_y, 0.0);
  // Odd N: the last dash runs to the end point, cut back to it.
  plan = PlanDashSteps({0, 0}, {0, -2.5f}, 1.0f);
  EXPECT_EQ(plan.steps, 3);
  EXPECT_EQ(plan.step_y, -1.0);
  EXPECT_EQ(DashStepPoint({0, 0}, {0, -2.5f}, plan, 2), (PlotPoint{0, -2}));
  EXPECT_EQ(DashStepPoint({0, 0}, {0, -2.5f}, plan, 3), (PlotPoint{0, -2.5f}));
  // Oblique lines step along the line.
  plan = PlanDashSteps({1, 1}, {4, 5}, 1.0f);
  EXPECT_EQ(plan.steps, 5);
  EXPECT_NEAR(plan.step_x, 0.6, 1e-6);
  EXPECT_NEAR(plan.step_y, 0.8, 1e-6);
  EXPECT_NEAR(DashStepPoint({1, 1}, {4, 5}, plan, 4).y, 4.2f, 1e-5);
}

TEST(DashSteps, StepLimit) {
  // Just under 1,000,000 steps are still cut into dashes, just over are drawn solid.
  DashStepPlan plan = PlanDashSteps({0, 0}, {19999.5f, 0}, 0.02f);
  ASSERT_EQ(plan.kind, DashStepPlan::Kind::kDashes);
  EXPECT_LE(plan.steps, kMaxDashSteps);
  EXPECT_GE(plan.steps, kMaxDashSteps - 100);
  EXPECT_EQ(PlanDashSteps({0, 0}, {20000.0f, 0}, 0.019f).kind, DashStepPlan::Kind::kSolidLine);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(PlanDashSteps({0, 0}, {inf, 0}, 1.0f).kind, DashStepPlan::Kind::kSolidLine);
  EXPECT_EQ(PlanDashSteps({nan, 0}, {1, 0}, 1.0f).kind, DashStepPlan::Kind::kSolidLine);
  EXPECT_EQ(PlanDashSteps({-3e38f, 0}, {3e38f, 0}, 1.0f).kind, DashStepPlan::Kind::kSolidLine);
}

}  // namespace
}  // namespace tamvel
