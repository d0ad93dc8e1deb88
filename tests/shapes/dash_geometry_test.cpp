// The dash walk of LINE6 and the step plan of DASHP, without a DC. A dash bent at a corner
// is checked as LINE6 records it (line_calls_test.cpp).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "src/shapes/dash_walk.h"

namespace tamvel {
namespace {

using Polylines = std::vector<std::vector<PlotPoint>>;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct CollectingSink {
  Polylines lines;
  void StartPolyline() { lines.emplace_back(); }
  void Append(PlotPoint p) { lines.back().push_back(p); }
};

Polylines Walk(const std::vector<PlotPoint> &path, int32_t pattern) {
  DashPattern dashes;
  EXPECT_TRUE(MakeDashPattern(pattern, 0.0f, &dashes));
  CollectingSink sink;
  WalkDashes(path.data(), static_cast<int32_t>(path.size()), dashes, sink);
  return sink.lines;
}

TEST(DashPatternTable, WidthAllowanceWidensTheGapsOnly) {
  EXPECT_EQ(DashWidthAllowance(0), 0.0f);
  EXPECT_FLOAT_EQ(DashWidthAllowance(57), 1.0f);  // a 1 mm pen
  EXPECT_FLOAT_EQ(DashWidthAllowance(6), 0.1f);   // PEN(1)
  EXPECT_FLOAT_EQ(DashWidthAllowance(2), 0.0f);
  DashPattern p;
  ASSERT_TRUE(MakeDashPattern(9, 0.3f, &p));  // dash 1.75, gap 0.25, dash 0.25, gap 0.25
  EXPECT_EQ((std::array{p.length[0], p.length[1], p.length[2], p.length[3], p.length[5]}),
            (std::array{1.75f, 0.55f, 0.25f, 0.55f, 0.0f}));  // unused slots stay 0
  for (int pattern : {0, 12, -3}) EXPECT_FALSE(MakeDashPattern(pattern, 0.0f, &p)) << pattern;
}

TEST(DashWalk, DashesAcrossVertices) {
  const struct {
    const char *what;
    std::vector<PlotPoint> path;
    int32_t pattern;
    Polylines dashes;
  } cases[] = {
      {"the last dash ends at the last vertex",
       {{0, 0}, {3.2f, 0}},
       1,
       {{{0, 0}, {1, 0}}, {{1.5f, 0}, {2.5f, 0}}, {{3, 0}, {3.2f, 0}}}},
      {"a gap ending at a vertex, the walk ending in a gap",
       {{0, 0}, {1.5f, 0}, {3, 0}},
       1,
       {{{0, 0}, {1, 0}}, {{1.5f, 0}, {2.5f, 0}}}},
      {"a dash ending at a middle vertex takes it once",
       {{0, 0}, {0, 1}, {0, 3}},
       1,
       {{{0, 0}, {0, 1}}, {{0, 1.5f}, {0, 2.5f}}}},
      {"dash-dot pattern 4 (5.0, 0.5, 0.5, 0.5) runs on across a vertex",
       {{0, 0}, {3, 0}, {3, 5}},
       4,
       {{{0, 0}, {3, 0}, {3, 2}}, {{3, 2.5f}, {3, 3}}, {{3, 3.5f}, {3, 5}}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const Polylines lines = Walk(c.path, c.pattern);
    ASSERT_EQ(lines.size(), c.dashes.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      ASSERT_EQ(lines[i].size(), c.dashes[i].size()) << "dash " << i;
      for (size_t j = 0; j < lines[i].size(); ++j) {
        EXPECT_NEAR(lines[i][j].x, c.dashes[i][j].x, 1e-5) << "dash " << i << " point " << j;
        EXPECT_NEAR(lines[i][j].y, c.dashes[i][j].y, 1e-5) << "dash " << i << " point " << j;
      }
    }
  }
}

TEST(DashWalk, SingleVertexEmptyDegenerateAndHugePaths) {
  Polylines lines = Walk({{1, 1}}, 2);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 1u);
  EXPECT_TRUE(Walk({}, 2).empty());
  DashPattern p;
  MakeDashPattern(1, 0, &p);
  CollectingSink sink;
  WalkDashes(nullptr, 5, p, sink);  // no array: nothing read, nothing reported
  WalkDashes(nullptr, -7, p, sink);
  EXPECT_TRUE(sink.lines.empty());
  // Repeated and NaN vertices end without looping.
  EXPECT_FALSE(Walk({{0, 0}, {0, 0}, {kNaN, 1}, {2, 0}}, 1).empty());
  // Coordinates too large for a 1 mm step in float: the walk stops cutting and goes solid.
  lines = Walk({{1e9f, 0}, {1e30f, 0}, {1e30f, 1e30f}}, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines.back().back(), (PlotPoint{1e30f, 1e30f}));
  EXPECT_FALSE(Walk({{kInf, 0}, {0, 0}, {5, 5}}, 3).empty());
}

// The recorded DASHP examples (one 2 mm dash over 4 mm, 3.2 mm in 1 mm dashes) are in
// line_calls_test.cpp.
TEST(DashSteps, SolidNothingAndStepRules) {
  EXPECT_TRUE(DashIsSolid(0.01f));
  EXPECT_TRUE(DashIsSolid(-2.0f));
  EXPECT_TRUE(DashIsSolid(kNaN));
  EXPECT_FALSE(DashIsSolid(0.02f));
  EXPECT_EQ(PlanDashSteps({0, 0}, {0.005f, 0}, 1.0f).kind, DashStepPlan::Kind::kNothing);
  // Odd N = trunc(L/d + 0.999999): the last dash runs to the end point, cut back to it.
  DashStepPlan plan = PlanDashSteps({0, 0}, {0, -2.5f}, 1.0f);
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
  EXPECT_EQ(PlanDashSteps({0, 0}, {kInf, 0}, 1.0f).kind, DashStepPlan::Kind::kSolidLine);
  EXPECT_EQ(PlanDashSteps({kNaN, 0}, {1, 0}, 1.0f).kind, DashStepPlan::Kind::kSolidLine);
  EXPECT_EQ(PlanDashSteps({-3e38f, 0}, {3e38f, 0}, 1.0f).kind, DashStepPlan::Kind::kSolidLine);
}

}  // namespace
}  // namespace tamvel
