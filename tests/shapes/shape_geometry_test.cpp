// Arc boxes and radials, fill pattern bits, the geometry of marks and arrows, without a DC.
// The recorded worked examples of marks and arrows are in mark_calls_test.cpp.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "src/shapes/arc_geometry.h"
#include "src/shapes/arrow_geometry.h"
#include "src/shapes/fill_patterns.h"
#include "src/shapes/mark_geometry.h"

namespace tamvel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void ExpectNear(PlotPoint actual, PlotPoint expected) {
  EXPECT_NEAR(actual.x, expected.x, 2e-5) << "x";
  EXPECT_NEAR(actual.y, expected.y, 2e-5) << "y";
}

TEST(ArcGeometry, RadiusInPageUnits) {
  EXPECT_EQ(ArcRadiusInPageUnits(10.0f, 1.0f), 567);
  EXPECT_EQ(ArcRadiusInPageUnits(10.0f, 2.0f), 283);  // FACTOR(2.0)
  EXPECT_EQ(ArcRadiusInPageUnits(0.005f, 1.0f), 0);   // tiny radius: nothing drawn
  EXPECT_EQ(ArcRadiusInPageUnits(kNaN, 1.0f), 0);
  EXPECT_EQ(ArcRadiusInPageUnits(10.0f, 0.0f), kMaxArcRadius);
  EXPECT_EQ(ArcRadiusInPageUnits(-10.0f, 0.0f), 0);
  EXPECT_EQ(ArcRadiusInPageUnits(3e38f, 1e-30f), kMaxArcRadius);
}

std::array<int32_t, 8> Arguments(const ArcRecordGeometry &g) {
  return {g.left, g.top, g.right, g.bottom, g.x_start, g.y_start, g.x_end, g.y_end};
}

TEST(ArcGeometry, WorkedExampleDirectionAndRotation) {
  float a, b;
  ArcAngles(0.0f, 90.0f, 0, 0.0f, &a, &b);
  EXPECT_EQ(Arguments(ArcBoxAndRadials(2835, 2835, 567, a, b)),
            (std::array<int32_t, 8>{2268, 3402, 3402, 2268, 3402, 2835, 2835, 3402}));
  // Direction -1 exchanges the angles; 1 and -2 keep them.
  ArcAngles(0.0f, 90.0f, -1, 0.0f, &a, &b);
  EXPECT_EQ(std::pair(a, b), std::pair(90.0f, 0.0f));
  ArcAngles(0.0f, 90.0f, -2, 0.0f, &a, &b);
  EXPECT_EQ(std::pair(a, b), std::pair(0.0f, 90.0f));
  // ROTATE(30): radials at 30 and 120 degrees, truncated towards zero.
  ArcAngles(0.0f, 90.0f, 0, 30.0f, &a, &b);
  EXPECT_EQ(Arguments(ArcBoxAndRadials(2835, 2835, 567, a, b)),
            (std::array<int32_t, 8>{2268, 3402, 3402, 2268, 3326, 3118, 2551, 3326}));
  // Garbage angles give harmless numbers.
  EXPECT_EQ(ArcBoxAndRadials(0, 0, 10, kNaN, std::numeric_limits<float>::infinity()).x_start, 0);
}

TEST(ArcGeometry, WedgeGridRadialsLieOnTheRays) {
  int32_t x, y;
  WedgeGridRadial(1000, 1000, 10.0f, 1.0f, 0.0f, &x, &y);
  EXPECT_EQ(std::pair(x, y), std::pair(1200, 1000));
  WedgeGridRadial(1000, 1000, 10.0f, 2.0f, 90.0f, &x, &y);
  EXPECT_EQ(std::pair(x, y), std::pair(1000, 1100));
}

TEST(FillPatterns, ScanLinesOfTheBitmapPatterns) {
  std::array<uint8_t, 16> bits{};
  for (int code = kFirstBitmapPattern; code <= kLastBitmapPattern; ++code) {
    ASSERT_TRUE(FillPatternScanLines(code, &bits));
    for (int row = 0; row < 8; ++row) EXPECT_EQ(bits[2 * row + 1], 0) << "padding of " << code;
  }
  // Ink is a 0 bit, the leftmost pixel the high bit: pattern 15's top row "0000    " is 0x0F.
  EXPECT_EQ(bits[0], 0x0F);
  EXPECT_EQ(bits[4], 0xF0);
  ASSERT_TRUE(FillPatternScanLines(2, &bits));  // horizontal lines
  EXPECT_EQ(std::pair(bits[0], bits[2]), std::pair(uint8_t{0x00}, uint8_t{0xFF}));
  for (int code : {0, 1, 16, -3}) EXPECT_FALSE(FillPatternScanLines(code, &bits)) << code;
  EXPECT_NE(FillPatternRows(0), nullptr);
  EXPECT_EQ(FillPatternRows(16), nullptr);
}

// --- marks ---------------------------------------------------------------------------

TEST(MarkGeometry, RadiiAndConstructionPoints) {
  EXPECT_FLOAT_EQ(Ctsym2Radius(5.0f), 2.0f);
  EXPECT_FLOAT_EQ(CtsymbRadius(5.0f), 1.875f);
  // E, NE, N, ... SE: the corners lie on the square of half-side r.
  const MarkPoints k = MarkConstructionPoints(50, 50, 2, 0);
  const PlotPoint expected[8] = {{52, 50}, {52, 52}, {50, 52}, {48, 52},
                                 {48, 50}, {48, 48}, {50, 48}, {52, 48}};
  for (int i = 0; i < 8; ++i) ExpectNear(k[i], expected[i]);
  // An angle of 45 turns the square into a diamond of circumradius r * 1.4142135.
  const MarkPoints turned = MarkConstructionPoints(0, 0, 2, 45.0f);
  ExpectNear(turned[kNE], {0, 2.0f * 1.4142135f});
  ExpectNear(turned[kN], {-1.4142135f, 1.4142135f});
}

TEST(MarkGeometry, Ctsym2EveryCode) {
  const MarkPoints k = MarkConstructionPoints(0, 0, 1, 0);
  for (int code = 0; code < 12; ++code) EXPECT_GT(Ctsym2Program(0, 0, 1, k, code).count, 0);
  for (int code : {-1, 12, 1000}) EXPECT_EQ(Ctsym2Program(0, 0, 1, k, code).count, 0);
  // Filled marks are solid polygons without outline; counts 5, 4, 5.
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 6).ops[0].fill_code, -1);
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 6).ops[0].count, 5);
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 8).ops[0].count, 4);
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 9).ops[0].count, 5);
  // The inverted triangle: NE -> NW, -> S, -> NE.
  const ShapeProgram inverted = Ctsym2Program(0, 0, 1, k, 11);
  const MarkPoint corners[4] = {kNE, kNW, kS, kNE};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(inverted.ops[i].points[0], k[corners[i]]) << i;
  // The circle and disc have the mark radius about the centre as passed.
  const ShapeProgram disc = Ctsym2Program(999.0f, 5, 0.8f, k, 7);
  EXPECT_EQ(disc.ops[0].points[0], (PlotPoint{999.0f, 5}));
  EXPECT_EQ(disc.ops[0].radius, 0.8f);
}

TEST(MarkGeometry, CtsymbEveryCode) {
  const float r = CtsymbRadius(4.0f);  // 1.5
  const MarkPoints k = MarkConstructionPoints(10, 20, r, 0);
  for (int code = 0; code < 15; ++code) EXPECT_GT(CtsymbProgram(10, 20, k, code).count, 0);
  EXPECT_EQ(CtsymbProgram(10, 20, k, 15).count, 0);
  EXPECT_EQ(CtsymbProgram(10, 20, k, -1).count, 0);

  // Octagon: the stroke to N, then nine points on the square's sides 0.275 of a side from
  // each corner.
  const ShapeProgram octagon = CtsymbProgram(10, 20, k, 1);
  EXPECT_EQ(octagon.ops[0].points[0], k[kN]);
  ASSERT_EQ(octagon.ops[1].step, ShapeStep::kOutline);
  ASSERT_EQ(octagon.ops[1].count, 9);
  const float cut = 0.275f * 2 * r;
  ExpectNear(octagon.ops[1].points[0], {10 + r - cut, 20 + r});  // NE towards NW
  ExpectNear(octagon.ops[1].points[1], {10 - r + cut, 20 + r});
  ExpectNear(octagon.ops[1].points[2], {10 - r, 20 + r - cut});  // NW towards SW
  ExpectNear(octagon.ops[1].points[7], {10 + r, 20 + r - cut});  // SE towards NE
  EXPECT_EQ(octagon.ops[1].points[8], octagon.ops[1].points[0]);

  // Code 8: the bar z1 -> z2 through the centre, a third of the width each side.
  const ShapeProgram z = CtsymbProgram(10, 20, k, 8);
  ExpectNear(z.ops[4].points[0], {10 + r / 3, 20});
  ExpectNear(z.ops[5].points[0], {10 - r / 3, 20});

  // Code 10: the ray to NE from the centre first, the inner square at +-0.44 r last.
  const ShapeProgram rays = CtsymbProgram(10, 20, k, 10);
  EXPECT_EQ(rays.ops[0].step, ShapeStep::kDraw);
  EXPECT_EQ(rays.ops[0].points[0], k[kNE]);
  const ShapeOp &inner = rays.ops[rays.count - 1];
  ASSERT_EQ(inner.count, 5);
  const float d = 0.44f * r;
  const PlotPoint square[4] = {
      {10 + d, 20 + d}, {10 - d, 20 + d}, {10 - d, 20 - d}, {10 + d, 20 - d}};
  for (int i = 0; i < 4; ++i) ExpectNear(inner.points[i], square[i]);

  // Code 11: diagonal arms 0.78 r * 1.4142135 from the centre, straight arms r.
  const ShapeProgram star = CtsymbProgram(10, 20, k, 11);
  ExpectNear(star.ops[4].points[0], {10 + 0.78f * r, 20 + 0.78f * r});
  ExpectNear(star.ops[5].points[0], {10 - 0.78f * r, 20 - 0.78f * r});
  ExpectNear(star.ops[0].points[0], {10, 20 + r});

  // Code 9: the Y returns to the centre between its arms.
  const ShapeProgram y = CtsymbProgram(10, 20, k, 9);
  EXPECT_EQ(y.ops[1].step, ShapeStep::kMove);
  EXPECT_EQ(y.ops[1].points[0], (PlotPoint{10, 20}));
}

// --- arrows --------------------------------------------------------------------------

TEST(ArrowGeometry, EveryStyleWithShaftAndSecondHead) {
  const ArrowPoints a = MakeArrowPoints({0, 0}, {0, 50}, 4, 3);
  ExpectNear(a.pr, {1.5f, 46});  // right of the direction of the arrow
  ExpectNear(a.pl, {-1.5f, 46});
  // Styles 1 to 8 with n = 0, 1, 2 shafts; n above 2 draws as 2.
  for (int t = 1; t <= 8; ++t) {
    EXPECT_GT(ArrowProgram(a, t).count, 0) << t;
    EXPECT_EQ(ArrowProgram(a, 90 + t).count, ArrowProgram(a, 20 + t).count) << t;
  }
  for (int type : {0, 9, 10, 19, -11, -1}) EXPECT_EQ(ArrowProgram(a, type).count, 0) << type;
  // Type 4: open head and the axis E -> P; with 14 the axis continues to S.
  ShapeProgram p = ArrowProgram(a, 4);
  EXPECT_EQ(p.ops[3].points[0], a.e);
  EXPECT_EQ(p.ops[4].points[0], a.p);
  p = ArrowProgram(a, 14);
  EXPECT_EQ(p.ops[5].step, ShapeStep::kDraw);
  EXPECT_EQ(p.ops[5].points[0], a.s);
  // Type 11 runs the shaft between the head bases; 12 carries it from E to S.
  p = ArrowProgram(a, 11);
  EXPECT_EQ(p.ops[4].points[0], a.p);
  EXPECT_EQ(p.ops[5].points[0], a.q);
  EXPECT_EQ(ArrowProgram(a, 12).ops[4].points[0], a.s);
  // Type 16: the shaft first, then solid filled heads (pattern 1).
  p = ArrowProgram(a, 26);
  EXPECT_EQ(p.ops[0].step, ShapeStep::kMove);
  EXPECT_EQ(p.ops[2].step, ShapeStep::kFill);
  EXPECT_EQ(p.ops[2].fill_code, 1);
  EXPECT_EQ(p.ops[3].points[2], a.s);
  // Type 7: the half heads on the same side.
  p = ArrowProgram(a, 27);
  EXPECT_EQ(p.ops[0].points[2], a.pl);
  EXPECT_EQ(p.ops[3].points[0], a.ql);
}

TEST(ArrowGeometry, DegenerateArrows) {
  EXPECT_FALSE(ArrowHasLength({1, 1}, {1, 1}));
  EXPECT_FALSE(ArrowHasLength({kNaN, 1}, {1, 1}));
  EXPECT_TRUE(ArrowHasLength({0, 0}, {0, 1e-3f}));
  // Width 0: the closed heads collapse onto the axis.
  const ArrowPoints thin = MakeArrowPoints({0, 0}, {10, 0}, 2, 0);
  EXPECT_EQ(thin.pr, thin.p);
  // A head longer than the arrow puts its base behind S, uncorrected.
  ExpectNear(MakeArrowPoints({0, 0}, {10, 0}, 15, 1).p, {-5, 0});
}

}  // namespace
}  // namespace tamvel
