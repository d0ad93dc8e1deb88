// Root-sign text and CTSYM1 marks: the outline points, the counts, the background and the
// text state given back.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "src/text/root_sign.h"
#include "tests/text/text_test_support.h"

namespace tamvel {
namespace {

using testing::TextPageTest;

// Height 300 (ascent 255, descent 45), a blank 150 wide, the text 900.
constexpr RootSignMetrics kMetrics{300, 255, 45, 150, 900};

std::vector<std::pair<int, int>> Points(const POINT *points, int count) {
  std::vector<std::pair<int, int>> pairs;
  for (int i = 0; i < count; ++i) pairs.emplace_back(points[i].x, points[i].y);
  return pairs;
}

TEST(RootSignOutline, UnturnedBottomLeftText) {
  const RootSignShape shape = RootSignOutline(kMetrics, TA_BOTTOM | TA_LEFT, 0.0f, 1000, 2000);
  const int t = static_cast<int>(2.0 * 150 * 45 / 255 / 3.0);  // 17: the stroke's slant
  // The tick's start, the stroke's bottom on the point, its top, the bar's end over the text.
  EXPECT_EQ(Points(shape.outline, 4),
            (std::vector<std::pair<int, int>>{{1000, 2000 + (45 - 300) / 2 + 300},
                                              {1000 + 150 / 3 - t, 2000},
                                              {1000 + 150 + t, 2000 + 300 + 45},
                                              {1000 + 900, 2000 + 300 + 45}}));
  EXPECT_EQ(shape.background[0].x, 1000);
  EXPECT_EQ(shape.background[0].y, 2000 + 345);
  EXPECT_EQ(shape.background[2].y, 2000);
}

TEST(RootSignOutline, AlignmentShiftsAndTurns) {
  // The bar's end for each alignment. A quarter turn takes it from (900, 345) to (-345, 900);
  // cos 90° is not quite 0 in floating point, and truncation toward zero keeps the error.
  const struct {
    UINT align;
    float angle;
    std::pair<int, int> end;
  } cases[] = {{TA_TOP | TA_RIGHT, 0.0f, {0, 45}},
               {TA_BASELINE | TA_CENTER, 0.0f, {450, 45 + 255}},
               {TA_BOTTOM | TA_LEFT, 90.0f, {-344, 900}}};
  for (const auto &c : cases) {
    const POINT end = RootSignOutline(kMetrics, c.align, c.angle, 0, 0).outline[3];
    EXPECT_EQ((std::pair<int, int>(end.x, end.y)), c.end) << c.align << " " << c.angle;
  }
  // No ascent: no slant, no division by zero.
  RootSignMetrics flat = kMetrics;
  flat.ascent = 0;
  const RootSignShape shape = RootSignOutline(flat, TA_BOTTOM, 0.0f, 0, 0);
  EXPECT_EQ(shape.outline[2].x, 150);
}

TEST(RootSignOutline, RotatePointTruncatesTowardZero) {
  const struct {
    int32_t x, y;
    float angle;
    std::pair<int32_t, int32_t> turned;
  } cases[] = {
      {100, 0, 45.0f, {70, 70}}, {100, 0, 135.0f, {-70, 70}}, {7, 9, std::nanf(""), {0, 0}}};
  for (auto c : cases) {
    RotatePoint(&c.x, &c.y, c.angle);
    EXPECT_EQ(std::pair(c.x, c.y), c.turned) << c.angle;
  }
  int32_t y = 0;
  RotatePoint(nullptr, &y, 10.0f);
}

class RootSignTest : public TextPageTest {};

TEST_F(RootSignTest, EmptyTextLeavesTheAlignment) {
  ROOTK2(50.0f, 50.0f, 5.0f, "", 0.0f, 0, 1);
  EXPECT_EQ(testing::Getalg(), 2);
  ROOTK2(50.0f, 50.0f, 5.0f, "x+1", 0.0f, 0, 2);
  EXPECT_EQ(testing::Getalg() % 10, 0);  // right afterwards
  Finish();
  EXPECT_EQ(Strings(), std::vector<std::u16string>{u" x+1"});
  EXPECT_EQ(Count(emf::kPolygon16) + Count(emf::kPolygon), 0u);  // transparent
}

TEST_F(RootSignTest, FortranCountKeepsDoubleByteCharactersWhole) {
  const char bytes[] = "\x41\x82\x61\x42";
  TAMVEL_FSTRING s{bytes, 4};
  ROOTK2F(50.0f, 50.0f, 5.0f, &s, 0.0f, 3, 2);
  ROOTK2F(50.0f, 80.0f, 5.0f, &s, 0.0f, 2, 2);
  TAMVEL_FSTRING empty{bytes, 0};
  ROOTK2F(50.0f, 110.0f, 5.0f, &empty, 0.0f, 0, 2);
  ROOTK2F(50.0f, 110.0f, 5.0f, nullptr, 0.0f, 0, 2);
  Finish();
  EXPECT_EQ(Strings(), (std::vector<std::u16string>{u" AＢ", u" AＢ"}));
}

TEST_F(RootSignTest, OpaqueBackgroundIsClearedFirst) {
  SETBKG(OPAQUE);
  ROOTK2(50.0f, 50.0f, 5.0f, "abc", 0.0f, 0, 2);
  Finish();
  const std::vector<uint32_t> types = test::RecordTypes(result_);
  const auto polygon = std::find_if(types.begin(), types.end(), [](uint32_t t) {
    return t == emf::kPolygon16 || t == emf::kPolygon;
  });
  EXPECT_LT(polygon, std::find(types.begin(), types.end(), emf::kExtTextOutW));
}

class MarkTest : public TextPageTest {};

TEST_F(MarkTest, CodesOutsideTheTableOnlyMoveThePen) {
  PLOT(10.0f, 10.0f, 3);
  CTSYM1(50.0f, 60.0f, 5.0f, 16, 0.0f, -2);
  CTSYM1(50.0f, 60.0f, 5.0f, -1, 0.0f, 3);
  EXPECT_TRUE(test::PenAt(50.0f, 60.0f));
  Finish();
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(Count(emf::kLineTo), 1u);
}

TEST_F(MarkTest, GlyphSitsAboutTheCentre) {
  CTSYM1(100.0f, 100.0f, 10.0f, 1, 0.0f, 3);
  CTSYM1(100.0f, 150.0f, 10.0f, 7, 90.0f, 3);
  Finish();
  ASSERT_EQ(Strings(), (std::vector<std::u16string>{u"\u25CB", u"\u25CF"}));
  // 4.9375 to the left of and 4.0 below the centre; turned a quarter: 4.0 to the right and
  // 4.9375 below.
  EXPECT_NEAR(Texts()[0].reference.x, (100.0 - 4.9375) * 56.6929, 1.0);
  EXPECT_NEAR(Texts()[0].reference.y, (100.0 - 4.0) * 56.6929, 1.0);
  EXPECT_NEAR(Texts()[1].reference.x, (100.0 + 4.0) * 56.6929, 1.0);
  EXPECT_NEAR(Texts()[1].reference.y, (150.0 - 4.9375) * 56.6929, 1.0);
}

TEST_F(MarkTest, TextStateIsGivenBack) {
  SETALG(1);  // top, left: code 12
  SETFON(3, 1);
  SETDEG(25.0f);
  SETBKG(OPAQUE);
  TEXTC(2, 0, 0, 0);  // red text
  PENC(1, 0, 0, 0);   // blue pen
  const COLORREF text_colour = GetTextColor(Dc());
  CTSYM1(100.0f, 100.0f, 10.0f, 5, 0.0f, 3);
  EXPECT_EQ(testing::Getalg(), 12);
  EXPECT_EQ(testing::Getfon(), std::pair(3, 1));
  EXPECT_FLOAT_EQ(testing::Getdeg(), 25.0f);
  int32_t mode = 0;
  GETBKG(&mode);
  EXPECT_EQ(mode, OPAQUE);
  EXPECT_EQ(GetTextColor(Dc()), text_colour);
  EXPECT_EQ(GetTextCharacterExtra(Dc()), 0);
  EXPECT_EQ(CurrentPage().FontDescription().lfWidth, 0);
  Finish();
  // The glyph itself was written in the pen colour, transparently.
  auto recorded = [&](uint32_t type, uint32_t value) {
    const auto values = test::Views<emf::Value>(result_, type);
    return std::any_of(values.begin(), values.end(), [&](auto *v) { return v->value == value; });
  };
  EXPECT_TRUE(recorded(emf::kSetTextColor, RGB(0, 0, 255)));
  EXPECT_TRUE(recorded(emf::kSetBkMode, TRANSPARENT));
}

TEST_F(MarkTest, CentreOf999PlacesTheGlyphAboutTheLiteralPoint) {
  PLOT(20.0f, 30.0f, 3);
  CTSYM1(999.0f, 999.0f, 5.0f, 0, 0.0f, 3);
  Finish();
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_GT(Texts()[0].reference.x, 20.0 * 56.6929 + 100);
}

}  // namespace
}  // namespace tamvel
