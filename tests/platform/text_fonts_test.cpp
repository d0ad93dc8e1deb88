// The stand-in's fonts: face resolution, Windows-like metrics of the Japanese faces, advances
// quantised to reference-device pixels, and Shift-JIS conversion of bad input.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/posix/fonts.h"
#include "platform/posix/shift_jis.h"

namespace tamvel::posix {
namespace {

// Twips on the 96-dpi reference screen: 15 logical units per pixel.
constexpr double kPixelsPerTwip = 1.0 / 15.0;

LOGFONTA Font(const char *face, LONG height, LONG width = 0) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfCharSet = SHIFTJIS_CHARSET;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

const char kMsMincho[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
const char kVerticalMsMincho[] = "@\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
const char kMincho[] = "\x96\xBE\x92\xA9";
const char kRoundGothic[] = "\x8A\xDB\xBA\xDE\xBC\xAF\xB8";
const char kGothic[] = "\xBA\xDE\xBC\xAF\xB8";
const char kMsGothic[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

bool FileContains(const ResolvedFace &face, const char *part) {
  return face.file.find(part) != std::string::npos;
}

TEST(StandInFonts, TypefaceTableResolvesToInstalledJapaneseFonts) {
  EXPECT_EQ(ResolveFace(kMsMincho, 400, false).typeface, Typeface::kMincho);
  EXPECT_EQ(ResolveFace(kMincho, 400, false).typeface, Typeface::kMincho);
  EXPECT_EQ(ResolveFace(kVerticalMsMincho, 400, false).typeface, Typeface::kMincho);
  EXPECT_EQ(ResolveFace(kRoundGothic, 400, false).typeface, Typeface::kRoundGothic);
  EXPECT_EQ(ResolveFace(kGothic, 400, false).typeface, Typeface::kGothic);
  EXPECT_EQ(ResolveFace(kMsGothic, 700, true).typeface, Typeface::kGothic);
  EXPECT_TRUE(FileContains(ResolveFace(kMsMincho, 400, false), "ipam"));
  EXPECT_TRUE(FileContains(ResolveFace(kMsGothic, 400, false), "ipag"));
  EXPECT_TRUE(FileContains(ResolveFace(kRoundGothic, 400, false), "MTLmr3m"));
  EXPECT_NE(ResolveFace(kGothic, 400, false).ft_face, nullptr);
  EXPECT_TRUE(IsVerticalFace(kVerticalMsMincho));
  EXPECT_FALSE(IsVerticalFace(kMsMincho));
}

TEST(StandInFonts, LatinNamesResolveToMetricCompatibleFaces) {
  const ResolvedFace &arial = ResolveFace("Arial", 400, false);
  EXPECT_EQ(arial.typeface, Typeface::kLatinSans);
  EXPECT_FALSE(arial.japanese);
  EXPECT_TRUE(FileContains(arial, "LiberationSans-Regular"));
  EXPECT_TRUE(FileContains(ResolveFace("Times New Roman", 700, false), "LiberationSerif-Bold"));
  EXPECT_TRUE(FileContains(ResolveFace("Courier New", 400, true), "LiberationMono-Italic"));
  // Nonsense and empty names still give a usable face.
  EXPECT_NE(ResolveFace("", 400, false).ft_face, nullptr);
  EXPECT_NE(ResolveFace(nullptr, 400, false).ft_face, nullptr);
  EXPECT_NE(ResolveFace("\xFF\xFE\x81", 400, false).ft_face, nullptr);
}

TEST(StandInFonts, JapaneseCellHeightIsTheEm) {
  // 5 mm in twips is 283: 18.87 px, realised as 19 px, ascent 220/256 of it.
  RealizedFont font = RealizeFont(Font(kMsMincho, 283), kPixelsPerTwip, kPixelsPerTwip);
  EXPECT_EQ(font.height, 19);
  EXPECT_DOUBLE_EQ(font.ppem, 19.0);
  EXPECT_EQ(font.ascent, 16);
  EXPECT_EQ(font.descent, 3);
  EXPECT_EQ(font.internal_leading, 0);
  EXPECT_EQ(font.full_advance, 19);
  EXPECT_EQ(font.half_advance, 10);
  // Negative heights give the em, which is the same for these faces.
  RealizedFont em = RealizeFont(Font(kMsMincho, -283), kPixelsPerTwip, kPixelsPerTwip);
  EXPECT_EQ(em.height, 19);

  TEXTMETRICA metrics;
  FillTextMetrics(font, 15.0, 15.0, &metrics);
  EXPECT_EQ(metrics.tmHeight, 285);
  EXPECT_EQ(metrics.tmAscent, 240);
  EXPECT_EQ(metrics.tmDescent, 45);
  EXPECT_EQ(metrics.tmInternalLeading, 0);
  EXPECT_EQ(metrics.tmAveCharWidth, 150);
  EXPECT_EQ(metrics.tmCharSet, SHIFTJIS_CHARSET);
}

TEST(StandInFonts, WidthScalesTheAverageCharacter) {
  // Kanji mode for 5 mm: lfWidth 142 twips = 9.47 px, realised as 9 px half-width.
  RealizedFont font = RealizeFont(Font(kMsMincho, 283, 142), kPixelsPerTwip, kPixelsPerTwip);
  EXPECT_EQ(font.ave_char_width, 9);
  EXPECT_EQ(font.half_advance, 9);
  EXPECT_EQ(font.full_advance, 18);
  EXPECT_EQ(font.Advance(u'A', false), 9);
  EXPECT_EQ(font.Advance(u'\u65E5', true), 18);
  EXPECT_NEAR(font.x_scale, 9.0 / 9.5, 1e-9);
}

TEST(StandInFonts, LatinFacesUseTheirOwnMetrics) {
  // Liberation Sans: winAscent 1854, winDescent 434 of 2048; a 20 px cell has a 17.9 px em.
  RealizedFont font = RealizeFont(Font("Arial", 300), kPixelsPerTwip, kPixelsPerTwip);
  EXPECT_EQ(font.height, 20);
  EXPECT_NEAR(font.ppem, 20.0 * 2048 / 2288, 1e-9);
  EXPECT_EQ(font.ascent, 16);
  EXPECT_EQ(font.descent, 4);
  EXPECT_EQ(font.internal_leading, 2);
  EXPECT_LT(font.Advance(u'i', false), font.Advance(u'W', false));
  // A kanji in a Latin face is drawn by the fallback face, one em wide.
  EXPECT_EQ(font.Advance(u'\u65E5', true), 18);
}

TEST(StandInFonts, HugeAndZeroHeightsStayFinite) {
  RealizedFont zero = RealizeFont(Font(kMsMincho, 0), kPixelsPerTwip, kPixelsPerTwip);
  EXPECT_GT(zero.height, 0);
  RealizedFont huge =
      RealizeFont(Font(kMsMincho, 0x7FFFFFFF, -0x7FFFFFFF), kPixelsPerTwip, kPixelsPerTwip);
  EXPECT_GT(huge.height, 0);
  EXPECT_LE(huge.height, 1000000);
  EXPECT_GT(huge.full_advance, 0);
}

TEST(StandInFonts, BaselineTurnsClockwiseOnScreenWhenYIsFlipped) {
  double dx = 0, dy = 0;
  BaselineDirection(900, false, false, &dx, &dy);  // MM_TEXT: up the screen
  EXPECT_NEAR(dx, 0.0, 1e-12);
  EXPECT_NEAR(dy, -1.0, 1e-12);
  BaselineDirection(900, false, true, &dx, &dy);  // MM_TWIPS: down the screen
  EXPECT_NEAR(dy, 1.0, 1e-12);
  BaselineDirection(-900, false, true, &dx, &dy);
  EXPECT_NEAR(dy, -1.0, 1e-12);
}

TEST(StandInShiftJis, SplitsDoubleByteCharacters) {
  // "A", full-width B, half-width katakana "ｱ", "日".
  const char text[] = "A\x82\x61\xB1\x93\xFA";
  std::vector<ShiftJisChar> chars = DecodeShiftJis(text, 6);
  ASSERT_EQ(chars.size(), 4u);
  EXPECT_EQ(chars[0].unit, u'A');
  EXPECT_EQ(chars[1].unit, u'\uFF22');
  EXPECT_TRUE(chars[1].double_byte);
  EXPECT_EQ(chars[1].byte_offset, 1);
  EXPECT_EQ(chars[2].unit, u'\uFF71');
  EXPECT_FALSE(chars[2].double_byte);
  EXPECT_EQ(chars[3].unit, u'\u65E5');
  EXPECT_EQ(ShiftJisToUtf8(kMsMincho), "\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D");
}

TEST(StandInShiftJis, BadBytesAreReplacedNeverDropped) {
  // A lone lead byte at the end, undefined single bytes, a lead byte before a non-trail byte
  // and an unassigned double-byte code.
  EXPECT_EQ(ShiftJisToUtf16("A\x82", 2), u"A\uFF65");
  EXPECT_EQ(ShiftJisToUtf16("\x80\xA0\xFF", 3), u"\uFF65\uFF65\uFF65");
  EXPECT_EQ(ShiftJisToUtf16("\x82 ", 2), u"\uFF65 ");
  EXPECT_EQ(ShiftJisToUtf16("\xEF\x40", 2), u"\u30FB");
  EXPECT_TRUE(DecodeShiftJis(nullptr, 5).empty());
  EXPECT_TRUE(DecodeShiftJis("abc", -3).empty());
}

TEST(StandInShiftJis, WidthClassOfConvertedCharacters) {
  EXPECT_FALSE(IsFullWidth(u'A'));
  EXPECT_FALSE(IsFullWidth(u'\uFF71'));
  EXPECT_TRUE(IsFullWidth(u'\u65E5'));
  EXPECT_TRUE(IsFullWidth(u'\u30FB'));
  EXPECT_TRUE(TurnsInVerticalText(u'\u30FC'));
  EXPECT_FALSE(TurnsInVerticalText(u'\u65E5'));
  EXPECT_TRUE(ShiftsInVerticalText(u'\u3002'));
}

}  // namespace
}  // namespace tamvel::posix
