// Page transforms of a recording DC on the 96-dpi reference screen.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

class MappingTest : public ::testing::Test {
 protected:
  void SetUp() override { dc_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr); }
  void TearDown() override { DeleteEnhMetaFile(CloseEnhMetaFile(dc_)); }
  HDC dc_ = nullptr;
};

TEST_F(MappingTest, MetricModesUseTheReferenceScreen) {
  const struct {
    int mode;
    POINT device;
    POINT logical;
  } cases[] = {{MM_HIMETRIC, {100, 100}, {2646, -2646}}, {MM_TWIPS, {96, 96}, {1440, -1440}},
               {MM_LOMETRIC, {96, 96}, {254, -254}},     {MM_LOENGLISH, {96, 96}, {100, -100}},
               {MM_HIENGLISH, {96, 96}, {1000, -1000}},  {MM_TEXT, {-7, 9}, {-7, 9}}};
  for (const auto &c : cases) {
    SetMapMode(dc_, c.mode);
    POINT p = c.device;
    DPtoLP(dc_, &p, 1);
    EXPECT_EQ(p.x, c.logical.x) << c.mode;
    EXPECT_EQ(p.y, c.logical.y) << c.mode;
    LPtoDP(dc_, &p, 1);
    EXPECT_EQ(p.x, c.device.x) << c.mode;
    EXPECT_EQ(p.y, c.device.y) << c.mode;
  }
}

TEST_F(MappingTest, ConversionsRoundToNearest) {
  // 7 twips is 0.4667 px, 8 twips 0.5333 px; -8 rounds away from zero.
  POINT points[3] = {{7, 0}, {8, 0}, {-8, 0}};
  SetMapMode(dc_, MM_TWIPS);
  LPtoDP(dc_, points, 3);
  EXPECT_EQ(points[0].x, 0);
  EXPECT_EQ(points[1].x, 1);
  EXPECT_EQ(points[2].x, -1);
}

TEST_F(MappingTest, OriginsShiftBothWays) {
  SetMapMode(dc_, MM_TWIPS);
  POINT old{1, 1};
  EXPECT_TRUE(SetWindowOrgEx(dc_, 1500, 0, &old));
  EXPECT_EQ(old.x, 0);
  EXPECT_TRUE(SetViewportOrgEx(dc_, 10, 20, nullptr));
  POINT p{1500, -150};
  LPtoDP(dc_, &p, 1);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 30);
  DPtoLP(dc_, &p, 1);
  EXPECT_EQ(p.x, 1500);
  EXPECT_EQ(p.y, -150);
}

TEST_F(MappingTest, RefusedModesChangeNothing) {
  EXPECT_EQ(SetMapMode(dc_, MM_TWIPS), MM_TEXT);
  EXPECT_EQ(SetMapMode(dc_, 0), 0);
  EXPECT_EQ(SetMapMode(dc_, 9), 0);
  EXPECT_EQ(GetMapMode(dc_), MM_TWIPS);
}

TEST_F(MappingTest, BadArgumentsFailAndFarCoordinatesClamp) {
  POINT p{1, 1};
  EXPECT_FALSE(LPtoDP(dc_, nullptr, 1));
  EXPECT_FALSE(LPtoDP(dc_, &p, -1));
  EXPECT_TRUE(LPtoDP(dc_, nullptr, 0));
  SetMapMode(dc_, MM_HIMETRIC);
  POINT far{0x7FFFFFFF, 0x7FFFFFFF};
  EXPECT_TRUE(DPtoLP(dc_, &far, 1));
  EXPECT_EQ(far.x, 0x7FFFFFFF);
  EXPECT_EQ(far.y, static_cast<LONG>(0x80000000u));
}

}  // namespace
