// Arcs, wedges, fills and patterns as recorded into a page.
#include <cmath>
#include <limits>

#include "src/shapes/pattern_bitmap.h"
#include "tests/shapes/recording_page.h"

namespace tamvel::test {
namespace {

using FillCalls = RecordingPage;

constexpr uint32_t kNullBrush = 0x80000000u | NULL_BRUSH;
constexpr uint32_t kNullPen = 0x80000000u | NULL_PEN;

void ReadBrush(UINT *style, COLORREF *colour, uintptr_t *hatch) {
  CurrentPage().ReadBrushState(style, colour, hatch);
}

TEST_F(FillCalls, ArcWorkedExampleRunsThroughTheFirstQuadrant) {
  PLOT(1.0f, 2.0f, 3);
  Mark();
  ARC(50.0f, 50.0f, 10.0f, 0.0f, 90.0f, 0);
  float wx = 0, wy = 0, factor = 0;
  WHERE(&wx, &wy, &factor);
  EXPECT_NEAR(wx, 1.0f, 0.01f);  // back at the last point
  EXPECT_NEAR(wy, 2.0f, 0.01f);
  Finish();
  if (const emf::ArcValue *arc = FirstView<emf::ArcValue>(result_, emf::EMR_ARC)) {
    // GDI may store the box normalized, right and bottom drawn in by one unit.
    const emf::Rect &box = arc->box;
    const bool as_given = box == emf::Rect{2268, 3402, 3402, 2268};
    const bool normalized = box == emf::Rect{2268, 2268, 3401, 3401};
    EXPECT_TRUE(as_given || normalized) << SliceText();
    EXPECT_EQ(arc->start, (emf::Point{3402, 2835}));
    EXPECT_EQ(arc->end, (emf::Point{2835, 3402}));
    return;
  }
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 1u) << SliceText();
  const Figure &arc = figures[0];
  EXPECT_NEAR(arc.front().x, 3402, 1);
  EXPECT_NEAR(arc.front().y, 2835, 1);
  EXPECT_NEAR(arc.back().x, 2835, 1);
  EXPECT_NEAR(arc.back().y, 3402, 1);
  for (const emf::Point &p : arc) {
    EXPECT_GE(p.x, 2834);  // counter-clockwise in y-up units: the first quadrant
    EXPECT_GE(p.y, 2834);
    EXPECT_NEAR(std::hypot(p.x - 2835, p.y - 2835), 567, 2);
  }
}

TEST_F(FillCalls, ArcsWithTinyOrGarbageRadiiDrawNothingAndLeaveThePen) {
  PLOT(3.0f, 4.0f, 3);
  Mark();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  ARC(50.0f, 50.0f, 0.005f, 0.0f, 90.0f, 0);
  ARCC(50.0f, 50.0f, nan, 0.0f, 90.0f);
  WEDGE(50.0f, 50.0f, -10.0f, 0.0f, 90.0f, 0, 1);
  WEDGEG(50.0f, 50.0f, 0.001f, 0.0f, 90.0f, 0, 1);
  ARC(50.0f, 50.0f, 10.0f, nan, std::numeric_limits<float>::infinity(), -1);  // no crash
  float wx = 0, wy = 0, factor = 0;
  WHERE(&wx, &wy, &factor);
  EXPECT_NEAR(wx, 3.0f, 0.01f);
  EXPECT_NEAR(wy, 4.0f, 0.01f);
  Finish();
}

TEST_F(FillCalls, WedgeOutlineRules) {
  FILLC(2, 0, 0, 0);
  Mark();
  WEDGE(50.0f, 50.0f, 10.0f, 0.0f, 90.0f, 0, 0);  // outline only
  Finish();
  EXPECT_TRUE(Contains(SelectedObjects(), kNullBrush)) << SliceText();
  EXPECT_FALSE(Contains(SelectedObjects(), kNullPen));
}

TEST_F(FillCalls, WedgeWithoutOutlineByFlagOrNegativeCode) {
  OPTION(nullptr);
  const TAMVEL_FSTRING off{"NOOUTLINE", 9};
  OPTION(&off);
  Mark();
  WEDGE(50.0f, 50.0f, 10.0f, 0.0f, 90.0f, 0, 3);
  Finish();
  EXPECT_TRUE(Contains(SelectedObjects(), kNullPen)) << SliceText();
  EXPECT_EQ(CountInSlice(emf::EMR_CREATEMONOBRUSH), 1u);
}

TEST_F(FillCalls, WedgeNegativePatternFillsWithoutOutline) {
  Mark();
  WEDGE(50.0f, 50.0f, 10.0f, 0.0f, 90.0f, -1, -3);
  WEDGEG(80.0f, 50.0f, 10.0f, 45.0f, 300.0f, 0, std::numeric_limits<int32_t>::min());
  Finish();
  EXPECT_TRUE(Contains(SelectedObjects(), kNullPen)) << SliceText();
}

TEST_F(FillCalls, FillPatternsAndTheOneLibraryBitmap) {
  FILLC(4, 0, 0, 0);
  UINT style = 0;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  for (int32_t code : {0, 16, -4}) {
    FILLPT(code);
    ReadBrush(&style, &colour, &hatch);
    EXPECT_EQ(style, static_cast<UINT>(BS_NULL)) << code;
    EXPECT_EQ(colour, 0x00FF00u) << "the colour stays";
  }
  FILLPT(1);
  ReadBrush(&style, &colour, &hatch);
  EXPECT_EQ(style, static_cast<UINT>(BS_SOLID));
  Mark();
  FILLPT(3);
  HBITMAP first = CurrentPatternBitmap();
  ASSERT_NE(first, nullptr);
  FILLPT(5);
  EXPECT_NE(CurrentPatternBitmap(), first);
  EXPECT_EQ(GetObjectType(first), 0u) << "the older bitmap is deleted";
  ReadBrush(&style, &colour, &hatch);
  EXPECT_EQ(style, static_cast<UINT>(BS_PATTERN));
  EXPECT_EQ(hatch, reinterpret_cast<uintptr_t>(CurrentPatternBitmap()));
  Finish();
  const std::vector<const emf::PatternBrush *> brushes =
      Views<emf::PatternBrush>(result_, emf::EMR_CREATEMONOBRUSH);
  ASSERT_EQ(brushes.size(), 2u) << SliceText();
  // Pattern 5, top row first: 77 BB DD EE 77 BB DD EE; the DIB holds the rows bottom-up.
  const emf::Dib &dib = brushes[1]->dib;
  ASSERT_EQ(dib.bits.size(), 32u);
  EXPECT_EQ(dib.bits[0], 0xEE);
  EXPECT_EQ(dib.bits[4], 0xDD);
  EXPECT_EQ(dib.bits[28], 0x77);
}

TEST_F(FillCalls, PatrnOutlineRulesAndBadCounts) {
  FILLC(2, 0, 0, 0);
  const float x[4] = {10.0f, 20.0f, 20.0f, 10.0f};
  const float y[4] = {10.0f, 10.0f, 20.0f, 20.0f};
  UINT style = 0;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  Mark();
  PATRN(x, y, 2, 1);  // fewer than three points: nothing, brush unchanged
  PATRN(nullptr, y, 4, 1);
  PATRN(x, y, -4, 1);
  ReadBrush(&style, &colour, &hatch);
  EXPECT_EQ(style, static_cast<UINT>(BS_SOLID));
  PATRN(x, y, 4, -1);  // solid fill without outline
  Finish();
  EXPECT_EQ(Figures().size(), 1u) << SliceText();
  EXPECT_TRUE(Contains(SelectedObjects(), kNullPen));
}

TEST_F(FillCalls, RectfCornersOutlineAndMargin) {
  PLOT(7.0f, 8.0f, 3);
  Mark();
  RECTF(0.0f, 0.0f, 10.0f, 5.0f, 10);
  RECTF(-10.0f, -10.0f, 300.0f, 400.0f, 1);  // reaches 113 page units beyond the limits
  float wx = 0, wy = 0, factor = 0;
  WHERE(&wx, &wy, &factor);
  EXPECT_NEAR(wx, 7.0f, 0.01f);
  Finish();
  EXPECT_FALSE(Contains(SelectedObjects(), kNullPen)) << "outlined with the page pen";
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 2u) << SliceText();
  EXPECT_EQ(figures[0][0], (emf::Point{0, Units(5)}));
  EXPECT_EQ(figures[0][1], (emf::Point{Units(10), Units(5)}));
  EXPECT_EQ(figures[0][2], (emf::Point{Units(10), 0}));
  EXPECT_EQ(figures[0][3], (emf::Point{0, 0}));
  const PlotState &state = CurrentState();
  EXPECT_EQ(figures[1][0], (emf::Point{state.x_lower - 113, state.y_upper + 113}));
  EXPECT_EQ(figures[1][2], (emf::Point{state.x_upper + 113, state.y_lower - 113}));
}

TEST_F(FillCalls, OptionKeywords) {
  const TAMVEL_FSTRING no{"NOOUTLINE please", 16};
  const TAMVEL_FSTRING lower{"nooutline", 9};
  const TAMVEL_FSTRING on{"OUTLINE", 7};
  const TAMVEL_FSTRING short_text{"NOOUT", 5};
  const TAMVEL_FSTRING blank{" OUTLINE", 8};
  const TAMVEL_FSTRING null_text{nullptr, 9};
  OPTION(&no);
  EXPECT_EQ(CurrentState().outline_flag, 0);
  OPTION(&lower);
  OPTION(&blank);
  OPTION(&null_text);
  EXPECT_EQ(CurrentState().outline_flag, 0);
  OPTION(&on);
  EXPECT_EQ(CurrentState().outline_flag, -1);
  OPTION(&no);
  OPTION(&short_text);
  EXPECT_EQ(CurrentState().outline_flag, 0);
  PATRN(nullptr, nullptr, 0, 0);
  OPTION(&on);
}

}  // namespace
}  // namespace tamvel::test
