// One-pixel lines on an image go straight into its pixels where their colour is opaque; the
// pictures must be exactly the ones cairo paints from the same pixel runs. Every case draws
// the same page twice, once each way, and compares the images word for word.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/posix/cairo_device.h"
#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"

namespace tamvel {
namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

using Page = void (*)(HDC dc);

// The image's words, alpha byte included, after `page` was drawn directly or through cairo
// on a fresh image: white without alpha, or transparent with it.
std::vector<uint32_t> Paint(Page page, bool alpha, bool direct) {
  HDC dc =
      alpha ? posix::CreateAlphaImageDc(kWidth, kHeight) : TamvelCreateImageDC(kWidth, kHeight);
  posix::CairoDevice::Of(dc)->SetDirectPixels(direct);
  page(dc);
  test::RasterImage image;
  posix::CaptureImageDc(dc, &image, true);
  TamvelDeleteDC(dc);
  return image.pixels;
}

// Draws `page` both ways on both kinds of image; the pictures must match and show ink.
void ExpectSamePixels(Page page) {
  for (bool alpha : {false, true}) {
    const std::vector<uint32_t> direct = Paint(page, alpha, true);
    const std::vector<uint32_t> cairo = Paint(page, alpha, false);
    ASSERT_EQ(direct.size(), static_cast<size_t>(kWidth) * kHeight);
    size_t differ = 0, first = 0;
    for (size_t i = 0; i < direct.size(); ++i) {
      if (direct[i] != cairo[i] && differ++ == 0) first = i;
    }
    EXPECT_EQ(differ, 0u) << (alpha ? "with" : "without") << " alpha, first at (" << first % kWidth
                          << ", " << first / kWidth << ")";
    EXPECT_NE(direct, Paint([](HDC) {}, alpha, false)) << "the page painted nothing";
  }
}

HPEN MakePen(UINT style, COLORREF colour) {
  const LOGPEN pen{style, {0, 0}, colour};
  return CreatePenIndirect(&pen);
}

// A star of lines in every direction from (x, y), out past the image's edges.
void Star(HDC dc, int x, int y) {
  for (int i = 0; i < 32; ++i) {
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, x + (i % 8) * 37 - 130, y + (i / 8) * 53 - 80);
  }
}

void ClippedStyledLines(HDC dc) {
  // Bands of a clip that cut runs along and across: an L shape, a one-pixel column, and a
  // triangle of many one-row bands.
  HRGN clip = CreateRectRgn(10, 10, 150, 30);
  HRGN more[] = {CreateRectRgn(10, 30, 40, 110), CreateRectRgn(80, 0, 81, kHeight)};
  const POINT triangle[] = {{90, 40}, {159, 119}, {60, 119}};
  HRGN slanted = CreatePolygonRgn(triangle, 3, ALTERNATE);
  for (HRGN region : {more[0], more[1], slanted}) {
    CombineRgn(clip, clip, region, RGN_OR);
    DeleteObject(region);
  }
  SelectClipRgn(dc, clip);
  DeleteObject(clip);
  SetBkColor(dc, RGB(0, 0, 200));
  const UINT styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
  for (int i = 0; i < 5; ++i) {
    HGDIOBJ old = SelectObject(dc, MakePen(styles[i], RGB(200, 40 * i, 0)));
    SetBkMode(dc, i % 2 ? OPAQUE : TRANSPARENT);
    Star(dc, 20 + 30 * i, 15 + 20 * i);
    // A closed figure crossing itself: the gaps of one part under the dashes of another.
    const POINT bow[] = {{5 + 30 * i, 5}, {35 + 30 * i, 115}, {35 + 30 * i, 5}, {5 + 30 * i, 115}};
    Polygon(dc, bow, 4);
    DeleteObject(SelectObject(dc, old));
  }
  SelectClipRgn(dc, nullptr);
  // An empty clip paints nothing.
  IntersectClipRect(dc, 50, 50, 50, 60);
  Star(dc, 50, 50);
}

void MixedWithCairo(HDC dc) {
  // Fills and smooth lines painted by cairo between the direct lines: each covers what came
  // before it.
  const LOGBRUSH green{BS_SOLID, RGB(30, 160, 90), 0};
  HGDIOBJ brush = SelectObject(dc, CreateBrushIndirect(&green));
  Star(dc, 80, 60);
  const POINT box[] = {{40, 30}, {120, 30}, {120, 90}, {40, 90}};
  Polygon(dc, box, 4);
  TamvelSetImageAntialias(dc, 1);
  Star(dc, 60, 40);
  TamvelSetImageAntialias(dc, 0);
  // Raster operations over the green: the opaque ones directly, the others through cairo.
  HGDIOBJ pen = SelectObject(dc, MakePen(PS_DASH, RGB(250, 200, 20)));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(90, 0, 90));
  for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
    SetROP2(dc, rop);
    MoveToEx(dc, 0, 20 + 5 * rop, nullptr);
    LineTo(dc, kWidth, 25 + 4 * rop);
    MoveToEx(dc, 3 + 9 * rop, 0, nullptr);
    LineTo(dc, 9 * rop, kHeight);
  }
  SetROP2(dc, R2_COPYPEN);
  // Palette colours and the image's outermost pixels.
  struct {
    WORD version, count;
    PALETTEENTRY entries[2];
  } palette{0x300, 2, {{10, 20, 30, 0}, {200, 100, 50, 0}}};
  SelectPalette(dc, CreatePalette(reinterpret_cast<LOGPALETTE *>(&palette)), FALSE);
  DeleteObject(SelectObject(dc, MakePen(PS_DOT, PALETTEINDEX(1))));
  SetBkColor(dc, PALETTEINDEX(0));
  const POINT edge[] = {
      {-5, 0}, {kWidth - 1, 0}, {kWidth - 1, kHeight - 1}, {0, kHeight - 1}, {0, -3}};
  Polyline(dc, edge, 5);
  DeleteObject(SelectObject(dc, pen));
  DeleteObject(SelectObject(dc, brush));
}

// Many short lines with the pen, raster operation, background and clip changed at random.
void RandomLines(HDC dc) {
  std::mt19937 random(13);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
  for (int i = 0; i < 3000; ++i) {
    if (i % 50 == 0) {
      const UINT style = static_cast<UINT>(pick(5));
      DeleteObject(SelectObject(dc, MakePen(style, RGB(pick(256), pick(256), pick(256)))));
      SetROP2(dc, 1 + pick(16));
      SetBkMode(dc, 1 + pick(2));
      SetBkColor(dc, RGB(pick(256), 0, pick(256)));
      SelectClipRgn(dc, nullptr);
      if (pick(2)) IntersectClipRect(dc, pick(80), pick(60), 80 + pick(80), 60 + pick(60));
    }
    MoveToEx(dc, pick(kWidth + 20) - 10, pick(kHeight + 20) - 10, nullptr);
    LineTo(dc, pick(kWidth + 20) - 10, pick(kHeight + 20) - 10);
  }
  DeleteObject(SelectObject(dc, old));
}

class DirectPixelsTest : public test::LibraryTest {};

TEST_F(DirectPixelsTest, ClippedStyledLinesMatchCairo) { ExpectSamePixels(ClippedStyledLines); }
TEST_F(DirectPixelsTest, LinesBetweenCairoPaintingMatchCairo) { ExpectSamePixels(MixedWithCairo); }
TEST_F(DirectPixelsTest, RandomLinesMatchCairo) { ExpectSamePixels(RandomLines); }

}  // namespace
}  // namespace tamvel
