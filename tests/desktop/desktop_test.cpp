// The desktop calls where no desktop is: windows paint in memory, printers on CUPS queues and
// the viewer fail with their documented results, the clipboard keeps its result codes. A
// display that cannot be opened counts as none. (tools/ci/desktop-check.sh runs them on a
// real display and a real scheduler.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "include/tamvel_linux.h"
#include "platform/posix/cairo_device.h"
#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"

namespace tamvel {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char *name, const char *value) : name_(name) {
    if (const char *old = std::getenv(name)) old_ = old, had_ = true;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char *name_;
  std::string old_;
  bool had_ = false;
};

class DesktopTest : public test::LibraryTest {
 protected:
  // Page 1 holds a finished A4 page with a border and a diagonal.
  void DrawPage() {
    PLOTS(210.0f, 297.0f, 0);
    PLOT(10.0f, 10.0f, 3);
    PLOT(200.0f, 10.0f, 2);
    PLOT(200.0f, 287.0f, 2);
    PLOT(10.0f, 287.0f, 2);
    PLOT(10.0f, 10.0f, 2);
    PLOT(200.0f, 287.0f, 2);
    PLOT(0.0f, 0.0f, 999);
  }
  ScopedEnvironment no_wayland_{"WAYLAND_DISPLAY", nullptr};
};

// What a DC shows, as pixels.
test::RasterImage Pixels(HDC dc) {
  test::RasterImage image;
  EXPECT_TRUE(posix::CaptureImageDc(dc, &image));
  return image;
}

TEST_F(DesktopTest, WindowDcsPaintTheClientAreaTheyShare) {
  ScopedEnvironment no_display("DISPLAY", nullptr);
  DrawPage();
  HWND window = TamvelCreateWindow(300, 400);
  ASSERT_NE(window, nullptr);
  HDC first = TamvelGetWindowDC(window), second = TamvelGetWindowDC(window);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, first);
  EXPECT_EQ(GetDeviceCaps(first, HORZRES), 300);
  EXPECT_EQ(GetDeviceCaps(first, LOGPIXELSX), 96);
  EXPECT_TRUE(test::FindInk(Pixels(second)).empty()) << "a new window is white";

  ASSERT_EQ(PasteEmf(first, window), 0);
  // The other DC sees the same pixels, which are what an image of the client size shows.
  HDC image = TamvelCreateImageDC(300, 400);
  ASSERT_EQ(PasteEmf(image, window), 0);
  EXPECT_EQ(test::CountDifferentPixels(Pixels(second), Pixels(image), 0), 0);
  EXPECT_FALSE(test::FindInk(Pixels(second)).empty());
  EXPECT_EQ(TamvelDeleteDC(image), 0);

  // A DC deleted by the caller is gone; the window deletes the others with itself.
  EXPECT_EQ(TamvelDeleteDC(first), 0);
  EXPECT_EQ(TamvelDestroyWindow(window), 0);
  EXPECT_EQ(TamvelDeleteDC(second), 1);
  EXPECT_EQ(TamvelDestroyWindow(window), 1);
  EXPECT_EQ(TamvelGetWindowDC(window), nullptr);
}

TEST_F(DesktopTest, WindowsWithoutPixelsHaveASizeButNoDc) {
  ScopedEnvironment no_display("DISPLAY", nullptr);
  for (auto [width, height] : {std::pair{0, 10}, {10, 0}, {40000, 10}, {10000, 10000}}) {
    HWND window = TamvelCreateWindow(width, height);
    ASSERT_NE(window, nullptr);
    RECT client{};
    EXPECT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
    EXPECT_EQ(TamvelGetWindowDC(window), nullptr) << width << " x " << height;
    TamvelDestroyWindow(window);
  }
  EXPECT_EQ(TamvelCreateWindow(-1, 10), nullptr);
  EXPECT_EQ(TamvelGetWindowDC(nullptr), nullptr);
}

// A session whose display cannot be opened: the viewer fails to start its part and every
// call answers as without a desktop, or with its failure result.
TEST_F(DesktopTest, DisplayThatCannotBeOpenedChangesNoResult) {
  ScopedEnvironment display("DISPLAY", ":4093");
  DrawPage();
  HWND window = TamvelCreateWindow(200, 100);
  ASSERT_NE(window, nullptr);
  HDC dc = TamvelGetWindowDC(window);
  EXPECT_EQ(PasteEmf(dc, window), 0);
  EXPECT_FALSE(test::FindInk(Pixels(dc)).empty());
  EXPECT_EQ(TamvelDestroyWindow(window), 0);

  EXPECT_EQ(PasteClipboard(), 0);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  EXPECT_EQ(TamvelShowPages(1, 1, 0), 3);
  EXPECT_EQ(TamvelShowPages(1, 1, TAMVEL_SHOW_NO_WAIT), 3);
}

TEST_F(DesktopTest, ShowPagesChecksPagesThenSession) {
  ScopedEnvironment no_display("DISPLAY", nullptr);
  EXPECT_EQ(TamvelShowPages(1, 100, 0), 1) << "no finished page";
  DrawPage();
  EXPECT_EQ(TamvelShowPages(2, 100, 0), 1) << "page 1 is outside 2..100";
  EXPECT_EQ(TamvelShowPages(-5, 1, 0), 2) << "page numbers clamp to 1..100";
  EXPECT_EQ(TamvelShowPages(1, 1, TAMVEL_SHOW_NO_WAIT), 2);
}

TEST_F(DesktopTest, CupsPrinterNeedsAScheduler) {
  ScopedEnvironment server("CUPS_SERVER", "/nonexistent/tamvel-test.sock");
  EXPECT_EQ(TamvelCreateCupsPrinterDC(nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(TamvelCreateCupsPrinterDC("any", "A4", 300), nullptr);
  EXPECT_EQ(TamvelCreateCupsPrinterDC(nullptr, nullptr, 9), nullptr) << "dpi below 10";
  EXPECT_EQ(TamvelCreateCupsPrinterDC(nullptr, nullptr, 4801), nullptr) << "dpi above 4800";
}

// A queue's margins differ side by side: the printable area is the paper less each of them.
TEST_F(DesktopTest, PrinterMarginsMayDifferOnEverySide) {
  posix::CairoDevice::Geometry margins;
  margins.dpi = 600;
  margins.offset_x_px = 150;       // left 6.35 mm
  margins.offset_y_px = 300;       // top 12.7 mm
  margins.margin_right_px = 100;   // right
  margins.margin_bottom_px = 200;  // bottom
  const std::string pdf = (test::ScratchFolder("desktop") / "margins.pdf").string();
  HDC printer = posix::CairoDevice::CreatePrinterDc(pdf, 210.0, 297.0, margins);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(GetDeviceCaps(printer, PHYSICALWIDTH), 4961);
  EXPECT_EQ(GetDeviceCaps(printer, PHYSICALHEIGHT), 7016);
  EXPECT_EQ(GetDeviceCaps(printer, PHYSICALOFFSETX), 150);
  EXPECT_EQ(GetDeviceCaps(printer, PHYSICALOFFSETY), 300);
  EXPECT_EQ(GetDeviceCaps(printer, HORZRES), 4961 - 150 - 100);
  EXPECT_EQ(GetDeviceCaps(printer, VERTRES), 7016 - 300 - 200);
  EXPECT_EQ(TamvelDeleteDC(printer), 0);
  margins.margin_right_px = 4961 - 150;  // nothing printable
  EXPECT_EQ(posix::CairoDevice::CreatePrinterDc(pdf, 210.0, 297.0, margins), nullptr);
}

}  // namespace
}  // namespace tamvel
