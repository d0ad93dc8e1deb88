// PLOT with its pen codes, WHERE, and going on to the next page.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

using emf::kLineTo;
using emf::kMoveToEx;
using emf::Point;

class PlotTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    PLOTS(210.0f, 297.0f, 0);
  }
  static std::vector<Point> Lines() { return test::PointsOfType(test::ClosePage(), kLineTo); }
};

TEST_F(PlotTest, DrawsAndMovesInPageUnits) {
  PLOT(20.0f, 30.0f, 3);
  PLOT(120.0f, 30.0f, 2);
  const emf::DecodeResult page = test::ClosePage();
  const std::vector<Point> moves = test::PointsOfType(page, kMoveToEx);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back(), (Point{1134, 1701}));
  EXPECT_EQ(test::PointsOfType(page, kLineTo), (std::vector<Point>{{6803, 1701}}));
}

TEST_F(PlotTest, FactorAndRotationWorkedExamples) {
  FACTOR(2.0f);
  PLOT(100.0f, 0.0f, 2);  // 50 mm: 2834.645
  FACTOR(1.0f);
  ROTATE(90.0f);
  PLOT(10.0f, 0.0f, 2);  // page millimetres (0, 10)
  EXPECT_EQ(Lines(), (std::vector<Point>{{2835, 0}, {0, 567}}));
}

TEST_F(PlotTest, TheLastCoordinateRule) {
  PLOT(30.0f, 40.0f, 3);
  PLOT(999.0f, 999.0f, 2);
  PLOT(50.0f, 999.0f, 2);
  EXPECT_EQ(Lines(), (std::vector<Point>{{1701, 2268}, {2835, 2268}}));
}

TEST_F(PlotTest, NegativeCodesMoveTheOriginToTheUnclampedPoint) {
  PLOT(20.0f, 30.0f, -3);
  PLOT(0.0f, 0.0f, 2);
  EXPECT_TRUE(test::PenAt(0.0f, 0.0f));
  PLOT(-30.0f, 0.0f, -2);  // clamped on the page, origin at -10 mm all the same
  EXPECT_EQ(CurrentState().origin_x, -10.0f);
  EXPECT_EQ(CurrentState().origin_y, 30.0f);
  PLOT(15.0f, 0.0f, 2);
  EXPECT_EQ(Lines(), (std::vector<Point>{{1134, 1701}, {-56, 1701}, {283, 1701}}));
}

TEST_F(PlotTest, OffsetCodesMapDataValuesFirst) {
  OFFSET(100.0f, 10.0f, 0.0f, 1.0f);
  PLOT(150.0f, 20.0f, 12);  // plot x 5
  PLOT(200.0f, 20.0f, 13);  // move to plot x 10
  PLOT(200.0f, 0.0f, -12);  // plot (10, 0) becomes the origin
  PLOT(0.0f, 0.0f, 2);      // the OFFSET mapping is not used by plain codes
  EXPECT_EQ(CurrentState().origin_x, 10.0f);
  EXPECT_EQ(Lines(), (std::vector<Point>{{283, 1134}, {567, 0}, {567, 0}}));
}

TEST_F(PlotTest, OtherCodesOnlySetTheLastPoint) {
  for (int pen : {0, 1, -4, -5, -999, 7, 1000}) {
    PLOT(12.0f, 34.0f + pen, pen);
    EXPECT_EQ(CurrentState().last_x, 12.0f) << pen;
    EXPECT_EQ(CurrentState().last_y, 34.0f + pen) << pen;
  }
  EXPECT_EQ(CurrentPageIndex(), 0);
  EXPECT_NE(MHDC(0), 0);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(PlotTest, CloseKeepsThePageCurrentAndIgnoresFurtherDrawing) {
  PLOT(10.0f, 10.0f, 2);
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(CurrentPageIndex(), 0);
  EXPECT_EQ(MHDC(0), 0);
  const int32_t finished = MHEMF(0);
  ASSERT_NE(finished, 0);
  PLOT(20.0f, 20.0f, 2);  // nothing recorded, but the last point moves
  EXPECT_EQ(CurrentState().last_x, 20.0f);
  EXPECT_EQ(MHEMF(0), finished);
  float x = 1.0f, y = 1.0f;
  WHERE(&x, &y, nullptr);  // from page point (0, 0)
  EXPECT_EQ(std::pair(x, y), std::pair(0.0f, 0.0f));
  EXPECT_EQ(test::PointsOfType(test::DecodePage(0), kLineTo).size(), 1u);
}

TEST_F(PlotTest, WhereUndoesOriginRotationAndFactor) {
  PLOT(50.0f, 60.0f, -3);
  ROTATE(30.0f);
  FACTOR(2.0f);
  PLOT(20.0f, 10.0f, 2);
  float x = 0.0f, y = 0.0f, factor = 0.0f;
  WHERE(&x, &y, &factor);
  EXPECT_NEAR(x, 20.0f, 0.03f);
  EXPECT_NEAR(y, 10.0f, 0.03f);
  EXPECT_EQ(factor, 2.0f);
  WHERE(nullptr, nullptr, nullptr);
}

TEST_F(PlotTest, NextPageCarriesSizeAndSpacingsAndResetsTheRest) {
  SPACE(10.0f);
  KSPACE(36.0f);
  PLOT(10.0f, 10.0f, -3);
  FACTOR(2.0f);
  ROTATE(45.0f);
  OFFSET(1.0f, 2.0f, 3.0f, 4.0f);
  CurrentState().outline_flag = 0;
  PLOT(20.0f, 0.0f, 4);

  EXPECT_EQ(CurrentPageIndex(), 1);
  EXPECT_EQ(MHDC(0), 0);
  EXPECT_NE(MHEMF(0), 0);
  EXPECT_NE(MHDC(1), 0);
  const PlotState &s = CurrentState();
  EXPECT_EQ(std::tuple(s.page_width, s.page_height, s.x_upper, s.y_upper, s.char_spacing,
                       s.kanji_h_spacing, s.outline_flag),
            std::tuple(210.0f, 297.0f, 11962, 16894, 10.0f, 36.0f, 0))
      << "carried over";
  EXPECT_EQ(
      std::tuple(s.origin_x, s.last_x, s.factor, s.rotation_cos, s.rotation_sin, s.offset_x_factor),
      std::tuple(0.0f, 0.0f, 1.0f, 1.0, 0.0, 1.0f))
      << "reset";

  // The new page has the same frame; the old one ends with the line of pen code 4.
  const emf::DecodeResult old_page = test::DecodePage(0);
  ASSERT_NE(old_page.header(), nullptr);
  EXPECT_EQ(test::PointsOfType(old_page, kLineTo).size(), 1u);
  PLOT(0.0f, 0.0f, 5);
  EXPECT_EQ(CurrentPageIndex(), 2);
  const emf::DecodeResult new_page = test::DecodePage(1);
  ASSERT_NE(new_page.header(), nullptr);
  EXPECT_EQ(new_page.header()->frame, old_page.header()->frame);
  EXPECT_TRUE(test::PointsOfType(new_page, kLineTo).empty());
}

TEST_F(PlotTest, NextPageAfter99IsPage0AndLosesItsContents) {
  PLOT(10.0f, 10.0f, 2);
  PLOT(0.0f, 0.0f, 999);
  const int32_t page0 = MHEMF(0);
  ASSERT_NE(page0, 0);
  CHPAGE(100);
  PLOTS(100.0f, 50.0f, 0);
  PLOT(5.0f, 5.0f, 5);
  EXPECT_EQ(CurrentPageIndex(), 0);
  EXPECT_EQ(MHEMF(0), 0);  // discarded by the new recording
  EXPECT_NE(MHDC(0), 0);
  EXPECT_NE(MHEMF(99), 0);
  EXPECT_EQ(CurrentState().page_width, 100.0f);
}

TEST_F(PlotTest, NextPageStartsWithThePenItsSlotHeldLast) {
  CHPAGE(2);
  PLOTS(100.0f, 100.0f, 0);
  PEN(10);  // 57 page units on page index 1
  PLOT(0.0f, 0.0f, 999);
  CHPAGE(1);
  PLOTS(100.0f, 100.0f, 0);
  PEN(3);  // 17 on page index 0
  PLOT(0.0f, 0.0f, 5);
  PLOT(0.0f, 0.0f, 999);
  const std::vector<test::RecordedPen> pens = test::PensOf(test::DecodePage(1));
  ASSERT_FALSE(pens.empty());
  EXPECT_EQ(pens.front().width, 57);
}

TEST_F(PlotTest, NonFiniteInputNeverCrashes) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  PLOT(nan, inf, 2);
  PLOT(-inf, nan, -3);  // origin becomes non-finite; later points saturate
  PLOT(1.0f, 1.0f, 2);
  OFFSET(0.0f, 0.0f, 0.0f, 0.0f);
  PLOT(1.0f, 1.0f, 12);
  ROTATE(nan);
  PLOT(1.0f, 1.0f, 2);
  float x = 0.0f;
  WHERE(&x, nullptr, nullptr);
  for (const Point &p : Lines()) {
    EXPECT_GE(p.x, -56);
    EXPECT_LE(p.x, 11962);
    EXPECT_GE(p.y, -56);
    EXPECT_LE(p.y, 16894);
  }
}

}  // namespace
}  // namespace tamvel
