// Arc boxes and radials, fill pattern bits, mark and arrow step tables, without a DC.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "src/shapes/arc_geometry.h"
#include "src/shapes/arrow_geometry.h"
#include "src/shapes/fill_patterns.h"
#include "src/shapes/mark_geometry.h"

namespace tamvel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void ExpectPoint(PlotPoint actual, float x, float y) {
  EXPECT_NEAR(actual.x, x, 2e-5) << "x";
  EXPECT_NEAR(actual.y, y, 2e-5) << "y";
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

TEST(ArcGeometry, WorkedExampleDirectionAndRotation) {
  float a, b;
  ArcAngles(0.0f, 90.0f, 0, 0.0f, &a, &b);
  ArcRecordGeometry g = ArcBoxAndRadials(2835, 2835, 567, a, b);
  EXPECT_EQ(g.left, 2268);
  EXPECT_EQ(g.top, 3402);
  EXPECT_EQ(g.right, 3402);
  EXPECT_EQ(g.bottom, 2268);
  EXPECT_EQ(g.x_start, 3402);
  EXPECT_EQ(g.y_start, 2835);
  EXPECT_EQ(g.x_end, 2835);
  EXPECT_EQ(g.y_end, 3402);
  // Direction -1 exchanges the angles; 1 and -2 keep them.
  ArcAngles(0.0f, 90.0f, -1, 0.0f, &a, &b);
  EXPECT_EQ(a, 90.0f);
  EXPECT_EQ(b, 0.0f);
  ArcAngles(0.0f, 90.0f, -2, 0.0f, &a, &b);
  EXPECT_EQ(a, 0.0f);
  // ROTATE(30): radials at 30 and 120 degrees, truncated towards zero.
  ArcAngles(0.0f, 90.0f, 0, 30.0f, &a, &b);
  g = ArcBoxAndRadials(2835, 2835, 567, a, b);
  EXPECT_EQ(g.x_start, 3326);
  EXPECT_EQ(g.y_start, 3118);
  EXPECT_EQ(g.x_end, 2551);
  EXPECT_EQ(g.y_end, 3326);
  // Garbage angles give harmless numbers.
  g = ArcBoxAndRadials(0, 0, 10, kNaN, std::numeric_limits<float>::infinity());
  EXPECT_EQ(g.x_start, 0);
}

TEST(ArcGeometry, WedgeGridRadialsLieOnTheRays) {
  int32_t x, y;
  WedgeGridRadial(1000, 1000, 10.0f, 1.0f, 0.0f, &x, &y);
  EXPECT_EQ(x, 1200);
  EXPECT_EQ(y, 1000);
  WedgeGridRadial(1000, 1000, 10.0f, 2.0f, 90.0f, &x, &y);
  EXPECT_EQ(x, 1000);
  EXPECT_EQ(y, 1100);
}

TEST(FillPatterns, RowBytesOfEveryPattern) {
  const uint8_t expected[14][8] = {
      {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF},
      {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77},
      {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55},
      {0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE},
      {0x00, 0x55, 0x00, 0x55, 0x00, 0x55, 0x00, 0x55},
      {0x77, 0xAA, 0xDD, 0xAA, 0x77, 0xAA, 0xDD, 0xAA},
      {0x00, 0x7F, 0x00, 0xF7, 0x00, 0x7F, 0x00, 0xF7},
      {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD},
      {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA},
      {0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF},
      {0x3F, 0x3F, 0xF3, 0xF3, 0x3F, 0x3F, 0xF3, 0xF3},
      {0x7F, 0xFF, 0xF7, 0xFF, 0x7F, 0xFF, 0xF7, 0xFF},
      {0xCF, 0x9F, 0x3F, 0x7E, 0xFC, 0xF9, 0xF3, 0xE7},
      {0x0F, 0x0F, 0xF0, 0xF0, 0x0F, 0x0F, 0xF0, 0xF0},
  };
  for (int code = 2; code <= 15; ++code) {
    std::array<uint8_t, 16> bits{};
    ASSERT_TRUE(FillPatternScanLines(code, &bits));
    for (int row = 0; row < 8; ++row) {
      EXPECT_EQ(bits[2 * row], expected[code - 2][row]) << "code " << code << " row " << row;
      EXPECT_EQ(bits[2 * row + 1], 0) << "padding byte";
    }
  }
  std::array<uint8_t, 16> bits{};
  for (int code : {0, 1, 16, -3}) EXPECT_FALSE(FillPatternScanLines(code, &bits)) << code;
  EXPECT_NE(FillPatternRows(0), nullptr);
  EXPECT_EQ(FillPatternRows(16), nullptr);
}

// --- marks ---------------------------------------------------------------------------

TEST(MarkGeometry, ConstructionPointsAndWorkedExample) {
  const float r = Ctsym2Radius(5.0f);
  EXPECT_FLOAT_EQ(r, 2.0f);
  EXPECT_FLOAT_EQ(CtsymbRadius(5.0f), 1.875f);
  MarkPoints k = MarkConstructionPoints(50, 50, r, 0);
  ExpectPoint(k[kE], 52, 50);
  ExpectPoint(k[kNE], 52, 52);
  ExpectPoint(k[kN], 50, 52);
  ExpectPoint(k[kNW], 48, 52);
  ExpectPoint(k[kW], 48, 50);
  ExpectPoint(k[kSW], 48, 48);
  ExpectPoint(k[kS], 50, 48);
  ExpectPoint(k[kSE], 52, 48);
  ShapeProgram square = Ctsym2Program(50, 50, r, k, 0);
  ASSERT_EQ(square.count, 1);
  EXPECT_EQ(square.ops[0].step, ShapeStep::kOutline);
  ASSERT_EQ(square.ops[0].count, 5);
  ExpectPoint(square.ops[0].points[0], 52, 52);
  ExpectPoint(square.ops[0].points[1], 48, 52);
  ExpectPoint(square.ops[0].points[2], 48, 48);
  ExpectPoint(square.ops[0].points[3], 52, 48);
  ExpectPoint(square.ops[0].points[4], 52, 52);
  // An angle of 45 turns the square into a diamond of circumradius r * 1.4142135.
  k = MarkConstructionPoints(0, 0, r, 45.0f);
  ExpectPoint(k[kNE], 0, 2.0f * 1.4142135f);
  ExpectPoint(k[kN], -1.4142135f, 1.4142135f);
}

// Counts the steps of each kind and checks the first point of every step.
struct StepSummary {
  int moves = 0, draws = 0, outlines = 0, fills = 0, circles = 0, discs = 0;
};
StepSummary Summarize(const ShapeProgram &p) {
  StepSummary s;
  for (int i = 0; i < p.count; ++i) {
    switch (p.ops[i].step) {
      case ShapeStep::kMove:
        ++s.moves;
        break;
      case ShapeStep::kDraw:
        ++s.draws;
        break;
      case ShapeStep::kOutline:
        ++s.outlines;
        break;
      case ShapeStep::kFill:
        ++s.fills;
        break;
      case ShapeStep::kCircle:
        ++s.circles;
        break;
      case ShapeStep::kDisc:
        ++s.discs;
        break;
    }
  }
  return s;
}

TEST(MarkGeometry, Ctsym2EveryCode) {
  const MarkPoints k = MarkConstructionPoints(0, 0, 1, 0);
  struct Expected {
    int moves, draws, outlines, fills, circles, discs;
  };
  const Expected table[12] = {{0, 0, 1, 0, 0, 0}, {0, 0, 0, 0, 1, 0}, {0, 0, 1, 0, 0, 0},
                              {2, 2, 0, 0, 0, 0}, {2, 2, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0},
                              {0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 0, 1}, {0, 0, 0, 1, 0, 0},
                              {0, 0, 0, 1, 0, 0}, {4, 4, 0, 0, 0, 0}, {1, 3, 0, 0, 0, 0}};
  for (int code = 0; code < 12; ++code) {
    const StepSummary s = Summarize(Ctsym2Program(0, 0, 1, k, code));
    EXPECT_EQ(s.moves, table[code].moves) << code;
    EXPECT_EQ(s.draws, table[code].draws) << code;
    EXPECT_EQ(s.outlines, table[code].outlines) << code;
    EXPECT_EQ(s.fills, table[code].fills) << code;
    EXPECT_EQ(s.circles, table[code].circles) << code;
    EXPECT_EQ(s.discs, table[code].discs) << code;
  }
  for (int code : {-1, 12, 1000}) EXPECT_EQ(Ctsym2Program(0, 0, 1, k, code).count, 0);
  // Filled marks are solid polygons without outline; counts 5, 4, 5.
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 6).ops[0].fill_code, -1);
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 6).ops[0].count, 5);
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 8).ops[0].count, 4);
  EXPECT_EQ(Ctsym2Program(0, 0, 1, k, 9).ops[0].count, 5);
  // The inverted triangle: NE -> NW, -> S, -> NE.
  const ShapeProgram inverted = Ctsym2Program(0, 0, 1, k, 11);
  EXPECT_EQ(inverted.ops[0].points[0], k[kNE]);
  EXPECT_EQ(inverted.ops[1].points[0], k[kNW]);
  EXPECT_EQ(inverted.ops[2].points[0], k[kS]);
  EXPECT_EQ(inverted.ops[3].points[0], k[kNE]);
  // The circle and disc have the mark radius about the centre as passed.
  const ShapeProgram disc = Ctsym2Program(999.0f, 5, 0.8f, k, 7);
  EXPECT_EQ(disc.ops[0].points[0], (PlotPoint{999.0f, 5}));
  EXPECT_EQ(disc.ops[0].radius, 0.8f);
}

TEST(MarkGeometry, CtsymbEveryCode) {
  const float r = CtsymbRadius(4.0f);  // 1.5
  const MarkPoints k = MarkConstructionPoints(10, 20, r, 0);
  const int draws[15] = {5, 1, 4, 2, 2, 5, 4, 3, 4, 3, 4, 4, 4, 1, 1};
  const int moves[15] = {1, 0, 0, 2, 2, 0, 2, 1, 2, 2, 3, 4, 1, 1, 1};
  for (int code = 0; code < 15; ++code) {
    const StepSummary s = Summarize(CtsymbProgram(10, 20, k, code));
    EXPECT_EQ(s.draws, draws[code]) << code;
    EXPECT_EQ(s.moves, moves[code]) << code;
  }
  EXPECT_EQ(CtsymbProgram(10, 20, k, 15).count, 0);
  EXPECT_EQ(CtsymbProgram(10, 20, k, -1).count, 0);

  // Octagon: the stroke to N, then nine points on the square's sides 0.275 of a side from
  // each corner.
  const ShapeProgram octagon = CtsymbProgram(10, 20, k, 1);
  EXPECT_EQ(octagon.ops[0].points[0], k[kN]);
  ASSERT_EQ(octagon.ops[1].step, ShapeStep::kOutline);
  ASSERT_EQ(octagon.ops[1].count, 9);
  const float side = 2 * r;
  ExpectPoint(octagon.ops[1].points[0], 10 + r - 0.275f * side, 20 + r);  // NE towards NW
  ExpectPoint(octagon.ops[1].points[1], 10 - r + 0.275f * side, 20 + r);
  ExpectPoint(octagon.ops[1].points[2], 10 - r, 20 + r - 0.275f * side);  // NW towards SW
  ExpectPoint(octagon.ops[1].points[7], 10 + r, 20 + r - 0.275f * side);  // SE towards NE
  EXPECT_EQ(octagon.ops[1].points[8], octagon.ops[1].points[0]);

  // Code 8: the bar z1 -> z2 through the centre, a third of the width each side.
  const ShapeProgram z = CtsymbProgram(10, 20, k, 8);
  ExpectPoint(z.ops[4].points[0], 10 + r / 3, 20);
  ExpectPoint(z.ops[5].points[0], 10 - r / 3, 20);

  // Code 10: the inner square at +-0.44 r, the ray to NE from the centre.
  const ShapeProgram rays = CtsymbProgram(10, 20, k, 10);
  EXPECT_EQ(rays.ops[0].step, ShapeStep::kDraw);
  EXPECT_EQ(rays.ops[0].points[0], k[kNE]);
  const ShapeOp &inner = rays.ops[rays.count - 1];
  ASSERT_EQ(inner.count, 5);
  ExpectPoint(inner.points[0], 10 + 0.44f * r, 20 + 0.44f * r);
  ExpectPoint(inner.points[1], 10 - 0.44f * r, 20 + 0.44f * r);
  ExpectPoint(inner.points[2], 10 - 0.44f * r, 20 - 0.44f * r);
  ExpectPoint(inner.points[3], 10 + 0.44f * r, 20 - 0.44f * r);

  // Code 11: diagonal arms 0.78 r * 1.4142135 from the centre, straight arms r.
  const ShapeProgram star = CtsymbProgram(10, 20, k, 11);
  ExpectPoint(star.ops[4].points[0], 10 + 0.78f * r, 20 + 0.78f * r);
  ExpectPoint(star.ops[5].points[0], 10 - 0.78f * r, 20 - 0.78f * r);
  ExpectPoint(star.ops[0].points[0], 10, 20 + r);

  // Code 9: the Y returns to the centre between its arms.
  const ShapeProgram y = CtsymbProgram(10, 20, k, 9);
  EXPECT_EQ(y.ops[1].step, ShapeStep::kMove);
  EXPECT_EQ(y.ops[1].points[0], (PlotPoint{10, 20}));
}

// --- arrows --------------------------------------------------------------------------

TEST(ArrowGeometry, WorkedExampleType21) {
  const ArrowPoints a = MakeArrowPoints({0, 0}, {100, 0}, 5, 2);
  ExpectPoint(a.p, 95, 0);
  ExpectPoint(a.q, 5, 0);
  ExpectPoint(a.pr, 95, -1);
  ExpectPoint(a.pl, 95, 1);
  ExpectPoint(a.qr, 5, -1);
  ExpectPoint(a.ql, 5, 1);
  const ShapeProgram p = ArrowProgram(a, 21);
  // E -> PR, -> PL, -> E; P -> Q; S -> QL, -> QR, -> S.
  const ShapeStep steps[] = {ShapeStep::kMove, ShapeStep::kDraw, ShapeStep::kDraw, ShapeStep::kDraw,
                             ShapeStep::kMove, ShapeStep::kDraw, ShapeStep::kMove, ShapeStep::kDraw,
                             ShapeStep::kDraw, ShapeStep::kDraw};
  const PlotPoint points[] = {a.e, a.pr, a.pl, a.e, a.p, a.q, a.s, a.ql, a.qr, a.s};
  ASSERT_EQ(p.count, 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p.ops[i].step, steps[i]) << i;
    EXPECT_EQ(p.ops[i].points[0], points[i]) << i;
  }
}

TEST(ArrowGeometry, EveryStyleWithShaftAndSecondHead) {
  const ArrowPoints a = MakeArrowPoints({0, 0}, {0, 50}, 4, 3);
  ExpectPoint(a.pr, 1.5f, 46);  // right of the direction of the arrow
  ExpectPoint(a.pl, -1.5f, 46);
  // Steps (moves + draws + fills) of each style with n = 0, 1, 2.
  const int steps[9][3] = {{0, 0, 0}, {4, 6, 10}, {4, 5, 8}, {4, 5, 7}, {5, 6, 9},
                           {3, 4, 5}, {1, 3, 4},  {1, 3, 4}, {3, 5, 8}};
  for (int t = 1; t <= 8; ++t) {
    for (int n = 0; n <= 2; ++n) {
      EXPECT_EQ(ArrowProgram(a, n * 10 + t).count, steps[t][n]) << "type " << n * 10 + t;
    }
    EXPECT_EQ(ArrowProgram(a, 90 + t).count, steps[t][2]) << "n above 2 as 2";
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
  p = ArrowProgram(a, 12);
  EXPECT_EQ(p.ops[4].points[0], a.s);
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
  const ArrowPoints long_head = MakeArrowPoints({0, 0}, {10, 0}, 15, 1);
  ExpectPoint(long_head.p, -5, 0);
}

}  // namespace
}  // namespace tamvel
