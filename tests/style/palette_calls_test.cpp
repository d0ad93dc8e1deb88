// The process palette: growth, its 235-colour limit, collection from page metafiles and
// realization in a caller's DC.
#include "src/style/process_palette.h"
#include "tests/common/page_test_util.h"

namespace tamvel::test {
namespace {

class ProcessPalette : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) {
      ASSERT_TRUE(AttachLibrary());
    }
    InitPalette();
  }
  void TearDown() override { InitPalette(); }

  static UINT Entries() {
    HPALETTE palette = ProcessPaletteHandle();
    return palette ? GetPaletteEntries(palette, 0, 0, nullptr) : 0;
  }
  static PALETTEENTRY Entry(UINT i) {
    PALETTEENTRY e{};
    GetPaletteEntries(ProcessPaletteHandle(), i, 1, &e);
    return e;
  }
  // A finished metafile that realized a palette of `colours`.
  static HENHMETAFILE MetafileWithPalette(std::initializer_list<COLORREF> colours) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto *log = reinterpret_cast<LOGPALETTE *>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colours.size());
    WORD i = 0;
    for (COLORREF c : colours)
      log->palPalEntry[i++] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
    HPALETTE palette = CreatePalette(log);
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 10, 10);
    SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    DeleteObject(palette);
    return metafile;
  }
};

TEST_F(ProcessPalette, GrowsOneEntryPerNewColour) {
  EXPECT_EQ(ProcessPaletteHandle(), nullptr);
  UpPalette0(0x0000FF);
  ASSERT_EQ(Entries(), 11u);
  for (UINT i = 0; i < 10; ++i) {
    const PALETTEENTRY e = Entry(i);
    EXPECT_EQ(e.peRed, i);
    EXPECT_EQ(e.peFlags, PC_EXPLICIT);
  }
  EXPECT_EQ(Entry(10).peRed, 255);
  EXPECT_EQ(Entry(10).peFlags, PC_NOCOLLAPSE);
  UpPalette0(0x0000FF);
  EXPECT_EQ(Entries(), 11u);
  UpPalette0(0x00FF00);
  EXPECT_EQ(Entries(), 12u);
  EXPECT_EQ(Entry(11).peGreen, 255);
  // InitPalette empties it; a colour collected before starts a fresh palette.
  InitPalette();
  EXPECT_EQ(ProcessPaletteHandle(), nullptr);
  EXPECT_EQ(ProcessColorCount(), 0);
  UpPalette0(0x00FF00);
  EXPECT_EQ(Entries(), 11u);
  EXPECT_EQ(Entry(10).peGreen, 255);
}

TEST_F(ProcessPalette, StopsAt235Colours) {
  for (int i = 0; i < 235; ++i) UpPalette0(i * 0x010203);
  EXPECT_EQ(ProcessColorCount(), 235);
  EXPECT_EQ(Entries(), 245u);
  UpPalette0(0x00ABCDEF);
  EXPECT_EQ(ProcessColorCount(), 235);
  EXPECT_EQ(Entries(), 245u);
}

TEST_F(ProcessPalette, UpPaletteCollectsFromAPageAndRealizesInTheDc) {
  Page(0).ClearPage();
  Page(99).ClearPage();
  HENHMETAFILE with_palette = MetafileWithPalette({0x0000FF, 0x00FF00, 0x0000FF});
  if (GetEnhMetaFilePaletteEntries(with_palette, 0, nullptr) == 0) {
    DeleteEnhMetaFile(with_palette);
    GTEST_SKIP() << "this GDI keeps no palette entries in a recorded metafile";
  }
  Page(99).AdoptFinishedMetafile(with_palette);
  HDC target = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  auto *dc = reinterpret_cast<TAMVEL_HDC>(target);
  UpPalette(nullptr, 100);  // no DC: nothing collected
  EXPECT_EQ(ProcessColorCount(), 0);
  UpPalette(dc, 0);  // page 1 has no metafile
  EXPECT_EQ(ProcessColorCount(), 0);
  UpPalette(dc, 250);  // clamped to page 100
  EXPECT_EQ(ProcessColorCount(), 2);
  EXPECT_EQ(Entries(), 12u);
  HENHMETAFILE recorded = CloseEnhMetaFile(target);
  const emf::DecodeResult r = DecodeMetafile(recorded);
  EXPECT_EQ(CountRecords(r, emf::kSelectPalette), 1u) << DescribeAll(r);
  EXPECT_EQ(CountRecords(r, emf::kRealizePalette), 1u);
  DeleteEnhMetaFile(recorded);
  Page(99).ClearPage();
}

TEST_F(ProcessPalette, APageWithoutPaletteLeavesTheDcAlone) {
  UpPalette0(0x123456);
  Page(3).ClearPage();
  HDC plain = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  MoveToEx(plain, 0, 0, nullptr);
  Page(3).AdoptFinishedMetafile(CloseEnhMetaFile(plain));
  HDC target = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  UpPalette(reinterpret_cast<TAMVEL_HDC>(target), 4);
  HENHMETAFILE recorded = CloseEnhMetaFile(target);
  const emf::DecodeResult r = DecodeMetafile(recorded);
  EXPECT_EQ(CountRecords(r, emf::kSelectPalette), 0u) << DescribeAll(r);
  DeleteEnhMetaFile(recorded);
  Page(3).ClearPage();
}

}  // namespace
}  // namespace tamvel::test
