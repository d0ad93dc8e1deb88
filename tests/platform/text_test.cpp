// The stand-in's text: face resolution, Windows-like metrics of the Japanese faces, advances
// quantised to reference-device pixels, Shift-JIS conversion of bad input; and the text calls
// on a recording DC in MM_TWIPS: extents, Dx arrays with the character extra, the current
// position under TA_UPDATECP and the portable records of vertical "@" text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/emf/emf_decoder.h"
#include "platform/posix/code_page.h"
#include "platform/posix/fonts.h"
#include "platform/win32.h"
#include "tests/common/emf_test_util.h"

namespace tamvel::posix {
namespace {

// ＭＳ 明朝 and its vertical variant; 日本AB.
const char kMsMincho[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
const char kVerticalMsMincho[] = "@\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
const char kMixed[] = "\x93\xFA\x96{AB";

LOGFONTA Font(const char *face, LONG height, LONG width = 0, LONG escapement = 0) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = font.lfOrientation = escapement;
  font.lfCharSet = SHIFTJIS_CHARSET;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

// Realized for twips on the 96-dpi reference screen: 15 logical units per pixel.
RealizedFont Realize(const char *face, LONG height, LONG width = 0) {
  return RealizeFont(Font(face, height, width), 1.0 / 15.0, 1.0 / 15.0);
}

TEST(StandInFonts, FaceNamesResolveToInstalledFonts) {
  struct Case {
    const char *face;
    int weight;
    bool italic;
    Typeface typeface;
    const char *file;  // part of the font file's name
  } cases[] = {
      {kMsMincho, 400, false, Typeface::kMincho, "ipam"},
      {"\x96\xBE\x92\xA9", 400, false, Typeface::kMincho, "ipam"},  // 明朝
      {kVerticalMsMincho, 400, false, Typeface::kMincho, "ipam"},
      {"\x8A\xDB\xBA\xDE\xBC\xAF\xB8", 400, false, Typeface::kRoundGothic, "MTLmr3m"},  // 丸ｺﾞｼｯｸ
      {"\xBA\xDE\xBC\xAF\xB8", 400, false, Typeface::kGothic, "ipag"},  // ｺﾞｼｯｸ
      {"\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", 700, true, Typeface::kGothic,
       "ipag"},  // ＭＳ ゴシック
      {"Arial", 400, false, Typeface::kLatinSans, "LiberationSans-Regular"},
      {"Times New Roman", 700, false, Typeface::kLatinSerif, "LiberationSerif-Bold"},
      {"Courier New", 400, true, Typeface::kLatinMono, "LiberationMono-Italic"},
  };
  for (const Case &c : cases) {
    const ResolvedFace &face = ResolveFace(c.face, c.weight, c.italic);
    EXPECT_EQ(face.typeface, c.typeface) << c.file;
    EXPECT_NE(face.file.find(c.file), std::string::npos) << face.file;
    EXPECT_EQ(face.japanese, c.typeface < Typeface::kLatinSans) << c.file;
    EXPECT_NE(face.ft_face, nullptr) << c.file;
  }
  // Nonsense and empty names still give a usable face.
  for (const char *name : {"", static_cast<const char *>(nullptr), "\xFF\xFE\x81"}) {
    EXPECT_NE(ResolveFace(name, 400, false).ft_face, nullptr);
  }
  EXPECT_TRUE(IsVerticalFace(kVerticalMsMincho));
  EXPECT_FALSE(IsVerticalFace(kMsMincho));
}

TEST(StandInFonts, JapaneseCellHeightIsTheEm) {
  // 5 mm in twips is 283: 18.87 px, realised as 19 px (the text metrics below give the rest).
  RealizedFont font = Realize(kMsMincho, 283);
  EXPECT_EQ(font.height, 19);
  EXPECT_DOUBLE_EQ(font.ppem, 19.0);
  EXPECT_EQ(font.full_advance, 19);
  // Negative heights give the em, which is the same for these faces.
  EXPECT_EQ(Realize(kMsMincho, -283).height, 19);
  // Kanji mode for 5 mm: lfWidth 142 twips = 9.47 px, realised as 9 px half-width.
  RealizedFont narrow = Realize(kMsMincho, 283, 142);
  EXPECT_EQ(narrow.half_advance, 9);
  EXPECT_NEAR(narrow.x_scale, 9.0 / 9.5, 1e-9);
}

TEST(StandInFonts, LatinFacesUseTheirOwnMetrics) {
  // Liberation Sans: winAscent 1854, winDescent 434 of 2048; a 20 px cell has a 17.9 px em.
  RealizedFont font = Realize("Arial", 300);
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
  EXPECT_GT(Realize(kMsMincho, 0).height, 0);
  RealizedFont huge = Realize(kMsMincho, 0x7FFFFFFF, -0x7FFFFFFF);
  EXPECT_GT(huge.height, 0);
  EXPECT_LE(huge.height, 1000000);
  EXPECT_GT(huge.full_advance, 0);
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
  EXPECT_EQ(Cp932ToUtf8(kMsMincho), "\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D");
}

TEST(StandInShiftJis, BytesConvertAsWindowsConvertsThem) {
  // Single bytes outside JIS keep their own characters, both ways.
  const std::string extras("\x80\xA0\xFD\xFE\xFF", 5);
  EXPECT_EQ(Cp932ToUtf16(extras), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
  EXPECT_EQ(Utf16ToCp932(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), extras);
  EXPECT_EQ(Utf16ToCp932(u"A\uFF22\u65E5"), "A\x82\x61\x93\xFA");
  EXPECT_EQ(Utf16ToCp932(u"\u00E9\u0100"), "??");  // no code in the code page
  // A lone lead byte at the end, a lead byte before a non-trail byte and an unassigned
  // double-byte code are replaced, never dropped.
  EXPECT_EQ(Cp932ToUtf16(std::string_view("A\x82", 2)), u"A\uFF65");
  EXPECT_EQ(Cp932ToUtf16(std::string_view("\x82 ", 2)), u"\uFF65 ");
  EXPECT_EQ(Cp932ToUtf16(std::string_view("\xEF\x40", 2)), u"\u30FB");
  EXPECT_EQ(Cp932ToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
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

class StandInTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    SetMapMode(dc_, MM_TWIPS);
  }
  void TearDown() override {
    if (dc_ != nullptr) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    for (HFONT font : fonts_) DeleteObject(font);
  }
  void UseFont(const char *face, LONG height, LONG width = 0, LONG escapement = 0) {
    const LOGFONTA log = Font(face, height, width, escapement);
    fonts_.push_back(CreateFontIndirectA(&log));
    ASSERT_NE(fonts_.back(), nullptr);
    SelectObject(dc_, fonts_.back());
  }
  POINT Position() const {
    POINT p{};
    GetCurrentPositionEx(dc_, &p);
    return p;
  }
  emf::DecodeResult Finish() {
    HENHMETAFILE emf = CloseEnhMetaFile(dc_);
    dc_ = nullptr;
    emf::DecodeResult result = test::DecodeMetafile(emf);
    DeleteEnhMetaFile(emf);
    EXPECT_TRUE(result.ok()) << test::ProblemsText(result);
    return result;
  }

  HDC dc_ = nullptr;
  std::vector<HFONT> fonts_;
};

TEST_F(StandInTextTest, ExtentsAreWholeReferencePixels) {
  UseFont(kMsMincho, 283, 142);  // kanji mode for 5 mm
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32A(dc_, kMixed, 6, &size));
  // Two full-width characters of 18 px, two half-width ones of 9 px, a 19 px cell.
  EXPECT_EQ(size.cx, (18 + 18 + 9 + 9) * 15);
  EXPECT_EQ(size.cy, 19 * 15);
  SetTextCharacterExtra(dc_, 27);  // 1.8 px: 2 px on every character
  ASSERT_TRUE(GetTextExtentPointA(dc_, kMixed, 6, &size));
  EXPECT_EQ(size.cx, (18 + 18 + 9 + 9 + 4 * 2) * 15);
  EXPECT_FALSE(GetTextExtentPoint32A(dc_, kMixed, -1, &size));
  EXPECT_TRUE(GetTextExtentPoint32A(dc_, kMixed, 0, &size));
  EXPECT_EQ(size.cx, 0);
}

TEST_F(StandInTextTest, MetricsAndFaceFollowTheWindowsFaces) {
  UseFont(kVerticalMsMincho, 283);
  TEXTMETRICA metrics{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &metrics));
  EXPECT_EQ(metrics.tmHeight, 285);  // 19 px, ascent 16 px
  EXPECT_EQ(metrics.tmAscent, 240);
  EXPECT_EQ(metrics.tmDescent, 45);
  EXPECT_EQ(metrics.tmInternalLeading, 0);
  EXPECT_EQ(metrics.tmAveCharWidth, 150);
  char face[32] = {};
  EXPECT_EQ(GetTextFaceA(dc_, sizeof(face), face), 10);
  EXPECT_STREQ(face, kVerticalMsMincho);
  EXPECT_EQ(GetTextFaceA(dc_, 4, face), 3);
  EXPECT_EQ(GetTextFaceA(dc_, 0, nullptr), 11);
}

TEST_F(StandInTextTest, TextRecordCarriesTheFullDxArray) {
  UseFont(kMsMincho, 283, 142);
  SetTextCharacterExtra(dc_, 10);  // 0.67 px: 1 px
  SetTextAlign(dc_, TA_BOTTOM | TA_LEFT);
  ASSERT_TRUE(TextOutA(dc_, 1000, 2000, kMixed, 6));
  EXPECT_FALSE(TextOutA(dc_, 1000, 2000, nullptr, 3));
  const emf::DecodeResult result = Finish();
  const emf::Text *text = test::FirstView<emf::Text>(result, emf::kExtTextOutW);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, u"\u65E5\u672CAB");
  EXPECT_EQ(text->reference, (emf::Point{1000, 2000}));
  EXPECT_EQ(text->graphics_mode, 1u);
  EXPECT_EQ(text->dx, (std::vector<int32_t>{285, 285, 150, 150}));
}

TEST_F(StandInTextTest, UpdateCpMovesThePositionAsGdiDoes) {
  UseFont(kMsMincho, 300);  // 20 px: half-width characters of 10 px
  SetTextAlign(dc_, TA_UPDATECP | TA_LEFT | TA_BASELINE);
  MoveToEx(dc_, 1000, 1000, nullptr);
  TextOutA(dc_, 0, 0, "AB", 2);
  EXPECT_EQ(Position().x, 1000 + 300);
  SetTextAlign(dc_, TA_UPDATECP | TA_RIGHT | TA_BASELINE);
  TextOutA(dc_, 0, 0, "AB", 2);
  EXPECT_EQ(Position().x, 1000);
  SetTextAlign(dc_, TA_UPDATECP | TA_CENTER | TA_BASELINE);
  TextOutA(dc_, 0, 0, "AB", 2);
  EXPECT_EQ(Position().x, 1000);
  const emf::DecodeResult result = Finish();
  const auto texts = test::Views<emf::Text>(result, emf::kExtTextOutW);
  ASSERT_EQ(texts.size(), 3u);
  // Each record names the current position as its reference; the align is recorded without
  // TA_UPDATECP.
  EXPECT_EQ(texts[0]->reference, (emf::Point{1000, 1000}));
  EXPECT_EQ(texts[1]->reference, (emf::Point{1300, 1000}));
  EXPECT_EQ(texts[2]->reference, (emf::Point{1000, 1000}));
  for (const emf::Value *align : test::Views<emf::Value>(result, emf::kSetTextAlign)) {
    EXPECT_EQ(align->value & TA_UPDATECP, 0u);
  }
}

TEST_F(StandInTextTest, RotatedTextMovesAlongItsBaseline) {
  // In a y-up mode an escapement of -900 runs up the page, 900 down it.
  MoveToEx(dc_, 1000, 1000, nullptr);
  SetTextAlign(dc_, TA_UPDATECP | TA_LEFT | TA_BOTTOM);
  for (LONG escapement : {-900, 900}) {
    UseFont(kMsMincho, 300, 0, escapement);
    TextOutA(dc_, 0, 0, "AB", 2);
    EXPECT_EQ(Position().x, 1000);
    EXPECT_EQ(Position().y, escapement < 0 ? 1300 : 1000);
  }
}

TEST_F(StandInTextTest, VerticalTextIsWrittenPortably) {
  // Vertical writing as the library does it: the "@" face turned to run down the page.
  UseFont(kVerticalMsMincho, 300, 150, 900);
  SetTextAlign(dc_, TA_UPDATECP | TA_LEFT | TA_BOTTOM);
  MoveToEx(dc_, 3000, 5000, nullptr);
  TextOutA(dc_, 0, 0, kMixed, 6);
  EXPECT_EQ(Position().x, 3000);
  EXPECT_EQ(Position().y, 5000 - 3 * 300);  // two full-width, two half-width characters
  const emf::DecodeResult result = Finish();
  const auto texts = test::Views<emf::Text>(result, emf::kExtTextOutW);
  ASSERT_EQ(texts.size(), 3u);  // 日, 本 upright, "AB" turned
  EXPECT_EQ(texts[0]->text, u"\u65E5");
  EXPECT_EQ(texts[1]->text, u"\u672C");
  EXPECT_EQ(texts[2]->text, u"AB");
  // The upright characters step down the column, one em each.
  EXPECT_EQ(texts[0]->reference.y - texts[1]->reference.y, 300);
  EXPECT_EQ(texts[0]->reference.x, texts[1]->reference.x);
  // The fonts written for them have no "@" and stand upright or run with the column.
  bool upright_font = false;
  bool turned_font = false;
  for (const emf::Font *font : test::Views<emf::Font>(result, emf::kExtCreateFontIndirectW)) {
    if (font->font.face.empty() || font->font.face[0] == u'@') continue;
    upright_font = upright_font || font->font.escapement == 0;
    turned_font = turned_font || font->font.escapement == 900;
  }
  EXPECT_TRUE(upright_font);
  EXPECT_TRUE(turned_font);
}

// Escapements at the 32-bit limits are read within one turn, as GDI reads them: the upright
// characters of a column written at INT32_MIN stand a quarter turn from it, computed without
// overflow (a sanitizer build reports any).
TEST_F(StandInTextTest, VerticalTextAtTheEscapementLimits) {
  for (LONG escapement : {INT32_MIN, INT32_MAX}) {
    UseFont(kVerticalMsMincho, 300, 150, escapement);
    TextOutA(dc_, 0, 0, kMixed, 6);
  }
  const emf::DecodeResult result = Finish();
  for (const emf::Font *font : test::Views<emf::Font>(result, emf::kExtCreateFontIndirectW)) {
    if (font->font.face.empty() || font->font.face[0] == u'@') continue;
    EXPECT_TRUE(font->font.escapement == INT32_MIN || font->font.escapement == INT32_MAX ||
                std::abs(font->font.escapement) < 3600)
        << font->font.escapement;
  }
}

}  // namespace
}  // namespace tamvel::posix
