// Reference images: one page per drawing family, rendered by our player and compared with the
// PNGs checked in under tests/rendering/reference/. The same page played into a new metafile
// and rendered again must give the same picture (record -> play -> record).
//
// Tolerance: pixels may differ by up to kChannelTolerance in a channel on at most
// kPixelShare of the picture. The reason is anti-aliasing: cairo/pixman and FreeType
// versions shade edge pixels and glyphs slightly differently, while a misplaced line or a
// missing fill changes far more pixels than that. Regenerate the references with
// tools/regenerate-references.sh after a deliberate change; a failure leaves
// <name>-actual.png and <name>-diff.png in build/.../render-failures/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"
#include "tests/rendering/gdi_agreement.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

constexpr int kChannelTolerance = 64;
constexpr double kPixelShare = 0.004;
constexpr float kPageWidth = 100.0f;  // millimetres
constexpr float kPageHeight = 70.0f;
constexpr int kImageWidth = 378;  // at 96 dpi
constexpr int kImageHeight = 265;

HDC PageDc() { return HandleFromValue<HDC>(static_cast<uint32_t>(MHDC(CurrentPageIndex()))); }

// Positions in page units (MM_TWIPS, y up) from millimetres.
int U(double mm) { return static_cast<int>(mm * 1440.0 / 25.4 + 0.5); }

HGDIOBJ Select(HDC dc, HGDIOBJ object) { return SelectObject(dc, object); }

void LinesPage() {
  PLOT(10.0f, 60.0f, 3);
  PLOT(90.0f, 60.0f, 2);
  PLOT(90.0f, 50.0f, 2);
  HDC dc = PageDc();
  // Geometric pens with each cap and join.
  const DWORD caps[3] = {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT};
  const DWORD joins[3] = {PS_JOIN_ROUND, PS_JOIN_BEVEL, PS_JOIN_MITER};
  for (int i = 0; i < 3; ++i) {
    LOGBRUSH brush{BS_SOLID, RGB(200 * (i == 0), 120 * (i == 1), 200 * (i == 2)), 0};
    HPEN pen =
        ExtCreatePen(PS_GEOMETRIC | PS_SOLID | caps[i] | joins[i], U(2.5), &brush, 0, nullptr);
    HGDIOBJ old = Select(dc, pen);
    POINT zigzag[3] = {{U(10 + 25 * i), U(20)}, {U(20 + 25 * i), U(40)}, {U(30 + 25 * i), U(20)}};
    Polyline(dc, zigzag, 3);
    Select(dc, old);
    DeleteObject(pen);
  }
  // Styled cosmetic pens, one row each.
  for (int style = PS_DASH; style <= PS_DASHDOTDOT; ++style) {
    LOGPEN log{static_cast<UINT>(style), {0, 0}, RGB(0, 0, 160)};
    HPEN pen = CreatePenIndirect(&log);
    HGDIOBJ old = Select(dc, pen);
    MoveToEx(dc, U(10), U(12 - 2 * style), nullptr);
    LineTo(dc, U(90), U(12 - 2 * style));
    Select(dc, old);
    DeleteObject(pen);
  }
}

void FillsPage() {
  HDC dc = PageDc();
  // A star under both fill modes.
  POINT star[5];
  for (int i = 0; i < 5; ++i) {
    const double a = 3.14159265358979 / 2 + i * 4 * 3.14159265358979 / 5;
    star[i] = {U(20 + 12 * std::cos(a)), U(45 + 12 * std::sin(a))};
  }
  LOGBRUSH solid{BS_SOLID, RGB(40, 160, 40), 0};
  HBRUSH brush = CreateBrushIndirect(&solid);
  HGDIOBJ old = Select(dc, brush);
  SetPolyFillMode(dc, ALTERNATE);
  Polygon(dc, star, 5);
  for (POINT &p : star) p.x += U(28);
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, star, 5);
  // Hatched and mono pattern brushes (the pattern in the text and background colours).
  LOGBRUSH hatch{BS_HATCHED, RGB(200, 0, 0), HS_DIAGCROSS};
  HBRUSH hatched = CreateBrushIndirect(&hatch);
  Select(dc, hatched);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 200));
  POINT box[4] = {{U(65), U(30)}, {U(90), U(30)}, {U(90), U(60)}, {U(65), U(60)}};
  Polygon(dc, box, 4);
  const uint16_t bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0xFF, 0x00, 0xFF, 0x00};
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, bits);
  LOGBRUSH pattern{BS_PATTERN, 0, reinterpret_cast<uintptr_t>(bitmap)};
  HBRUSH patterned = CreateBrushIndirect(&pattern);
  Select(dc, patterned);
  SetTextColor(dc, RGB(0, 0, 255));
  SetBkColor(dc, RGB(255, 255, 0));
  Ellipse(dc, U(10), U(25), U(50), U(5));
  // Pie and arc (north-east quarter, upper half).
  Select(dc, brush);
  Pie(dc, U(55), U(25), U(75), U(5), U(85), U(15), U(65), U(35));
  Arc(dc, U(75), U(25), U(95), U(5), U(100), U(15), U(70), U(15));
  Select(dc, old);
  DeleteObject(brush);
  DeleteObject(hatched);
  DeleteObject(patterned);
  DeleteObject(bitmap);
}

void ClipPage() {
  HDC dc = PageDc();
  // Hatch lines clipped by a rectangle intersection, then by a region.
  SaveDC(dc);
  IntersectClipRect(dc, U(10), U(60), U(45), U(35));
  for (int i = 0; i < 20; ++i) {
    MoveToEx(dc, U(5 + 3 * i), U(65), nullptr);
    LineTo(dc, U(5 + 3 * i - 20), U(30));
  }
  RestoreDC(dc, -1);
  POINT corners[2] = {{U(55), U(60)}, {U(90), U(35)}};
  LPtoDP(dc, corners, 2);
  HRGN region = CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  SelectClipRgn(dc, region);
  for (int i = 0; i < 20; ++i) {
    MoveToEx(dc, U(50 + 3 * i), U(65), nullptr);
    LineTo(dc, U(50 + 3 * i - 20), U(30));
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(region);
  // Unclipped again.
  MoveToEx(dc, U(5), U(10), nullptr);
  LineTo(dc, U(95), U(10));
}

void PathPage() {
  HDC dc = PageDc();
  LOGBRUSH brush{BS_SOLID, RGB(120, 0, 120), 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, U(1.5), &brush,
                          0, nullptr);
  HGDIOBJ old = Select(dc, pen);
  BeginPath(dc);
  MoveToEx(dc, U(10), U(10), nullptr);
  LineTo(dc, U(30), U(60));
  LineTo(dc, U(50), U(10));
  MoveToEx(dc, U(60), U(10), nullptr);
  LineTo(dc, U(90), U(60));
  EndPath(dc);
  StrokePath(dc);
  Select(dc, old);
  DeleteObject(pen);
}

// Text through the stand-in's own calls: a Latin line, a Shift-JIS line, a turned word and a
// vertical "@" column.
void TextPage() {
  HDC dc = PageDc();
  LOGFONTA log{};
  log.lfHeight = -U(6);
  log.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(log.lfFaceName, "\x82\x6c\x82\x72 \x96\xbe\x92\xa9");  // ＭＳ 明朝
  auto write = [&](const LOGFONTA &font, int x, int y, const char *text) {
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = Select(dc, handle);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    Select(dc, old);
    DeleteObject(handle);
  };
  SetTextAlign(dc, TA_LEFT | TA_BASELINE);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  write(log, U(8), U(55), "Tamvel 123");
  write(log, U(8), U(40), "\x93\xfa\x96\x7b\x8c\xea");  // 日本語
  LOGFONTA turned = log;
  turned.lfEscapement = turned.lfOrientation = -300;
  SetTextColor(dc, RGB(180, 0, 0));
  write(turned, U(8), U(25), "turned");
  LOGFONTA vertical = log;
  std::strcpy(vertical.lfFaceName, "@\x82\x6c\x82\x72 \x96\xbe\x92\xa9");
  vertical.lfEscapement = vertical.lfOrientation = 900;
  SetTextColor(dc, RGB(0, 0, 160));
  write(vertical, U(80), U(65), "\x93\xfa\x96\x7b\x8c\xea ABC");
}

struct PageCase {
  const char *name;
  std::function<void()> draw;
};

std::vector<PageCase> Pages() {
  return {{"lines", LinesPage},
          {"fills", FillsPage},
          {"clip", ClipPage},
          {"path", PathPage},
          {"text", TextPage}};
}

fs::path ReferencePath(const std::string &name) {
  return fs::path(TAMVEL_SOURCE_DIR) / "tests/rendering/reference" / (name + ".png");
}

// Replays `metafile` into a new recording with the same frame, in MM_HIMETRIC so that the
// frame maps exactly onto itself.
HENHMETAFILE Rerecord(HENHMETAFILE metafile) {
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  const RECT &frame = header.rclFrame;
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, "tamvel\0render\0\0");
  SetMapMode(dc, MM_HIMETRIC);  // y upwards, the frame's y downwards
  RECT rect{frame.left, -frame.top, frame.right, -frame.bottom};
  PlayEnhMetaFile(dc, metafile, &rect);
  return CloseEnhMetaFile(dc);
}

void WriteFailure(const std::string &name, const test::RasterImage &actual,
                  const test::RasterImage &expected) {
  const fs::path folder = fs::path(TAMVEL_BINARY_DIR) / "render-failures";
  fs::create_directories(folder);
  posix::WritePng((folder / (name + "-actual.png")).string(), actual);
  if (expected.width == actual.width && expected.height == actual.height) {
    test::RasterImage diff = actual;
    for (size_t i = 0; i < diff.pixels.size(); ++i) {
      diff.pixels[i] = actual.pixels[i] == expected.pixels[i] ? 0xFFFFFF : 0xFF0000;
    }
    posix::WritePng((folder / (name + "-diff.png")).string(), diff);
  }
}

void ExpectSimilar(const std::string &name, const test::RasterImage &actual,
                   const test::RasterImage &expected) {
  const int allowed = static_cast<int>(kPixelShare * actual.width * actual.height);
  const int different = test::CountDifferentPixels(actual, expected, kChannelTolerance);
  if (different > allowed) {
    WriteFailure(name, actual, expected);
    ADD_FAILURE() << name << ": " << different << " pixels differ, " << allowed
                  << " allowed; actual and diff images in " << TAMVEL_BINARY_DIR
                  << "/render-failures";
  }
}

// Compares `actual` with the picture at `reference`, or writes it there when the references
// are being regenerated.
void CheckReference(const std::string &name, const test::RasterImage &actual,
                    const fs::path &reference) {
  if (std::getenv("TAMVEL_REGENERATE_REFERENCES") != nullptr) {
    fs::create_directories(reference.parent_path());
    ASSERT_TRUE(posix::WritePng(reference.string(), actual));
    return;
  }
  test::RasterImage expected;
  ASSERT_TRUE(posix::ReadPng(reference.string(), &expected)) << reference;
  ExpectSimilar(name, actual, expected);
  // In CI's differential step the reference must also agree with GDI's picture of the page,
  // so that a player fault can never become the reference.
  const std::string gdi_folder = test::GdiAgreementFolder();
  if (gdi_folder.empty()) return;
  test::RasterImage gdi;
  ASSERT_TRUE(posix::ReadPng((fs::path(gdi_folder) / "gdi" / (name + ".png")).string(), &gdi))
      << "GDI drew no picture of " << name;
  test::ExpectAgreement("reference-" + name, name, expected, gdi);
}

using RenderTest = test::LibraryTest;

// The pages are also saved (test-tmp/render-pages/<name>.emf) for the differential test
// against GDI, which compares every reference image with GDI's picture of its page too.
TEST_F(RenderTest, PagesMatchTheirReferences) {
  const fs::path saved = test::ScratchFolder("render-pages");
  for (const PageCase &page : Pages()) {
    SCOPED_TRACE(page.name);
    PLOTS(kPageWidth, kPageHeight, 0);
    page.draw();
    PLOT(0.0f, 0.0f, 999);
    HENHMETAFILE metafile = CurrentPage().FinishedMetafile();
    ASSERT_NE(metafile, nullptr);
    DeleteEnhMetaFile(
        CopyEnhMetaFileA(metafile, (saved / (std::string(page.name) + ".emf")).c_str()));
    test::RasterImage actual = test::RenderMetafile(metafile, kImageWidth, kImageHeight);
    ASSERT_EQ(actual.width, kImageWidth);
    EXPECT_FALSE(test::FindInk(actual).empty()) << "nothing drawn";
    CheckReference(page.name, actual, ReferencePath(page.name));

    HENHMETAFILE again = Rerecord(metafile);
    ASSERT_NE(again, nullptr);
    ExpectSimilar(std::string(page.name) + "-rerecorded",
                  test::RenderMetafile(again, kImageWidth, kImageHeight), actual);
    DeleteEnhMetaFile(again);
  }
}

// The pages an example wrote into the folder that ctest names in `variable` (it runs the
// example first), each against the picture of the same name in `pictures`, drawn at
// `pixels_per_mm`. With `every_picture`, every picture must still have its page.
void CheckExamplePages(const char *variable, const fs::path &pictures, double pixels_per_mm,
                       bool every_picture = true) {
  const char *folder = std::getenv(variable);
  if (folder == nullptr) GTEST_SKIP() << variable << " is set by ctest after the example ran";
  auto files = [](const fs::path &in, const char *extension) {
    std::vector<fs::path> found;
    for (const fs::directory_entry &entry : fs::directory_iterator(in)) {
      if (entry.path().extension() == extension) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
  };
  const std::vector<fs::path> pages = files(folder, ".emf");
  for (const fs::path &file : pages) {
    HENHMETAFILE metafile = GetEnhMetaFileA(file.string().c_str());
    ASSERT_NE(metafile, nullptr) << file;
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    const RECT &frame = header.rclFrame;  // 0.01 mm
    const int width =
        static_cast<int>(std::lround((frame.right - frame.left) / 100.0 * pixels_per_mm));
    const int height =
        static_cast<int>(std::lround((frame.bottom - frame.top) / 100.0 * pixels_per_mm));
    const std::string name = file.stem().string();
    CheckReference(name, test::RenderMetafile(metafile, width, height), pictures / (name + ".png"));
    DeleteEnhMetaFile(metafile);
  }
  if (every_picture && std::getenv("TAMVEL_REGENERATE_REFERENCES") == nullptr) {
    EXPECT_EQ(pages.size(), files(pictures, ".png").size())
        << "the example wrote other pages than " << pictures << " has pictures of";
  }
}

// The demo's A4 pages, 560 pixels wide (about 68 dpi), against the pictures in docs/demo.
TEST_F(RenderTest, DemoPagesMatchTheirPictures) {
  CheckExamplePages("TAMVEL_DEMO_PAGES", fs::path(TAMVEL_SOURCE_DIR) / "docs/demo", 560.0 / 210.0);
}

// The code tables of the reference (examples/code_tables.c), 5 pixels to the millimetre,
// against the pictures in docs/tables.
TEST_F(RenderTest, CodeTablesMatchTheirPictures) {
  CheckExamplePages("TAMVEL_CODE_TABLES_PAGES", fs::path(TAMVEL_SOURCE_DIR) / "docs/tables", 5.0);
}

// The first pages of docs/getting-started.md, 4 pixels to the millimetre. The Fortran page is
// there only where a Fortran compiler was found.
TEST_F(RenderTest, GettingStartedPagesMatchTheirPictures) {
  CheckExamplePages("TAMVEL_GETTING_STARTED_PAGES",
                    fs::path(TAMVEL_SOURCE_DIR) / "docs/getting-started", 4.0,
                    /*every_picture=*/false);
}

}  // namespace
}  // namespace tamvel
