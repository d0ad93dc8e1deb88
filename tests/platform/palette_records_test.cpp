// The palette calls on the stand-in: what a recording writes for palette changes before and
// after the first selection, the EOF palette, and GetNearestColor on the true-colour
// reference.
#include <gtest/gtest.h>

#include <vector>

#include "platform/emf/emf_records.h"
#include "platform/win32.h"
#include "tests/common/emf_test_util.h"

namespace tamvel::test {
namespace {

HPALETTE MakePalette(std::vector<PALETTEENTRY> entries) {
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto *log = reinterpret_cast<LOGPALETTE *>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) log->palPalEntry[i] = entries[i];
  return CreatePalette(log);
}

TEST(StandInPalettes, ChangesBeforeTheFirstSelectionFoldIntoTheCreateRecord) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HPALETTE palette = MakePalette({{1, 2, 3, PC_NOCOLLAPSE}});
  ASSERT_TRUE(ResizePalette(palette, 2));
  const PALETTEENTRY second{4, 5, 6, PC_NOCOLLAPSE};
  EXPECT_EQ(SetPaletteEntries(palette, 1, 1, &second), 1u);
  SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  // After the selection, changes are records of their own.
  ASSERT_TRUE(ResizePalette(palette, 3));
  const PALETTEENTRY third{7, 8, 9, PC_NOCOLLAPSE};
  EXPECT_EQ(SetPaletteEntries(palette, 2, 1, &third), 1u);
  RealizePalette(dc);
  EXPECT_EQ(GetNearestColor(dc, PALETTEINDEX(2)), RGB(7, 8, 9));
  EXPECT_EQ(GetNearestColor(dc, RGB(200, 100, 50)), RGB(200, 100, 50));
  PALETTEENTRY read[3] = {};
  EXPECT_EQ(GetPaletteEntries(palette, 0, 3, read), 3u);
  EXPECT_EQ(read[1].peGreen, 5);
  SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  DeleteObject(palette);

  const emf::DecodeResult r = DecodeMetafile(emf);
  ASSERT_TRUE(r.ok()) << ProblemsText(r);
  const emf::Palette *created = FirstView<emf::Palette>(r, emf::EMR_CREATEPALETTE);
  ASSERT_NE(created, nullptr) << DescribeAll(r);
  ASSERT_EQ(created->entries.size(), 2u);
  EXPECT_EQ(created->entries[1].blue, 6);
  const emf::PaletteSize *size = FirstView<emf::PaletteSize>(r, emf::EMR_RESIZEPALETTE);
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->count, 3u);
  const emf::PaletteEntries *set = FirstView<emf::PaletteEntries>(r, emf::EMR_SETPALETTEENTRIES);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->start, 2u);
  ASSERT_EQ(set->entries.size(), 1u);
  EXPECT_EQ(set->entries[0].red, 7);
  EXPECT_EQ(CountRecords(r, emf::EMR_REALIZEPALETTE), 2u);
  // The EOF palette: the realized colours, each once, flags 0.
  PALETTEENTRY eof[8] = {};
  ASSERT_EQ(GetEnhMetaFilePaletteEntries(emf, 0, nullptr), 3u);
  GetEnhMetaFilePaletteEntries(emf, 8, eof);
  EXPECT_EQ(eof[2].peRed, 7);
  DeleteEnhMetaFile(emf);
}

TEST(StandInPalettes, BadInput) {
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
  EXPECT_EQ(SelectPalette(nullptr, palette, FALSE), nullptr);
  EXPECT_EQ(RealizePalette(nullptr), GDI_ERROR);
  EXPECT_EQ(GetNearestColor(nullptr, 0), CLR_INVALID);
  HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  EXPECT_FALSE(ResizePalette(stock, 3));
  EXPECT_TRUE(DeleteObject(palette));
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 0u);
}

}  // namespace
}  // namespace tamvel::test
