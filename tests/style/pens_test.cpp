// Pen widths, colour codes and the pen, brush, text, background and mode records.
#include "src/style/pens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

// The fixed colours of codes 0 to 15 are a table; the calls below use a few of them.
TEST(DecodeColor, RgbScaleAndCodesOutsideTheTable) {
  EXPECT_EQ(DecodeColor(-1, 1000, 500, -5), 0x000080FFu);  // 0..1000, clamped
  EXPECT_EQ(DecodeColor(-1, 100, 996, INT32_MAX), 0xFFFF1Au);
  for (int32_t code : {16, -2, INT32_MIN}) EXPECT_EQ(DecodeColor(code, 996, 996, 996), 0u) << code;
}

class PensTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    PLOTS(100.0f, 100.0f, 0);
  }
  static LOGPEN Pen() { return CurrentPage().PenDescription(); }
};

TEST_F(PensTest, WidthCodes) {
  const std::pair<int32_t, int32_t> codes[] = {
      {0, 0}, {1, 6}, {3, 17}, {10, 57}, {-1, 5}, {-3, 14}, {-10, 48}, {INT32_MIN, INT32_MAX}};
  for (const auto &[code, width] : codes) {
    PEN(code);
    EXPECT_EQ(Pen().lopnWidth.x, width) << code;
  }
  const std::pair<float, int32_t> millimetres[] = {
      {0.1f, 6}, {-0.1f, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (const auto &[mm, width] : millimetres) {
    PENW(mm);
    EXPECT_EQ(Pen().lopnWidth.x, width) << mm;
  }
}

TEST_F(PensTest, PenColourCodesAndTheNullPen) {
  PEN(10);
  PENC(-1, 1000, 500, -5);
  EXPECT_EQ(Pen().lopnColor, 0x000080FFu);
  PENC(-2, 0, 0, 0);
  EXPECT_EQ(Pen().lopnStyle, static_cast<UINT>(PS_NULL));
  EXPECT_EQ(Pen().lopnColor, 0x000080FFu);
  PENC(4, 0, 0, 0);
  PEN(3);  // keeps style and colour
  const emf::DecodeResult page = test::ClosePage();
  const std::vector<test::RecordedPen> pens = test::PensOf(page);
  ASSERT_GE(pens.size(), 3u);
  // A PS_NULL pen is recorded as such, or (as GDI does) replaced by the stock null pen.
  const bool null_pen_recorded = pens[pens.size() - 3].style == PS_NULL;
  bool stock_null_pen_selected = false;
  for (const emf::Value *selected : test::Views<emf::Value>(page, emf::kSelectObject)) {
    stock_null_pen_selected |= selected->value == (emf::kStockObjectFlag | NULL_PEN);
  }
  EXPECT_TRUE(null_pen_recorded || stock_null_pen_selected) << test::DescribeAll(page);
  const test::RecordedPen &green = pens[pens.size() - 2];
  EXPECT_EQ(green.style, static_cast<uint32_t>(PS_SOLID));
  EXPECT_EQ(green.color, 0x00FF00u);
  EXPECT_EQ(green.width, 57);
  EXPECT_EQ(pens.back().width, 17);
  EXPECT_EQ(pens.back().color, 0x00FF00u);
}

TEST_F(PensTest, PenReplacementDeletesThePreviousPen) {
  PENC(2, 0, 0, 0);
  const emf::DecodeResult page = test::ClosePage();
  // SELECTOBJECT(BLACK_PEN), DELETEOBJECT(old pen), the new pen, SELECTOBJECT(new pen).
  const std::vector<emf::Record> &records = page.records;
  const auto last_pen = std::find_if(records.rbegin(), records.rend(), [](const emf::Record &r) {
    return test::IsPenCreation(r.type);
  });
  const size_t at = records.rend() - last_pen - 1;
  ASSERT_TRUE(at >= 2 && at + 1 < records.size()) << test::DescribeAll(page);
  EXPECT_EQ(test::TypeNames({records[at - 2].type, records[at - 1].type, records[at + 1].type}),
            "EMR_SELECTOBJECT EMR_DELETEOBJECT EMR_SELECTOBJECT");
  EXPECT_EQ(records[at - 2].As<emf::Value>()->value, emf::kStockObjectFlag | BLACK_PEN);
}

TEST_F(PensTest, FillColourKeepsHatchAndGoesHollow) {
  FILLC(2, 0, 0, 0);
  FILLC(-5, 0, 0, 0);
  UINT style = 0;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  CurrentPage().ReadBrushState(&style, &colour, &hatch);
  EXPECT_EQ(style, static_cast<UINT>(BS_NULL));
  EXPECT_EQ(colour, 0x0000FFu);
  EXPECT_EQ(hatch, static_cast<uintptr_t>(HS_CROSS));
}

TEST_F(PensTest, TextBackgroundAndModes) {
  TEXTC(2, 0, 0, 0);
  TEXTC(-2, 0, 0, 0);   // no change, no record
  SETBKC(-2, 0, 0, 0);  // black
  SETBKG(OPAQUE);
  int32_t mode = 0;
  GETBKG(&mode);
  EXPECT_EQ(mode, OPAQUE);
  GETBKG(nullptr);
  SETMODE(R2_XORPEN);
  EXPECT_EQ(CurrentPage().GetTextColorValue(), 0x0000FFu);
  const emf::DecodeResult page = test::ClosePage();
  const auto text_colours = test::FindRecords(page, emf::kSetTextColor);
  ASSERT_EQ(text_colours.size(), 2u);  // TEXTC(0) of PLOTS, then red
  EXPECT_EQ(text_colours[1]->As<emf::Value>()->value, 0x0000FFu);
  const auto bk_colours = test::FindRecords(page, emf::kSetBkColor);
  ASSERT_FALSE(bk_colours.empty());
  EXPECT_EQ(bk_colours.back()->As<emf::Value>()->value, 0u);
  const auto rops = test::FindRecords(page, emf::kSetRop2);
  EXPECT_EQ(rops.back()->As<emf::Value>()->value, static_cast<uint32_t>(R2_XORPEN));
  mode = 5;
  GETBKG(&mode);  // the page no longer records
  EXPECT_EQ(mode, 0);
}

TEST_F(PensTest, AllColoursSetsPenBrushAndText) {
  ALLC(2, 0, 0, 0);
  EXPECT_EQ(Pen().lopnColor, 0x0000FFu);
  EXPECT_EQ(Pen().lopnStyle, static_cast<UINT>(PS_SOLID));
  COLORREF colour = 0;
  CurrentPage().ReadBrushState(nullptr, &colour, nullptr);
  EXPECT_EQ(colour, 0x0000FFu);
  EXPECT_EQ(CurrentPage().GetTextColorValue(), 0x0000FFu);
}

TEST_F(PensTest, ColoursTheDisplayShowsExactlyAreNotRegistered) {
  PALC(-1, 100, 200, 300);
  EXPECT_EQ(CurrentPage().FindPageColor(DecodeColor(-1, 100, 200, 300)), -1);
  PENC(-1, 100, 200, 300);
  EXPECT_EQ(Pen().lopnColor, DecodeColor(-1, 100, 200, 300));
}

TEST_F(PensTest, NothingIsStoredWhileThePageDoesNotRecord) {
  PLOT(0.0f, 0.0f, 999);
  PENC(2, 0, 0, 0);
  PEN(10);
  FILLC(3, 0, 0, 0);
  EXPECT_EQ(Pen().lopnColor, 0u);
  EXPECT_EQ(Pen().lopnWidth.x, 6);
  COLORREF colour = 0;
  CurrentPage().ReadBrushState(nullptr, &colour, nullptr);
  EXPECT_EQ(colour, 0xFFFFFFu);
  EXPECT_EQ(CurrentPage().AddPageColor(0x123456), -1);
}

}  // namespace
}  // namespace tamvel
