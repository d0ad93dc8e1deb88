// The page table: selecting pages, reading their handles, and calls on a detached library.
#include <gtest/gtest.h>

#include <utility>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

class PageTableTest : public test::LibraryTest {};

TEST_F(PageTableTest, ChpageClampsPageNumbers) {
  const std::pair<int32_t, int> cases[] = {{0, 0},   {-5, 0},   {INT32_MIN, 0}, {1, 0},
                                           {42, 41}, {100, 99}, {1000, 99},     {INT32_MAX, 99}};
  for (const auto &[page, index] : cases) {
    CHPAGE(page);
    EXPECT_EQ(CurrentPageIndex(), index) << page;
  }
}

TEST_F(PageTableTest, NextpageWrapsAfter99) {
  CHPAGE(99);
  NEXTPAGE();
  EXPECT_EQ(CurrentPageIndex(), 99);
  NEXTPAGE();
  EXPECT_EQ(CurrentPageIndex(), 0);
}

TEST_F(PageTableTest, HandlesOfAClosedPage) {
  CHPAGE(4);  // index 3
  PLOTS(100.0f, 100.0f, 0);
  EXPECT_NE(MHDC(3), 0);
  EXPECT_EQ(MHEMF(3), 0);
  EXPECT_EQ(IsStandby(4), 0);
  PLOT(10.0f, 10.0f, 2);
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(MHDC(3), 0);
  EXPECT_NE(MHEMF(3), 0);
  EXPECT_EQ(MHEMF(3), IsStandby(4));
  // Selecting another page opens and closes nothing.
  CHPAGE(5);
  EXPECT_NE(MHEMF(3), 0);
  EXPECT_EQ(MHDC(4), 0);
}

TEST_F(PageTableTest, IsStandbyClampsAndIndexesOutsideTheTableAreEmpty) {
  CHPAGE(1);
  PLOTS(10.0f, 10.0f, 0);
  PLOT(0.0f, 0.0f, 999);
  CHPAGE(100);
  PLOTS(10.0f, 10.0f, 0);
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(IsStandby(0), MHEMF(0));
  EXPECT_EQ(IsStandby(-7), MHEMF(0));
  EXPECT_EQ(IsStandby(101), MHEMF(99));
  EXPECT_NE(IsStandby(101), 0);
  for (int32_t index : {-1, 100, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(MHEMF(index), 0);
    EXPECT_EQ(MHDC(index), 0);
  }
}

TEST_F(PageTableTest, EveryPageMeasuresTheSameReferencePixel) {
  float width = 0.0f, height = 0.0f;
  GPIXEL(&width, &height);
  EXPECT_GT(width, 0.0f);
  EXPECT_GT(height, 0.0f);
  for (int page = 2; page <= 100; page += 7) {
    CHPAGE(page);
    float w = -1.0f, h = -1.0f;
    GPIXEL(&w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(width, height)) << page;
  }
  GPIXEL(nullptr, nullptr);
}

TEST_F(PageTableTest, PagesHoldDefinedValuesBeforeAnyDrawing) {
  for (int i = 0; i < kPageCount; ++i) {
    EXPECT_EQ(State(i).page_width, 0.0f);
    EXPECT_EQ(State(i).factor, 1.0f);
  }
  PLOT(10.0f, 10.0f, 2);  // nothing records; the last point is set all the same
  EXPECT_EQ(CurrentState().last_x, 10.0f);
  EXPECT_EQ(MHEMF(0), 0);
}

TEST(DetachedLibrary, EveryCallIsHarmless) {
  DetachLibrary();
  ASSERT_FALSE(LibraryAttached());
  float f = 7.0f;
  int32_t i = 7;
  CHPAGE(3);
  NEXTPAGE();
  EXPECT_EQ(MHEMF(0), 0);
  EXPECT_EQ(MHDC(0), 0);
  EXPECT_EQ(IsStandby(1), 0);
  GPIXEL(&f, &f);
  EXPECT_EQ(PLOTS(100.0f, 100.0f, 0), 0);
  EXPECT_EQ(DIMTABR(&f, &f, nullptr, 10, 10), 0);
  PLOT(1.0f, 1.0f, 4);
  WHERE(&f, &f, &f);
  FACTOR(2.0f);
  ROTATE(3.0f);
  OFFSET(1, 1, 1, 1);
  GETOFF(&f, &f, &f, &f, &f);
  PEN(3);
  PENC(1, 0, 0, 0);
  ALLC(2, 0, 0, 0);
  GETBKG(&i);
  SETFON(1, 1);
  GETFON(&i, &i);
  SETDEG(4.0f);
  GETALG(&i);
  SPACE(5.0f);
  KSPACE(3.0f);
  EXPECT_EQ(f, 7.0f);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(SAVEFILE("never.emf"), 1);
  EXPECT_EQ(LOADFILE("never.emf"), 1);
  ASSERT_TRUE(AttachLibrary());
  DetachLibrary();
}

}  // namespace
}  // namespace tamvel
