// The stand-in's text calls on a recording DC in MM_TWIPS: extents quantised to reference
// pixels, Dx arrays with the character extra, the current position under TA_UPDATECP, and
// the portable records of vertical "@" text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/emf/emf_decoder.h"
#include "platform/win32.h"
#include "tests/common/emf_test_util.h"

namespace tamvel {
namespace {

// ＭＳ 明朝 and its vertical variant.
const char kMincho[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
const char kVerticalMincho[] = "@\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
// 日本 AB
const char kMixed[] = "\x93\xFA\x96{AB";

class StandInTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const RECT frame{0, 0, 21000, 29700};
    dc_ = CreateEnhMetaFileA(nullptr, nullptr, &frame, "text\0\0");
    ASSERT_NE(dc_, nullptr);
    SetMapMode(dc_, MM_TWIPS);
  }
  void TearDown() override {
    if (dc_ != nullptr) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    if (font_ != nullptr) DeleteObject(font_);
  }
  void UseFont(const char *face, LONG height, LONG width = 0, LONG escapement = 0) {
    LOGFONTA log{};
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = escapement;
    log.lfCharSet = SHIFTJIS_CHARSET;
    std::strncpy(log.lfFaceName, face, LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectA(&log);
    ASSERT_NE(font, nullptr);
    SelectObject(dc_, font);
    if (font_ != nullptr) DeleteObject(font_);
    font_ = font;
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
    return result;
  }

  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
};

TEST_F(StandInTextTest, ExtentsAreWholeReferencePixels) {
  UseFont(kMincho, 283, 142);  // kanji mode for 5 mm
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
  UseFont(kVerticalMincho, 283);
  TEXTMETRICA metrics{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &metrics));
  EXPECT_EQ(metrics.tmHeight, 285);
  EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, metrics.tmHeight);
  EXPECT_EQ(metrics.tmInternalLeading, 0);
  EXPECT_EQ(metrics.tmAveCharWidth, 150);
  char face[32] = {};
  EXPECT_EQ(GetTextFaceA(dc_, sizeof(face), face), 10);
  EXPECT_STREQ(face, kVerticalMincho);
  EXPECT_EQ(GetTextFaceA(dc_, 4, face), 3);
  EXPECT_EQ(GetTextFaceA(dc_, 0, nullptr), 11);
}

TEST_F(StandInTextTest, TextRecordCarriesTheFullDxArray) {
  UseFont(kMincho, 283, 142);
  SetTextCharacterExtra(dc_, 10);  // 0.67 px: 1 px
  SetTextAlign(dc_, TA_BOTTOM | TA_LEFT);
  ASSERT_TRUE(TextOutA(dc_, 1000, 2000, kMixed, 6));
  EXPECT_FALSE(TextOutA(dc_, 1000, 2000, nullptr, 3));
  const emf::DecodeResult result = Finish();
  ASSERT_TRUE(result.ok()) << test::ProblemsText(result);
  const emf::Text *text = test::FirstView<emf::Text>(result, emf::EMR_EXTTEXTOUTW);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, u"\u65E5\u672CAB");
  EXPECT_EQ(text->reference, (emf::Point{1000, 2000}));
  EXPECT_EQ(text->graphics_mode, 1u);
  EXPECT_EQ(text->dx, (std::vector<int32_t>{285, 285, 150, 150}));
}

TEST_F(StandInTextTest, UpdateCpMovesThePositionAsGdiDoes) {
  UseFont(kMincho, 300);  // 20 px: half-width characters of 10 px
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
  const auto texts = test::Views<emf::Text>(result, emf::EMR_EXTTEXTOUTW);
  ASSERT_EQ(texts.size(), 3u);
  // Each record names the current position as its reference; the align is recorded without
  // TA_UPDATECP.
  EXPECT_EQ(texts[0]->reference, (emf::Point{1000, 1000}));
  EXPECT_EQ(texts[1]->reference, (emf::Point{1300, 1000}));
  EXPECT_EQ(texts[2]->reference, (emf::Point{1000, 1000}));
  for (const emf::Value *align : test::Views<emf::Value>(result, emf::EMR_SETTEXTALIGN)) {
    EXPECT_EQ(align->value & TA_UPDATECP, 0u);
  }
}

TEST_F(StandInTextTest, RotatedTextMovesAlongItsBaseline) {
  // In a y-up mode an escapement of -900 runs up the page.
  UseFont(kMincho, 300, 0, -900);
  SetTextAlign(dc_, TA_UPDATECP | TA_LEFT | TA_BOTTOM);
  MoveToEx(dc_, 1000, 1000, nullptr);
  TextOutA(dc_, 0, 0, "AB", 2);
  EXPECT_EQ(Position().x, 1000);
  EXPECT_EQ(Position().y, 1300);
}

TEST_F(StandInTextTest, VerticalTextIsWrittenPortably) {
  // Vertical writing as the library does it: the "@" face turned to run down the page.
  UseFont(kVerticalMincho, 300, 150, 900);
  SetTextAlign(dc_, TA_UPDATECP | TA_LEFT | TA_BOTTOM);
  MoveToEx(dc_, 3000, 5000, nullptr);
  TextOutA(dc_, 0, 0, kMixed, 6);
  EXPECT_EQ(Position().x, 3000);
  EXPECT_EQ(Position().y, 5000 - 3 * 300);  // two full-width, two half-width characters
  const emf::DecodeResult result = Finish();
  ASSERT_TRUE(result.ok()) << test::ProblemsText(result);
  const auto texts = test::Views<emf::Text>(result, emf::EMR_EXTTEXTOUTW);
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
  for (const emf::Font *font : test::Views<emf::Font>(result, emf::EMR_EXTCREATEFONTINDIRECTW)) {
    if (font->font.face.empty() || font->font.face[0] == u'@') continue;
    upright_font = upright_font || font->font.escapement == 0;
    turned_font = turned_font || font->font.escapement == 900;
  }
  EXPECT_TRUE(upright_font);
  EXPECT_TRUE(turned_font);
}

TEST_F(StandInTextTest, BadShiftJisIsReplaced) {
  UseFont(kMincho, 300);
  ASSERT_TRUE(TextOutA(dc_, 0, 0, "A\x82", 2));
  ASSERT_TRUE(TextOutA(dc_, 0, 0, "\xFF\x80\xEF\x40", 4));
  const emf::DecodeResult result = Finish();
  const auto texts = test::Views<emf::Text>(result, emf::EMR_EXTTEXTOUTW);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->text, u"A\uFF65");
  EXPECT_EQ(texts[1]->text, u"\uFF65\uFF65\u30FB");
}

}  // namespace
}  // namespace tamvel
