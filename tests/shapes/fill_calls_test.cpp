// Arcs, wedges, fills and patterns as recorded into a page.
#include <cmath>
#include <limits>

#include "src/shapes/pattern_bitmap.h"
#include "tests/shapes/recording_page.h"

namespace tamvel::test {
namespace {

using FillCalls = RecordingPage;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

UINT BrushStyle() {
  UINT style = 0;
  CurrentPage().ReadBrushState(&style, nullptr, nullptr);
  return style;
}

TEST_F(FillCalls, ArcWorkedExampleRunsThroughTheFirstQuadrant) {
  PLOT(1.0f, 2.0f, 3);
  Mark();
  ARC(50.0f, 50.0f, 10.0f, 0.0f, 90.0f, 0);
  EXPECT_TRUE(PenAt(1.0f, 2.0f));  // back at the last point
  Finish();
  if (const emf::ArcValue *arc = FirstView<emf::ArcValue>(result_, emf::kArc)) {
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
  ARC(50.0f, 50.0f, 0.005f, 0.0f, 90.0f, 0);
  ARCC(50.0f, 50.0f, kNaN, 0.0f, 90.0f);
  WEDGE(50.0f, 50.0f, -10.0f, 0.0f, 90.0f, 0, 1);
  WEDGEG(50.0f, 50.0f, 0.001f, 0.0f, 90.0f, 0, 1);
  ARC(50.0f, 50.0f, 10.0f, kNaN, std::numeric_limits<float>::infinity(), -1);  // no crash
  EXPECT_TRUE(PenAt(3.0f, 4.0f));
  Finish();
}

TEST_F(FillCalls, WedgeOutlineByCodeAndOutlineFlag) {
  const TAMVEL_FSTRING no_outline{"NOOUTLINE", 9};
  const struct {
    int32_t code;
    bool flag_off;
    bool null_brush, null_pen;
  } cases[] = {
      {0, false, true, false},          // outline only
      {3, true, false, true},           // pattern 3, OPTION NOOUTLINE
      {-3, false, false, true},         // a negative code fills without outline
      {INT32_MIN, false, false, true},  // as the most negative one (WEDGEG)
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.code);
    PLOTS(210.0f, 297.0f, 0);
    FILLC(2, 0, 0, 0);
    if (c.flag_off) OPTION(&no_outline);
    Mark();
    if (c.code == INT32_MIN) {
      WEDGEG(80.0f, 50.0f, 10.0f, 45.0f, 300.0f, 0, c.code);
    } else {
      WEDGE(50.0f, 50.0f, 10.0f, 0.0f, 90.0f, -1, c.code);
    }
    Finish();
    // The most negative code selects a hollow page brush, which GDI may hand out as the
    // stock null brush: only the other cases tell the two apart.
    if (c.code != INT32_MIN) {
      EXPECT_EQ(Selected(kNullBrush), c.null_brush) << SliceText();
    }
    EXPECT_EQ(Selected(kNullPen), c.null_pen);
    EXPECT_EQ(CountInSlice(emf::kCreateMonoBrush), c.code == 3 || c.code == -3 ? 1u : 0u);
  }
}

TEST_F(FillCalls, FillPatternsAndTheOneLibraryBitmap) {
  FILLC(4, 0, 0, 0);
  COLORREF colour = 0;
  for (int32_t code : {0, 16, -4}) {
    FILLPT(code);
    CurrentPage().ReadBrushState(nullptr, &colour, nullptr);
    EXPECT_EQ(BrushStyle(), static_cast<UINT>(BS_NULL)) << code;
    EXPECT_EQ(colour, 0x00FF00u) << "the colour stays";
  }
  FILLPT(1);
  EXPECT_EQ(BrushStyle(), static_cast<UINT>(BS_SOLID));
  Mark();
  FILLPT(3);
  HBITMAP first = CurrentPatternBitmap();
  ASSERT_NE(first, nullptr);
  FILLPT(5);
  EXPECT_NE(CurrentPatternBitmap(), first);
  EXPECT_EQ(GetObjectType(first), 0u) << "the older bitmap is deleted";
  uintptr_t hatch = 0;
  CurrentPage().ReadBrushState(nullptr, nullptr, &hatch);
  EXPECT_EQ(BrushStyle(), static_cast<UINT>(BS_PATTERN));
  EXPECT_EQ(hatch, reinterpret_cast<uintptr_t>(CurrentPatternBitmap()));
  Finish();
  const std::vector<const emf::PatternBrush *> brushes =
      Views<emf::PatternBrush>(result_, emf::kCreateMonoBrush);
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
  Mark();
  PATRN(x, y, 2, 1);  // fewer than three points: nothing, brush unchanged
  PATRN(nullptr, y, 4, 1);
  PATRN(x, y, -4, 1);
  EXPECT_EQ(BrushStyle(), static_cast<UINT>(BS_SOLID));
  PATRN(x, y, 4, -1);  // solid fill without outline
  Finish();
  EXPECT_EQ(Figures().size(), 1u) << SliceText();
  EXPECT_TRUE(Selected(kNullPen));
}

TEST_F(FillCalls, RectfCornersOutlineAndMargin) {
  PLOT(7.0f, 8.0f, 3);
  Mark();
  RECTF(0.0f, 0.0f, 10.0f, 5.0f, 10);
  RECTF(-10.0f, -10.0f, 300.0f, 400.0f, 1);  // reaches 113 page units beyond the limits
  EXPECT_TRUE(PenAt(7.0f, 8.0f));
  Finish();
  EXPECT_FALSE(Selected(kNullPen)) << "outlined with the page pen";
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 2u) << SliceText();
  EXPECT_EQ(Figure(figures[0].begin(), figures[0].begin() + 4),
            (Figure{{0, Units(5)}, {Units(10), Units(5)}, {Units(10), 0}, {0, 0}}));
  const PlotState &state = CurrentState();
  EXPECT_EQ(figures[1][0], (emf::Point{state.x_lower - 113, state.y_upper + 113}));
  EXPECT_EQ(figures[1][2], (emf::Point{state.x_upper + 113, state.y_lower - 113}));
}

TEST_F(FillCalls, OptionKeywords) {
  // Only OUTLINE and NOOUTLINE at the start of the text, in capitals, switch the flag.
  const struct {
    TAMVEL_FSTRING keyword;
    int32_t flag;
  } steps[] = {
      {{"NOOUTLINE please", 16}, 0}, {{" OUTLINE", 8}, 0},  {{"OUTLINE", 7}, -1},
      {{"nooutline", 9}, -1},        {{nullptr, 9}, -1},    {{"NOOUT", 5}, -1},
      {{"NOOUTLINE", 8}, -1},        {{"NOOUTLINE", 9}, 0},
  };
  for (const auto &step : steps) {
    OPTION(&step.keyword);
    EXPECT_EQ(CurrentState().outline_flag, step.flag) << step.keyword.length;
  }
  OPTION(nullptr);
  EXPECT_EQ(CurrentState().outline_flag, 0);
  PATRN(nullptr, nullptr, 0, 0);
}

}  // namespace
}  // namespace tamvel::test
