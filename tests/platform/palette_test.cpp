// Palettes in a recording: CREATEPALETTE on first selection, colours resolved to RGB, the
// EOF palette and GetEnhMetaFilePaletteEntries.
#include <gtest/gtest.h>

#include "platform/emf/emf_records.h"
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/recorder.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::emf;
using namespace tamvel::testing;
using tamvel::posix::Dc;
using tamvel::posix::LookupDc;
using tamvel::posix::Palette;

HPALETTE TwoColours() {
  auto palette = std::make_shared<Palette>();
  palette->entries = {{10, 20, 30, 0}, {40, 50, 60, PC_RESERVED}};
  return tamvel::posix::AddHandle<HPALETTE>(palette);
}

// What SelectPalette does to a DC.
void Select(HDC hdc, HPALETTE hpal) {
  Dc *dc = LookupDc(hdc);
  dc->state.palette = tamvel::posix::Lookup<Palette>(hpal);
  dc->device().ObjectSelected(*dc, *dc->state.palette);
}

TEST(Palettes, RecordedOnFirstSelectionAndResolvedInColours) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HPALETTE palette = TwoColours();
  Select(dc, palette);
  Select(dc, palette);
  LOGPEN log{PS_SOLID, {0, 0}, PALETTEINDEX(1)};
  HPEN pen = CreatePenIndirect(&log);
  SelectObject(dc, pen);
  SetTextColor(dc, PALETTEINDEX(7));           // out of range: the first entry
  SetBkColor(dc, 0x02000000u | RGB(1, 2, 3));  // PALETTERGB
  const PALETTEENTRY realized[] = {{10, 20, 30, 0}, {40, 50, 60, 4}, {10, 20, 30, 0}};
  LookupDc(dc)->Recorder()->AddEofPalette(realized);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  std::vector<uint8_t> b = BitsOf(emf);
  DeleteObject(pen);
  EXPECT_TRUE(DeleteObject(palette));

  std::vector<uint32_t> expected = {EMR_CREATEPALETTE, EMR_SELECTPALETTE, EMR_SELECTPALETTE,
                                    EMR_CREATEPEN,     EMR_SELECTOBJECT,  EMR_SETTEXTCOLOR,
                                    EMR_SETBKCOLOR};
  ASSERT_EQ(BodyTypes(b), expected);
  auto r = RecordsOf(b);
  EXPECT_EQ(r[1].size, 16u + 8u);
  EXPECT_EQ(U32(b, r[1].offset + 12), 0x00020300u);  // version 0x300, two entries
  EXPECT_EQ(U32(b, r[2].offset + 8), 1u);
  EXPECT_EQ(U32(b, r[4].offset + 24), RGB(40, 50, 60));
  EXPECT_EQ(U32(b, r[6].offset + 8), RGB(10, 20, 30));
  EXPECT_EQ(U32(b, r[7].offset + 8), RGB(1, 2, 3));

  EXPECT_EQ(U32(b, 68), 2u);  // header nPalEntries
  EXPECT_EQ(r.back().size, 28u);
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 0, nullptr), 2u);
  PALETTEENTRY entries[4] = {};
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 1, entries), 1u);
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 4, entries), 2u);
  EXPECT_EQ(entries[1].peBlue, 60);
  EXPECT_EQ(entries[1].peFlags, 0);
  DeleteEnhMetaFile(emf);
}

TEST(Palettes, DeletingARecordedPaletteWritesDeleteObject) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HPALETTE palette = TwoColours();
  Select(dc, palette);
  Select(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  DeleteObject(palette);
  std::vector<uint8_t> b = Finish(dc);
  auto r = RecordsOf(b);
  ASSERT_EQ(r.size(), 6u);
  EXPECT_EQ(U32(b, r[3].offset + 8), 0x8000000Fu);
  EXPECT_EQ(r[4].type, static_cast<uint32_t>(EMR_DELETEOBJECT));
}

}  // namespace
