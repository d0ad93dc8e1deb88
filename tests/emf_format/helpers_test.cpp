// The text forms of records that test messages and `tamvel dump` print, and the UTF-16
// conversions behind them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/emf/dib_pixels.h"
#include "platform/emf/emf_text.h"
#include "tests/common/emf_builder.h"
#include "tests/common/emf_test_util.h"

namespace tamvel {
namespace {

TEST(Helpers, TextFormsShortenLongListsAndQuoteStrings) {
  std::vector<int64_t> params = {0, 0, 9, 9, 20};  // bounds, cpts, then 20 points
  for (int i = 0; i < 20; ++i) params.push_back(i | (-i << 16));
  std::vector<uint8_t> payload;
  for (int64_t v : params) test::EmfBuilder::PutU32(payload, static_cast<uint32_t>(v));
  const std::vector<uint8_t> file = test::EmfBuilder().AddBytes(emf::kPolyline16, payload).Build();
  emf::DecodeResult r = emf::DecodeEmf(file.data(), file.size());
  ASSERT_TRUE(r.ok()) << test::ProblemsText(r);
  const emf::Record& line = r.records[1];
  EXPECT_EQ(test::Describe(line),
            "EMR_POLYLINE16 size=108 bounds=(0,0)-(9,9) n=20 (0,0) (1,-1) (2,-2) (3,-3) (4,-4) "
            "(5,-5) ...(12 more) (18,-18) (19,-19)");
  emf::FormatOptions all;
  all.all_points = true;
  EXPECT_NE(emf::FormatRecordFields(line, all).find("(11,-11) (12,-12)"), std::string::npos);
  EXPECT_EQ(emf::FormatRecord(line, 1).substr(0, 15), "    1 0x00006c ");

  EXPECT_EQ(emf::FormatColor(0x00C80000), "rgb(0,0,200)");
  EXPECT_EQ(emf::FormatColor(0x01000003), "paletteindex(3)");
  EXPECT_EQ(emf::QuoteUtf16(u"a\"b\\\n明"), "\"a\\\"b\\\\\\u000a明\"");
}

TEST(Helpers, Utf16ConversionsPairSurrogatesAndReplaceBrokenOnes) {
  std::u16string text = u"ｶﾅ 日本 \U0001F600";
  EXPECT_EQ(emf::Utf8ToUtf16(emf::Utf16ToUtf8(text)), text);
  EXPECT_EQ(emf::Utf16ToUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(emf::Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");
  EXPECT_EQ(emf::Utf8ToUtf16("\xC0"), u"\uFFFD");
}

// A 1-bit top-down bitmap through its colour table; bitmaps that lie about their size, are
// compressed or too big for a player are refused.
TEST(DibPixels, IndexesColoursAndRefusesWhatItCannotHold) {
  emf::Dib dib;
  dib.header_size = 40;
  dib.width = 3;
  dib.height = -2;
  dib.bit_count = 1;
  dib.colors = {0x000000FF, 0x00FF0000};      // index 0 blue, 1 red
  dib.bits = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};  // rows of 4 bytes: 101, 010
  emf::Pixels pixels;
  ASSERT_TRUE(emf::DibToPixels(dib, &pixels));
  EXPECT_EQ(pixels.argb, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, 0xFFFF0000, 0xFF0000FF,
                                                0xFFFF0000, 0xFF0000FF}));
  emf::Dib short_bits = dib;
  short_bits.bits.resize(7);
  emf::Dib compressed = dib;
  compressed.compression = 1;
  emf::Dib huge = dib;
  huge.width = 1 << 20;
  huge.height = 1 << 20;
  for (const emf::Dib* bad : {&short_bits, &compressed, &huge}) {
    EXPECT_FALSE(emf::DibToPixels(*bad, &pixels));
  }
}

}  // namespace
}  // namespace tamvel
