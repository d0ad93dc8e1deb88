// Line types, patterned lines, dashes and grids as recorded into a page.
#include <cmath>
#include <limits>

#include "tests/shapes/recording_page.h"

namespace tamvel::test {
namespace {

using LineCalls = RecordingPage;

UINT PenStyle() {
  UINT style = 0;
  CurrentPage().ReadPenState(&style, nullptr, nullptr);
  return style;
}

TEST_F(LineCalls, LineTypeCodesAndTheirReadBack) {
  // Each call gives back the code before it; codes out of range are solid (0).
  const struct {
    int32_t code, previous, style;  // style -1: not looked at
  } steps[] = {{7, 0, -1}, {3, 0, -1}, {1, 3, PS_DOT}, {2, 1, PS_DASH}, {5, 2, -1}, {0, 5, -1}};
  for (const auto &step : steps) {
    EXPECT_EQ(LNTYPE0(step.code == 1 ? 99 : 0, step.code), step.previous) << step.code;
    if (step.style >= 0) {
      EXPECT_EQ(PenStyle(), static_cast<UINT>(step.style)) << step.code;
    }
  }
  // Width and colour are never changed; an unknown style reads back as 0.
  CurrentPage().ApplyPenState(PS_INSIDEFRAME, 57, 0x0000FF);
  EXPECT_EQ(LNTYPE0(0, 4), 0);
  int32_t width = 0;
  COLORREF colour = 0;
  CurrentPage().ReadPenState(nullptr, &width, &colour);
  EXPECT_EQ(width, 57);
  EXPECT_EQ(colour, 0x0000FFu);
}

TEST_F(LineCalls, Line0DrawsPageUnitsAndRestoresTheLineType) {
  LNTYPE0(0, 3);
  const TAMVEL_POINT points[3] = {{100, 100}, {99999, 200}, {300, -5000}};
  Mark();
  LINE0(2, points, 3);
  LINE0(2, nullptr, 3);  // changes nothing, not even the line type
  LINE0(2, points, -4);  // nothing
  EXPECT_EQ(LNTYPE0(0, 3), 3);
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 1u) << SliceText();
  // No clamping, no transformation.
  EXPECT_EQ(figures[0], (Figure{{100, 100}, {99999, 200}, {300, -5000}}));
}

TEST_F(LineCalls, Line6DashesWithTheWidthAllowance) {
  PENW(1.0f);  // 57 page units: gaps grow by 1.0 mm
  LNTYPE0(0, 4);
  PLOT(5.0f, 7.0f, 3);
  const float x[2] = {10.0f, 16.0f};
  const float y[2] = {20.0f, 20.0f};
  Mark();
  LINE6(1, x, y, 2);
  EXPECT_TRUE(PenAt(5.0f, 7.0f));  // back at the last point before the call
  EXPECT_EQ(LNTYPE0(0, 0), 4);     // line type restored
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 3u) << SliceText();
  EXPECT_EQ(figures[0], (Figure{{Units(10), Units(20)}, {Units(11), Units(20)}}));
  EXPECT_EQ(figures[1], (Figure{{Units(12.5), Units(20)}, {Units(13.5), Units(20)}}));
  EXPECT_EQ(figures[2], (Figure{{Units(15), Units(20)}, {Units(16), Units(20)}}));
  // One path, stroked once with the geometric pen: flat ends, bevel joins.
  EXPECT_EQ(CountInSlice(emf::kBeginPath), 1u);
  EXPECT_EQ(CountInSlice(emf::kStrokePath), 1u);
  // A recorder may write a solid geometric pen as a plain pen record with the same style.
  bool dash_pen_found = false;
  for (const emf::ExtPen *pen : Views<emf::ExtPen>(result_, emf::kExtCreatePen)) {
    if (pen->style != 0x11200u) continue;
    dash_pen_found = true;
    EXPECT_EQ(pen->width, 57u);
    EXPECT_EQ(pen->brush_style, static_cast<uint32_t>(BS_SOLID));
  }
  for (const emf::Pen *pen : Views<emf::Pen>(result_, emf::kCreatePen)) {
    if (pen->style != 0x11200u) continue;
    dash_pen_found = true;
    EXPECT_EQ(pen->width, 57);
  }
  EXPECT_TRUE(dash_pen_found) << SliceText();
}

TEST_F(LineCalls, Line6CornerInsideADashAndTransformedPaths) {
  PEN(0);        // no width allowance
  FACTOR(2.0f);  // the pattern keeps its size on the page, the path halves
  const float x[3] = {0.0f, 1.0f, 1.0f};
  const float y[3] = {10.0f, 10.0f, 14.0f};
  Mark();
  LINE6(1, x, y, 3);
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 2u) << SliceText();
  // Path in page mm: (0,5) (0.5,5) (0.5,7); the first dash bends at the corner, the second
  // ends at the last vertex.
  EXPECT_EQ(figures[0], (Figure{{0, Units(5)}, {Units(0.5), Units(5)}, {Units(0.5), Units(5.5)}}));
  EXPECT_EQ(figures[1], (Figure{{Units(0.5), Units(6)}, {Units(0.5), Units(7)}}));
}

TEST_F(LineCalls, Line6SolidPatternsAndBadInput) {
  LNTYPE0(0, 2);
  const float x[3] = {10.0f, 20.0f, 30.0f};
  const float y[3] = {10.0f, 20.0f, 10.0f};
  Mark();
  LINE6(0, x, y, 3);
  LINE6(-3, x, y, 3);
  LINE6(12, x, y, 3);  // beyond the table: solid as well
  LINE6(1, nullptr, y, 3);
  LINE6(1, x, nullptr, 3);
  LINE6(1, x, y, 0);
  LINE6(1, x, y, -5);
  LINE6(1, x, y, 1);  // one vertex: nothing visible
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float wild_x[3] = {nan, 1e30f, -std::numeric_limits<float>::infinity()};
  LINE6(3, wild_x, y, 2);
  EXPECT_EQ(LNTYPE0(0, 0), 2);
  Finish();
  size_t solid = 0;
  for (const Figure &f : Figures()) solid += f.size() == 3;
  EXPECT_EQ(solid, 3u) << SliceText();
}

TEST_F(LineCalls, Line6WithoutVerticesStillEndsWithItsMove) {
  // An empty path draws nothing and reads no array, but the call keeps its frame: the
  // line-type pen changes and the move back to the last point are recorded.
  PLOT(12.0f, 34.0f, 3);
  Mark();
  LINE6(2, nullptr, nullptr, 0);
  Finish();
  EXPECT_EQ(Figures().size(), 0u) << SliceText();
  ASSERT_EQ(CountInSlice(emf::kMoveToEx), 1u) << SliceText();
  for (const emf::Record *r : Slice()) {
    if (r->type != emf::kMoveToEx) continue;
    EXPECT_EQ(r->As<emf::PointValue>()->point, (emf::Point{Units(12), Units(34)})) << SliceText();
  }
}

TEST_F(LineCalls, DashpStepsLimitsAndEnds) {
  PLOT(10.0f, 10.0f, 3);
  Mark();
  DASHP(14.0f, 10.0f, 10.0f);  // one 2 mm dash
  EXPECT_TRUE(PenAt(14.0f, 10.0f));
  DASHP(14.0f, 13.2f, 1.0f);    // dashes 0-1, 2-3 upwards
  DASHP(14.005f, 13.2f, 1.0f);  // too short: nothing, the pen stays
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 3u) << SliceText();
  EXPECT_EQ(figures[0], (Figure{{Units(10), Units(10)}, {Units(12), Units(10)}}));
  EXPECT_EQ(figures[1], (Figure{{Units(14), Units(10)}, {Units(14), Units(11)}}));
  EXPECT_EQ(figures[2], (Figure{{Units(14), Units(12)}, {Units(14), Units(13)}}));
}

TEST_F(LineCalls, DashpSolidForTinyDashesAndBeyondTheStepLimit) {
  PLOT(0.0f, 0.0f, 3);
  Mark();
  DASHP(20.0f, 0.0f, 0.01f);   // below one page unit: a PLOT line
  DASHP(20.0f, 150.0f, 0.0f);  // as well
  DASHP(0.0f, 0.0f, std::numeric_limits<float>::quiet_NaN());
  Finish();
  EXPECT_EQ(CountInSlice(emf::kLineTo), 3u) << SliceText();
  EXPECT_EQ(CountInSlice(emf::kPolyPolyline16) + CountInSlice(emf::kPolyPolyline), 0u);
}

TEST_F(LineCalls, GridDrawsEveryLineOnceAndRestoresThePen) {
  PLOT(20.0f, 30.0f, -3);  // origin shift: the grid moves with it once
  PLOT(1.0f, 2.0f, 3);
  Mark();
  GRID(10.0f, 10.0f, 5.0f, 5.0f, 2, 1);
  GRID(0.0f, 0.0f, 1.0f, 1.0f, -1, -1);  // no cells: nothing
  EXPECT_TRUE(PenAt(1.0f, 2.0f));
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 5u) << SliceText();
  EXPECT_EQ(figures[0], (Figure{{Units(30), Units(40)}, {Units(30), Units(45)}}));
  EXPECT_EQ(figures[2], (Figure{{Units(40), Units(40)}, {Units(40), Units(45)}}));
  EXPECT_EQ(figures[4], (Figure{{Units(30), Units(45)}, {Units(40), Units(45)}}));
}

TEST_F(LineCalls, GridCapsBothDirectionsAlike) {
  PLOT(0.0f, 0.0f, 3);
  Mark();
  GRID(10.0f, 10.0f, 0.001f, 1.0f, 150000, 2);  // 100000 columns, 2 rows
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 100001u + 3u);
  // The rows end at the last column drawn, not where the 150000th would be.
  EXPECT_EQ(figures.back().back().x, figures[100000].front().x);
}

}  // namespace
}  // namespace tamvel::test
