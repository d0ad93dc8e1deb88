// Page units and clamping. The 999 rule, rotation, factor and origin are checked as PLOT
// records them (plot_test.cpp), their inverse through WHERE.
#include "src/plot/coordinates.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

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

TEST_F(CoordinatesTest, ClampTakesTheUpperLimitWhenTheLimitsCross) {
  for (const float mm : {kNaN, -kInf, kInf, 0.0f, -0.0f, 1.0f}) {
    EXPECT_EQ(ClampedPageUnits(mm, 10, -10), -10) << mm;
  }
  EXPECT_EQ(ClampedPageUnits(-0.0f, -56, 56), 0);
  EXPECT_EQ(ClampedPageUnits(1.76f, -56, 100), 100);  // 99.78 rounds onto the limit
  EXPECT_EQ(ClampedPageUnits(-1.76f, -100, 56), -100);
}

TEST_F(CoordinatesTest, NextPageClampsToTheLimitsItTookOver) {
  PLOT(0.0f, 0.0f, 5);  // onto page 2, A4 again
  PLOT(1000.0f, -1000.0f, 2);
  PLOT(-1000.0f, 1000.0f, 2);
  const emf::DecodeResult page = test::ClosePage();
  const std::vector<emf::Point> lines = test::PointsOfType(page, emf::kLineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (emf::Point{11962, -56}));
  EXPECT_EQ(lines[1], (emf::Point{-56, 16894}));
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

// PLOT's own way (both coordinates at once) against TransformPoint and ToPageUnits, over
// hostile points and states: the same page units and the same last point, bit for bit.
TEST(PlotPoint, AgreesWithTransformAndPageUnitsForEveryValue) {
  const float kMax = std::numeric_limits<float>::max();
  std::vector<float> values = {0.0f,
                               -0.0f,
                               1.0f,
                               -1.0f,
                               0.3f,
                               999.0f,
                               -999.0f,
                               210.0f,
                               297.0f,
                               -5.5f,
                               1e-40f,
                               1e30f,
                               -1e30f,
                               kMax,
                               -kMax,
                               kInf,
                               -kInf,
                               kNaN,
                               0.5f / float(kPageUnitsPerMm)};
  std::mt19937 random(7);
  std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
  std::uniform_int_distribution<int> exponent(-20, 40);
  for (int i = 0; i < 300; ++i) values.push_back(std::ldexp(mantissa(random), exponent(random)));
  struct Limits {
    int32_t left, right, bottom, top;
  };
  const Limits limits[] = {{-56, 11962, -56, 16894},
                           {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX},
                           {500, -500, 300, 200}};  // lower above upper: the upper limit
  std::uniform_int_distribution<size_t> pick(0, values.size() - 1);
  int compared = 0;
  for (const float factor : {1.0f, 3.0f, 0.1f, 0.0f, -2.0f, 1e-30f, kNaN}) {
    for (const double degrees : {0.0, 90.0, 37.0, -180.0, 1e-7, 720.5}) {
      for (const float origin : {0.0f, 12.5f, -1e20f}) {
        for (const Limits &l : limits) {
          PlotState state;
          state.factor = factor;
          state.SetRotation(std::cos(degrees * std::numbers::pi / 180.0),
                            std::sin(degrees * std::numbers::pi / 180.0));
          state.origin_x = origin;
          state.origin_y = -origin / 2;
          state.last_x = 3.25f;
          state.last_y = -7.5f;
          state.SetLimits(l.left, l.right, l.bottom, l.top);
          for (int n = 0; n < 200; ++n) {
            const float x = values[pick(random)];
            const float y = values[pick(random)];
            PlotState scalar = state;
            float sx = x;
            float sy = y;
            TransformPoint(scalar, sx, sy);
            int want_x = 0;
            int want_y = 0;
            ToPageUnits(scalar, sx, sy, want_x, want_y);
            PlotState packed = state;
            int got_x = 0;
            int got_y = 0;
            PlotPointToPageUnits(packed, x, y, got_x, got_y);
            ASSERT_EQ(std::pair(got_x, got_y), std::pair(want_x, want_y))
                << "point " << x << ", " << y << " factor " << factor << " rotation " << degrees
                << " origin " << origin << " limits " << l.left << ".." << l.right;
            ASSERT_EQ(std::bit_cast<uint32_t>(packed.last_x),
                      std::bit_cast<uint32_t>(scalar.last_x));
            ASSERT_EQ(std::bit_cast<uint32_t>(packed.last_y),
                      std::bit_cast<uint32_t>(scalar.last_y));
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_EQ(compared, 7 * 6 * 3 * 3 * 200);
}

}  // namespace
}  // namespace tamvel
