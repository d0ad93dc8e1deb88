// The coordinate model: 999 rule, rotation, scale factor, origin, page units and clamping.
#include "src/plot/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class CoordinatesTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    PLOTS(210.0f, 297.0f, 0);
  }
  // Page units of a page-millimetre point on the A4 page.
  static std::pair<int, int> Units(float x, float y) {
    int px = 1;
    int py = 1;
    ToPageUnits(x, y, &px, &py);
    return {px, py};
  }
};

TEST(Rounding, TruncAndRoundSaturate) {
  EXPECT_EQ(TruncToInt32(2.9), 2);
  EXPECT_EQ(TruncToInt32(-2.9), -2);
  EXPECT_EQ(TruncToInt32(std::nan("")), 0);
  EXPECT_EQ(TruncToInt32(1e300), INT32_MAX);
  EXPECT_EQ(TruncToInt32(-1e300), INT32_MIN);
  EXPECT_EQ(RoundToInt32(2.5), 3);
  EXPECT_EQ(RoundToInt32(-2.5), -3);
  EXPECT_EQ(RoundToInt32(-2.4), -2);
}

TEST_F(CoordinatesTest, PageUnitsRoundHalfAwayFromZero) {
  EXPECT_EQ(Units(50.0f, 0.0f), std::make_pair(2835, 0));  // 2834.645
  EXPECT_EQ(Units(20.0f, 30.0f), std::make_pair(1134, 1701));
  EXPECT_EQ(Units(-0.5f, -0.99f), std::make_pair(-28, -56));  // -28.35, -56.13
}

TEST_F(CoordinatesTest, PointsOutsideThePageLandOnTheLimits) {
  const PlotState &s = CurrentState();
  EXPECT_EQ(s.x_upper, 11962);
  EXPECT_EQ(s.y_upper, 16894);
  EXPECT_EQ(Units(-5.0f, 500.0f), std::make_pair(-56, 16894));
  EXPECT_EQ(Units(1000.0f, -1000.0f), std::make_pair(11962, -56));
}

TEST_F(CoordinatesTest, MarginWidensTheLimitsBy113) {
  int px = 0;
  int py = 0;
  ToPageUnitsWithMargin(-5.0f, 1000.0f, &px, &py);
  EXPECT_EQ(px, -169);
  EXPECT_EQ(py, 16894 + 113);
}

TEST_F(CoordinatesTest, NonFiniteAndHugeValuesSaturateBeforeTheClamp) {
  EXPECT_EQ(Units(kNaN, kNaN), std::make_pair(-56, -56));
  EXPECT_EQ(Units(kInf, -kInf), std::make_pair(11962, -56));
  EXPECT_EQ(Units(3e30f, -3e30f), std::make_pair(11962, -56));
  EXPECT_EQ(Units(4e7f, 0.0f), std::make_pair(11962, 0));  // beyond 32 bits in page units
  int px = 0;
  int py = 0;
  ToPageUnitsWithMargin(kInf, kNaN, &px, &py);
  EXPECT_EQ(px, 11962 + 113);
  EXPECT_EQ(py, -56 - 113);
}

TEST_F(CoordinatesTest, TransformAppliesRuleRotationFactorAndOrigin) {
  PlotState &s = CurrentState();
  float x = 100.0f;
  float y = 0.0f;
  s.factor = 2.0f;
  TransformPoint(&x, &y);
  EXPECT_FLOAT_EQ(x, 50.0f);
  EXPECT_EQ(s.last_x, 100.0f);

  ROTATE(90.0f);
  s.factor = 1.0f;
  s.origin_x = 20.0f;
  s.origin_y = 30.0f;
  x = 10.0f;
  y = 0.0f;
  TransformPoint(&x, &y);
  EXPECT_NEAR(x, 20.0f, 1e-5);
  EXPECT_FLOAT_EQ(y, 40.0f);

  // 999 stands for the last coordinate, each one by itself.
  x = 999.0f;
  y = 5.0f;
  TransformPoint(&x, &y);
  EXPECT_EQ(s.last_x, 10.0f);
  EXPECT_EQ(s.last_y, 5.0f);
}

TEST_F(CoordinatesTest, PageUnitsToPlotInvertsTheTransform) {
  PlotState &s = CurrentState();
  FACTOR(2.5f);
  ROTATE(30.0f);
  s.origin_x = 12.0f;
  s.origin_y = 7.0f;
  float x = 40.0f;
  float y = 25.0f;
  TransformPoint(&x, &y);
  int px = 0;
  int py = 0;
  ToPageUnits(x, y, &px, &py);
  float back_x = 0.0f;
  float back_y = 0.0f;
  PageUnitsToPlot(px, py, &back_x, &back_y);
  // Rounding moves the point by at most half a page unit in each direction, scaled by 2.5.
  const double tolerance = 2.5 * 0.71 / 56.6929;
  EXPECT_NEAR(back_x, 40.0f, tolerance);
  EXPECT_NEAR(back_y, 25.0f, tolerance);
}

TEST_F(CoordinatesTest, ZeroFactorSaturatesInsteadOfFailing) {
  FACTOR(0.0f);
  PLOT(10.0f, -10.0f, 2);  // +inf, -inf
  PLOT(0.0f, 0.0f, 2);     // NaN
  const emf::DecodeResult page = test::ClosePage();
  const std::vector<emf::Point> lines = test::PointsOfType(page, emf::EMR_LINETO);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (emf::Point{11962, -56}));
  EXPECT_EQ(lines[1], (emf::Point{-56, -56}));
}

}  // namespace
}  // namespace tamvel
