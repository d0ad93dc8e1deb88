// Banded rectangle regions of the stand-in: rectangles, rasterised polygons, combinations.
#include "platform/posix/region_math.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tamvel::posix {
namespace {

// The rectangles as {left, top, right, bottom} rows: comparable, and readable in messages.
std::vector<std::array<LONG, 4>> Rows(const RectList &rects) {
  std::vector<std::array<LONG, 4>> rows;
  for (const RECT &r : rects) rows.push_back({r.left, r.top, r.right, r.bottom});
  return rows;
}

int Area(const RectList &rects) {
  int area = 0;
  for (const RECT &r : rects) area += (r.right - r.left) * (r.bottom - r.top);
  return area;
}

// Banding: sorted by top, then left; the rectangles of a band share top and bottom; bands do
// not overlap; no rectangle is empty.
void ExpectBanded(const RectList &rects) {
  for (size_t i = 0; i < rects.size(); ++i) {
    EXPECT_LT(rects[i].left, rects[i].right);
    EXPECT_LT(rects[i].top, rects[i].bottom);
    if (i == 0) continue;
    const RECT &p = rects[i - 1];
    const RECT &r = rects[i];
    if (p.top == r.top) {
      EXPECT_EQ(p.bottom, r.bottom);
      EXPECT_LT(p.right, r.left) << "touching spans of a band are merged";
    } else {
      EXPECT_LE(p.bottom, r.top);
    }
  }
}

TEST(RegionMath, Rectangles) {
  EXPECT_EQ(Rows(RectangleRegion(10, 20, 0, 5)), Rows({{0, 5, 10, 20}}));
  EXPECT_TRUE(RectangleRegion(3, 3, 3, 9).empty());
  EXPECT_EQ(RegionKind(RectangleRegion(0, 0, 1, 1)), SIMPLEREGION);
  EXPECT_EQ(RegionKind({}), NULLREGION);
}

TEST(RegionMath, UnionIntersectionDifferenceXor) {
  const RectList a = RectangleRegion(0, 0, 10, 10);
  const RectList b = RectangleRegion(5, 5, 15, 15);
  const RectList both = CombineRegions(a, b, RGN_OR);
  ExpectBanded(both);
  EXPECT_EQ(Area(both), 175);
  EXPECT_EQ(Rows(both), Rows({{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}));
  EXPECT_EQ(Rows(CombineRegions(a, b, RGN_AND)), Rows({{5, 5, 10, 10}}));
  EXPECT_EQ(Area(CombineRegions(a, b, RGN_DIFF)), 75);
  EXPECT_EQ(Area(CombineRegions(a, b, RGN_XOR)), 150);
  EXPECT_EQ(Rows(CombineRegions(a, b, RGN_COPY)), Rows(a));
  // Separate rectangles stay two; disjoint intersection is empty.
  const RectList apart = CombineRegions(a, RectangleRegion(20, 0, 30, 10), RGN_OR);
  EXPECT_EQ(Rows(apart), Rows({{0, 0, 10, 10}, {20, 0, 30, 10}}));
  EXPECT_TRUE(CombineRegions(a, RectangleRegion(20, 0, 30, 10), RGN_AND).empty());
  // A frame: a rectangle minus a smaller one inside it.
  const RectList frame =
      CombineRegions(RectangleRegion(0, 0, 10, 10), RectangleRegion(2, 2, 8, 8), RGN_DIFF);
  ExpectBanded(frame);
  EXPECT_EQ(Area(frame), 64);
  EXPECT_FALSE(RegionContains(frame, 5, 5));
  EXPECT_TRUE(RegionContains(frame, 1, 5));
  EXPECT_EQ(RegionKind(frame), COMPLEXREGION);
  // Rebuilding the full square from the frame and its hole merges the bands again.
  EXPECT_EQ(Rows(CombineRegions(frame, RectangleRegion(2, 2, 8, 8), RGN_OR)),
            Rows({{0, 0, 10, 10}}));
  EXPECT_TRUE(CombineRegions({}, a, RGN_DIFF).empty());
}

TEST(RegionMath, PolygonsUnderBothFillModes) {
  const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_EQ(Rows(PolygonRegion(square, 4, WINDING)), Rows({{0, 0, 10, 10}}));
  // A triangle: every row is one span whose width shrinks.
  const POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
  const RectList t = PolygonRegion(triangle, 3, ALTERNATE);
  ExpectBanded(t);
  EXPECT_NEAR(Area(t), 200, 20);
  EXPECT_TRUE(RegionContains(t, 1, 1));
  EXPECT_FALSE(RegionContains(t, 15, 15));
  // A pentagram: the centre is inside under WINDING but not under ALTERNATE.
  const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  EXPECT_TRUE(RegionContains(PolygonRegion(star, 5, WINDING), 50, 50));
  EXPECT_FALSE(RegionContains(PolygonRegion(star, 5, ALTERNATE), 50, 50));
  EXPECT_TRUE(RegionContains(PolygonRegion(star, 5, ALTERNATE), 50, 10));
  ExpectBanded(PolygonRegion(star, 5, WINDING));
}

TEST(RegionMath, SeveralContoursFillTogether) {
  // Two squares, the second inside the first: a hole under ALTERNATE, filled under WINDING
  // when both run the same way.
  const POINT squares[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}, {7, 3}, {7, 7}, {3, 7}};
  const int counts[] = {4, 4};
  EXPECT_FALSE(RegionContains(PolyPolygonRegion(squares, counts, 2, ALTERNATE), 5, 5));
  EXPECT_TRUE(RegionContains(PolyPolygonRegion(squares, counts, 2, WINDING), 5, 5));
  EXPECT_EQ(Area(PolyPolygonRegion(squares, counts, 2, ALTERNATE)), 84);
  const int bad[] = {4, -4};
  EXPECT_TRUE(PolyPolygonRegion(squares, bad, 2, WINDING).empty());
  EXPECT_TRUE(PolyPolygonRegion(squares, counts, 0, WINDING).empty());
}

TEST(RegionMath, DegenerateAndHugePolygons) {
  const POINT line[] = {{0, 0}, {10, 10}};
  EXPECT_TRUE(PolygonRegion(line, 2, WINDING).empty());
  EXPECT_TRUE(PolygonRegion(nullptr, 5, WINDING).empty());
  EXPECT_TRUE(PolygonRegion(line, -4, WINDING).empty());
  const POINT flat[] = {{0, 5}, {10, 5}, {20, 5}};
  EXPECT_TRUE(PolygonRegion(flat, 3, WINDING).empty());
  // Rows are limited, so a huge polygon ends quickly with a bounded list.
  const POINT huge[] = {
      {-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}};
  const RectList h = PolygonRegion(huge, 3, WINDING);
  EXPECT_FALSE(h.empty());
  EXPECT_GE(RegionBounds(h).top, -kMaxRegionCoordinate);
  EXPECT_LE(RegionBounds(h).bottom, kMaxRegionCoordinate);
}

}  // namespace
}  // namespace tamvel::posix
