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
  // glyphs stand at the same places but differ pixel by pixel. These pages are compared by ink
  // position (gdi_agreement.h).
  kGlyphShading = 1u << 0,
  // Wide pens: GDI outlines a wide stroke itself; its caps, joins and slanted edges differ
  // from ours by a pixel.
  kWideEdges = 1u << 1,
};

// Pages above the targets, with their reasons; every other page is held to the targets.
constexpr PageLimit kLimits[] = {
    {"arrow-heads", 1, 35, kGlyphShading},
    {"clip-reset", 1, 8, kWideEdges},
    {"demo-page-4", 3, 19, kGlyphShading},
    {"face-gothic", 1, 31, kGlyphShading},
    {"face-maru-gothic", 1, 25, kGlyphShading},
    {"face-mincho", 1, 37, kGlyphShading},
    {"face-ms-gothic", 1, 31, kGlyphShading},
    {"face-ms-mincho", 1, 37, kGlyphShading},
    {"fill-patterns", 1, 10, kGlyphShading},
    {"first_page_c", 1, 10, kGlyphShading},
    {"first_page_fortran", 1, 27, kGlyphShading},
    {"gdi-rich", 1, 29, kGlyphShading | kWideEdges},
    {"line-patterns", 1.5, 46, kGlyphShading},
    {"line-types", 1, 43, kGlyphShading},
    {"lines", 1, 12, kWideEdges},
    {"marks-ctsym1", 2.5, 30, kGlyphShading},
    {"marks-ctsym1-glyphs", 1, 20, kGlyphShading},
    {"marks-ctsym2", 3.5, 27, kGlyphShading},
    {"marks-ctsymb", 5, 40, kGlyphShading},
    {"number-formats", 7, 80, kGlyphShading},
    {"path", 1, 21, kWideEdges},
    {"path-dash-corners", 1, 31, kWideEdges},
    {"path-dash-patterns-curved", 1, 12, kWideEdges},
    {"path-dash-patterns-wide", 1, 7, kWideEdges},
    {"pen-colours", 1.5, 14, kGlyphShading | kWideEdges},
    {"pen-style-dash-wide", 3.5, 29, kWideEdges},
    {"pen-style-dashdot-wide", 4.5, 36, kWideEdges},
    {"pen-style-dashdotdot-wide", 3.5, 38, kWideEdges},
    {"pen-style-dot-wide", 3.5, 40, kWideEdges},
    {"pen-style-solid-wide", 1, 13, kWideEdges},
    {"pen-width-codes", 1, 12, kWideEdges},
    {"pen-width-mm-curves", 1, 14, kWideEdges},
    {"text", 1, 67, kGlyphShading},
    {"text-angles-japanese", 1.5, 66, kGlyphShading},
    {"text-angles-latin", 11.5, 85, kGlyphShading},
    {"text-vertical", 10.5, 74, kGlyphShading},
    {"typefaces", 10.5, 77, kGlyphShading},
};

}  // namespace

PageLimit LimitOf(const std::string &page) {
  for (const PageLimit &limit : kLimits) {
    if (page == limit.page) return limit;
  }
  return {"", kForgiving, kStrict, 0};
}

Matching MatchingOf(const PageLimit &limit) {
  return (limit.why & kGlyphShading) != 0 ? Matching::kInkPositions : Matching::kColours;
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
