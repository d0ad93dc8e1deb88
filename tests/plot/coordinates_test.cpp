// Page units and clamping. The 999 rule, rotation, factor and origin are checked as PLOT
// records them (plot_test.cpp), their inverse through WHERE.
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

TEST_F(CoordinatesTest, PageUnitsRoundHalfAwayFromZeroAndLandOnTheLimits) {
  // The A4 page's limits: -56 .. 11962 and -56 .. 16894 (1 mm outside the page).
  const struct {
    float x, y;
    std::pair<int, int> units;
  } cases[] = {
      {50.0f, 0.0f, {2835, 0}},  // 2834.645
      {20.0f, 30.0f, {1134, 1701}},
      {-0.5f, -0.99f, {-28, -56}},  // -28.35, -56.13
      {-5.0f, 500.0f, {-56, 16894}},
      {1000.0f, -1000.0f, {11962, -56}},
      // Non-finite and huge values saturate before the clamp.
      {kNaN, kNaN, {-56, -56}},
      {kInf, -kInf, {11962, -56}},
      {3e30f, -3e30f, {11962, -56}},
      {4e7f, 0.0f, {11962, 0}},  // beyond 32 bits in page units
  };
  for (const auto &c : cases) EXPECT_EQ(Units(c.x, c.y), c.units) << c.x << ", " << c.y;
  EXPECT_EQ(CurrentState().x_upper, 11962);
  EXPECT_EQ(CurrentState().y_upper, 16894);
}

TEST_F(CoordinatesTest, MarginWidensTheLimitsBy113) {
  int px = 0;
  int py = 0;
  ToPageUnitsWithMargin(-5.0f, 1000.0f, &px, &py);
  EXPECT_EQ(std::pair(px, py), std::pair(-169, 16894 + 113));
  ToPageUnitsWithMargin(kInf, kNaN, &px, &py);
  EXPECT_EQ(std::pair(px, py), std::pair(11962 + 113, -56 - 113));
}

TEST_F(CoordinatesTest, ZeroFactorSaturatesInsteadOfFailing) {
  FACTOR(0.0f);
  PLOT(10.0f, -10.0f, 2);  // +inf, -inf
  PLOT(0.0f, 0.0f, 2);     // NaN
  const emf::DecodeResult page = test::ClosePage();
  const std::vector<emf::Point> lines = test::PointsOfType(page, emf::kLineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (emf::Point{11962, -56}));
  EXPECT_EQ(lines[1], (emf::Point{-56, -56}));
}

}  // namespace
}  // namespace tamvel
