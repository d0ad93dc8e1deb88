// Palettes in a recording: CREATEPALETTE on first selection with the changes made before it,
// later changes as records of their own, colours resolved to RGB, the EOF palette and
// GetEnhMetaFilePaletteEntries; bad input to the palette calls.
#include <gtest/gtest.h>

#include <vector>

#include "platform/emf/emf_records.h"
#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

using namespace tamvel::emf;
using namespace tamvel::testing;

HPALETTE MakePalette(std::vector<PALETTEENTRY> entries) {
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto *log = reinterpret_cast<LOGPALETTE *>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) log->palPalEntry[i] = entries[i];
  return CreatePalette(log);
}

TEST(Palettes, RecordedOnFirstSelectionAndResolvedInColours) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HPALETTE palette = MakePalette({{10, 20, 30, 0}});
  ASSERT_TRUE(ResizePalette(palette, 2));
  const PALETTEENTRY second{40, 50, 60, PC_RESERVED};
  EXPECT_EQ(SetPaletteEntries(palette, 1, 1, &second), 1u);
  SelectPalette(dc, palette, FALSE);
  SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  LOGPEN log{PS_SOLID, {0, 0}, PALETTEINDEX(1)};
  HPEN pen = CreatePenIndirect(&log);
  SelectObject(dc, pen);
  SetTextColor(dc, PALETTEINDEX(7));           // out of range: the first entry
  SetBkColor(dc, 0x02000000u | RGB(1, 2, 3));  // PALETTERGB
  ASSERT_TRUE(ResizePalette(palette, 3));
  const PALETTEENTRY third{10, 20, 30, PC_NOCOLLAPSE};  // a colour realized already
  EXPECT_EQ(SetPaletteEntries(palette, 2, 1, &third), 1u);
  RealizePalette(dc);
  EXPECT_EQ(GetNearestColor(dc, PALETTEINDEX(1)), RGB(40, 50, 60));
  EXPECT_EQ(GetNearestColor(dc, RGB(200, 100, 50)), RGB(200, 100, 50));
  PALETTEENTRY read[3] = {};
  EXPECT_EQ(GetPaletteEntries(palette, 0, 3, read), 3u);
  EXPECT_EQ(read[1].peGreen, 50);
  SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  EXPECT_TRUE(DeleteObject(palette));
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  DeleteObject(pen);

  const DecodeResult r = tamvel::test::DecodeMetafile(emf);
  ASSERT_TRUE(r.ok()) << tamvel::test::ProblemsText(r);
  std::vector<uint32_t> expected = {
      kCreatePalette,  kSelectPalette, kSelectPalette, kRealizePalette, kCreatePen,
      kSelectObject,   kSetTextColor,  kSetBkColor,    kResizePalette,  kSetPaletteEntries,
      kRealizePalette, kSelectPalette, kDeleteObject};
  ASSERT_EQ(BodyTypes(r), expected);
  // CREATEPALETTE with both entries as they were given (version 0x300), index 1 selected;
  // the pen and the colours as RGB; the later size and entry; the stock palette selected.
  ExpectFields(r, 1,
               {{4, 16 + 8}, {8, 1}, {12, 0x00020300}, {20, RGB(40, 50, 60) | PC_RESERVED << 24}});
  ExpectFields(r, 2, {{8, 1}});
  ExpectFields(r, 5, {{24, RGB(40, 50, 60)}});
  ExpectFields(r, 7, {{8, RGB(10, 20, 30)}});
  ExpectFields(r, 8, {{8, RGB(1, 2, 3)}});
  ExpectFields(r, 9, {{8, 1}, {12, 3}});
  ExpectFields(r, 10, {{8, 1}, {12, 2}, {16, 1}, {20, RGB(10, 20, 30)}});
  ExpectFields(r, 12, {{8, 0x8000000F}});
  ExpectFields(r, 13, {{8, 1}});

  // The EOF palette: the realized colours, each once, flags 0; counted in the header.
  ExpectFields(r, 0, {{68, 2}});
  ExpectFields(r, 14, {{0, kEof}, {4, 28}});
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 0, nullptr), 2u);
  PALETTEENTRY entries[4] = {};
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 1, entries), 1u);
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 4, entries), 2u);
  EXPECT_EQ(entries[1].peBlue, 60);
  EXPECT_EQ(entries[1].peFlags, 0);
  DeleteEnhMetaFile(emf);
}

TEST(Palettes, BadInput) {
  EXPECT_EQ(CreatePalette(nullptr), nullptr);
  LOGPALETTE none{0x300, 0, {}};
  EXPECT_EQ(CreatePalette(&none), nullptr);
  HPALETTE palette = MakePalette({{1, 2, 3, 0}});
  const PALETTEENTRY entry{9, 9, 9, 0};
  EXPECT_EQ(SetPaletteEntries(palette, 5, 1, &entry), 0u);
  EXPECT_EQ(SetPaletteEntries(palette, 0, 100, &entry), 1u);  // cut to the palette's size
  EXPECT_EQ(SetPaletteEntries(palette, 0, 1, nullptr), 0u);
  EXPECT_FALSE(ResizePalette(palette, 0));
  EXPECT_FALSE(ResizePalette(palette, 5000));
  HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  EXPECT_FALSE(ResizePalette(stock, 3));
  EXPECT_TRUE(DeleteObject(palette));
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 0u);
}

}  // namespace
