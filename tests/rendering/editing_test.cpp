// The editing calls: copying and moving metafiles between pages, new frames, drawings moved
// inside their frame and drawn over each other, temporary file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "src/emf/editing.h"
#include "src/emf/playback.h"
#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"

namespace tamvel {
namespace {

constexpr int kImageSize = 378;  // 100 mm at 96 dpi

// Page number `page` (1-based) gets a 100 x 100 mm drawing: a vertical line at x mm from
// 20 to 80 mm and a horizontal one at y mm from 20 to 80 mm.
void DrawCross(int page, float x, float y) {
  CHPAGE(page);
  PLOTS(100.0f, 100.0f, 0);
  PLOT(x, 20.0f, 3);
  PLOT(x, 80.0f, 2);
  PLOT(20.0f, y, 3);
  PLOT(80.0f, y, 2);
  PLOT(0.0f, 0.0f, 999);
}

HENHMETAFILE MetafileOf(int page) { return Page(page - 1).FinishedMetafile(); }

// Whether page number `page` shows its vertical line at x mm and the horizontal one at y mm
// (to 0.5 mm): where the columns and rows hold the most ink.
double Peak(const std::vector<int> &counts) {
  const int most = *std::max_element(counts.begin(), counts.end());
  double sum = 0;
  int n = 0;
  for (size_t i = 0; i < counts.size(); ++i) {
    if (most > 0 && counts[i] * 2 >= most) sum += static_cast<double>(i), ++n;
  }
  return n == 0 ? -100 : (sum / n + 0.5) * 100.0 / kImageSize;
}
::testing::AssertionResult LinesAt(int page, double x, double y) {
  test::RasterImage image = test::RenderMetafile(MetafileOf(page), kImageSize, kImageSize);
  std::vector<int> columns(image.width), rows(image.height);
  for (int row = 0; row < image.height; ++row) {
    for (int column = 0; column < image.width; ++column) {
      if (test::IsInk(image.At(column, row))) ++columns[column], ++rows[row];
    }
  }
  const double found_x = Peak(columns), found_y = 100.0 - Peak(rows);
  if (std::abs(found_x - x) <= 0.5 && std::abs(found_y - y) <= 0.5) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "lines at x " << found_x << ", y " << found_y;
}

std::string DescriptionOf(HENHMETAFILE metafile) {
  char buffer[kDescriptionBufferBytes];
  if (ReadDescription(metafile, buffer) != 0) return {};
  return std::string(buffer, kDescriptionBufferBytes);
}

// A metafile recorded without a description, as another program may write one.
HENHMETAFILE MetafileWithoutDescription() {
  RECT frame{0, -10000, 10000, 0};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 100, 100);
  return CloseEnhMetaFile(dc);
}

using EditingTest = test::LibraryTest;

TEST_F(EditingTest, CopyAndMoveHandOverTheMetafile) {
  EXPECT_EQ(CopyEmf(2, 1), 1);
  EXPECT_EQ(MoveEmf(2, 1), 1);
  DrawCross(1, 30.0f, 40.0f);
  ASSERT_EQ(CopyEmf(2, 1), 0);
  ASSERT_NE(MetafileOf(2), nullptr);
  EXPECT_NE(MetafileOf(2), MetafileOf(1));  // an independent copy
  EXPECT_EQ(test::MetafileBits(MetafileOf(2)), test::MetafileBits(MetafileOf(1)));
  ClearEmf(1);
  EXPECT_EQ(MetafileOf(1), nullptr);
  EXPECT_TRUE(LinesAt(2, 30.0, 40.0));  // the copy survives

  HENHMETAFILE moved = MetafileOf(2);
  ASSERT_EQ(MoveEmf(3, 2), 0);
  EXPECT_EQ(MetafileOf(3), moved);  // the same handle
  EXPECT_EQ(MetafileOf(2), nullptr);
  EXPECT_EQ(MoveEmf(4, 2), 1);

  // Page numbers are clamped to 1..100; a page copied or moved onto itself keeps it.
  ASSERT_EQ(CopyEmf(0, 3), 0);
  EXPECT_NE(MetafileOf(1), nullptr);
  ASSERT_EQ(CopyEmf(500, 1), 0);
  EXPECT_NE(MetafileOf(100), nullptr);
  ClearEmf(101);
  EXPECT_EQ(MetafileOf(100), nullptr);
  EXPECT_EQ(CopyEmf(3, 3), 0);
  EXPECT_EQ(MoveEmf(3, 3), 0);
  EXPECT_EQ(MetafileOf(3), moved);
}

TEST_F(EditingTest, CopyEndsARecordingOnTheDestination) {
  DrawCross(1, 30.0f, 40.0f);
  CHPAGE(2);
  PLOTS(50.0f, 50.0f, 0);
  ASSERT_NE(MHDC(1), 0);
  ASSERT_EQ(CopyEmf(2, 1), 0);
  EXPECT_EQ(MHDC(1), 0);
  EXPECT_NE(MetafileOf(2), nullptr);
}

TEST_F(EditingTest, ResizeChangesOnlyTheFrame) {
  EXPECT_EQ(ResizeEmf(1, 0, 100), 1);  // before the page is looked at
  EXPECT_EQ(ResizeEmf(1, 100, 0), 1);
  EXPECT_EQ(ResizeEmf(1, 100, 100), 2);
  CHPAGE(1);
  PLOTS(210.0f, 297.0f, 0);
  PLOT(10.0f, 10.0f, 3);
  PLOT(50.0f, 50.0f, 2);
  PLOT(0.0f, 0.0f, 999);
  const std::vector<uint8_t> before = test::MetafileBits(MetafileOf(1));
  ASSERT_EQ(ResizeEmf(1, 10000, 10000), 0);
  int32_t width = 0, height = 0;
  ASSERT_EQ(GetEmfSize(&width, &height), 0);
  EXPECT_EQ(std::pair(width, height), std::pair(10000, 10000));
  RECT frame;
  ASSERT_EQ(GetEmfFrame(MetafileOf(1), &frame), 0);
  EXPECT_EQ(test::Edges(frame), (test::RectEdges{0, -10000, 10000, 0}));
  std::vector<uint8_t> after = test::MetafileBits(MetafileOf(1));
  ASSERT_EQ(after.size(), before.size());
  std::memcpy(after.data() + 24, before.data() + 24, 16);
  EXPECT_EQ(after, before);  // every other byte, records included, is the same
}

TEST_F(EditingTest, ShiftMovesTheDrawingInsideItsFrame) {
  EXPECT_EQ(ShiftEmf(1, 100, 0), 1);
  DrawCross(1, 50.0f, 50.0f);
  const std::string description = DescriptionOf(MetafileOf(1));
  RECT before;
  ASSERT_EQ(GetEmfFrame(MetafileOf(1), &before), 0);

  ASSERT_EQ(ShiftEmf(1, 100, 0), 0);  // 10 mm to the left
  EXPECT_TRUE(LinesAt(1, 40.0, 50.0));
  ASSERT_EQ(ShiftEmf(1, -200, 150), 0);  // 20 mm right, 15 mm down
  EXPECT_TRUE(LinesAt(1, 60.0, 35.0));
  RECT after;
  ASSERT_EQ(GetEmfFrame(MetafileOf(1), &after), 0);
  EXPECT_EQ(test::Edges(after), test::Edges(before));
  EXPECT_EQ(DescriptionOf(MetafileOf(1)), description);
  EXPECT_NE(description.find("tamvel"), std::string::npos);
}

TEST_F(EditingTest, ShiftAndWriteNeedADescription) {
  HENHMETAFILE bare = MetafileWithoutDescription();
  ASSERT_NE(bare, nullptr);
  Page(0).ClearPage();
  Page(0).AdoptFinishedMetafile(bare);
  EXPECT_EQ(ShiftEmf(1, 10, 10), 3);
  EXPECT_EQ(MetafileOf(1), bare);  // unchanged
  DrawCross(2, 50.0f, 50.0f);
  EXPECT_EQ(WriteEmf(1, 2, 0, 0), 2);
  EXPECT_EQ(MetafileOf(1), bare);
  EXPECT_EQ(WriteEmf(2, 1, 0, 0), 0);  // a source without description is fine
}

TEST_F(EditingTest, WriteDrawsTheSourceOverTheDestination) {
  EXPECT_EQ(WriteEmf(1, 2, 0, 0), 1);
  DrawCross(1, 30.0f, 30.0f);
  EXPECT_EQ(WriteEmf(1, 2, 0, 0), 1);
  EXPECT_EQ(WriteEmf(2, 1, 0, 0), 1);
  DrawCross(2, 70.0f, 70.0f);
  const std::vector<uint8_t> source = test::MetafileBits(MetafileOf(2));
  const std::string description = DescriptionOf(MetafileOf(1));

  ASSERT_EQ(WriteEmf(1, 2, 50, 0), 0);  // page 2's drawing 5 mm to the right
  EXPECT_EQ(test::MetafileBits(MetafileOf(2)), source);
  EXPECT_EQ(DescriptionOf(MetafileOf(1)), description);
  RECT frame;
  ASSERT_EQ(GetEmfFrame(MetafileOf(1), &frame), 0);
  EXPECT_EQ(test::Edges(frame), (test::RectEdges{0, -10000, 10000, 0}));

  test::RasterImage image = test::RenderMetafile(MetafileOf(1), kImageSize, kImageSize);
  auto column_has_ink = [&](double x_mm, double y_mm) {
    const int x = static_cast<int>(x_mm / 100.0 * kImageSize);
    const int y = static_cast<int>((100.0 - y_mm) / 100.0 * kImageSize);
    // WriteEmf plays 3 reference pixels wider than the frame: a little larger than 1:1.
    return !test::FindInk(image, x - 4, y - 4, x + 4, y + 4).empty();
  };
  EXPECT_TRUE(column_has_ink(30.0, 50.0));  // page 1's vertical line
  EXPECT_TRUE(column_has_ink(75.0, 50.0));  // page 2's, moved from 70 to 75 mm
  EXPECT_FALSE(column_has_ink(70.0, 50.0));

  DrawCross(3, 50.0f, 50.0f);
  DrawCross(4, 20.0f, 50.0f);
  ASSERT_EQ(WriteEmf(3, 4, 0, 50), 0);  // 5 mm lower, at full size
  image = test::RenderMetafile(MetafileOf(3), kImageSize, kImageSize);
  EXPECT_TRUE(column_has_ink(30.0, 45.0));  // page 4's horizontal line, 50 -> 45 mm
  EXPECT_TRUE(column_has_ink(20.0, 17.0));  // its vertical line now runs 15..75 mm
  EXPECT_FALSE(column_has_ink(20.0, 78.0));
  EXPECT_TRUE(column_has_ink(50.0, 60.0));  // page 3's own
}

TEST_F(EditingTest, TemporaryFilesAreNewAndEmpty) {
  char first[MAX_PATH] = {}, second[MAX_PATH] = {};
  const int32_t length = GetTmpFileName(first, "tmv");
  ASSERT_GT(length, 0);
  EXPECT_EQ(length, static_cast<int32_t>(std::strlen(first)));
  ASSERT_GT(GetTmpFileName(second, "tmv"), 0);
  EXPECT_STRNE(first, second);
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_EQ(std::filesystem::file_size(first), 0u);
  EXPECT_EQ(GetTmpFileName(nullptr, "tmv"), 0);
  EXPECT_GT(GetTmpFileName(second, nullptr), 0);
  std::filesystem::remove(first);
  std::filesystem::remove(second);
}

}  // namespace
}  // namespace tamvel
