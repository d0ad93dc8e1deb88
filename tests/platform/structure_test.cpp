// Everything the recorder writes passes the EMF decoder's structure checks.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/emf/emf_decoder.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::testing;

void DrawEverything(HDC dc) {
  SaveDC(dc);
  SetMapMode(dc, MM_TWIPS);
  SetViewportOrgEx(dc, 0, 1122, nullptr);
  SetROP2(dc, R2_COPYPEN);
  SetPolyFillMode(dc, WINDING);
  SetTextAlign(dc, TA_LEFT | TA_BOTTOM | TA_UPDATECP);
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 255));
  LOGPEN wide{PS_DASH, {45, 0}, RGB(255, 0, 0)};
  HPEN pen = CreatePenIndirect(&wide);
  const BYTE rows[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
  LOGBRUSH pattern{BS_PATTERN, 0, reinterpret_cast<uintptr_t>(bitmap)};
  HBRUSH brush = CreateBrushIndirect(&pattern);
  LOGFONTA lf{};
  lf.lfHeight = 40;
  std::strcpy(lf.lfFaceName, "@\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9");
  HFONT font = CreateFontIndirectA(&lf);
  SelectObject(dc, pen);
  SelectObject(dc, brush);
  SelectObject(dc, font);
  MoveToEx(dc, 100, 100, nullptr);
  LineTo(dc, 2000, 1500);
  POINT pts[] = {{0, 0}, {5000, 0}, {5000, 5000}, {0, 70000}};
  DWORD counts[] = {2, 2};
  Polyline(dc, pts, 4);
  Polygon(dc, pts, 3);
  PolyPolyline(dc, pts, counts, 2);
  Arc(dc, 0, 3000, 3000, 0, 3000, 1500, 0, 1500);
  Pie(dc, 0, 3000, 3000, 0, 3000, 1500, 1500, 3000);
  Ellipse(dc, 0, 3000, 6000, 0);
  BeginPath(dc);
  Polyline(dc, pts, 4);
  Arc(dc, 0, 3000, 3000, 0, 3000, 1500, 0, 1500);
  EndPath(dc);
  StrokePath(dc);
  SelectObject(dc, GetStockObject(NULL_PEN));
  DeleteObject(pen);
  RestoreDC(dc, -1);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteObject(font);
}

TEST(Structure, RecordingsDecodeWithoutProblems) {
  const RECT frame{0, -29700, 21000, 0};
  for (const RECT *f : {&frame, static_cast<const RECT *>(nullptr)}) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, f, "tamvel\0\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\0");
    DrawEverything(dc);
    std::vector<uint8_t> b = Finish(dc);
    tamvel::emf::DecodeResult result = tamvel::emf::DecodeEmf(b.data(), b.size());
    for (const auto &problem : result.problems) ADD_FAILURE() << problem.ToString();
    EXPECT_GT(result.records.size(), 40u);
    ASSERT_NE(result.header(), nullptr);
  }
}

}  // namespace
