// The bytes a recording DC writes: header, EOF, state and drawing records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/emf/emf_records.h"
#include "platform/posix/dc.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::emf;
using namespace tamvel::testing;

HDC NewRecording(const RECT *frame = nullptr, LPCSTR description = nullptr) {
  return CreateEnhMetaFileA(nullptr, nullptr, frame, description);
}

TEST(Header, FieldsDescriptionAndEof) {
  const RECT frame{0, -29700, 21000, 0};
  HDC dc = NewRecording(&frame, "app\0corp\0");
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 100, 50);
  std::vector<uint8_t> b = Finish(dc);
  auto records = RecordsOf(b);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(U32(b, 0), 1u);
  EXPECT_EQ(U32(b, 4), 128u);  // 108 + 10 WCHARs
  EXPECT_EQ(U32(b, 40), kSignature);
  EXPECT_EQ(U32(b, 44), kVersion);
  EXPECT_EQ(U32(b, 48), b.size());
  EXPECT_EQ(U32(b, 52), 4u);
  EXPECT_EQ(U32(b, 56), 1u);  // nHandles 1, sReserved 0
  EXPECT_EQ(U32(b, 60), 10u);
  EXPECT_EQ(U32(b, 64), 108u);
  EXPECT_EQ(I32(b, 24), 0);
  EXPECT_EQ(I32(b, 28), -29700);
  EXPECT_EQ(I32(b, 32), 21000);
  EXPECT_EQ(I32(b, 36), 0);
  EXPECT_EQ(I32(b, 72), 1920);
  EXPECT_EQ(I32(b, 76), 1440);
  EXPECT_EQ(I32(b, 80), 508);
  EXPECT_EQ(I32(b, 84), 381);
  EXPECT_EQ(I32(b, 100), 508000);
  EXPECT_EQ(I32(b, 104), 381000);
  const char16_t expected[] = u"app\0corp\0\0";
  EXPECT_EQ(std::memcmp(b.data() + 108, expected, 20), 0);
  // Bounds: inclusive box of the line, inside the frame.
  EXPECT_EQ(I32(b, 8), 0);
  EXPECT_EQ(I32(b, 12), 0);
  EXPECT_EQ(I32(b, 16), 100);
  EXPECT_EQ(I32(b, 20), 0);  // clipped to the frame, which ends at y = 0
  const RecordAt &eof = records.back();
  EXPECT_EQ(eof.type, static_cast<uint32_t>(EMR_EOF));
  EXPECT_EQ(eof.size, 20u);
  EXPECT_EQ(U32(b, eof.offset + 12), 16u);
  EXPECT_EQ(U32(b, b.size() - 4), 20u);
}

TEST(Header, ComputedFrameAndEmptyBounds) {
  HDC dc = NewRecording();
  std::vector<uint8_t> empty = Finish(dc);
  EXPECT_EQ(I32(empty, 16), -1);
  EXPECT_EQ(I32(empty, 20), -1);
  EXPECT_EQ(U32(empty, 60), 0u);
  EXPECT_EQ(U32(empty, 64), 0u);
  EXPECT_EQ(U32(empty, 4), 108u);

  dc = NewRecording();
  POINT line[] = {{96, 0}, {192, 96}};
  Polyline(dc, line, 2);
  std::vector<uint8_t> b = Finish(dc);
  EXPECT_EQ(I32(b, 8), 96);
  EXPECT_EQ(I32(b, 20), 96);
  EXPECT_EQ(I32(b, 24), 2540);  // 96 px = 1 inch
  EXPECT_EQ(I32(b, 32), 5080);
  EXPECT_EQ(I32(b, 36), 2540);
}

TEST(StateRecords, MetricModesAreWrittenAsAnisotropic) {
  HDC dc = NewRecording();
  SetMapMode(dc, MM_TWIPS);
  SetViewportOrgEx(dc, 0, 1122, nullptr);
  SetMapMode(dc, MM_TEXT);
  std::vector<uint8_t> b = Finish(dc);
  auto r = RecordsOf(b);
  std::vector<uint32_t> expected = {EMR_SETMAPMODE, EMR_SETWINDOWEXTEX, EMR_SETVIEWPORTEXTEX,
                                    EMR_SETVIEWPORTORGEX, EMR_SETMAPMODE};
  ASSERT_EQ(BodyTypes(b), expected);
  EXPECT_EQ(U32(b, r[1].offset + 8), static_cast<uint32_t>(MM_ANISOTROPIC));
  EXPECT_EQ(I32(b, r[2].offset + 8), 28800);
  EXPECT_EQ(I32(b, r[2].offset + 12), 21600);
  EXPECT_EQ(I32(b, r[3].offset + 8), 1920);
  EXPECT_EQ(I32(b, r[3].offset + 12), -1440);
  EXPECT_EQ(I32(b, r[4].offset + 12), 1122);
  EXPECT_EQ(U32(b, r[5].offset + 8), static_cast<uint32_t>(MM_TEXT));
}

TEST(StateRecords, SettersRecordAndReturnPreviousValues) {
  HDC dc = NewRecording();
  EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_COPYPEN);
  EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
  EXPECT_EQ(SetTextAlign(dc, TA_LEFT | TA_BOTTOM | TA_UPDATECP), 0u);
  EXPECT_EQ(GetTextAlign(dc), static_cast<UINT>(TA_LEFT | TA_BOTTOM | TA_UPDATECP));
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkColor(dc, RGB(1, 2, 3)), RGB(255, 255, 255));
  EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), 0u);
  EXPECT_EQ(SetTextCharacterExtra(dc, 20), 0);
  EXPECT_EQ(GetTextCharacterExtra(dc), 20);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  EXPECT_EQ(GetPolyFillMode(dc), WINDING);
  EXPECT_EQ(SetROP2(dc, 0), 0);  // out of range: refused, not recorded
  EXPECT_EQ(SetBkMode(dc, 3), 0);
  std::vector<uint8_t> b = Finish(dc);
  std::vector<uint32_t> expected = {EMR_SETROP2,   EMR_SETPOLYFILLMODE, EMR_SETTEXTALIGN,
                                    EMR_SETBKMODE, EMR_SETBKCOLOR,      EMR_SETTEXTCOLOR};
  ASSERT_EQ(BodyTypes(b), expected);
  auto r = RecordsOf(b);
  EXPECT_EQ(U32(b, r[3].offset + 8), static_cast<uint32_t>(TA_BOTTOM));  // CP resolved by text
  EXPECT_EQ(U32(b, r[5].offset + 8), RGB(1, 2, 3));
}

TEST(StateRecords, SaveAndRestoreAbsoluteAndRelative) {
  HDC dc = NewRecording();
  EXPECT_EQ(SaveDC(dc), 1);
  SetMapMode(dc, MM_TWIPS);
  MoveToEx(dc, 10, 20, nullptr);
  EXPECT_EQ(SaveDC(dc), 2);
  SetMapMode(dc, MM_HIMETRIC);
  EXPECT_EQ(SaveDC(dc), 3);
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetMapMode(dc), MM_HIMETRIC);
  EXPECT_FALSE(RestoreDC(dc, 3));
  EXPECT_FALSE(RestoreDC(dc, 0));
  EXPECT_FALSE(RestoreDC(dc, -3));
  EXPECT_TRUE(RestoreDC(dc, 1));  // two levels at once
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  POINT cp{};
  GetCurrentPositionEx(dc, &cp);
  EXPECT_EQ(cp.x, 0);
  EXPECT_FALSE(RestoreDC(dc, -1));
  EXPECT_FALSE(RestoreDC(dc, static_cast<int>(0x80000000u)));
  std::vector<uint8_t> b = Finish(dc);
  auto r = RecordsOf(b);
  const RecordAt *last = nullptr;
  for (const RecordAt &rec : r) {
    if (rec.type == EMR_RESTOREDC) last = &rec;
  }
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(I32(b, last->offset + 8), -2);
}

TEST(DrawingRecords, CurrentPositionAndLines) {
  HDC dc = NewRecording();
  POINT old{5, 5};
  MoveToEx(dc, 10, 20, &old);
  EXPECT_EQ(old.x, 0);
  LineTo(dc, 30, 40);
  POINT cp{};
  EXPECT_TRUE(GetCurrentPositionEx(dc, &cp));
  EXPECT_EQ(cp.x, 30);
  EXPECT_EQ(cp.y, 40);
  POINT pts[] = {{0, 0}, {5, 5}};
  Polyline(dc, pts, 2);  // does not move the position
  GetCurrentPositionEx(dc, &cp);
  EXPECT_EQ(cp.x, 30);
  EXPECT_FALSE(GetCurrentPositionEx(dc, nullptr));
  EXPECT_FALSE(Polyline(dc, pts, 1));
  EXPECT_FALSE(Polyline(dc, nullptr, 2));
  EXPECT_FALSE(Polygon(dc, pts, -2));
  std::vector<uint8_t> b = Finish(dc);
  std::vector<uint32_t> expected = {EMR_MOVETOEX, EMR_LINETO, EMR_POLYLINE16};
  EXPECT_EQ(BodyTypes(b), expected);
}

TEST(DrawingRecords, ShortAndLongPointForms) {
  HDC dc = NewRecording();
  POINT small[] = {{1, 2}, {-3, 32767}};
  POINT large[] = {{1, 2}, {40000, 5}};
  Polyline(dc, small, 2);
  Polygon(dc, large, 2);
  POINT poly[] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}, {20, 20}};
  DWORD counts[] = {2, 3};
  PolyPolyline(dc, poly, counts, 2);
  DWORD bad_counts[] = {2, 1};
  EXPECT_FALSE(PolyPolyline(dc, poly, bad_counts, 2));
  EXPECT_FALSE(PolyPolyline(dc, poly, counts, 0));
  std::vector<uint8_t> b = Finish(dc);
  auto r = RecordsOf(b);
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[1].type, static_cast<uint32_t>(EMR_POLYLINE16));
  EXPECT_EQ(r[1].size, 28u + 8u);
  EXPECT_EQ(U32(b, r[1].offset + 24), 2u);
  EXPECT_EQ(I16(b, r[1].offset + 32), -3);
  EXPECT_EQ(I16(b, r[1].offset + 34), 32767);
  EXPECT_EQ(I32(b, r[1].offset + 8), -3);      // bounds left
  EXPECT_EQ(I32(b, r[1].offset + 20), 32767);  // bounds bottom
  EXPECT_EQ(r[2].type, static_cast<uint32_t>(EMR_POLYGON));
  EXPECT_EQ(r[2].size, 28u + 16u);
  EXPECT_EQ(I32(b, r[2].offset + 36), 40000);
  EXPECT_EQ(r[3].type, static_cast<uint32_t>(EMR_POLYPOLYLINE16));
  EXPECT_EQ(r[3].size, 32u + 8u + 20u);
  EXPECT_EQ(U32(b, r[3].offset + 24), 2u);
  EXPECT_EQ(U32(b, r[3].offset + 28), 5u);
  EXPECT_EQ(U32(b, r[3].offset + 36), 3u);
}

TEST(DrawingRecords, PathFiguresAreMoveAndPolylineTo) {
  HDC dc = NewRecording();
  MoveToEx(dc, 7, 8, nullptr);
  EXPECT_FALSE(StrokePath(dc));
  EXPECT_FALSE(EndPath(dc));
  BeginPath(dc);
  POINT poly[] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}, {20, 20}};
  DWORD counts[] = {2, 3};
  PolyPolyline(dc, poly, counts, 2);
  EXPECT_FALSE(StrokePath(dc));  // still open
  EndPath(dc);
  EXPECT_TRUE(StrokePath(dc));
  EXPECT_FALSE(StrokePath(dc));  // used up
  std::vector<uint8_t> b = Finish(dc);
  std::vector<uint32_t> expected = {EMR_MOVETOEX,     EMR_BEGINPATH, EMR_MOVETOEX,
                                    EMR_POLYLINETO16, EMR_MOVETOEX,  EMR_POLYLINETO16,
                                    EMR_MOVETOEX,     EMR_ENDPATH,   EMR_STROKEPATH};
  ASSERT_EQ(BodyTypes(b), expected);
  auto r = RecordsOf(b);
  EXPECT_EQ(I32(b, r[5].offset + 8), 0);
  EXPECT_EQ(I32(b, r[5].offset + 12), 10);
  EXPECT_EQ(U32(b, r[6].offset + 24), 2u);
  EXPECT_EQ(I32(b, r[7].offset + 8), 7);  // back to the real current position
  EXPECT_EQ(I32(b, r[7].offset + 12), 8);
  EXPECT_EQ(I32(b, r[9].offset + 16), 20);  // STROKEPATH bounds right
  EXPECT_EQ(I32(b, 16), 20);                // picture bounds come from the stroke
}

TEST(ObjectRecords, PensBrushesAndFonts) {
  HDC dc = NewRecording();
  SetMapMode(dc, MM_TWIPS);
  LOGPEN thin{PS_SOLID, {15, 0}, RGB(1, 2, 3)};  // one pixel: a plain CREATEPEN
  LOGPEN wide{PS_SOLID, {60, 0}, RGB(4, 5, 6)};  // four pixels: geometric
  HPEN thin_pen = CreatePenIndirect(&thin);
  HPEN wide_pen = CreatePenIndirect(&wide);
  LOGBRUSH solid{BS_SOLID, RGB(7, 8, 9), 0};
  HPEN ext = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, 45, &solid, 0,
                          nullptr);
  SelectObject(dc, thin_pen);
  SelectObject(dc, wide_pen);
  SelectObject(dc, ext);
  const BYTE rows[16] = {0x81, 0, 0x42, 0, 0x24, 0, 0x18, 0, 0x18, 0, 0x24, 0, 0x42, 0, 0xFF, 0};
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
  LOGBRUSH pattern{BS_PATTERN, 0, reinterpret_cast<uintptr_t>(bitmap)};
  HBRUSH pattern_brush = CreateBrushIndirect(&pattern);
  DeleteObject(bitmap);  // the brush keeps its own copy
  SelectObject(dc, pattern_brush);
  LOGFONTA lf{};
  lf.lfHeight = -300;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(lf.lfFaceName, "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9");  // "ＭＳ 明朝"
  HFONT font = CreateFontIndirectA(&lf);
  SelectObject(dc, font);
  std::vector<uint8_t> b = Finish(dc);
  for (HGDIOBJ o :
       {static_cast<HGDIOBJ>(thin_pen), static_cast<HGDIOBJ>(wide_pen), static_cast<HGDIOBJ>(ext),
        static_cast<HGDIOBJ>(pattern_brush), static_cast<HGDIOBJ>(font)}) {
    DeleteObject(o);
  }
  auto r = RecordsOf(b);
  std::vector<const RecordAt *> creates;
  for (const RecordAt &rec : r) {
    if (rec.type == EMR_CREATEPEN || rec.type == EMR_EXTCREATEPEN ||
        rec.type == EMR_CREATEMONOBRUSH || rec.type == EMR_EXTCREATEFONTINDIRECTW)
      creates.push_back(&rec);
  }
  ASSERT_EQ(creates.size(), 5u);
  const RecordAt &p1 = *creates[0], &p2 = *creates[1], &p3 = *creates[2];
  EXPECT_EQ(p1.type, static_cast<uint32_t>(EMR_CREATEPEN));
  EXPECT_EQ(p1.size, 28u);
  EXPECT_EQ(I32(b, p1.offset + 16), 15);
  EXPECT_EQ(p2.type, static_cast<uint32_t>(EMR_EXTCREATEPEN));
  EXPECT_EQ(p2.size, 56u);
  EXPECT_EQ(U32(b, p2.offset + 28), static_cast<uint32_t>(PS_GEOMETRIC));  // round cap/join
  EXPECT_EQ(U32(b, p2.offset + 32), 60u);
  EXPECT_EQ(U32(b, p2.offset + 40), RGB(4, 5, 6));
  EXPECT_EQ(U32(b, p3.offset + 28), 0x00011200u);
  EXPECT_EQ(U32(b, p3.offset + 48), 0u);

  const RecordAt &mono = *creates[3];
  EXPECT_EQ(mono.size, 112u);
  EXPECT_EQ(U32(b, mono.offset + 16), 32u);
  EXPECT_EQ(U32(b, mono.offset + 24), 80u);
  EXPECT_EQ(I32(b, mono.offset + 32 + 8), 8);  // biHeight > 0: bottom-up
  EXPECT_EQ(b[mono.offset + 80], 0xFF);        // last source row first
  EXPECT_EQ(b[mono.offset + 80 + 28], 0x81);
  EXPECT_EQ(b[mono.offset + 81], 0);

  const RecordAt &f = *creates[4];
  EXPECT_EQ(f.size, 368u);
  EXPECT_EQ(I32(b, f.offset + 12), -300);
  EXPECT_EQ(b[f.offset + 12 + 23], SHIFTJIS_CHARSET);
  const char16_t face[] = u"\uFF2D\uFF33 \u660E\u671D";
  EXPECT_EQ(std::memcmp(b.data() + f.offset + 40, face, sizeof face), 0);
  EXPECT_EQ(U32(b, f.offset + 360), 0x08007664u);
}

TEST(DrawingRecords, WidePenWidensTheBounds) {
  HDC dc = NewRecording();
  LOGPEN wide{PS_SOLID, {10, 0}, 0};
  HPEN pen = CreatePenIndirect(&wide);
  SelectObject(dc, pen);
  POINT pts[] = {{100, 100}, {200, 100}};
  Polyline(dc, pts, 2);
  std::vector<uint8_t> b = Finish(dc);
  DeleteObject(pen);
  EXPECT_EQ(I32(b, 8), 95);
  EXPECT_EQ(I32(b, 12), 95);
  EXPECT_EQ(I32(b, 16), 205);
  EXPECT_EQ(I32(b, 20), 105);
}

}  // namespace

namespace {

// The figures a painting device strokes: lines continue a figure only where it ends.
TEST(PathFigures, KeptInTheDcForPaintingDevices) {
  HDC hdc = NewRecording();
  BeginPath(hdc);
  MoveToEx(hdc, 0, 0, nullptr);
  LineTo(hdc, 10, 0);
  POINT tri[] = {{50, 50}, {60, 50}, {55, 60}};
  Polygon(hdc, tri, 3);
  LineTo(hdc, 10, 10);  // from the current position (10, 0), not from the triangle
  EndPath(hdc);
  const tamvel::posix::Dc *dc = tamvel::posix::LookupDc(hdc);
  ASSERT_EQ(dc->path.size(), 3u);
  EXPECT_EQ(dc->path[0].points.size(), 2u);
  EXPECT_TRUE(dc->path[1].closed);
  ASSERT_EQ(dc->path[2].points.size(), 2u);
  EXPECT_EQ(dc->path[2].points[0].x, 10);
  EXPECT_EQ(dc->path[2].points[0].y, 0);
  BeginPath(hdc);  // a new bracket drops the old path
  EXPECT_TRUE(dc->path.empty());
  Finish(hdc);
}

}  // namespace
