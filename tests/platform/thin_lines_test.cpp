// One-pixel lines as GDI lights them: which pixels, styles counted along the line, far-away
// coordinates cut to the surface. The pixel sets were compared with another GDI's.
#include "platform/posix/thin_lines.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace tamvel::posix {
namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr RECT kSurface{0, 0, 64, 64};

Pixels Lit(const std::vector<PixelRun> &runs, bool ink = true) {
  Pixels lit;
  for (const PixelRun &r : runs) {
    if (r.ink != ink) continue;
    for (int y = r.y; y < r.y + r.height; ++y) {
      for (int x = r.x; x < r.x + r.width; ++x) EXPECT_TRUE(lit.insert({x, y}).second);
    }
  }
  return lit;
}

Pixels Line(std::vector<POINT> points, bool closed = false, LineStyle style = {}) {
  return Lit(ThinLinePixels(points, closed, style, kSurface));
}

TEST(ThinLines, LightOnePixelPerStepAndStopBeforeTheLastPoint) {
  EXPECT_EQ(Line({{2, 3}, {6, 3}}), (Pixels{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
  EXPECT_EQ(Line({{5, 5}, {5, 2}}), (Pixels{{5, 5}, {5, 4}, {5, 3}}));
  EXPECT_EQ(Line({{0, 0}, {3, 3}}), (Pixels{{0, 0}, {1, 1}, {2, 2}}));
  EXPECT_TRUE(Line({{7, 7}, {7, 7}}).empty());
  // A horizontal line is one run.
  LineStyle solid;
  EXPECT_EQ(ThinLinePixels(std::vector<POINT>{{1, 9}, {40, 9}}, false, solid, kSurface).size(), 1u);
}

TEST(ThinLines, HalfwayStepsGoUpOrLeftWhicheverWayTheLineRuns) {
  // Halfway along a one-pixel rise the line is between two rows: GDI takes the upper one.
  EXPECT_TRUE(Line({{32, 32}, {12, 33}}).count({22, 32}));
  EXPECT_TRUE(Line({{12, 33}, {32, 32}}).count({22, 32}));
  EXPECT_TRUE(Line({{32, 32}, {52, 31}}).count({42, 31}));
  // ... and of a one-pixel sideways step, the left column.
  EXPECT_TRUE(Line({{32, 32}, {33, 12}}).count({32, 22}));
  EXPECT_TRUE(Line({{32, 32}, {31, 52}}).count({31, 42}));
}

TEST(ThinLines, ClosedFiguresLightEveryCornerOnce) {
  const Pixels square = Line({{10, 10}, {14, 10}, {14, 14}, {10, 14}}, true);
  EXPECT_EQ(square.size(), 16u);
  for (auto corner : {std::pair{10, 10}, {14, 10}, {14, 14}, {10, 14}}) {
    EXPECT_TRUE(square.count(corner));
  }
}

TEST(ThinLines, StylesCountPixelsAcrossTheSegmentsOfAFigure) {
  // Dots of 3 on, 3 off from (2, 2) right to (12, 2), then down to (12, 12).
  LineStyle dots({3, 3});
  const auto runs =
      ThinLinePixels(std::vector<POINT>{{2, 2}, {12, 2}, {12, 12}}, false, dots, kSurface);
  EXPECT_EQ(Lit(runs), (Pixels{{2, 2},
                               {3, 2},
                               {4, 2},
                               {8, 2},
                               {9, 2},
                               {10, 2},
                               {12, 4},
                               {12, 5},
                               {12, 6},
                               {12, 10},
                               {12, 11}}));
  EXPECT_TRUE(Lit(runs, false).count({11, 2}));
  // Every figure starts with a dash again.
  EXPECT_TRUE(Lit(ThinLinePixels(std::vector<POINT>{{20, 2}, {21, 2}}, false, dots, kSurface))
                  .count({20, 2}));
}

TEST(ThinLines, FarAwayPointsAreCutToTheSurfaceAndKeepTheStyleInStep) {
  LineStyle dots({3, 3});
  const std::vector<POINT> across{{-2000000001, 5}, {2000000000, 5}};
  const Pixels lit = Lit(ThinLinePixels(across, false, dots, kSurface));
  // x = -2000000001 starts a dash: x = 0 is 2000000001 pixels (a multiple of 6 plus 3)
  // further on, so 0..2 are a gap and 3..5 a dash.
  EXPECT_FALSE(lit.count({0, 5}));
  EXPECT_TRUE(lit.count({3, 5}));
  EXPECT_EQ(lit.size(), 31u);  // dashes at 3..5, 9..11, ..., 57..59 and 63
  EXPECT_TRUE(Line({{-100, -100}, {-10, 500}}).empty());
  // A steep line through the surface lights exactly its pixels inside it.
  const Pixels steep = Line({{30, -1000000}, {34, 1000000}});
  EXPECT_EQ(steep.size(), 64u);
}

}  // namespace
}  // namespace tamvel::posix
