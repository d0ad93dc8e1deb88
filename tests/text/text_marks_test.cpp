// Root-sign text and CTSYM1 marks: the outline points, the counts, the background and the
// text state given back.
#include <cmath>

#include "src/text/root_sign.h"
#include "tests/text/text_test_support.h"

namespace tamvel {
namespace {

using testing::TextPageTest;

RootSignMetrics Metrics() {
  RootSignMetrics m;
  m.height = 300;
  m.ascent = 255;
  m.descent = 45;
  m.blank_width = 150;
  m.text_width = 900;
  return m;
}

TEST(RootSignOutline, UnturnedBottomLeftText) {
  const RootSignMetrics m = Metrics();
  const RootSignShape shape = RootSignOutline(m, TA_BOTTOM | TA_LEFT, 0.0f, 1000, 2000);
  const int t = static_cast<int>(2.0 * 150 * 45 / 255 / 3.0);  // 17
  EXPECT_EQ(shape.outline[0].x, 1000);
  EXPECT_EQ(shape.outline[0].y, 2000 + (45 - 300) / 2 + 300);
  EXPECT_EQ(shape.outline[1].x, 1000 + 150 / 3 - t);  // the stroke's bottom ...
  EXPECT_EQ(shape.outline[1].y, 2000);                // ... on the point
  EXPECT_EQ(shape.outline[2].x, 1000 + 150 + t);      // the bar from the stroke's top ...
  EXPECT_EQ(shape.outline[2].y, 2000 + 300 + 45);
  EXPECT_EQ(shape.outline[3].x, 1000 + 900);  // ... to the end of the text
  EXPECT_EQ(shape.outline[3].y, 2000 + 300 + 45);
  EXPECT_EQ(shape.background[0].x, 1000);
  EXPECT_EQ(shape.background[0].y, 2000 + 345);
  EXPECT_EQ(shape.background[2].y, 2000);
}

TEST(RootSignOutline, AlignmentShiftsAndTurns) {
  const RootSignMetrics m = Metrics();
  const RootSignShape right = RootSignOutline(m, TA_TOP | TA_RIGHT, 0.0f, 0, 0);
  EXPECT_EQ(right.outline[3].x, 0);
  EXPECT_EQ(right.outline[3].y, 45);
  const RootSignShape centre = RootSignOutline(m, TA_BASELINE | TA_CENTER, 0.0f, 0, 0);
  EXPECT_EQ(centre.outline[3].x, 450);
  EXPECT_EQ(centre.outline[3].y, 45 + 255);
  // A quarter turn takes the bar's end (900, 345) to (-345, 900); cos 90° is not quite 0 in
  // floating point, and truncation toward zero keeps the error.
  const RootSignShape turned = RootSignOutline(m, TA_BOTTOM | TA_LEFT, 90.0f, 0, 0);
  EXPECT_EQ(turned.outline[3].x, -344);
  EXPECT_EQ(turned.outline[3].y, 900);
  // No ascent: no slant, no division by zero.
  RootSignMetrics flat = m;
  flat.ascent = 0;
  const RootSignShape shape = RootSignOutline(flat, TA_BOTTOM, 0.0f, 0, 0);
  EXPECT_EQ(shape.outline[2].x, 150);
}

TEST(RootSignOutline, RotatePointTruncatesTowardZero) {
  int32_t x = 100;
  int32_t y = 0;
  RotatePoint(&x, &y, 45.0f);
  EXPECT_EQ(x, 70);
  EXPECT_EQ(y, 70);
  x = 100;
  y = 0;
  RotatePoint(&x, &y, 135.0f);
  EXPECT_EQ(x, -70);
  EXPECT_EQ(y, 70);
  x = 7;
  y = 9;
  RotatePoint(&x, &y, std::nanf(""));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  RotatePoint(nullptr, &y, 10.0f);
}

class RootSignTest : public TextPageTest {};

TEST_F(RootSignTest, EmptyTextLeavesTheAlignment) {
  int32_t code = 0;
  ROOTK2(50.0f, 50.0f, 5.0f, "", 0.0f, 0, 1);
  GETALG(&code);
  EXPECT_EQ(code, 2);
  ROOTK2(50.0f, 50.0f, 5.0f, "x+1", 0.0f, 0, 2);
  GETALG(&code);
  EXPECT_EQ(code % 10, 0);  // right afterwards
  Close();
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].text, u" x+1");
  EXPECT_EQ(Count(emf::EMR_POLYGON16) + Count(emf::EMR_POLYGON), 0u);  // transparent
}

TEST_F(RootSignTest, FortranCountKeepsDoubleByteCharactersWhole) {
  const char bytes[] = "\x41\x82\x61\x42";
  TAMVEL_FSTRING s{bytes, 4};
  ROOTK2F(50.0f, 50.0f, 5.0f, &s, 0.0f, 3, 2);
  ROOTK2F(50.0f, 80.0f, 5.0f, &s, 0.0f, 2, 2);
  TAMVEL_FSTRING empty{bytes, 0};
  ROOTK2F(50.0f, 110.0f, 5.0f, &empty, 0.0f, 0, 2);
  ROOTK2F(50.0f, 110.0f, 5.0f, nullptr, 0.0f, 0, 2);
  Close();
  ASSERT_EQ(Texts().size(), 2u);
  EXPECT_EQ(Texts()[0].text, u" A\uFF22");
  EXPECT_EQ(Texts()[1].text, u" A\uFF22");
}

TEST_F(RootSignTest, OpaqueBackgroundIsClearedFirst) {
  SETBKG(OPAQUE);
  ROOTK2(50.0f, 50.0f, 5.0f, "abc", 0.0f, 0, 2);
  Close();
  int polygon = -1;
  int text = -1;
  for (size_t i = 0; i < Result().records.size(); ++i) {
    const uint32_t type = Result().records[i].type;
    if ((type == emf::EMR_POLYGON16 || type == emf::EMR_POLYGON) && polygon < 0) {
      polygon = static_cast<int>(i);
    }
    if (type == emf::EMR_EXTTEXTOUTW && text < 0) text = static_cast<int>(i);
  }
  EXPECT_GE(polygon, 0);
  EXPECT_LT(polygon, text);
}

class MarkTest : public TextPageTest {};

TEST_F(MarkTest, CodesOutsideTheTableOnlyMoveThePen) {
  PLOT(10.0f, 10.0f, 3);
  CTSYM1(50.0f, 60.0f, 5.0f, 16, 0.0f, -2);
  CTSYM1(50.0f, 60.0f, 5.0f, -1, 0.0f, 3);
  float x = 0.0f, y = 0.0f, factor = 0.0f;
  WHERE(&x, &y, &factor);
  EXPECT_NEAR(x, 50.0f, 0.01);  // the pen position is in whole page units
  EXPECT_NEAR(y, 60.0f, 0.01);
  Close();
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(Count(emf::EMR_LINETO), 1u);
}

TEST_F(MarkTest, GlyphSitsAboutTheCentre) {
  CTSYM1(100.0f, 100.0f, 10.0f, 1, 0.0f, 3);
  CTSYM1(100.0f, 150.0f, 10.0f, 7, 90.0f, 3);
  Close();
  ASSERT_EQ(Texts().size(), 2u);
  EXPECT_EQ(Texts()[0].text, u"\u25CB");
  EXPECT_EQ(Texts()[1].text, u"\u25CF");
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
  int32_t code = 0, vertical = 0, mode = 0;
  float angle = 0.0f;
  GETALG(&code);
  EXPECT_EQ(code, 12);
  GETFON(&code, &vertical);
  EXPECT_EQ(code, 3);
  EXPECT_EQ(vertical, 1);
  GETDEG(&angle);
  EXPECT_FLOAT_EQ(angle, 25.0f);
  GETBKG(&mode);
  EXPECT_EQ(mode, OPAQUE);
  EXPECT_EQ(GetTextColor(Dc()), text_colour);
  EXPECT_EQ(GetTextCharacterExtra(Dc()), 0);
  EXPECT_EQ(CurrentPage().FontDescription().lfWidth, 0);
  Close();
  // The glyph itself was written in the pen colour, transparently.
  bool blue_text = false;
  bool transparent = false;
  for (const emf::Value *v : test::Views<emf::Value>(Result(), emf::EMR_SETTEXTCOLOR)) {
    blue_text = blue_text || v->value == RGB(0, 0, 255);
  }
  for (const emf::Value *v : test::Views<emf::Value>(Result(), emf::EMR_SETBKMODE)) {
    transparent = transparent || v->value == TRANSPARENT;
  }
  EXPECT_TRUE(blue_text);
  EXPECT_TRUE(transparent);
}

TEST_F(MarkTest, CentreOf999PlacesTheGlyphAboutTheLiteralPoint) {
  PLOT(20.0f, 30.0f, 3);
  CTSYM1(999.0f, 999.0f, 5.0f, 0, 0.0f, 3);
  Close();
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_GT(Texts()[0].reference.x, 20.0 * 56.6929 + 100);
}

}  // namespace
}  // namespace tamvel
