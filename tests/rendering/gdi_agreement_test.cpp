// The differential test against the real GDI: every page that tools/ci/gdi-agreement.sh
// collected (the demo, the render tests' pages, the feature pages of tests/gdi, other
// writers' files of tests/data) is played by our player at the size of GDI's picture of it
// and compared (gdi_agreement.h). Skipped unless TAMVEL_GDI_AGREEMENT names the folder with
// GDI's pictures; CI's step sets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"
#include "tests/rendering/gdi_agreement.h"

namespace tamvel::test {

namespace {

// Targets for every page: under 1 % forgiving and 5 % strict. A page listed above them says
// why.
constexpr double kForgiving = 1.0;
constexpr double kStrict = 5.0;

constexpr PageLimit kLimits[] = {
    {"demo-page-1", kForgiving, kStrict, ""},
};

}  // namespace

const PageLimit *LimitOf(const std::string &page) {
  for (const PageLimit &limit : kLimits) {
    if (page == limit.page) return &limit;
  }
  static const PageLimit kTemporary{"", 0, 0, ""};
  return &kTemporary;
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
