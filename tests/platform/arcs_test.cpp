// Arcs, pies and ellipses are recorded as flattened polylines and polygons, counter-clockwise
// as seen on the output (the page's arc calls cover the y-up modes).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/emf/emf_records.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::emf;
using namespace tamvel::testing;

// The single polyline or polygon of a recording made by `draw` in `mode` (type 0 if none).
struct Shape {
  uint32_t type = 0;
  std::vector<Point> points;
};
template <typename Draw>
Shape Recorded(int mode, Draw draw) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  SetMapMode(dc, mode);
  draw(dc);
  Shape shape;
  for (const Record &r : Finish(dc).records) {
    if (r.type != kPolyline16 && r.type != kPolygon16) continue;
    shape = {r.type, r.As<Poly>()->points};
  }
  return shape;
}

TEST(Arcs, ScreenModeRunsCounterClockwiseOnScreen) {
  // From east to south, counter-clockwise on a y-down screen: through north and west.
  Shape arc = Recorded(MM_TEXT, [](HDC dc) { Arc(dc, -100, -100, 100, 100, 100, 0, 0, 100); });
  ASSERT_GT(arc.points.size(), 4u);
  EXPECT_LT(arc.points[1].y, 0);  // first step goes up the screen
  EXPECT_TRUE(
      std::any_of(arc.points.begin(), arc.points.end(), [](Point p) { return p.x == -100; }));
  EXPECT_EQ(arc.points.back().y, 100);
}

TEST(Arcs, PieIsAClosedWedgeFromTheCentre) {
  Shape pie = Recorded(MM_TWIPS, [](HDC dc) { Pie(dc, -900, 900, 900, -900, 900, 0, 0, 900); });
  ASSERT_EQ(pie.type, static_cast<uint32_t>(kPolygon16));
  EXPECT_EQ(pie.points.front().x, 0);
  EXPECT_EQ(pie.points.front().y, 0);
  EXPECT_EQ(pie.points[1].x, 900);
  for (size_t i = 1; i < pie.points.size(); ++i) {
    EXPECT_GE(pie.points[i].x, 0);
    EXPECT_GE(pie.points[i].y, 0);
  }
}

TEST(Arcs, EqualRadialsAndEllipsesGiveTheWholeCurve) {
  Shape full = Recorded(MM_TEXT, [](HDC dc) { Arc(dc, 0, 0, 200, 100, 200, 50, 200, 50); });
  EXPECT_EQ(full.points.front().x, full.points.back().x);
  EXPECT_EQ(full.points.front().y, full.points.back().y);
  Shape ellipse = Recorded(MM_TEXT, [](HDC dc) { Ellipse(dc, 0, 0, 200, 100); });
  ASSERT_EQ(ellipse.type, static_cast<uint32_t>(kPolygon16));
  auto [min_x, max_x] = std::minmax_element(ellipse.points.begin(), ellipse.points.end(),
                                            [](Point a, Point b) { return a.x < b.x; });
  EXPECT_EQ(min_x->x, 0);
  EXPECT_EQ(max_x->x, 200);
  Shape flat = Recorded(MM_TEXT, [](HDC dc) { EXPECT_TRUE(Ellipse(dc, 0, 0, 0, 100)); });
  EXPECT_EQ(flat.type, 0u);  // nothing to draw
}

}  // namespace
