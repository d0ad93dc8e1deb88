// Every DC and metafile call answers a null, stale or wrong-kind handle with its failure value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include/tamvel_linux.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"

namespace {

void ExpectDcCallsFail(HDC dc) {
  POINT p{0, 0};
  EXPECT_EQ(SaveDC(dc), 0);
  EXPECT_FALSE(RestoreDC(dc, -1));
  EXPECT_EQ(SetMapMode(dc, MM_TWIPS), 0);
  EXPECT_EQ(GetMapMode(dc), 0);
  EXPECT_FALSE(SetWindowOrgEx(dc, 0, 0, &p));
  EXPECT_FALSE(SetViewportOrgEx(dc, 0, 0, &p));
  EXPECT_FALSE(DPtoLP(dc, &p, 1));
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 0);
  EXPECT_EQ(SetROP2(dc, R2_COPYPEN), 0);
  EXPECT_EQ(GetROP2(dc), 0);
  EXPECT_EQ(SetPolyFillMode(dc, WINDING), 0);
  EXPECT_EQ(GetPolyFillMode(dc), 0);
  EXPECT_EQ(SetTextAlign(dc, 0), GDI_ERROR);
  EXPECT_EQ(GetTextAlign(dc), GDI_ERROR);
  EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
  EXPECT_EQ(GetBkMode(dc), 0);
  EXPECT_EQ(SetBkColor(dc, 0), static_cast<COLORREF>(CLR_INVALID));
  EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(CLR_INVALID));
  EXPECT_EQ(SetTextColor(dc, 0), static_cast<COLORREF>(CLR_INVALID));
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(CLR_INVALID));
  EXPECT_EQ(SetTextCharacterExtra(dc, 1), static_cast<int>(0x80000000u));
  EXPECT_EQ(GetTextCharacterExtra(dc), static_cast<int>(0x80000000u));
  EXPECT_FALSE(MoveToEx(dc, 1, 1, &p));
  EXPECT_FALSE(LineTo(dc, 1, 1));
  EXPECT_FALSE(GetCurrentPositionEx(dc, &p));
  POINT pts[2] = {{0, 0}, {1, 1}};
  DWORD counts[1] = {2};
  EXPECT_FALSE(Polyline(dc, pts, 2));
  EXPECT_FALSE(Polygon(dc, pts, 2));
  EXPECT_FALSE(PolyPolyline(dc, pts, counts, 1));
  EXPECT_FALSE(Arc(dc, 0, 0, 9, 9, 0, 0, 9, 9));
  EXPECT_FALSE(Pie(dc, 0, 0, 9, 9, 0, 0, 9, 9));
  EXPECT_FALSE(Ellipse(dc, 0, 0, 9, 9));
  EXPECT_FALSE(BeginPath(dc));
  EXPECT_FALSE(EndPath(dc));
  EXPECT_FALSE(StrokePath(dc));
  EXPECT_FALSE(SelectClipPath(dc, RGN_COPY));
  EXPECT_EQ(SelectClipRgn(dc, nullptr), ERROR);
  EXPECT_EQ(IntersectClipRect(dc, 0, 0, 1, 1), ERROR);
  EXPECT_FALSE(TextOutA(dc, 0, 0, "A", 1));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE),
            nullptr);
  EXPECT_EQ(RealizePalette(dc), GDI_ERROR);
  EXPECT_EQ(GetNearestColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(CloseEnhMetaFile(dc), nullptr);
  if (dc) {  // a null reference DC means the screen
    EXPECT_EQ(CreateEnhMetaFileA(dc, nullptr, nullptr, nullptr), nullptr);
  }
}

TEST(BadHandles, NullStaleAndForeignDcs) {
  ExpectDcCallsFail(nullptr);
  HDC closed = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  DeleteEnhMetaFile(CloseEnhMetaFile(closed));
  ExpectDcCallsFail(closed);
  ExpectDcCallsFail(static_cast<HDC>(GetStockObject(BLACK_PEN)));
  ExpectDcCallsFail(HandleFromValue<HDC>(0xDEADBEEFu));
}

TEST(BadHandles, NullStaleAndForeignMetafiles) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HENHMETAFILE deleted = CloseEnhMetaFile(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
  DeleteEnhMetaFile(deleted);
  for (HENHMETAFILE bad :
       {static_cast<HENHMETAFILE>(nullptr), deleted,
        static_cast<HENHMETAFILE>(GetStockObject(BLACK_PEN)), reinterpret_cast<HENHMETAFILE>(dc)}) {
    ENHMETAHEADER header;
    BYTE bits[8];
    char text[8];
    EXPECT_FALSE(DeleteEnhMetaFile(bad));
    EXPECT_EQ(CopyEnhMetaFileA(bad, nullptr), nullptr);
    EXPECT_EQ(GetEnhMetaFileHeader(bad, sizeof header, &header), 0u);
    EXPECT_EQ(GetEnhMetaFileBits(bad, sizeof bits, bits), 0u);
    EXPECT_EQ(GetEnhMetaFileDescriptionA(bad, sizeof text, text), GDI_ERROR);
    EXPECT_EQ(GetEnhMetaFilePaletteEntries(bad, 0, nullptr), GDI_ERROR);
  }
  EXPECT_FALSE(DeleteObject(dc));              // a DC is not a GDI drawing object
  HENHMETAFILE closed = CloseEnhMetaFile(dc);  // the DC survived being taken for a metafile
  EXPECT_NE(closed, nullptr);
  DeleteEnhMetaFile(closed);
}

// The handle table holds 65,535 objects. Past that every creation call returns null, as GDI's
// do when its quota is used up: the library draws what it can without new objects, and a page
// still closes, saves, and opens again on the handles its old drawing gives back.
TEST(BadHandles, AFullHandleTableMakesCreationFailNothingElse) {
  ASSERT_TRUE(tamvel::AttachLibrary());
  std::vector<HPEN> pens;
  const auto fill = [&pens] {
    const LOGPEN pen{PS_SOLID, {1, 0}, 0};
    for (HPEN made; (made = CreatePenIndirect(&pen)) != nullptr;) pens.push_back(made);
  };
  CHPAGE(1);
  PLOTS(210.0f, 297.0f, 0);
  fill();
  EXPECT_GT(pens.size(), 60000u);
  EXPECT_EQ(TamvelCreateImageDC(10, 10), nullptr);
  PLOT(10.0f, 10.0f, 2);
  KANJI(10.0f, 10.0f, 5.0f, "Ab1", 30.0f, 3);  // would make fonts of its own
  PENC(-1, 996, 0, 0);
  PLOT(0.0f, 0.0f, 999);
  const std::string saved = ::testing::TempDir() + "full-table.emf";
  EXPECT_EQ(SAVEFILE(saved.c_str()), 0);
  fill();
  EXPECT_NE(PLOTS(210.0f, 297.0f, 0), 0);
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(SAVEFILE(saved.c_str()), 0);
  for (HPEN made : pens) DeleteObject(made);
  tamvel::DetachLibrary();
}

}  // namespace
