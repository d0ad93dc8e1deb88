// What an image DC paints, call by call: nothing inside a path bracket, one-pixel pens on
// whole pixels in full colour (or smooth when asked), bold and italic text whatever was
// drawn before.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"

namespace tamvel {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

class PaintingTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    dc_ = TamvelCreateImageDC(120, 80);
    ASSERT_NE(dc_, nullptr);
  }
  void TearDown() override {
    TamvelDeleteDC(dc_);
    test::LibraryTest::TearDown();
  }
  test::RasterImage Pixels() const {
    test::RasterImage image;
    posix::CaptureImageDc(dc_, &image);
    return image;
  }
  HDC dc_ = nullptr;
};

TEST_F(PaintingTest, APathBracketPaintsNothingUntilItIsStroked) {
  const POINT triangle[] = {{10, 10}, {60, 10}, {35, 60}};
  BeginPath(dc_);
  MoveToEx(dc_, 5, 70, nullptr);
  LineTo(dc_, 100, 70);
  Polygon(dc_, triangle, 3);
  EndPath(dc_);
  EXPECT_TRUE(test::FindInk(Pixels()).empty()) << "figures of an open path were painted";
  StrokePath(dc_);
  const test::InkBox ink = test::FindInk(Pixels());
  EXPECT_EQ(ink.left, 5);
  EXPECT_EQ(ink.top, 10);
  EXPECT_EQ(ink.bottom, 70);
}

TEST_F(PaintingTest, OnePixelPensLightWholePixelsInFullColour) {
  // Twips, 15 to a pixel: the line at y = 8.53 pixels lights row 9, the slanted one rises
  // one pixel over 40.
  SetMapMode(dc_, MM_TWIPS);
  const LOGPEN thin{PS_SOLID, {0, 0}, kRed};
  HPEN red = CreatePenIndirect(&thin);
  HGDIOBJ old = SelectObject(dc_, red);
  MoveToEx(dc_, 10 * 15, -(8 * 15 + 8), nullptr);
  LineTo(dc_, 50 * 15, -(8 * 15 + 8));
  MoveToEx(dc_, 10 * 15, -30 * 15, nullptr);
  LineTo(dc_, 50 * 15, -29 * 15);
  test::RasterImage image = Pixels();
  for (int x = 10; x < 50; ++x) {
    EXPECT_EQ(image.At(x, 9), 0xFF0000u) << x;
    EXPECT_EQ(image.At(x, 8), 0xFFFFFFu) << x;
    EXPECT_EQ(image.At(x, 10), 0xFFFFFFu) << x;
    EXPECT_EQ(image.At(x, 29) == 0xFF0000u, image.At(x, 30) != 0xFF0000u) << x;
  }
  EXPECT_EQ(image.At(50, 9), 0xFFFFFFu) << "the last point is not lit";

  // Smooth on request: the same line spreads over two rows in paler red.
  ASSERT_EQ(TamvelSetImageAntialias(dc_, 1), 0);
  MoveToEx(dc_, 10 * 15, -(60 * 15 + 8), nullptr);
  LineTo(dc_, 50 * 15, -(60 * 15 + 8));
  image = Pixels();
  for (int y : {60, 61}) {
    EXPECT_NE(image.At(30, y), 0xFF0000u) << y;
    EXPECT_NE(image.At(30, y), 0xFFFFFFu) << y;
  }
  SelectObject(dc_, old);
  DeleteObject(red);
  EXPECT_EQ(TamvelSetImageAntialias(nullptr, 1), 1);
}

// The pixels of a band of the image, to compare one text with another.
std::vector<uint32_t> Band(const test::RasterImage &image, int top, int bottom) {
  return {image.pixels.begin() + top * image.width, image.pixels.begin() + bottom * image.width};
}

int InkCount(const std::vector<uint32_t> &pixels) {
  int count = 0;
  for (uint32_t p : pixels) count += test::IsInk(p) ? 1 : 0;
  return count;
}

TEST_F(PaintingTest, BoldAndItalicDoNotDependOnWhatWasDrawnBefore) {
  // The mincho face has no bold or italic file: both are made from the one regular file.
  const char kMincho[] = "\x82\x6c\x82\x72 \x96\xbe\x92\xa9";
  auto text = [&](int top, int weight, bool italic) {
    LOGFONTA font{};
    font.lfHeight = -16;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(font.lfFaceName, kMincho);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc_, handle);
    TextOutA(dc_, 4, top, "Bold 123", 8);
    SelectObject(dc_, old);
    DeleteObject(handle);
  };
  // Plain, bold, italic, plain, then bold and italic again in the other order.
  text(0, FW_NORMAL, false);
  text(20, FW_BOLD, false);
  text(40, FW_NORMAL, true);
  text(60, FW_NORMAL, false);
  const test::RasterImage first = Pixels();
  TamvelDeleteDC(dc_);
  dc_ = TamvelCreateImageDC(120, 80);
  text(40, FW_NORMAL, true);
  text(20, FW_BOLD, false);
  text(0, FW_NORMAL, false);
  const test::RasterImage second = Pixels();

  const std::vector<uint32_t> plain = Band(first, 0, 20), bold = Band(first, 20, 40);
  const std::vector<uint32_t> italic = Band(first, 40, 60);
  EXPECT_EQ(Band(first, 60, 80), plain) << "plain text after bold is still plain";
  EXPECT_GT(InkCount(bold), InkCount(plain) * 11 / 10) << "bold text is bolder";
  EXPECT_NE(italic, plain);
  EXPECT_EQ(Band(second, 0, 20), plain);
  EXPECT_EQ(Band(second, 20, 40), bold);
  EXPECT_EQ(Band(second, 40, 60), italic);
}

}  // namespace
}  // namespace tamvel
