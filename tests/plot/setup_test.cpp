// Opening a drawing (PLOTS, DIMTAB, DIMTABR) and the per-page factor, offsets and rotation.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

class SetupTest : public test::LibraryTest {};

TEST_F(SetupTest, PlotsOpensAFramedRecordingWithDefaults) {
  CurrentState().factor = 3.0f;
  const int32_t dc = PLOTS(210.0f, 297.0f, 0);
  EXPECT_NE(dc, 0);
  EXPECT_EQ(dc, MHDC(0));
  const PlotState &s = CurrentState();
  EXPECT_EQ(std::tuple(s.x_lower, s.y_lower, s.x_upper, s.y_upper, s.factor, s.char_spacing,
                       s.kanji_h_spacing, s.kanji_v_spacing, s.outline_flag),
            std::tuple(-56, -56, 11962, 16894, 1.0f, 6.0f, 35.0f, 40.0f, -1));

  const emf::DecodeResult page = test::ClosePage();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_EQ(page.header()->frame, (emf::Rect{0, -29700, 21000, 0}));
  ASSERT_EQ(page.header()->description_parts.size(), 2u);
  EXPECT_EQ(page.header()->description_parts[0], u"tamvel");
  EXPECT_EQ(page.header()->description_parts[1], u"株式会社 ネルヴァー");
  // PEN(1), then PENC(0) again: the last pen selected is a solid black one of 6 units.
  const std::vector<test::RecordedPen> pens = test::PensOf(page);
  ASSERT_FALSE(pens.empty());
  EXPECT_EQ(pens.back().width, 6);
  EXPECT_EQ(pens.back().color, 0u);
  const std::vector<const emf::Record *> brushes =
      test::FindRecords(page, emf::kCreateBrushIndirect);
  ASSERT_FALSE(brushes.empty());
  EXPECT_EQ(brushes.back()->As<emf::Brush>()->color, 0xFFFFFFu);
}

TEST_F(SetupTest, DimtabRoundsTheFrameButKeepsTheSize) {
  DIMTAB(210.04f, 297.06f, 12345);
  EXPECT_EQ(CurrentState().page_width, 210.04f);
  EXPECT_EQ(CurrentState().x_upper, 11964);  // trunc(211.04 * 56.6929)
  const emf::DecodeResult page = test::ClosePage();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_EQ(page.header()->frame, (emf::Rect{0, -29710, 21000, 0}));
}

TEST_F(SetupTest, SecondPlotsDiscardsTheDrawingAndResetsTheOrigin) {
  PLOTS(100.0f, 100.0f, 0);
  PLOT(10.0f, 10.0f, -2);
  PLOTS(100.0f, 100.0f, 0);
  EXPECT_EQ(CurrentState().origin_x, 0.0f);
  EXPECT_TRUE(test::PointsOfType(test::ClosePage(), emf::kLineTo).empty());
}

TEST_F(SetupTest, DimtabrWithoutPixelsCutsTheSizeToWholeMillimetres) {
  float width = 210.7f;
  float height = 297.2f;
  EXPECT_NE(DIMTABR(&width, &height, nullptr, 0, 5), 0);
  EXPECT_EQ(std::pair(width, height), std::pair(210.0f, 297.0f));
  EXPECT_EQ(CurrentState().page_width, 210.0f);
  EXPECT_EQ(CurrentState().x_upper, 11962);
  EXPECT_EQ(DIMTABR(nullptr, nullptr, nullptr, 0, 0) != 0, true);  // null sizes read as 0
}

TEST_F(SetupTest, DimtabrTakesTheSizeFromADevice) {
  // A 96-dpi device: 960 x 720 pixels are 254.0 x 190.5 mm.
  HDC device = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(device, nullptr);
  SetMapMode(device, MM_LOMETRIC);
  float width = 1.0f;
  float height = 1.0f;
  EXPECT_NE(DIMTABR(&width, &height, reinterpret_cast<TAMVEL_HDC>(device), 960, 720), 0);
  EXPECT_EQ(GetMapMode(device), MM_TEXT);
  EXPECT_EQ(std::pair(width, height), std::pair(254.0f, 190.0f));
  const emf::DecodeResult page = test::ClosePage();
  ASSERT_NE(page.header(), nullptr);
  // GDI may round the frame through the reference screen's pixels (0.26 mm at 96 dpi).
  const emf::Rect &frame = page.header()->frame;
  EXPECT_NEAR(frame.left, 0, 27);
  EXPECT_NEAR(frame.top, -19050, 27);
  EXPECT_NEAR(frame.right, 25400, 27);
  EXPECT_NEAR(frame.bottom, 0, 27);
  DeleteEnhMetaFile(CloseEnhMetaFile(device));
}

TEST_F(SetupTest, RotateBackToZeroIsExact) {
  ROTATE(30.0f);
  EXPECT_NEAR(CurrentState().rotation_sin, 0.5, 1e-12);
  ROTATE(0.0f);
  EXPECT_EQ(CurrentState().rotation_cos, 1.0);
  EXPECT_EQ(CurrentState().rotation_sin, 0.0);
  EXPECT_EQ(CurrentState().rotation_angle, 0.0f);
}

TEST_F(SetupTest, ValuesStayWithTheirPage) {
  CHPAGE(3);
  PLOTS(100.0f, 100.0f, 0);
  FACTOR(2.0f);
  ROTATE(10.0f);
  CHPAGE(4);
  PLOTS(100.0f, 100.0f, 0);
  EXPECT_EQ(std::pair(CurrentState().factor, CurrentState().rotation_angle), std::pair(1.0, 0.0f));
  CHPAGE(3);
  EXPECT_EQ(std::pair(CurrentState().factor, CurrentState().rotation_angle), std::pair(2.0, 10.0f));
  EXPECT_NE(MHDC(2), 0);  // selecting pages opens and closes nothing
  EXPECT_NE(MHDC(3), 0);
}

TEST_F(SetupTest, AbsurdSizesStillGiveAPage) {
  for (float size : {0.0f, -10.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()}) {
    PLOTS(size, size, 0);
    PLOT(10.0f, 10.0f, 2);
    PLOT(0.0f, 0.0f, 999);
  }
  PLOTS(0.0f, 50.0f, 0);  // without frame
  EXPECT_NE(MHDC(0), 0);
}

}  // namespace
}  // namespace tamvel
