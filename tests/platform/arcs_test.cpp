// Arcs, pies and ellipses are recorded as flattened polylines and polygons, counter-clockwise
// as seen on the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/emf/emf_records.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::emf;
using namespace tamvel::testing;

struct Shape {
  uint32_t type;
  std::vector<POINT> points;
};

// The single drawing record of a recording made by `draw` in `mode`.
template <typename Draw>
Shape Record(int mode, Draw draw) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  SetMapMode(dc, mode);
  draw(dc);
  std::vector<uint8_t> b = Finish(dc);
  Shape shape{0, {}};
  for (const RecordAt &r : RecordsOf(b)) {
    if (r.type != EMR_POLYLINE16 && r.type != EMR_POLYGON16) continue;
    shape.type = r.type;
    for (uint32_t i = 0; i < U32(b, r.offset + 24); ++i)
      shape.points.push_back({I16(b, r.offset + 28 + 4 * i), I16(b, r.offset + 30 + 4 * i)});
  }
  return shape;
}

bool OnCircle(POINT p, double r) { return std::fabs(std::hypot(p.x, p.y) - r) < r * 0.01 + 1; }

TEST(Arcs, YUpQuarterRunsThroughTheNorthEast) {
  Shape arc = Record(MM_TWIPS, [](HDC dc) { Arc(dc, -1500, 1500, 1500, -1500, 3000, 0, 0, 3000); });
  ASSERT_EQ(arc.type, static_cast<uint32_t>(EMR_POLYLINE16));
  ASSERT_GT(arc.points.size(), 4u);
  EXPECT_EQ(arc.points.front().x, 1500);
  EXPECT_EQ(arc.points.front().y, 0);
  EXPECT_EQ(arc.points.back().x, 0);
  EXPECT_EQ(arc.points.back().y, 1500);
  for (POINT p : arc.points) {
    EXPECT_GE(p.x, 0);
    EXPECT_GE(p.y, 0);
    EXPECT_TRUE(OnCircle(p, 1500));
  }
}

TEST(Arcs, ScreenModeRunsCounterClockwiseOnScreen) {
  // From east to south, counter-clockwise on a y-down screen: through north and west.
  Shape arc = Record(MM_TEXT, [](HDC dc) { Arc(dc, -100, -100, 100, 100, 100, 0, 0, 100); });
  ASSERT_GT(arc.points.size(), 4u);
  EXPECT_LT(arc.points[1].y, 0);  // first step goes up the screen
  EXPECT_TRUE(
      std::any_of(arc.points.begin(), arc.points.end(), [](POINT p) { return p.x == -100; }));
  EXPECT_EQ(arc.points.back().y, 100);
}

TEST(Arcs, PieIsAClosedWedgeFromTheCentre) {
  Shape pie = Record(MM_TWIPS, [](HDC dc) { Pie(dc, -900, 900, 900, -900, 900, 0, 0, 900); });
  ASSERT_EQ(pie.type, static_cast<uint32_t>(EMR_POLYGON16));
  EXPECT_EQ(pie.points.front().x, 0);
  EXPECT_EQ(pie.points.front().y, 0);
  EXPECT_EQ(pie.points[1].x, 900);
  for (size_t i = 1; i < pie.points.size(); ++i) {
    EXPECT_GE(pie.points[i].x, 0);
    EXPECT_GE(pie.points[i].y, 0);
  }
}

TEST(Arcs, EqualRadialsAndEllipsesGiveTheWholeCurve) {
  Shape full = Record(MM_TEXT, [](HDC dc) { Arc(dc, 0, 0, 200, 100, 200, 50, 200, 50); });
  EXPECT_EQ(full.points.front().x, full.points.back().x);
  EXPECT_EQ(full.points.front().y, full.points.back().y);
  Shape ellipse = Record(MM_TEXT, [](HDC dc) { Ellipse(dc, 0, 0, 200, 100); });
  ASSERT_EQ(ellipse.type, static_cast<uint32_t>(EMR_POLYGON16));
  auto [min_x, max_x] = std::minmax_element(ellipse.points.begin(), ellipse.points.end(),
                                            [](POINT a, POINT b) { return a.x < b.x; });
  EXPECT_EQ(min_x->x, 0);
  EXPECT_EQ(max_x->x, 200);
  Shape flat = Record(MM_TEXT, [](HDC dc) { EXPECT_TRUE(Ellipse(dc, 0, 0, 0, 100)); });
  EXPECT_EQ(flat.type, 0u);  // nothing to draw
  EXPECT_FALSE(Arc(nullptr, 0, 0, 1, 1, 0, 0, 0, 0));
}

}  // namespace
