// The bytes a recording DC writes: header, EOF, state and drawing records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/emf/emf_records.h"
#include "platform/posix/dc.h"
#include "platform/posix/recorder.h"
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
  const DecodeResult r = Finish(dc);
  ASSERT_EQ(r.records.size(), 4u);
  // Type and size (108 + 10 WCHARs); bounds, the inclusive box of the line clipped to the
  // frame, which ends at y = 0; frame; signature, version, records, nHandles 1 with
  // sReserved 0, description; the reference device in pixels, millimetres and micrometres.
  ExpectFields(
      r, 0, {{0, 1},    {4, 128},     {8, 0},        {12, 0},      {16, 100},        {20, 0},
             {24, 0},   {28, -29700}, {32, 21000},   {36, 0},      {40, kSignature}, {44, kVersion},
             {52, 4},   {56, 1},      {60, 10},      {64, 108},    {72, 1920},       {76, 1440},
             {80, 508}, {84, 381},    {100, 508000}, {104, 381000}});
  EXPECT_EQ(GetU32(r.bytes, 48), r.bytes.size());
  const char16_t expected[] = u"app\0corp\0\0";
  EXPECT_EQ(std::memcmp(r.bytes.data() + 108, expected, 20), 0);
  ExpectFields(r, 3, {{0, kEof}, {4, 20}, {12, 16}, {16, 20}});
}

TEST(Header, ComputedFrameAndEmptyBounds) {
  ExpectFields(Finish(NewRecording()), 0, {{4, 108}, {16, -1}, {20, -1}, {60, 0}, {64, 0}});
  HDC dc = NewRecording();
  POINT line[] = {{96, 0}, {192, 96}};
  Polyline(dc, line, 2);
  // The frame in .01 mm around the bounds: 96 px = 1 inch.
  ExpectFields(Finish(dc), 0, {{8, 96}, {20, 96}, {24, 2540}, {32, 5080}, {36, 2540}});
}

TEST(StateRecords, MetricModesAreWrittenAsAnisotropic) {
  HDC dc = NewRecording();
  SetMapMode(dc, MM_TWIPS);
  SetViewportOrgEx(dc, 0, 1122, nullptr);
  SetMapMode(dc, MM_TEXT);
  const DecodeResult r = Finish(dc);
  std::vector<uint32_t> expected = {kSetMapMode, kSetWindowExtEx, kSetViewportExtEx,
                                    kSetViewportOrgEx, kSetMapMode};
  ASSERT_EQ(BodyTypes(r), expected);
  ExpectFields(r, 1, {{8, MM_ANISOTROPIC}});
  ExpectFields(r, 2, {{8, 28800}, {12, 21600}});
  ExpectFields(r, 3, {{8, 1920}, {12, -1440}});
  ExpectFields(r, 4, {{12, 1122}});
  ExpectFields(r, 5, {{8, MM_TEXT}});
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
  EXPECT_EQ(SetROP2(dc, 0), 0);  // out of range: refused, not recorded
  EXPECT_EQ(SetBkMode(dc, 3), 0);
  const DecodeResult r = Finish(dc);
  std::vector<uint32_t> expected = {kSetRop2,   kSetPolyFillMode, kSetTextAlign,
                                    kSetBkMode, kSetBkColor,      kSetTextColor};
  ASSERT_EQ(BodyTypes(r), expected);
  ExpectFields(r, 3, {{8, TA_BOTTOM}});  // the current position is resolved by text
  ExpectFields(r, 5, {{8, RGB(1, 2, 3)}});
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
  for (int bad : {3, 0, -3}) EXPECT_FALSE(RestoreDC(dc, bad)) << bad;
  EXPECT_TRUE(RestoreDC(dc, 1));  // two levels at once
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  POINT cp{};
  GetCurrentPositionEx(dc, &cp);
  EXPECT_EQ(cp.x, 0);
  EXPECT_FALSE(RestoreDC(dc, -1));
  EXPECT_FALSE(RestoreDC(dc, static_cast<int>(0x80000000u)));
  const DecodeResult r = Finish(dc);
  const std::vector<const Value *> restores = tamvel::test::Views<Value>(r, kRestoreDc);
  ASSERT_FALSE(restores.empty());
  EXPECT_EQ(restores.back()->AsInt(), -2);
}

TEST(DrawingRecords, CurrentPositionAndLines) {
  HDC dc = NewRecording();
  POINT old{5, 5};
  MoveToEx(dc, 10, 20, &old);
  EXPECT_EQ(old.x, 0);
  LineTo(dc, 30, 40);
  POINT pts[] = {{0, 0}, {5, 5}};
  Polyline(dc, pts, 2);  // does not move the position
  POINT cp{};
  EXPECT_TRUE(GetCurrentPositionEx(dc, &cp));
  EXPECT_EQ(cp.x, 30);
  EXPECT_EQ(cp.y, 40);
  EXPECT_FALSE(GetCurrentPositionEx(dc, nullptr));
  EXPECT_FALSE(Polyline(dc, pts, 1));
  EXPECT_FALSE(Polyline(dc, nullptr, 2));
  EXPECT_FALSE(Polygon(dc, pts, -2));
  std::vector<uint32_t> expected = {kMoveToEx, kLineTo, kPolyline16};
  EXPECT_EQ(BodyTypes(Finish(dc)), expected);
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
  const DecodeResult r = Finish(dc);
  ASSERT_EQ(r.records.size(), 5u);
  // POLYLINE16: bounds left and bottom, count, and the second point's 16-bit coordinates.
  ExpectFields(r, 1, {{0, kPolyline16}, {4, 28 + 8}, {8, -3}, {20, 32767}, {24, 2}});
  EXPECT_EQ(I16(r.bytes, r.records[1].offset + 32), -3);
  EXPECT_EQ(I16(r.bytes, r.records[1].offset + 34), 32767);
  ExpectFields(r, 2, {{0, kPolygon}, {4, 28 + 16}, {36, 40000}});
  ExpectFields(r, 3, {{0, kPolyPolyline16}, {4, 32 + 8 + 20}, {24, 2}, {28, 5}, {36, 3}});
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
  const DecodeResult r = Finish(dc);
  std::vector<uint32_t> expected = {kMoveToEx,     kBeginPath, kMoveToEx, kPolylineTo16, kMoveToEx,
                                    kPolylineTo16, kMoveToEx,  kEndPath,  kStrokePath};
  ASSERT_EQ(BodyTypes(r), expected);
  ExpectFields(r, 5, {{8, 0}, {12, 10}});
  ExpectFields(r, 6, {{24, 2}});
  ExpectFields(r, 7, {{8, 7}, {12, 8}});  // back to the real current position
  ExpectFields(r, 9, {{16, 20}});         // STROKEPATH bounds right
  ExpectFields(r, 0, {{16, 20}});         // picture bounds come from the stroke
}

TEST(DrawingRecords, WidePenWidensTheBounds) {
  HDC dc = NewRecording();
  LOGPEN wide{PS_SOLID, {10, 0}, 0};
  HPEN pen = CreatePenIndirect(&wide);
  SelectObject(dc, pen);
  POINT pts[] = {{100, 100}, {200, 100}};
  Polyline(dc, pts, 2);
  ExpectFields(Finish(dc), 0, {{8, 95}, {12, 95}, {16, 205}, {20, 105}});
  DeleteObject(pen);
}

// Each line is measured under the mapping and pen in force when it was drawn, however many
// lines, origins, pens and restores follow one another.
TEST(DrawingRecords, LineBoundsFollowMappingAndPen) {
  HDC dc = NewRecording();
  MoveToEx(dc, 10, 10, nullptr);
  LineTo(dc, 20, 30);
  SaveDC(dc);
  SetWindowOrgEx(dc, -100, 0, nullptr);
  LineTo(dc, 25, 5);  // (120, 30) to (125, 5)
  SetViewportOrgEx(dc, 0, 200, nullptr);
  LineTo(dc, 0, 0);  // (125, 205) to (100, 200)
  LOGPEN wide{PS_SOLID, {10, 0}, 0};
  HPEN pen = CreatePenIndirect(&wide);
  SelectObject(dc, pen);
  LineTo(dc, 0, -190);  // (100, 200) to (100, 10), 5 pixels wider on every side
  RestoreDC(dc, -1);
  LineTo(dc, -5, -1);  // (20, 30) to (-5, -1): the position and black pen of SaveDC
  ExpectFields(Finish(dc), 0, {{8, -5}, {12, -1}, {16, 125}, {20, 205}});
  DeleteObject(pen);

  // y up, 15 twips a pixel, rounded halves away from zero.
  dc = NewRecording();
  SetMapMode(dc, MM_TWIPS);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, -23, 23);  // (-1.53, -1.53)
  LineTo(dc, 37, -7);   // (2.47, 0.47)
  ExpectFields(Finish(dc), 0, {{8, -2}, {12, -2}, {16, 2}, {20, 0}});
}

// The figures a painting device strokes: lines continue a figure only where it ends.
TEST(DrawingRecords, PathFiguresAreKeptInTheDcForPaintingDevices) {
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

TEST(ObjectRecords, PensBrushesAndFonts) {
  HDC dc = NewRecording();
  SetMapMode(dc, MM_TWIPS);
  LOGPEN thin{PS_SOLID, {15, 0}, RGB(1, 2, 3)};  // one pixel: a plain CREATEPEN
  LOGPEN wide{PS_SOLID, {60, 0}, RGB(4, 5, 6)};  // four pixels: geometric
  LOGBRUSH solid{BS_SOLID, RGB(7, 8, 9), 0};
  const BYTE rows[16] = {0x81, 0, 0x42, 0, 0x24, 0, 0x18, 0, 0x18, 0, 0x24, 0, 0x42, 0, 0xFF, 0};
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
  LOGBRUSH pattern{BS_PATTERN, 0, reinterpret_cast<uintptr_t>(bitmap)};
  LOGFONTA lf{};
  lf.lfHeight = -300;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(lf.lfFaceName, "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9");  // "ＭＳ 明朝"
  const HGDIOBJ objects[] = {CreatePenIndirect(&thin), CreatePenIndirect(&wide),
                             ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_BEVEL,
                                          45, &solid, 0, nullptr),
                             CreateBrushIndirect(&pattern), CreateFontIndirectA(&lf)};
  DeleteObject(bitmap);  // the brush keeps its own copy
  for (HGDIOBJ o : objects) SelectObject(dc, o);
  const DecodeResult r = Finish(dc);
  for (HGDIOBJ o : objects) DeleteObject(o);
  std::vector<size_t> creates;  // the object records' indexes
  for (size_t i = 0; i < r.records.size(); ++i) {
    const uint32_t type = r.records[i].type;
    if (type == kCreatePen || type == kExtCreatePen || type == kCreateMonoBrush ||
        type == kExtCreateFontIndirectW)
      creates.push_back(i);
  }
  ASSERT_EQ(creates.size(), 5u);
  ExpectFields(r, creates[0], {{0, kCreatePen}, {4, 28}, {16, 15}});
  // The 56-byte EXTCREATEPEN: style (geometric, round cap and join), width, colour.
  ExpectFields(r, creates[1],
               {{0, kExtCreatePen}, {4, 56}, {28, PS_GEOMETRIC}, {32, 60}, {40, RGB(4, 5, 6)}});
  ExpectFields(r, creates[2], {{28, 0x00011200}, {48, 0}});
  // The mono brush: header at 32, bits at 80, bottom-up rows (biHeight > 0), last row first.
  ExpectFields(r, creates[3], {{4, 112}, {16, 32}, {24, 80}, {32 + 8, 8}});
  const uint8_t *mono = r.bytes.data() + r.records[creates[3]].offset;
  EXPECT_EQ(mono[80], 0xFF);
  EXPECT_EQ(mono[80 + 28], 0x81);
  EXPECT_EQ(mono[81], 0);
  ExpectFields(r, creates[4], {{4, 368}, {12, -300}, {360, 0x08007664}});
  const uint8_t *font = r.bytes.data() + r.records[creates[4]].offset;
  EXPECT_EQ(font[12 + 23], SHIFTJIS_CHARSET);
  const char16_t face[] = u"\uFF2D\uFF33 \u660E\u671D";
  EXPECT_EQ(std::memcmp(font + 40, face, sizeof face), 0);
}

}  // namespace

// A recording stops at its byte limit: the records before the first one that does not fit
// stay, nothing after it is recorded (not even what would still fit), and the file closes as
// a whole metafile.
TEST(Limits, ARecordingStopsAtItsByteLimit) {
  const size_t saved = tamvel::posix::MetafileRecordLimit();
  tamvel::posix::MetafileRecordLimit() = 4096;
  HDC dc = NewRecording();
  for (int i = 0; i < 1000; ++i) LineTo(dc, i, i);  // 16 bytes each, on the fast path
  DecodeResult r = Finish(dc);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.records.size(), 2u + 4096 / 16);
  EXPECT_EQ(r.records[r.records.size() - 2].type, kLineTo);

  dc = NewRecording();
  for (int i = 0; i < 200; ++i) LineTo(dc, i, i);
  POINT many[300] = {};
  Polyline(dc, many, 300);  // would not fit
  SetBkMode(dc, OPAQUE);    // would, but comes after
  LineTo(dc, 5, 5);         // the same, on the fast path
  r = Finish(dc);
  tamvel::posix::MetafileRecordLimit() = saved;
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.records.size(), 2u + 200);
  EXPECT_EQ(r.records.back().type, kEof);
}
