// Clipping on the stand-in: the clip a recording DC ends up with after the clipping calls
// (union, intersection, frame by difference, no region) and the records that carry it to
// independent readers.
#include <initializer_list>
#include <string>
#include <utility>

#include "platform/posix/dc.h"
#include "platform/posix/region_math.h"
#include "src/shapes/shapes.h"
#include "tests/shapes/recording_page.h"

namespace tamvel::test {
namespace {

class StandInClip : public RecordingPage {
 protected:
  // For each plot point, whether the recording DC lets drawing through there: '+' where it
  // does, '-' where it clips.
  static std::string Visibility(std::initializer_list<std::pair<float, float>> points) {
    posix::Dc *dc = posix::LookupDc(CurrentPage().RecordingDc());
    std::string seen;
    for (const auto &[x, y] : points) {
      const POINT device = dc->ToDevice(PagePoint(x, y));
      const bool visible =
          !dc->state.clip || posix::RegionContains(*dc->state.clip, device.x, device.y);
      seen += visible ? '+' : '-';
    }
    return seen;
  }
  static bool Unclipped() { return !posix::LookupDc(CurrentPage().RecordingDc())->state.clip; }
};

TEST_F(StandInClip, RectangleLetsThroughOnlyItsInside) {
  SETCLIP(10.0f, 10.0f, 100.0f, 50.0f);
  EXPECT_EQ(Visibility({{11, 30}, {99, 30}, {5, 30}, {101, 30}, {50, 51}}), "++---");
  // Recorded as a logical rectangle in page units (before the limit square), not as a path.
  const emf::DecodeResult &r = Finish();
  const auto rects = Views<emf::RectValue>(r, emf::kIntersectClipRect);
  ASSERT_EQ(rects.size(), 2u) << DescribeAll(r);
  EXPECT_NEAR(rects[0]->rect.left, 567, 15);
  EXPECT_NEAR(rects[0]->rect.right, 5669, 15);
  EXPECT_EQ(CountRecords(r, emf::kSelectClipPath), 0u);
}

TEST_F(StandInClip, UnionIntersectionAndFrame) {
  ADDCLIP(10.0f, 10.0f, 20.0f, 20.0f);  // no region yet: the rectangle becomes it
  ADDCLIP(40.0f, 10.0f, 50.0f, 20.0f);
  EXPECT_EQ(Visibility({{15, 15}, {45, 15}, {30, 15}}), "++-");
  SETCLIP(10.0f, 10.0f, 50.0f, 50.0f);
  ANDCLIP(30.0f, 30.0f, 70.0f, 70.0f);
  EXPECT_EQ(Visibility({{40, 40}, {20, 20}, {60, 60}}), "+--");
  SETCLIP(10.0f, 10.0f, 100.0f, 100.0f);
  DIFFCLIP(30.0f, 30.0f, 80.0f, 80.0f);
  EXPECT_EQ(Visibility({{20, 50}, {50, 50}}), "+-");
  // A frame is not a rectangle: it travels as a clip path of logical polygons.
  const emf::DecodeResult &r = Finish();
  EXPECT_GE(CountRecords(r, emf::kSelectClipPath), 2u) << DescribeAll(r);
  EXPECT_EQ(CountRecords(r, emf::kBeginPath), CountRecords(r, emf::kEndPath));
  const std::vector<const emf::Poly *> polygons = Views<emf::Poly>(r, emf::kPolygon16);
  ASSERT_FALSE(polygons.empty());
  for (const emf::Point &p : polygons.back()->points) {
    EXPECT_GE(p.x, 560);  // logical twips of the frame, not device pixels
    EXPECT_LE(p.x, 5680);
  }
}

TEST_F(StandInClip, PolygonsAndNoRegion) {
  DIFFCLIP(10.0f, 10.0f, 20.0f, 20.0f);  // nothing to cut from: unclipped
  EXPECT_TRUE(Unclipped());
  const float x[3] = {0.0f, 100.0f, 0.0f};
  const float y[3] = {0.0f, 0.0f, 100.0f};
  ANDCLIPP(x, y, 3);
  EXPECT_EQ(Visibility({{10, 10}, {60, 60}}), "+-");
  const float hx[3] = {5.0f, 15.0f, 5.0f};
  const float hy[3] = {5.0f, 5.0f, 15.0f};
  DIFFCLIPP(hx, hy, 3);
  EXPECT_EQ(Visibility({{6, 6}, {30, 30}}), "-+");
  ADDCLIPP(hx, hy, 3);
  EXPECT_EQ(Visibility({{6, 6}}), "+");
  RESETCLIP();
  EXPECT_TRUE(Unclipped());
}

TEST(StandInClipPath, PathBecomesTheClipAndIsRecorded) {
  HDC hdc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(SelectClipPath(hdc, RGN_COPY)) << "no path yet";
  BeginPath(hdc);
  const POINT a[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const POINT b[] = {{20, 0}, {30, 0}, {30, 10}, {20, 10}};
  Polygon(hdc, a, 4);
  Polygon(hdc, b, 4);
  EndPath(hdc);
  EXPECT_TRUE(SelectClipPath(hdc, RGN_COPY));
  posix::Dc *dc = posix::LookupDc(hdc);
  ASSERT_NE(dc, nullptr);
  ASSERT_TRUE(dc->state.clip.has_value());
  EXPECT_TRUE(posix::RegionContains(*dc->state.clip, 5, 5));
  EXPECT_TRUE(posix::RegionContains(*dc->state.clip, 25, 5));
  EXPECT_FALSE(posix::RegionContains(*dc->state.clip, 15, 5));
  EXPECT_FALSE(SelectClipPath(hdc, RGN_COPY)) << "the path is used up";
  IntersectClipRect(hdc, 0, 0, 22, 10);
  EXPECT_FALSE(posix::RegionContains(*dc->state.clip, 25, 5));
  SelectClipRgn(hdc, nullptr);
  EXPECT_FALSE(dc->state.clip.has_value());
  HENHMETAFILE emf = CloseEnhMetaFile(hdc);
  const emf::DecodeResult r = DecodeMetafile(emf);
  EXPECT_EQ(CountRecords(r, emf::kSelectClipPath), 1u) << DescribeAll(r);
  EXPECT_EQ(CountRecords(r, emf::kIntersectClipRect), 1u);
  DeleteEnhMetaFile(emf);
}

TEST(StandInRegions, CallsAndBadHandles) {
  HRGN a = CreateRectRgn(10, 10, 0, 0);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  const POINT line[] = {{0, 0}, {5, 5}};
  EXPECT_EQ(CreatePolygonRgn(line, 1, WINDING), nullptr);
  EXPECT_EQ(CreatePolygonRgn(nullptr, 3, WINDING), nullptr);
  HRGN empty = CreatePolygonRgn(line, 2, WINDING);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(a, a, empty, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(a, b, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(a, b, nullptr, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(a, b, b, 99), ERROR);
  for (HRGN r : {a, b, empty}) EXPECT_TRUE(DeleteObject(r));
  EXPECT_EQ(CombineRgn(a, b, b, RGN_OR), ERROR) << "stale handles are rejected";
}

}  // namespace
}  // namespace tamvel::test
