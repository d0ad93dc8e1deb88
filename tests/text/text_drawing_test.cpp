// The KANJI, SYMBOL and TEXTOUT families: counts and splits, alignment with the character
// extra, the last point after a text, enclosed text and the widths of what is drawn.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "src/plot/coordinates.h"
#include "src/text/text_drawing.h"
#include "tests/text/text_test_support.h"

namespace tamvel {
namespace {

using testing::TextPageTest;
using TextList = std::vector<std::u16string>;

// 日本語テスト: six full-width characters.
// Twips per pixel of the 96-dpi reference screen: GDI may keep the current position in
// whole device pixels.
constexpr int kReferencePixel = 15;

const char kSixKanji[] =
    "\x93\xFA\x96{\x8C\xEA\x83"
    "e\x83X\x83g";

TAMVEL_FSTRING Fortran(const char *text, int32_t length) { return TAMVEL_FSTRING{text, length}; }

class TextCountTest : public TextPageTest {};

TEST_F(TextCountTest, KanjiCountsFullWidthCharacters) {
  KANJI(20.0f, 200.0f, 5.0f, kSixKanji, 0.0f, 2);
  KANJI(20.0f, 180.0f, 5.0f, kSixKanji, 0.0f, 0);
  KANJI(20.0f, 160.0f, 5.0f, "", 0.0f, 0);
  Finish();
  EXPECT_EQ(Strings(), (TextList{u"日本", u"日本語テスト"}));
}

TEST_F(TextCountTest, NegativeKanjiCountWritesVertically) {
  SETDEG(15.0f);
  KANJI(20.0f, 200.0f, 5.0f, kSixKanji, 0.0f, -2);
  EXPECT_EQ(testing::Getfon(), std::pair(0, 1));
  EXPECT_FLOAT_EQ(testing::Getdeg(), 15.0f);  // only the angle is given back
  EXPECT_EQ(CurrentPage().FontDescription().lfEscapement, -150);
  Finish();
  EXPECT_EQ(AllText(), u"\u65E5\u672C");
}

TEST_F(TextCountTest, KanjiFortranKeepsTheLastDoubleByteCharacterWhole) {
  const char text[] =
      "A\x82\x61"
      "C";  // A, full-width B, C
  TAMVEL_FSTRING s = Fortran(text, 4);
  KANJIF(20.0f, 200.0f, 5.0f, &s, 0.0f, 2);
  KANJI2F(20.0f, 180.0f, 5.0f, &s, 0.0f, 1, 2);
  Finish();
  EXPECT_EQ(Strings(), (TextList{u"AＢC", u"AＢ"}));
}

TEST_F(TextCountTest, SymbolCountsBytes) {
  SYMBOL(20.0f, 200.0f, 5.0f, "XYZ", 0.0f, 0);     // 0 draws one byte
  SYMBL2(20.0f, 190.0f, 5.0f, "XYZ", 0.0f, 0, 2);  // 0 draws nothing
  SYMBL2(20.0f, 180.0f, 5.0f, "XYZ", 0.0f, 2, 2);
  SYMBL2(20.0f, 170.0f, 5.0f, "XYZ", 0.0f, 500, 2);  // stops at the terminator
  TAMVEL_FSTRING s = Fortran("ABCDEFGH", 4);
  SYMBL2F(20.0f, 160.0f, 5.0f, &s, 0.0f, 10, 2);
  SYMBOLF(20.0f, 150.0f, 5.0f, &s, 0.0f, -10);
  Finish();
  // The vertical ABCD possibly in several records.
  EXPECT_EQ(AllText(), u"XXYXYZABCDABCD");
  const TextList strings = Strings();
  ASSERT_GE(strings.size(), 4u);
  EXPECT_EQ(TextList(strings.begin(), strings.begin() + 4),
            (TextList{u"X", u"XY", u"XYZ", u"ABCD"}));
}

TEST_F(TextCountTest, TextOutUsesThePageFontAsItStands) {
  TAMVEL_FSTRING s = Fortran("AB  ", 4);
  TEXTOUTF(20.0f, 200.0f, &s, 0);
  TEXTOUT(20.0f, 190.0f, "hello", -3);
  TEXTOUT(20.0f, 180.0f, "", 0);
  TAMVEL_FSTRING blank = Fortran("    ", 4);
  TEXTOUTF(20.0f, 170.0f, &blank, 0);  // LEN2 is 1: one blank
  Finish();
  EXPECT_EQ(Strings(), (TextList{u"AB", u"hel", u" "}));
}

TEST_F(TextCountTest, AlignmentStaysAsTheLastKanji2LeftIt) {
  KANJI2(100.0f, 200.0f, 5.0f, kSixKanji, 0.0f, 0, 1);
  EXPECT_EQ(testing::Getalg() % 10, 1);
  TEXTOUT(100.0f, 190.0f, "centred", 0);
  EXPECT_EQ(testing::Getalg() % 10, 1);
  KANJI(100.0f, 180.0f, 5.0f, kSixKanji, 0.0f, 0);
  EXPECT_EQ(testing::Getalg(), 2);
}

class TextPlacementTest : public TextPageTest {};

TEST_F(TextPlacementTest, RightAlignedTextMovesByTheCharacterExtra) {
  EmfPage &page = CurrentPage();
  page.SetCharExtra(10);
  page.SetTextAlignFlags(TA_RIGHT | TA_BOTTOM);
  page.OutputText(1000, 500, "AB");
  const POINT end = Position();
  EXPECT_EQ(end.x, 1020);
  EXPECT_EQ(end.y, 500);
  Finish();
  // The text is put at the corrected point.
  bool moved_before_text = false;
  const auto &records = result_.records;
  for (size_t i = 1; i < records.size(); ++i) {
    const emf::PointValue *move = records[i - 1].As<emf::PointValue>();
    if (records[i].type == emf::kExtTextOutW && records[i - 1].type == emf::kMoveToEx) {
      moved_before_text = move != nullptr && move->point == (emf::Point{1010, 500});
    }
  }
  EXPECT_TRUE(moved_before_text);
}

TEST_F(TextPlacementTest, LeftTextEndsOneExtraPastItCentredTextHalfItsWidth) {
  const struct {
    UINT align;
    int x, extra;
    const char *text;
    double share;  // of the extent past the point
    int tolerance;
  } cases[] = {{TA_LEFT | TA_BASELINE, 1000, 30, "AB", 1.0, kReferencePixel},
               {TA_CENTER | TA_BOTTOM, 3000, 0, "ABCD", 0.5, 0}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    EmfPage &page = CurrentPage();
    page.SetCharExtra(c.extra);
    page.SetTextAlignFlags(c.align);
    page.OutputText(c.x, 500, c.text);
    SIZE extent{};
    ASSERT_TRUE(page.TextExtent(c.text, static_cast<int>(std::strlen(c.text)), &extent));
    const POINT end = Position();
    EXPECT_NEAR(end.x, c.x + static_cast<int>(extent.cx * c.share + 0.5) + c.extra, c.tolerance);
    EXPECT_NEAR(end.y, 500, kReferencePixel);
  }
}

// The page-unit position reached by a text, back in plot units, must be the last point.
void ExpectLastPointAtPosition(HDC dc) {
  POINT p{};
  ASSERT_TRUE(GetCurrentPositionEx(dc, &p));
  float x = 0.0f;
  float y = 0.0f;
  PageUnitsToPlot(p.x, p.y, &x, &y);
  EXPECT_NEAR(CurrentState().last_x, x, 1e-3);
  EXPECT_NEAR(CurrentState().last_y, y, 1e-3);
}

TEST_F(TextPlacementTest, NextTextContinuesWhereTheLastEnded) {
  for (bool transformed : {false, true}) {
    SCOPED_TRACE(transformed ? "factor 2, origin moved, rotated" : "plain");
    PLOTS(210.0f, 297.0f, 0);
    if (transformed) {
      FACTOR(2.0f);
      PLOT(30.0f, 40.0f, -3);
      ROTATE(30.0f);
    }
    KANJI(20.0f, transformed ? 50.0f : 200.0f, 5.0f, kSixKanji, 0.0f, transformed ? 3 : 2);
    ExpectLastPointAtPosition(Dc());
    const POINT end = Position();
    SYMBOL(999.0f, 999.0f, 5.0f, "AB", 0.0f, 2);
    Finish();
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    // Plot units back and forth are rounded to whole page units at most once each way.
    EXPECT_NEAR(texts[1].reference.x, end.x, transformed ? 2 : 1);
    EXPECT_NEAR(texts[1].reference.y, end.y, transformed ? 2 : kReferencePixel);
    if (!transformed) {
      // The first text's advances (each with its character extra) and one extra more, on
      // the same baseline.
      EXPECT_GT(end.x, texts[0].reference.x + testing::DxSum(texts[0]));
      EXPECT_NEAR(texts[1].reference.y, texts[0].reference.y, kReferencePixel);
    }
  }
}

TEST_F(TextPlacementTest, WidthIsWhatIsDrawn) {
  const float width = KANJIWID(5.0f, kSixKanji, 0);
  const float symbol_width = SYMBLWID(5.0f, "Width 123", 0);
  const float number_width = NUMBRWID(4.0f, 3.14159f, 3);
  KANJI(20.0f, 200.0f, 5.0f, kSixKanji, 0.0f, 0);
  SYMBOL(20.0f, 180.0f, 5.0f, "Width 123", 0.0f, 9);
  NUMBER(20.0f, 160.0f, 4.0f, 3.14159f, 0.0f, 3);
  Finish();
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NEAR(width * 56.6929, testing::DxSum(texts[0]), 0.5);
  EXPECT_NEAR(symbol_width * 56.6929, testing::DxSum(texts[1]), 0.5);
  EXPECT_EQ(texts[2].text, u"3.142");
  EXPECT_NEAR(number_width * 56.6929, testing::DxSum(texts[2]), 0.5);
}

TEST_F(TextPlacementTest, KanjiWidthOfVerticalTextUsesTheVerticalSpacing) {
  const float horizontal = KANJIWID(10.0f, kSixKanji, 3);
  const float vertical = KANJIWID(10.0f, kSixKanji, -3);
  // 35/32 against 40/32 of the height per character, measured in the horizontal face.
  // Whole reference pixels per character; a face whose cell is taller than its em (as the
  // replacements of the Japanese faces may be) draws a little narrower.
  EXPECT_NEAR(horizontal, 32.0, 2.5);  // 3 * 10.0 * 35.0 / 32.0 = 32.8 at most
  EXPECT_NEAR(vertical / horizontal, 40.0 / 35.0, 0.04);
  EXPECT_GT(vertical, horizontal);
  EXPECT_EQ(testing::Getfon().second, 0);
  EXPECT_EQ(KANJIWID(10.0f, "", 0), 0.0f);
}

TEST_F(TextPlacementTest, EnclosedTextGetsAnEllipseAboutItsCentre) {
  SETALG(0);                                                 // bottom
  KANJI2(100.0f, 100.0f, 10.0f, "\x81\x9B", 0.0f, 0, 1001);  // one full-width character
  TEXTMETRICA metrics{};
  GetTextMetricsA(Dc(), &metrics);
  SIZE extent{};
  GetTextExtentPointA(Dc(), "\x81\x9B", 2, &extent);
  Finish();
  // The ellipse, as a polygon or an ellipse record: its box.
  int left = INT32_MAX, top = INT32_MIN, right = INT32_MIN, bottom = INT32_MAX;
  if (const emf::RectValue *box = test::FirstView<emf::RectValue>(result_, emf::kEllipse)) {
    left = box->rect.left, top = box->rect.top, right = box->rect.right, bottom = box->rect.bottom;
  }
  for (uint32_t type : {emf::kPolygon16, emf::kPolygon}) {
    for (const emf::Poly *polygon : test::Views<emf::Poly>(result_, type)) {
      for (const emf::Point &p : polygon->points) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        bottom = std::min(bottom, p.y), top = std::max(top, p.y);
      }
    }
  }
  ASSERT_LT(left, right) << test::DescribeAll(result_);
  const int px = static_cast<int>(100.0 * 56.6929 + 0.5);
  const int py = static_cast<int>(100.0 * 56.6929 + 0.5);
  EXPECT_NEAR((left + right) / 2, px, 1);
  EXPECT_NEAR((top + bottom) / 2, py + static_cast<int>(metrics.tmHeight * 0.5), 1);
  if (extent.cx == extent.cy) {
    // A square box gets a circle through its corners.
    EXPECT_NEAR(right - left, 2 * static_cast<int>(extent.cx * 0.5 * std::sqrt(2.0)), 2);
  }
}

TEST_F(TextPlacementTest, EnclosedTextWithoutExtentHasNoEllipse) {
  CurrentPage().DrawEnclosedText(1000, 1000, "");
  Finish();
  EXPECT_EQ(Count(emf::kEllipse) + Count(emf::kPolygon16) + Count(emf::kPolygon), 0u);
}

class BadTextTest : public TextPageTest {};

TEST_F(BadTextTest, LongAndUnterminatedTextsAreCutAt1024Bytes) {
  std::vector<char> unterminated(3000, 'x');
  TEXTOUT(10.0f, 200.0f, unterminated.data(), 3000);
  SYMBL2(10.0f, 190.0f, 2.0f, unterminated.data(), 0.0f, INT32_MIN, 2);
  KANJI(10.0f, 180.0f, 2.0f, unterminated.data(), 0.0f, INT32_MAX);
  EXPECT_EQ(KANJIWID(2.0f, unterminated.data(), INT32_MIN),
            KANJIWID(2.0f, unterminated.data(), -512));
  Finish();
  for (const auto &t : Texts()) EXPECT_LE(t.text.size(), 1024u);
  EXPECT_FALSE(Texts().empty());
}

TEST_F(BadTextTest, BadDescriptorsDrawNothing) {
  TAMVEL_FSTRING negative = Fortran("ABC", -5);
  TAMVEL_FSTRING null_text = Fortran(nullptr, 10);
  KANJIF(10.0f, 200.0f, 5.0f, &negative, 0.0f, 0);
  SYMBL2F(10.0f, 200.0f, 5.0f, &negative, 0.0f, -7, 2);
  TEXTOUTF(10.0f, 200.0f, &null_text, 3);
  KANJI2F(10.0f, 200.0f, 5.0f, nullptr, 0.0f, 1, 2);
  EXPECT_EQ(SYMBLWIDF(5.0f, &negative, 3), 0.0f);
  EXPECT_EQ(KANJIWIDF(5.0f, nullptr, 3), 0.0f);
  KANJI(10.0f, 200.0f, 5.0f, nullptr, 0.0f, 3);
  TEXTOUT(10.0f, 200.0f, nullptr, 3);
  EXPECT_EQ(SYMBLWID(5.0f, nullptr, 3), 0.0f);
  Finish();
  EXPECT_TRUE(Texts().empty());
}

TEST_F(BadTextTest, InvalidShiftJisAndNonFiniteNumbersAreHarmless) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  KANJI(10.0f, 200.0f, 5.0f, "A\x82", 0.0f, 0);  // a lone lead byte at the end
  SYMBOL(10.0f, 190.0f, 5.0f, "\x80\xA0\xFF\xFD", 0.0f, 4);
  KANJI(10.0f, 180.0f, nan, "AB", 0.0f, 0);
  KANJI(10.0f, 170.0f, 5.0f, "AB", nan, 0);
  SYMBOL(nan, inf, inf, "AB", -inf, 2);
  NUMBER(10.0f, 160.0f, 5.0f, nan, nan, 2);
  EXPECT_FALSE(std::isnan(KANJIWID(nan, "AB", 0)));
  float angle = 0.0f;
  GETDEG(&angle);
  Finish();
  EXPECT_GE(Texts().size(), 2u);
  EXPECT_EQ(Texts()[0].text.size(), 2u);  // "A" and a replacement for the stray byte
}

// The fonts a finished page created, in order.
std::vector<emf::LogFont> Fonts(const emf::DecodeResult &result) {
  std::vector<emf::LogFont> fonts;
  for (const emf::Font *f : test::Views<emf::Font>(result, emf::kExtCreateFontIndirectW)) {
    fonts.push_back(f->font);
  }
  return fonts;
}

// Heights beyond 32 bits of page units saturate, at points that are already at the page's
// 32-bit limits: the text positions, the ellipse about enclosed text and the root sign are
// all worked out without overflow (a sanitizer build reports any).
TEST_F(BadTextTest, HugeHeightsSaturateAtThe32BitLimits) {
  const float inf = std::numeric_limits<float>::infinity();
  KANJI(10.0f, 10.0f, inf, "Ab1", 0.0f, 3);
  KANJI2(10.0f, 10.0f, 2147483648.0f, "Ab1", 0.0f, 3, 1);
  KANJI2(10.0f, 10.0f, -inf, "Ab1", 0.0f, 3, 1001);
  ROOTK2(10.0f, 10.0f, inf, "Ab1", 0.0f, 3, 2);
  ROOTK2(10.0f, 10.0f, -inf, "Ab1", 30.0f, -3, 1);
  Finish();
  ASSERT_EQ(Texts().size(), 5u);
  bool saturated = false;
  for (const emf::LogFont &font : Fonts(result_)) saturated |= font.height == INT32_MAX;
  EXPECT_TRUE(saturated);
  // Page limits of 3e9 mm: the point itself saturates before the text does.
  DIMTAB(-3.0e9f, 1.0f, 256);
  SYMBOL(-102.5f, -125.0f, -150.0f, "", 0.0f, 256);
  SYMBOL(-102.5f, -125.0f, -150.0f, "Ab1", 0.0f, 3);
  EXPECT_TRUE(test::ClosePage().ok());
}

// An angle takes effect within one turn, so a huge one keeps its direction: text at 3e9
// degrees (a whole number of turns and 120 degrees) is written as at 120 degrees. NaN and
// infinite angles write as 0; vertical writing turns a quarter from any of them.
TEST_F(BadTextTest, HugeAnglesKeepTheirDirectionNonFiniteOnesCountAsZero) {
  const char kTwoKana[] = "\x82\xa0\x82\xa2";
  // The escapements of the fonts and the reference points of the texts one angle gives.
  const auto written = [&](float angle) {
    PLOTS(210.0f, 297.0f, 0);
    SETDEG(0.0f);
    SYMBOL(10.0f, 10.0f, 5.0f, "Ab1", angle, 3);
    KANJI2(100.0f, 50.0f, 5.0f, kTwoKana, angle, 2, 1001);
    ROOTK2(50.0f, 100.0f, 5.0f, "Ab1", angle, 3, 1);
    SYMBOL(10.0f, 150.0f, 5.0f, kTwoKana, angle, -4);
    const emf::DecodeResult page = test::ClosePage();
    std::vector<int32_t> seen;
    for (const emf::LogFont &font : Fonts(page)) seen.push_back(font.escapement);
    for (const emf::Text *t : test::Views<emf::Text>(page, emf::kExtTextOutW)) {
      seen.insert(seen.end(), {t->reference.x, t->reference.y});
    }
    return seen;
  };
  EXPECT_EQ(written(3.0e9f), written(120.0f));
  EXPECT_EQ(written(-3.0e9f), written(-120.0f));
  EXPECT_EQ(written(std::numeric_limits<float>::infinity()), written(0.0f));
  EXPECT_EQ(written(std::numeric_limits<float>::quiet_NaN()), written(0.0f));
  SYMBOL(10.0f, 10.0f, 5.0f, kTwoKana, 3.0e9f, -4);  // vertical: the angle less 90 degrees
  for (const emf::LogFont &font : Fonts(test::ClosePage()))
    EXPECT_LT(std::abs(font.escapement), 3600);
}

TEST_F(BadTextTest, NothingIsDrawnOnAPageThatDoesNotRecord) {
  Finish();
  KANJI(10.0f, 200.0f, 5.0f, "AB", 0.0f, 0);
  EXPECT_EQ(KANJIWID(5.0f, "AB", 0), 0.0f);
  TEXTOUT(10.0f, 200.0f, "AB", 0);
}

}  // namespace
}  // namespace tamvel
