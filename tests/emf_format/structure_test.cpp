// Structural checks: corrupted copies of a real metafile and hostile counts must be reported
// precisely, never read outside the data and never allocate more than the data could hold.
#include <gtest/gtest.h>

#include "platform/emf/emf_decoder.h"
#include "tests/common/emf_builder.h"
#include "tests/common/emf_test_util.h"

namespace tamvel {
namespace {

using test::SetU32;

// Offsets of records in gdi-rich.emf used below.
constexpr size_t kMoveTo17 = 0x2bc;
constexpr size_t kText47 = 0x49c;
constexpr size_t kPolyline50 = 0x588;
constexpr size_t kClipRegion84 = 0xcd4;
constexpr size_t kFont124 = 0x11a4;
constexpr size_t kEof140 = 0x1b58;

std::vector<uint8_t> RichSample() {
  return test::DecodeFile(test::TestDataPath("emf/gdi-rich.emf")).bytes;
}

emf::DecodeResult Decode(const std::vector<uint8_t>& data) {
  return emf::DecodeEmf(data.data(), data.size());
}

// Whether some problem's full text contains `text`.
::testing::AssertionResult HasProblem(const emf::DecodeResult& r, const std::string& text) {
  for (const emf::Problem& p : r.problems) {
    if (p.ToString().find(text) != std::string::npos) return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "no problem containing \"" << text << "\"; problems:\n"
                                       << test::ProblemsText(r);
}

TEST(Structure, TruncatedFileNamesTheRecordThatRunsPastTheEnd) {
  std::vector<uint8_t> data = RichSample();
  ASSERT_EQ(data.size(), 7020u);
  data.resize(kMoveTo17 + 12);
  emf::DecodeResult r = Decode(data);
  EXPECT_TRUE(HasProblem(r, "record 17 at offset 0x2bc: size 16 runs past the end of the file"));
  EXPECT_TRUE(HasProblem(r, "header nBytes 7020 differs from the data length 712"));
  EXPECT_TRUE(HasProblem(r, "ends without an EMR_EOF"));
  EXPECT_EQ(r.records.size(), 17u);  // everything before the cut is kept
}

TEST(Structure, EveryTruncationIsReportedAndNeverReadsPastTheData) {
  const std::vector<uint8_t> full = RichSample();
  // Every length inside the header, then steps of 3 (which meet every residue modulo 4).
  for (size_t length = 0; length < full.size(); length += length < 256 ? 1 : 3) {
    // A fresh allocation of exactly `length` bytes, so that ASan sees any overread.
    std::vector<uint8_t> part(full.begin(), full.begin() + length);
    emf::DecodeResult r = emf::DecodeEmf(part.data(), part.size());
    ASSERT_FALSE(r.ok()) << "length " << length;
  }
}

// One dword of the sample changed: the problem is named precisely; a record that can no longer
// be read is kept raw, and decoding goes on after it.
TEST(Structure, EachCorruptFieldIsReportedPrecisely) {
  struct Case {
    size_t at;
    uint32_t value;
    const char* problem;
    size_t raw = 0;  // the record kept raw, if any
  } cases[] = {
      {kMoveTo17 + 4, 18, "record 17 at offset 0x2bc: size 18 is not a multiple of 4"},
      {kMoveTo17 + 4, 4, "size 4 is smaller than a record's 8-byte head"},
      {kMoveTo17 + 4, 0xFFFFFFFC, "size 4294967292 runs past the end of the file"},
      {kPolyline50 + 24, 8,
       "record 50 at offset 0x588: points (8 at offset 28) runs past the end of the record "
       "(size 56)",
       50},
      {kText47 + 44, 200,
       "record 47 at offset 0x49c: string (200 at offset 76) runs past the end of the record "
       "(size 196)",
       47},
      {kText47 + 72, 190, "Dx array (20 at offset 190) runs past", 47},
      {kClipRegion84 + 8, 64, "record 84 at offset 0xcd4: region data (64 bytes at offset 16)", 84},
      {kClipRegion84 + 24, 2, "region rectangles (2) run past cbRgnData 48", 84},
      {60, 100,  // nDescription
       "record 0 at offset 0x0: description (100 at offset 108) runs past the end of the record "
       "(size 144)"},
      {48, 7024, "header nBytes 7024 differs from the data length 7020"},
      {52, 140, "header nRecords 140 differs from the 141 records found"},
      {40, 0x12345678, "signature 0x12345678"},
      {kEof140 + 16, 24, "nSizeLast 24 differs from the record size 20"},
      {68, 3, "EMR_EOF holds 0 palette entries, header nPalEntries says 3"},
      {56, 11,  // nHandles: objects 11, 12 and 13 no longer fit
       "record 124 at offset 0x11a4: creates object 11 outside the object table (nHandles 11)"},
      {56, 11, "record 125 at offset 0x12f0: selects object 11 outside the object table"},
      {kFont124 + 8, 0, "creates object 0, which is reserved"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> data = RichSample();
    SetU32(data, c.at, c.value);
    emf::DecodeResult r = Decode(data);
    EXPECT_TRUE(HasProblem(r, c.problem));
    if (c.raw == 0) continue;
    ASSERT_EQ(r.records.size(), 141u) << c.problem;
    EXPECT_TRUE(r.records[c.raw].IsRaw()) << c.problem;
    EXPECT_FALSE(r.records[c.raw + 1].IsRaw()) << c.problem;
  }
  // A size that still fits, but is too small for the record's own fields.
  std::vector<uint8_t> data = RichSample();
  SetU32(data, kMoveTo17 + 4, 8);
  emf::DecodeResult r = Decode(data);
  EXPECT_TRUE(HasProblem(r, "size 8 is too small for EMR_MOVETOEX (needs 16)"));
  EXPECT_TRUE(r.records[17].IsRaw());
  data = RichSample();
  SetU32(data, 0, 14);
  r = Decode(data);
  EXPECT_TRUE(HasProblem(r, "not an enhanced metafile"));
  EXPECT_TRUE(r.records.empty());
}

TEST(Structure, EofMustBeLast) {
  std::vector<uint8_t> data = RichSample();
  data.resize(kEof140);
  SetU32(data, 48, static_cast<uint32_t>(data.size()));
  SetU32(data, 52, 140);
  emf::DecodeResult r = Decode(data);
  EXPECT_TRUE(
      HasProblem(r, "record 140 at offset 0x1b58: the file ends without an EMR_EOF record"));
  EXPECT_EQ(r.problems.size(), 1u) << test::ProblemsText(r);
  data = RichSample();
  const std::vector<uint8_t> save_dc = {emf::kSaveDc, 0, 0, 0, 8, 0, 0, 0};
  data.insert(data.end(), save_dc.begin(), save_dc.end());
  EXPECT_TRUE(HasProblem(Decode(data), "record 141 at offset 0x1b6c: EMR_SAVEDC follows EMR_EOF"));
}

TEST(Structure, ObjectsSelectedMustExist) {
  std::vector<uint8_t> built = test::EmfBuilder()
                                   .Handles(3)
                                   .Add(emf::kCreateBrushIndirect, {1, 0, 0xFF, 0})
                                   .Add(emf::kDeleteObject, {1})
                                   .Add(emf::kSelectObject, {1})
                                   .Add(emf::kSelectObject, {0x80000000 | 40})
                                   .Add(emf::kSelectObject, {0x80000000 | 5})
                                   .Build();
  emf::DecodeResult r = Decode(built);
  EXPECT_TRUE(HasProblem(r, "record 3 at offset 0x90: selects object 1, which does not exist"));
  EXPECT_TRUE(HasProblem(r, "selects unknown stock object 0x80000028"));
  EXPECT_EQ(r.problems.size(), 2u) << test::ProblemsText(r);
}

TEST(Structure, HostileCountsAreRejectedWithoutHugeAllocations) {
  // Each count would ask for gigabytes if trusted; the record is 40 bytes.
  test::EmfBuilder builder;
  builder.Handles(2)
      .Add(emf::kPolyline, {0, 0, 0, 0, 0xFFFFFFFF, 1, 2})
      .Add(emf::kPolyPolyline16, {0, 0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 1})
      .Add(emf::kPolyPolygon, {0, 0, 0, 0, 1, 0xFFFFFFFF, 0xFFFFFFFF})
      .Add(emf::kExtCreatePen, {1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xFFFFFFFF})
      .Add(emf::kExtCreatePen, {1, 60, 0xFFFFFFF0, 0, 0, 0, 1, 0, 0, 0, 0})
      .Add(emf::kCreateMonoBrush, {1, 2, 32, 40, 0xFFFFFFF0, 0x20})
      .Add(emf::kGdiComment, {0xFFFFFFFF})
      .Add(emf::kSetPaletteEntries, {1, 0, 0x40000000})
      .Add(emf::kExtSelectClipRgn, {0xFFFFFFF0, 5})
      .Add(emf::kExtTextOutW, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 76})
      .Add(emf::kStretchDiBits, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 80, 0xFFFFFFFF, 80, 0, 0, 0, 0, 0});
  emf::DecodeResult r = Decode(builder.Build());
  ASSERT_EQ(r.records.size(), 13u);
  for (size_t i = 1; i < 12; ++i)
    EXPECT_TRUE(r.records[i].IsRaw()) << i << " " << test::Describe(r.records[i]);
  EXPECT_GE(r.problems.size(), 11u) << test::ProblemsText(r);
  EXPECT_TRUE(HasProblem(r, "record 1 at offset 0x6c: points (4294967295 at offset 28) runs past"));
}

TEST(Structure, EmptyAndForeignData) {
  EXPECT_TRUE(HasProblem(emf::DecodeEmf(nullptr, 100), "0 bytes long"));
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  EXPECT_TRUE(HasProblem(Decode(png), "first record has type"));
  std::vector<uint8_t> tiny_header = {1, 0, 0, 0, 8, 0, 0, 0};
  emf::DecodeResult r = Decode(tiny_header);
  EXPECT_TRUE(HasProblem(r, "size 8 is too small for EMR_HEADER (needs 88)"));
  EXPECT_EQ(r.header(), nullptr);
}

}  // namespace
}  // namespace tamvel
