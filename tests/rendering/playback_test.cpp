// The playback calls: result codes in the order of their checks, the rectangles they play
// into, the caller's DC left as it was, printers and the clipboard.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <tuple>
#include <utility>

#include "include/tamvel_linux.h"
#include "src/emf/editing.h"
#include "src/emf/playback.h"
#include "tests/common/emf_builder.h"
#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"

namespace tamvel {
namespace {

// Draws the border of a page of width x height millimetres and closes the page.
void DrawFramedPage(float width, float height) {
  PLOTS(width, height, 0);
  PLOT(0.0f, 0.0f, 3);
  PLOT(width, 0.0f, 2);
  PLOT(width, height, 2);
  PLOT(0.0f, height, 2);
  PLOT(0.0f, 0.0f, 2);
  PLOT(0.0f, 0.0f, 999);
}

class PlaybackTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    window_ = TamvelCreateWindow(400, 300);
    image_ = TamvelCreateImageDC(420, 320);
  }
  void TearDown() override {
    TamvelDeleteDC(image_);
    TamvelDestroyWindow(window_);
    test::LibraryTest::TearDown();
  }
  test::RectEdges InkOfImage() const {
    test::RasterImage image;
    posix::CaptureImageDc(image_, &image);
    const test::InkBox ink = test::FindInk(image);
    return {ink.left, ink.top, ink.right, ink.bottom};
  }
  HWND window_ = nullptr;
  HDC image_ = nullptr;
};

TEST_F(PlaybackTest, PasteCallsCheckDcThenWindowThenMetafile) {
  EXPECT_EQ(PasteEmf(nullptr, nullptr), 1);  // even without a metafile
  EXPECT_EQ(PasteEmf(image_, nullptr), 2);
  EXPECT_EQ(PasteEmf(image_, window_), 3);
  EXPECT_EQ(PasteEmf0(nullptr, window_, 0, 0, 10, 10), 1);
  EXPECT_EQ(PasteEmf0(image_, nullptr, 0, 0, 10, 10), 2);
  EXPECT_EQ(PasteEmf0(image_, window_, 0, 0, 10, 10), 3);
  for (int widen : {-1, 0}) {
    auto paste = [&](HDC dc, HWND window, int sw, int sh) {
      return widen < 0 ? PasteEmf1(dc, window, sw, sh, 0, 0)
                       : PasteEmf2(dc, window, sw, sh, 0, 0, widen);
    };
    EXPECT_EQ(paste(nullptr, window_, 0, 0), 1);
    EXPECT_EQ(paste(image_, nullptr, 0, 0), 2);
    EXPECT_EQ(paste(image_, window_, 0, 0), 3);
    DrawFramedPage(210.0f, 297.0f);
    EXPECT_EQ(paste(image_, window_, 0, 30000), 5);
    EXPECT_EQ(paste(image_, window_, 40000, 0), 5);
    EXPECT_EQ(paste(image_, window_, 40000, 30000), 0);
    // A frame without width comes before the sheet check.
    HENHMETAFILE metafile = CurrentPage().FinishedMetafile();
    ASSERT_TRUE(ReplaceFrame(&metafile, RECT{0, 0, 0, -100}));
    CurrentPage().ReleaseFinishedMetafile();
    CurrentPage().AdoptFinishedMetafile(metafile);
    EXPECT_EQ(paste(image_, window_, 0, 0), 4);
    CurrentPage().ClearPage();
  }
}

TEST_F(PlaybackTest, PrintCallsCheckPrinterThenMetafileThenFrame) {
  const std::string pdf = (test::ScratchFolder("print-codes") / "codes.pdf").string();
  HDC printer = TamvelCreatePrinterDC(pdf.c_str(), 210.0, 297.0, 150, 20, 20);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(PrintEmf(nullptr), 1);
  EXPECT_EQ(PrintEmf(printer), 2);
  EXPECT_EQ(PrintEmf0(printer), 2);
  EXPECT_EQ(PrintEmfF(printer), 2);
  EXPECT_EQ(PrintEmfF1(printer, 100, 100, 0, 0), 2);
  DrawFramedPage(210.0f, 297.0f);
  EXPECT_EQ(PrintEmf(printer), 0);
  EXPECT_EQ(PrintEmf0(printer), 0);
  EXPECT_EQ(PrintEmfF(printer), 0);
  EXPECT_EQ(PrintEmfF1(printer, 10000, 10000, 500, 500), 0);
  EXPECT_EQ(PrintEmfF1(printer, 0, 10000, 0, 0), 3);  // a window without width
  EXPECT_EQ(TamvelDeleteDC(printer), 0);
  EXPECT_GT(std::filesystem::file_size(pdf), 0u);
}

TEST_F(PlaybackTest, SizesOfTheFrameAndOfAScreenPixel) {
  int32_t width = -1, height = -1;
  EXPECT_EQ(GetEmfSize(&width, &height), 1);
  EXPECT_EQ(width, -1);  // nothing written
  EXPECT_EQ(GetPixelSize(&width, &height), -1);
  EXPECT_EQ(std::pair(width, height), std::pair(0, 0));
  PLOTS(210.0f, 297.0f, 0);
  EXPECT_EQ(GetPixelSize(&width, &height), 0);  // 96 dpi: 26.46 hundredths of a mm
  EXPECT_EQ(std::pair(width, height), std::pair(26, 26));
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(GetPixelSize(&width, &height), -1);
  EXPECT_EQ(GetEmfSize(&width, &height), 0);
  EXPECT_EQ(std::pair(width, height), std::pair(21000, 29700));
}

TEST(SheetRectTest, SheetShownInAWindow) {
  // A4 portrait on a 400 x 300 sheet shown in a 400 x 300 client area.
  EXPECT_EQ(test::Edges(SheetRect(400, 300, 21000, 29700, 40000, 30000, 0, 0, true, 0)),
            (test::RectEdges{0, 0, 212, 300}));

  const RECT plain = SheetRect(400, 300, 21000, 29700, 40000, 30000, 0, 0, false, 0);
  const RECT once = SheetRect(400, 300, 21000, 29700, 40000, 30000, 0, 0, false, 1);
  const RECT twice = SheetRect(400, 300, 21000, 29700, 40000, 30000, 0, 0, false, 2);
  // widen 0: the top edge 1 pixel down and the right edge 2 pixels left of the exact
  // placement (3, 210); every step adds 4 pixels upwards and to the right.
  EXPECT_EQ(plain.top, 4);
  EXPECT_EQ(plain.right, 208);
  EXPECT_EQ(once.top, plain.top - 4);
  EXPECT_EQ(once.right, plain.right + 4);
  EXPECT_EQ(twice.top, plain.top - 8);
  EXPECT_EQ(plain.bottom, 300);

  // Placed at (x, y) from the sheet's lower-left corner; negative edges round outwards.
  const RECT moved = SheetRect(400, 300, 10000, 10000, 40000, 30000, -150, 1000, false, 1);
  EXPECT_EQ(moved.left, -2);  // -1.5 rounds down
  EXPECT_EQ(moved.bottom, 290);
}

// As the stand-in's printer gives them (PrinterAnswersItsPaperMetrics).
PrinterMetrics A4At300Dpi() { return {2480, 3508, 50, 60, 20997, 29701, 423, 508}; }

TEST(PlaceOnPrinterTest, TrueSizeStandsOnTheLowerLeftCorner) {
  const PrinterMetrics m = A4At300Dpi();
  const int a = 2379, b = 3387;  // the printable area's right and bottom pixels
  // An A4 drawing on A4 paper is taller than the printable area: it keeps its size and runs
  // off the top.
  PrintPlacement p = PlaceOnPrinter(PrintLayout::kTrueSize, m, 21000, 29700, {});
  ASSERT_TRUE(p.placed);
  EXPECT_EQ(p.target.left, 0);
  EXPECT_EQ(p.target.bottom, b);
  EXPECT_LT(p.target.top, 0);
  const double px_per_unit = 300.0 / 2540.0;
  EXPECT_NEAR(p.target.bottom - p.target.top, 29700 * px_per_unit, 2.0);
  EXPECT_NEAR(p.target.right - p.target.left, 21000 * px_per_unit, 2.0);
  EXPECT_GT(p.target.right, a);

  // On the paper: the same size, moved by the offsets to the paper's corner.
  PrintPlacement paper = PlaceOnPrinter(PrintLayout::kTrueSizeOnPaper, m, 21000, 29700, {});
  ASSERT_TRUE(paper.placed);
  EXPECT_EQ(paper.target.left, -m.offset_x_px);
  EXPECT_EQ(paper.target.bottom, m.height_px - 1 - m.offset_y_px);

  PrinterMetrics no_size = m;
  no_size.width = 2 * m.offset_x + 1;  // no printable width in 0.01 mm
  EXPECT_FALSE(PlaceOnPrinter(PrintLayout::kTrueSize, no_size, 21000, 29700, {}).placed);
}

TEST(PlaceOnPrinterTest, FittedKeepsTheAspectRatio) {
  const PrinterMetrics m = A4At300Dpi();
  const int a = 2379, b = 3387;
  // Landscape on portrait paper: full width, standing on the lower edge.
  PrintPlacement landscape = PlaceOnPrinter(PrintLayout::kFitted, m, 29700, 21000, {});
  EXPECT_EQ(landscape.target.left, 0);
  EXPECT_EQ(landscape.target.right, a);
  EXPECT_EQ(landscape.target.bottom, b);
  EXPECT_NEAR(double(a) / (b - landscape.target.top), 29700.0 / 21000.0, 0.01);
  // A tall strip: full height, from the left edge.
  PrintPlacement tall = PlaceOnPrinter(PrintLayout::kFitted, m, 5000, 29700, {});
  EXPECT_EQ(tall.target.top, 0);
  EXPECT_EQ(tall.target.bottom, b);
  EXPECT_NEAR(double(tall.target.right) / b, 5000.0 / 29700.0, 0.01);

  // A window that is the whole frame prints as the fitted layout, up to rounding.
  for (auto [w, h] : {std::pair{29700, 21000}, std::pair{5000, 29700}}) {
    PrintPlacement fitted = PlaceOnPrinter(PrintLayout::kFitted, m, w, h, {});
    PrintPlacement window = PlaceOnPrinter(PrintLayout::kFittedWindow, m, w, h, {w, h, 0, 0});
    EXPECT_NEAR(window.target.left, fitted.target.left, 1);
    EXPECT_NEAR(window.target.top, fitted.target.top, 1);
    EXPECT_NEAR(window.target.right, fitted.target.right, 1);
    EXPECT_NEAR(window.target.bottom, fitted.target.bottom, 1);
    EXPECT_NEAR(window.clip.top, fitted.target.top, 1);
    EXPECT_NEAR(window.clip.right, fitted.target.right, 1);
  }
  // A quarter window in the upper right: the drawing is twice as large, shifted left/down.
  PrintPlacement quarter =
      PlaceOnPrinter(PrintLayout::kFittedWindow, m, 29700, 21000, {14850, 10500, 14850, 10500});
  EXPECT_NEAR(quarter.target.left, -a, 1);
  EXPECT_NEAR(quarter.target.right, a, 1);
  EXPECT_NEAR(quarter.target.bottom - quarter.clip.bottom, quarter.clip.bottom - quarter.clip.top,
              2);
}

TEST_F(PlaybackTest, PasteEmf1PlaysIntoTheWorkedRectangle) {
  DrawFramedPage(210.0f, 297.0f);
  ASSERT_EQ(PasteEmf1(image_, window_, 40000, 30000, 0, 0), 0);
  // The border's lines lie on the rectangle (0, 0, 212, 300), edges included.
  EXPECT_EQ(InkOfImage(), (test::RectEdges{0, 0, 212, 300}));
}

// Sheet positions at the 32-bit limits: the rectangles are worked out without overflow (a
// sanitizer build reports any) and saturate; the calls succeed.
TEST_F(PlaybackTest, SheetPositionsAtThe32BitLimitsSaturate) {
  DrawFramedPage(210.0f, 297.0f);
  for (int32_t at : {INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(PasteEmf1(image_, window_, 2, 2, 2, at), 0);
    EXPECT_EQ(PasteEmf1(image_, window_, 2, 2, at, 2), 0);
    EXPECT_EQ(PasteEmf2(image_, window_, 2, 2, at, at, INT32_MAX), 0);
    EXPECT_EQ(PasteEmf2(image_, window_, 2, 2, at, 2, INT32_MIN), 0);
  }
}

TEST_F(PlaybackTest, TheCallersDcIsLeftAsItWas) {
  DrawFramedPage(100.0f, 100.0f);
  SetMapMode(image_, MM_TWIPS);
  SetViewportOrgEx(image_, 10, 300, nullptr);
  SetTextColor(image_, RGB(1, 2, 3));
  SetROP2(image_, R2_XORPEN);
  HGDIOBJ pen = GetStockObject(WHITE_PEN);
  SelectObject(image_, pen);
  const int depth = SaveDC(image_);
  RestoreDC(image_, -1);

  ASSERT_EQ(PasteEmf(image_, window_), 0);
  ASSERT_EQ(PasteEmf1(image_, window_, 40000, 30000, 0, 0), 0);
  EXPECT_EQ(GetMapMode(image_), MM_TWIPS);
  POINT origin{0, 0};
  LPtoDP(image_, &origin, 1);
  EXPECT_EQ(origin.x, 10);
  EXPECT_EQ(origin.y, 300);
  EXPECT_EQ(GetTextColor(image_), RGB(1, 2, 3));
  EXPECT_EQ(GetROP2(image_), R2_XORPEN);
  EXPECT_EQ(SelectObject(image_, pen), pen);
  EXPECT_EQ(SaveDC(image_), depth);  // no save left behind
}

TEST_F(PlaybackTest, PasteEmfStretchesOverTheClientArea) {
  DrawFramedPage(100.0f, 50.0f);
  HWND small = TamvelCreateWindow(200, 100);
  ASSERT_EQ(PasteEmf(image_, small), 0);
  const test::RectEdges ink = InkOfImage();
  EXPECT_EQ(ink[0], 0);
  EXPECT_EQ(ink[1], 0);
  EXPECT_NEAR(ink[2], 200, 1);
  EXPECT_NEAR(ink[3], 100, 1);
  TamvelDestroyWindow(small);
}

TEST_F(PlaybackTest, PrinterAnswersItsPaperMetrics) {
  const std::string pdf = (test::ScratchFolder("printer-caps") / "caps.pdf").string();
  HDC printer = TamvelCreatePrinterDC(pdf.c_str(), 210.0, 297.0, 300, 50, 60);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(GetDeviceCaps(printer, HORZRES), 2380);
  EXPECT_EQ(GetDeviceCaps(printer, LOGPIXELSX), 300);
  PrinterMetrics m;
  GetPrinterMetrics(printer, &m);
  // The paper is a whole number of pixels: 2480 x 3508 at 300 dpi is 209.97 x 297.01 mm.
  const PrinterMetrics a4 = A4At300Dpi();
  EXPECT_EQ(std::tuple(m.width_px, m.height_px, m.offset_x_px, m.offset_y_px),
            std::tuple(a4.width_px, a4.height_px, a4.offset_x_px, a4.offset_y_px));
  EXPECT_NEAR(m.width, a4.width, 1);
  EXPECT_NEAR(m.height, a4.height, 1);
  EXPECT_NEAR(m.offset_x, a4.offset_x, 1);
  EXPECT_NEAR(m.offset_y, a4.offset_y, 1);
  EXPECT_EQ(TamvelEndPrinterPage(printer), 0);
  EXPECT_EQ(TamvelEndPrinterPage(image_), 1);
  EXPECT_EQ(TamvelDeleteDC(printer), 0);
  EXPECT_EQ(TamvelDeleteDC(printer), 1);  // already gone
  EXPECT_EQ(TamvelCreatePrinterDC(pdf.c_str(), 210.0, 297.0, 300, 2000, 0), nullptr);
  EXPECT_EQ(TamvelCreatePrinterDC(pdf.c_str(), -1.0, 297.0, 300, 0, 0), nullptr);
}

TEST_F(PlaybackTest, ClipboardCodes) {
  EXPECT_EQ(PasteClipboard(), 1);
  DrawFramedPage(100.0f, 100.0f);
  // Another program holds the clipboard open.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(PasteClipboard(), 3);
  EXPECT_TRUE(CloseClipboard());

  EXPECT_EQ(PasteClipboard(), 0);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto copy = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, CurrentPage().FinishedMetafile());  // the clipboard holds its own copy
  ENHMETAHEADER header{};
  ASSERT_NE(GetEnhMetaFileHeader(copy, sizeof header, &header), 0u);
  EXPECT_EQ(header.rclFrame.right, 10000);
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetClipboardData(CF_ENHMETAFILE), nullptr);  // closed
}

TEST_F(PlaybackTest, WindowsAndImageTargets) {
  RECT rect{1, 1, 1, 1};
  EXPECT_TRUE(GetClientRect(window_, &rect));
  EXPECT_EQ(test::Edges(rect), (test::RectEdges{0, 0, 400, 300}));
  EXPECT_FALSE(GetClientRect(nullptr, &rect));
  EXPECT_EQ(TamvelCreateWindow(-1, 10), nullptr);
  EXPECT_EQ(TamvelCreateImageDC(0, 10), nullptr);
  EXPECT_EQ(TamvelCreateImageDC(100000, 100000), nullptr);
  EXPECT_EQ(TamvelSaveImageDC(nullptr, "x.png"), 1);
  HWND gone = TamvelCreateWindow(10, 10);
  EXPECT_EQ(TamvelDestroyWindow(gone), 0);
  EXPECT_EQ(TamvelDestroyWindow(gone), 1);
  EXPECT_FALSE(GetClientRect(gone, &rect));
}

// Other writers scale the extents instead of setting them: x' = x * num / denom, and a zero
// denominator changes nothing. The frame is 100 x 100 reference pixels, played 1:1.
TEST(ExtentScaleTest, ScaledExtentsMoveTheDrawing) {
  const std::vector<uint8_t> file =
      test::EmfBuilder()
          .Add(emf::kSetMapMode, {MM_ANISOTROPIC})
          .Add(emf::kSetWindowExtEx, {100, 100})
          .Add(emf::kSetViewportExtEx, {100, 100})
          .Add(emf::kScaleViewportExtEx, {1, 2, 1, 2})  // viewport 50 x 50
          .Add(emf::kMoveToEx, {80, 10})
          .Add(emf::kLineTo, {80, 90})                // x 40
          .Add(emf::kScaleWindowExtEx, {2, 1, 2, 1})  // window 200 x 200
          .Add(emf::kScaleWindowExtEx, {1, 0, 1, 0})  // ignored
          .Add(emf::kMoveToEx, {120, 10})
          .Add(emf::kLineTo, {120, 90})  // x 30
          .Build();
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(file.size()), file.data());
  ASSERT_NE(metafile, nullptr);
  const test::RasterImage image = test::RenderMetafile(metafile, 100, 100);
  DeleteEnhMetaFile(metafile);
  const test::InkBox first = test::FindInk(image, 35, 0, 99, 99);
  EXPECT_EQ(first.left, 40);
  EXPECT_EQ(first.right, 40);
  const test::InkBox second = test::FindInk(image, 0, 0, 34, 99);
  EXPECT_EQ(second.left, 30);
  EXPECT_EQ(second.right, 30);
}

// A rounded rectangle fills its box but not the corners that its ellipse cuts off.
TEST(RoundRectPlaybackTest, CornersAreCutOff) {
  const std::vector<uint8_t> file = test::EmfBuilder()
                                        .Add(emf::kSelectObject, {0x80000000 | BLACK_BRUSH})
                                        .Add(emf::kRoundRect, {10, 10, 90, 70, 40, 30})
                                        .Build();
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(file.size()), file.data());
  ASSERT_NE(metafile, nullptr);
  const test::RasterImage image = test::RenderMetafile(metafile, 100, 100);
  DeleteEnhMetaFile(metafile);
  const test::InkBox ink = test::FindInk(image);
  EXPECT_EQ(ink.left, 10);
  EXPECT_EQ(ink.top, 10);
  EXPECT_TRUE(test::IsInk(image.At(50, 40)));
  EXPECT_FALSE(test::IsInk(image.At(12, 12))) << "a corner is cut off";
  EXPECT_TRUE(test::IsInk(image.At(12, 40))) << "the side between the corners is straight";
}

// A 2 x 2 bottom-up 24-bit bitmap (red, green below blue, yellow) stretched over 40 x 40
// pixels, painted and also played into a recording that is painted again.
TEST(BitmapPlaybackTest, StretchedBitmapsArePaintedAndRerecorded) {
  const std::vector<uint8_t> file =
      test::EmfBuilder()
          .Add(emf::kStretchDiBits,
               {0, 0, 99, 99, 10, 10, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 40, 40,
                // BITMAPINFOHEADER: 2 x 2, one plane, 24 bits, BI_RGB
                40, 2, 2, 0x00180001, 0, 16, 0, 0, 0, 0,
                // rows of 8 bytes, bottom row first
                0x00FF0000, 0x000000FF, 0x000000FF, 0x0000FFFF})
          .Build();
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(file.size()), file.data());
  ASSERT_NE(metafile, nullptr);
  const RECT frame{0, 0, 2646, 2646};  // the builder's frame, kept by the recording
  HDC recording = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  RECT all{0, 0, 100, 100};
  PlayEnhMetaFile(recording, metafile, &all);
  HENHMETAFILE rerecorded = CloseEnhMetaFile(recording);
  for (HENHMETAFILE played : {metafile, rerecorded}) {
    const test::RasterImage image = test::RenderMetafile(played, 100, 100);
    EXPECT_EQ(image.At(20, 20), 0x0000FFu);  // blue, top left
    EXPECT_EQ(image.At(40, 20), 0xFFFF00u);  // yellow
    EXPECT_EQ(image.At(20, 40), 0xFF0000u);  // red, bottom left
    EXPECT_EQ(image.At(40, 40), 0x00FF00u);  // green
    EXPECT_EQ(image.At(5, 5), 0xFFFFFFu);    // nothing outside the destination
    EXPECT_EQ(image.At(55, 55), 0xFFFFFFu);
  }
  DeleteEnhMetaFile(rerecorded);
  DeleteEnhMetaFile(metafile);
}

}  // namespace
}  // namespace tamvel
