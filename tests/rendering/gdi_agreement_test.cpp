// The differential test against the real GDI: every page that tools/ci/gdi-agreement.sh
// collected (the example programs' reference pages, the render tests' pages, the feature
// pages of tests/gdi/pages, other writers' files of tests/data/emf) is played by our player
// at the size of GDI's picture of it and compared (gdi_agreement.h). Skipped unless
// TAMVEL_GDI_AGREEMENT names the folder with GDI's pictures; CI's step sets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"
#include "tests/rendering/gdi_agreement.h"

namespace tamvel::test {

namespace {

// The targets of every page, in percent of its inked pixels.
constexpr double kForgiving = 1.0;
constexpr double kStrict = 5.0;

// Why a page may need more than the targets.
enum Reason : unsigned {
  // Text: GDI renders glyphs hinted and in its own grey levels, ours are unhinted; the same
  // glyphs stand at the same places but differ pixel by pixel.
  kGlyphShading = 1u << 0,
  // Wide pens: GDI outlines a wide stroke itself; its caps, joins and slanted edges differ
  // from ours by a pixel.
  kWideEdges = 1u << 1,
};

// Pages above the targets, with their reasons; every other page is held to the targets.
constexpr PageLimit kLimits[] = {
    {"arrow-heads", 2, 36, kGlyphShading},
    {"clip-reset", 2, 9, kWideEdges},
    {"demo-page-4", 6, 20, kGlyphShading},
    {"face-gothic", 2, 32, kGlyphShading},
    {"face-maru-gothic", 2, 27, kGlyphShading},
    {"face-mincho", 2, 38, kGlyphShading},
    {"face-ms-gothic", 2, 32, kGlyphShading},
    {"face-ms-mincho", 2, 38, kGlyphShading},
    {"fill-patterns", 2, 11, kGlyphShading},
    {"first_page_c", 2, 11, kGlyphShading},
    {"first_page_fortran", 3, 28, kGlyphShading},
    {"gdi-rich", 3, 30, kGlyphShading | kWideEdges},
    {"line-patterns", 3, 48, kGlyphShading},
    {"line-types", 2, 45, kGlyphShading},
    {"lines", 2, 14, kWideEdges},
    {"marks-ctsym1", 5, 32, kGlyphShading},
    {"marks-ctsym1-glyphs", 2, 21, kGlyphShading},
    {"marks-ctsym2", 6, 28, kGlyphShading},
    {"marks-ctsymb", 9, 42, kGlyphShading},
    {"number-formats", 13, 81, kGlyphShading},
    {"path", 1, 22, kWideEdges},
    {"path-dash-corners", 1, 32, kWideEdges},
    {"path-dash-patterns-curved", 1, 14, kWideEdges},
    {"path-dash-patterns-wide", 1, 9, kWideEdges},
    {"pen-colours", 3, 16, kGlyphShading | kWideEdges},
    {"pen-style-dash-wide", 4, 30, kWideEdges},
    {"pen-style-dashdot-wide", 5, 37, kWideEdges},
    {"pen-style-dashdotdot-wide", 4, 40, kWideEdges},
    {"pen-style-dot-wide", 4, 41, kWideEdges},
    {"pen-style-solid-wide", 1, 14, kWideEdges},
    {"pen-width-codes", 1, 14, kWideEdges},
    {"pen-width-mm-curves", 2, 16, kWideEdges},
    {"text", 6, 69, kGlyphShading},
    {"text-angles-japanese", 6, 68, kGlyphShading},
    {"text-angles-latin", 14, 86, kGlyphShading},
    {"text-vertical", 20, 75, kGlyphShading},
    {"typefaces", 20, 79, kGlyphShading},
};

}  // namespace

PageLimit LimitOf(const std::string &page) {
  for (const PageLimit &limit : kLimits) {
    if (page == limit.page) return limit;
  }
  return {"", kForgiving, kStrict, 0};
}

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> PagesIn(const fs::path &folder) {
  std::vector<fs::path> pages;
  std::error_code error;
  for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".emf") pages.push_back(entry.path());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

using GdiAgreementTest = LibraryTest;

TEST_F(GdiAgreementTest, EveryPageAgreesWithGdiWithinItsLimits) {
  const std::string folder = GdiAgreementFolder();
  if (folder.empty()) GTEST_SKIP() << "TAMVEL_GDI_AGREEMENT is set by tools/ci/gdi-agreement.sh";
  const std::vector<fs::path> pages = PagesIn(fs::path(folder) / "pages");
  ASSERT_FALSE(pages.empty()) << "no pages in " << folder << "/pages";
  for (const fs::path &page : pages) {
    const std::string name = page.stem().string();
    SCOPED_TRACE(name);
    RasterImage gdi;
    ASSERT_TRUE(posix::ReadPng((fs::path(folder) / "gdi" / (name + ".png")).string(), &gdi))
        << "GDI drew no picture of " << name;
    HENHMETAFILE metafile = GetEnhMetaFileA(page.string().c_str());
    ASSERT_NE(metafile, nullptr);
    ExpectAgreement(name, name, RenderMetafile(metafile, gdi.width, gdi.height), gdi);
    DeleteEnhMetaFile(metafile);
  }
  // A page that has left the collection is noticed rather than silently no longer compared.
  for (const PageLimit &limit : kLimits) {
    EXPECT_TRUE(fs::exists(fs::path(folder) / "pages" / (std::string(limit.page) + ".emf")))
        << limit.page << " is in the table but was not collected";
  }
}

}  // namespace
}  // namespace tamvel::test
