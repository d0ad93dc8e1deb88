// Handles, stock objects, selection, deletion and the metafile object table.
#include <gtest/gtest.h>

#include "platform/emf/emf_records.h"
#include "platform/posix/handles.h"
#include "platform/posix/objects.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::emf;
using namespace tamvel::testing;

HPEN SolidPen(LONG width, COLORREF colour) {
  LOGPEN log{PS_SOLID, {width, 0}, colour};
  return CreatePenIndirect(&log);
}

HBRUSH SolidBrush(COLORREF colour) {
  LOGBRUSH log{BS_SOLID, colour, 0};
  return CreateBrushIndirect(&log);
}

TEST(Handles, AreTypedSmallAndRejectedWhenStale) {
  HPEN pen = SolidPen(1, 0);
  ASSERT_NE(pen, nullptr);
  EXPECT_LT(HandleValue(pen), 0x80000000u);
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
  // The same number as a brush is not a brush.
  EXPECT_EQ(tamvel::posix::Lookup<tamvel::posix::Brush>(pen), nullptr);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_FALSE(DeleteObject(pen));
  HPEN again = SolidPen(1, 0);  // may reuse the slot, never the value
  EXPECT_NE(HandleValue(again), HandleValue(pen));
  EXPECT_TRUE(DeleteObject(again));
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_FALSE(DeleteObject(HandleFromValue<HGDIOBJ>(0x12345678)));
  EXPECT_EQ(GetObjectType(HandleFromValue<HGDIOBJ>(0xFFFFFFFFu)), 0u);
}

TEST(Handles, CreationCallsCheckTheirArguments) {
  EXPECT_EQ(CreatePenIndirect(nullptr), nullptr);
  EXPECT_EQ(CreateBrushIndirect(nullptr), nullptr);
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
  LOGBRUSH solid{BS_SOLID, 0, 0};
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 3, &solid, 0, nullptr), nullptr);
  EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 3, &solid, 0, nullptr), nullptr);
  EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 3, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 8, 1, 1, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(1 << 30, 1 << 30, 1, 1, nullptr), nullptr);
  LOGBRUSH no_bitmap{BS_PATTERN, 0, 0x1234};
  EXPECT_EQ(CreateBrushIndirect(&no_bitmap), nullptr);
  HPEN ext = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 30, &solid, 0, nullptr);
  EXPECT_EQ(GetObjectType(ext), static_cast<DWORD>(OBJ_EXTPEN));
  DeleteObject(ext);
}

TEST(StockObjects, AreSharedAndNeverDeleted) {
  HGDIOBJ black = GetStockObject(BLACK_PEN);
  ASSERT_NE(black, nullptr);
  EXPECT_EQ(black, GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(black));
  EXPECT_EQ(GetObjectType(black), static_cast<DWORD>(OBJ_PEN));
  EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetObjectType(GetStockObject(ANSI_FIXED_FONT)), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_PALETTE)), static_cast<DWORD>(OBJ_PAL));
  for (int missing : {9, -1, 1000}) EXPECT_EQ(GetStockObject(missing), nullptr) << missing;
  // A null pen or hollow brush made by the caller is the stock one, as GDI hands it out.
  const LOGPEN null_pen{PS_NULL, {57, 0}, RGB(255, 0, 0)};
  EXPECT_EQ(CreatePenIndirect(&null_pen), GetStockObject(NULL_PEN));
  const LOGBRUSH hollow{BS_NULL, RGB(0, 255, 0), 0};
  EXPECT_EQ(CreateBrushIndirect(&hollow), GetStockObject(NULL_BRUSH));
}

// Selection returns the previous object of the same kind; a selected object that is deleted
// stays usable until it is replaced.
TEST(Selection, ReturnsThePreviousObjectAndOutlivesDeletion) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HPEN pen = SolidPen(1, RGB(255, 0, 0));
  HBRUSH brush = SolidBrush(RGB(0, 255, 0));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(LineTo(dc, 10, 10));
  EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), static_cast<HGDIOBJ>(pen));
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  EXPECT_EQ(SelectObject(dc, GetStockObject(DEFAULT_PALETTE)), nullptr);  // SelectPalette's job
  DeleteObject(brush);
  Finish(dc);
}

// CREATE right before the first SELECT, at the lowest free index; reselection writes only
// SELECT; DeleteObject frees the index for the next object, and writes nothing for an object
// that was never recorded.
TEST(ObjectTable, CreatesLazilyAndReusesFreedIndexes) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HPEN red = SolidPen(1, RGB(255, 0, 0));
  HPEN blue = SolidPen(1, RGB(0, 0, 255));
  HBRUSH green = SolidBrush(RGB(0, 255, 0));
  DeleteObject(SolidPen(1, 0));                 // nothing
  SelectObject(dc, red);                        // CREATEPEN 1, SELECT 1
  SelectObject(dc, green);                      // CREATEBRUSH 2, SELECT 2
  SelectObject(dc, GetStockObject(BLACK_PEN));  // SELECT stock
  SelectObject(dc, red);                        // SELECT 1
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(red);       // DELETEOBJECT 1
  SelectObject(dc, blue);  // CREATEPEN 1 again
  const DecodeResult r = Finish(dc);
  DeleteObject(blue);
  DeleteObject(green);

  std::vector<uint32_t> expected = {
      kCreatePen,    kSelectObject, kCreateBrushIndirect, kSelectObject, kSelectObject,
      kSelectObject, kSelectObject, kDeleteObject,        kCreatePen,    kSelectObject};
  EXPECT_EQ(BodyTypes(r), expected);
  ExpectFields(r, 1, {{8, 1}, {24, RGB(255, 0, 0)}});
  ExpectFields(r, 3, {{8, 2}});
  ExpectFields(r, 5, {{8, 0x80000007}});
  ExpectFields(r, 8, {{8, 1}});
  ExpectFields(r, 9, {{8, 1}, {24, RGB(0, 0, 255)}});
  EXPECT_EQ(GetU32(r.bytes, 56) & 0xFFFF, 3u);  // nHandles: indexes 0..2
}

}  // namespace
