// Test fixture and helpers for the page-level tests: a freshly attached library per test and
// the decoded records of a page's finished metafile (on top of emf_test_util.h).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "tests/common/emf_test_util.h"

namespace tamvel::test {

// Every test starts with 100 fresh pages, page index 0 current.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DetachLibrary();
    ASSERT_TRUE(AttachLibrary());
  }
  void TearDown() override { DetachLibrary(); }
};

// Page 1 (index 0) with an A4 drawing open; the library stays attached from test to test.
// Finish() closes the page and decodes its metafile into result_.
class A4PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) {
      ASSERT_TRUE(AttachLibrary());
    }
    CHPAGE(1);
    ASSERT_NE(PLOTS(210.0f, 297.0f, 0), 0);
  }
  void TearDown() override { PLOT(0.0f, 0.0f, 999); }
  const emf::DecodeResult &Finish() {
    PLOT(0.0f, 0.0f, 999);
    result_ = DecodeMetafile(CurrentPage().FinishedMetafile());
    EXPECT_TRUE(result_.ok()) << ProblemsText(result_);
    return result_;
  }
  emf::DecodeResult result_;
};

// The finished metafile of page index `index`, decoded (empty when the page has none).
inline emf::DecodeResult DecodePage(int index) {
  return DecodeMetafile(HandleFromValue<HENHMETAFILE>(static_cast<uint32_t>(MHEMF(index))));
}

// Closes the current page with pen code 999 and decodes it.
inline emf::DecodeResult ClosePage() {
  PLOT(0.0f, 0.0f, 999);
  return DecodePage(CurrentPageIndex());
}

// Whether WHERE gives (x, y) in plot units, to 0.01 (the pen is kept in whole page units):
// EXPECT_TRUE(test::PenAt(10.0f, 20.0f)).
inline ::testing::AssertionResult PenAt(float x, float y) {
  float wx = 0.0f, wy = 0.0f, factor = 0.0f;
  WHERE(&wx, &wy, &factor);
  if (std::fabs(wx - x) <= 0.01f && std::fabs(wy - y) <= 0.01f) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "WHERE gives (" << wx << ", " << wy << ")";
}

// The points of every MOVETOEX or LINETO (or other PointValue record) of one type.
inline std::vector<emf::Point> PointsOfType(const emf::DecodeResult &result, uint32_t type) {
  std::vector<emf::Point> points;
  for (const emf::PointValue *p : Views<emf::PointValue>(result, type)) points.push_back(p->point);
  return points;
}

// A pen as recorded: EMR_CREATEPEN, or EMR_EXTCREATEPEN for the geometric pens a recorder
// may write instead of wide cosmetic ones. `style` is the line style alone (PS_SOLID, PS_NULL).
struct RecordedPen {
  uint32_t style = 0;
  int32_t width = 0;
  uint32_t color = 0;
};

inline std::vector<RecordedPen> PensOf(const emf::DecodeResult &result) {
  std::vector<RecordedPen> pens;
  for (const emf::Record &r : result.records) {
    if (const auto *p = r.As<emf::Pen>()) pens.push_back({p->style & 0xF, p->width, p->color});
    if (const auto *p = r.As<emf::ExtPen>()) {
      pens.push_back({p->style & 0xF, static_cast<int32_t>(p->width), p->color});
    }
  }
  return pens;
}

inline bool IsPenCreation(uint32_t type) {
  return type == emf::kCreatePen || type == emf::kExtCreatePen;
}

// A scratch folder for files written by a test, emptied first.
inline std::filesystem::path ScratchFolder(const std::string &name) {
  const char *root = std::getenv("TAMVEL_TEST_TMP");
  std::filesystem::path folder = std::filesystem::path(root != nullptr ? root : "test-tmp") / name;
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  std::filesystem::create_directories(folder, error);
  return folder;
}

}  // namespace tamvel::test
