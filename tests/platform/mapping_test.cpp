// Page transforms of a recording DC on the 96-dpi reference screen.
#include <gtest/gtest.h>

#include "platform/win32.h"
#include "tests/platform/emf_bytes.h"

namespace {

class MappingTest : public ::testing::Test {
 protected:
  void SetUp() override { dc_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr); }
  void TearDown() override { DeleteEnhMetaFile(CloseEnhMetaFile(dc_)); }
  POINT ToLogical(int mode, POINT p) {
    SetMapMode(dc_, mode);
    DPtoLP(dc_, &p, 1);
    return p;
  }
  POINT ToDevice(int mode, POINT p) {
    SetMapMode(dc_, mode);
    LPtoDP(dc_, &p, 1);
    return p;
  }
  HDC dc_ = nullptr;
};

TEST_F(MappingTest, MetricModesUseTheReferenceScreen) {
  POINT p = ToLogical(MM_HIMETRIC, {100, 100});
  EXPECT_EQ(p.x, 2646);
  EXPECT_EQ(p.y, -2646);
  p = ToDevice(MM_TWIPS, {1440, -1440});
  EXPECT_EQ(p.x, 96);
  EXPECT_EQ(p.y, 96);
  p = ToLogical(MM_LOMETRIC, {96, 96});
  EXPECT_EQ(p.x, 254);
  EXPECT_EQ(p.y, -254);
  p = ToLogical(MM_LOENGLISH, {96, 96});
  EXPECT_EQ(p.x, 100);
  p = ToLogical(MM_HIENGLISH, {96, 96});
  EXPECT_EQ(p.x, 1000);
  p = ToLogical(MM_TEXT, {-7, 9});
  EXPECT_EQ(p.x, -7);
  EXPECT_EQ(p.y, 9);
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

TEST_F(MappingTest, ModeAndCapsQueries) {
  EXPECT_EQ(GetMapMode(dc_), MM_TEXT);
  EXPECT_EQ(SetMapMode(dc_, MM_TWIPS), MM_TEXT);
  EXPECT_EQ(GetMapMode(dc_), MM_TWIPS);
  EXPECT_EQ(SetMapMode(dc_, 0), 0);
  EXPECT_EQ(SetMapMode(dc_, 9), 0);
  EXPECT_EQ(GetMapMode(dc_), MM_TWIPS);
  EXPECT_EQ(GetDeviceCaps(dc_, HORZRES), 1920);
  EXPECT_EQ(GetDeviceCaps(dc_, VERTRES), 1440);
  EXPECT_EQ(GetDeviceCaps(dc_, HORZSIZE), 508);
  EXPECT_EQ(GetDeviceCaps(dc_, VERTSIZE), 381);
  EXPECT_EQ(GetDeviceCaps(dc_, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc_, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(dc_, TECHNOLOGY), DT_RASDISPLAY);
  EXPECT_EQ(GetDeviceCaps(dc_, RASTERCAPS) & RC_PALETTE, 0);
  EXPECT_EQ(GetObjectType(dc_), static_cast<DWORD>(OBJ_ENHMETADC));
}

TEST_F(MappingTest, BadArgumentsFail) {
  POINT p{1, 1};
  EXPECT_FALSE(DPtoLP(nullptr, &p, 1));
  EXPECT_FALSE(LPtoDP(dc_, nullptr, 1));
  EXPECT_FALSE(LPtoDP(dc_, &p, -1));
  EXPECT_TRUE(LPtoDP(dc_, nullptr, 0));
  EXPECT_EQ(GetMapMode(nullptr), 0);
  EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 0);
  EXPECT_FALSE(SetViewportOrgEx(nullptr, 0, 0, nullptr));
  // Far-out coordinates clamp instead of overflowing.
  SetMapMode(dc_, MM_HIMETRIC);
  POINT far{0x7FFFFFFF, 0x7FFFFFFF};
  EXPECT_TRUE(DPtoLP(dc_, &far, 1));
  EXPECT_EQ(far.x, 0x7FFFFFFF);
  EXPECT_EQ(far.y, static_cast<LONG>(0x80000000u));
}

}  // namespace
