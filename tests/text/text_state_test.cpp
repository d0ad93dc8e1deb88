// Text state: typeface codes, weight, styles, angle, spacings, alignment codes and the font
// sizing of the text calls.
#include "src/text/text_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

const LOGFONTA &Font() { return CurrentPage().FontDescription(); }

std::string Face() { return Font().lfFaceName; }

std::pair<int32_t, int32_t> Getfon() {
  int32_t code = -1;
  int32_t vertical = -1;
  GETFON(&code, &vertical);
  return {code, vertical};
}

int32_t Getalg() {
  int32_t code = -1;
  GETALG(&code);
  return code;
}

class TextStateTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    PLOTS(210.0f, 297.0f, 0);
  }
  void TearDown() override {
    SetTextCallMode(kNoTextCall);
    test::LibraryTest::TearDown();
  }
};

constexpr char kMsMincho[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";

TEST_F(TextStateTest, TypefaceCodesAndTheirReport) {
  SETFON(4, 0);
  EXPECT_EQ(Face(), kMsMincho);
  EXPECT_EQ(Getfon(), std::make_pair(0, 0));
  SETFON(99, 1);
  EXPECT_EQ(Face(), std::string("@") + kMsMincho);
  EXPECT_EQ(Getfon(), std::make_pair(0, 1));
  SETFON(21, 0);
  EXPECT_EQ(Getfon(), std::make_pair(6, 0));
  SETFON(2, 7);
  EXPECT_EQ(Face(), "@\x8a\xdb\xba\xde\xbc\xaf\xb8");
  EXPECT_EQ(Getfon(), std::make_pair(2, 1));
  ACSSET(3);
  EXPECT_EQ(Face(), "\xba\xde\xbc\xaf\xb8");
  EXPECT_EQ(Getfon(), std::make_pair(3, 0));
  SETFON(1, 0);
  EXPECT_EQ(Getfon(), std::make_pair(1, 0));
  GETFON(nullptr, nullptr);
}

TEST_F(TextStateTest, UnknownFacesReportCodeOne) {
  FontState state;
  CurrentPage().ReadFontState(&state);
  std::strcpy(state.face, "@Unknown");
  CurrentPage().ApplyFontState(state);
  EXPECT_EQ(Getfon(), std::make_pair(1, 1));
  std::strcpy(state.face, "Unknown");
  CurrentPage().ApplyFontState(state);
  EXPECT_EQ(Getfon(), std::make_pair(1, 0));
}

TEST(TextStateFreshPage, InitialFaceReportsCodeSix) {
  DetachLibrary();
  ASSERT_TRUE(AttachLibrary());
  EXPECT_EQ(Getfon(), std::make_pair(6, 0));
  EXPECT_EQ(Getalg(), 12);  // flags 0 without a recording
  SETALG(2);                // no effect without a recording
  EXPECT_EQ(Getalg(), 12);
  SETWEIGHT(700);  // stored all the same
  int32_t weight = 0;
  GETWEIGHT(&weight);
  EXPECT_EQ(weight, 700);
  DetachLibrary();
}

TEST_F(TextStateTest, WeightAndStyles) {
  int32_t weight = -1;
  SETWEIGHT(-5);
  GETWEIGHT(&weight);
  EXPECT_EQ(weight, 0);
  SETWEIGHT(5000);
  GETWEIGHT(&weight);
  EXPECT_EQ(weight, 1000);
  GETWEIGHT(nullptr);
  SETFONETC(1, 0x1FF, 0x100);
  EXPECT_EQ(Font().lfItalic, 1);
  EXPECT_EQ(Font().lfUnderline, 0xFF);
  EXPECT_EQ(Font().lfStrikeOut, 0);
}

TEST_F(TextStateTest, AnglesAreMeasuredAgainstTheRotation) {
  ROTATE(15.0f);
  SETDEG(30.0f);
  EXPECT_EQ(Font().lfEscapement, -450);
  EXPECT_EQ(Font().lfOrientation, -450);
  float angle = 0.0f;
  GETDEG(&angle);
  EXPECT_EQ(angle, 30.0f);
  ROTATE(0.0f);
  SETDEG(0.05f);
  EXPECT_EQ(Font().lfEscapement, 0);
  GETDEG(&angle);
  EXPECT_EQ(angle, 0.0f);
  SETDEG(std::numeric_limits<float>::infinity());
  EXPECT_EQ(Font().lfEscapement, -INT32_MAX);  // saturated
  GETDEG(nullptr);
}

TEST_F(TextStateTest, FontRecordCarriesTheFixedFields) {
  SETDEG(90.0f);
  SETWEIGHT(700);
  const emf::DecodeResult page = test::ClosePage();
  const auto fonts = test::FindRecords(page, emf::EMR_EXTCREATEFONTINDIRECTW);
  ASSERT_FALSE(fonts.empty());
  const emf::LogFont &font = fonts.back()->As<emf::Font>()->font;
  EXPECT_EQ(font.escapement, -900);
  EXPECT_EQ(font.orientation, -900);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.clip_precision, CLIP_LH_ANGLES);
  EXPECT_EQ(font.out_precision, 0);
  EXPECT_EQ(font.face, u"ＭＳ 明朝");
}

TEST_F(TextStateTest, SpacingLimits) {
  float spacing = 0.0f;
  SPACE(1.0f);
  GETOFF(nullptr, nullptr, nullptr, nullptr, &spacing);
  EXPECT_EQ(spacing, 3.5f);
  SPACE(100.0f);
  EXPECT_EQ(CurrentState().char_spacing, 69.0f);
  SPACEC(0.1f);
  EXPECT_EQ(CurrentState().char_spacing, 4.0f);
  SPACEC(20.0f);
  EXPECT_EQ(CurrentState().char_spacing, 69.0f);
  SPACE(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(CurrentState().char_spacing, 3.5f);
}

TEST_F(TextStateTest, KanjiSpacings) {
  float h = 0.0f;
  float v = 0.0f;
  KSPACE(-36.0f);
  GETKSP(&h, &v);
  EXPECT_EQ(h, 35.0f);
  EXPECT_EQ(v, 36.0f);
  KSPACC(1.25f);
  GETKSP(&h, &v);
  EXPECT_EQ(h, 40.0f);
  EXPECT_EQ(v, 36.0f);
  KSPACE(0.0f);
  GETKSP(&h, &v);
  EXPECT_EQ(h, 35.0f);
  EXPECT_EQ(v, 40.0f);
  KSPACC(-2.0f);
  GETKSP(&h, nullptr);
  EXPECT_EQ(CurrentState().kanji_v_spacing, 64.0f);
}

TEST_F(TextStateTest, FitFontToHeightBySymbolAndKanjiModes) {
  SetTextCallMode(kSymbolText);
  FitFontToHeight(3.0f);
  EXPECT_EQ(Font().lfHeight, 170);
  EXPECT_EQ(Font().lfWidth, 97);
  SetTextCallMode(kKanjiHorizontalText);
  FitFontToHeight(5.0f);
  EXPECT_EQ(Font().lfHeight, 283);
  EXPECT_EQ(Font().lfWidth, 142);
  SetTextCallMode(kNoTextCall);
  FACTOR(2.0f);
  FitFontToHeight(5.0f);
  EXPECT_EQ(Font().lfHeight, 142);
  EXPECT_EQ(Font().lfWidth, 0);
  FitFontToHeight(std::numeric_limits<float>::quiet_NaN());  // saturates, never traps
  EXPECT_EQ(Font().lfHeight, 0);
}

TEST_F(TextStateTest, CharacterExtraOfTheSizingAndOfSetspc) {
  // The recording DC's character extra is read back through the stand-in's DC.
  const HDC dc = CurrentPage().RecordingDc();
  SetTextCallMode(kSymbolText);
  FitFontToHeight(3.0f);
  EXPECT_EQ(GetTextCharacterExtra(dc), 49);
  SetTextCallMode(kKanjiHorizontalText);
  FitFontToHeight(5.0f);
  EXPECT_EQ(GetTextCharacterExtra(dc), 27);
  SetTextCallMode(kKanjiVerticalText);
  FitFontToHeight(5.0f);
  EXPECT_EQ(GetTextCharacterExtra(dc), 71);  // 5 * 56.6929 * 8 / 32 = 70.87
  SetTextCallMode(kNoTextCall);
  FitFontToHeight(5.0f);
  EXPECT_EQ(GetTextCharacterExtra(dc), 0);
  FACTOR(2.0f);
  SETSPC(1.0f);  // 28.35: truncated
  EXPECT_EQ(GetTextCharacterExtra(dc), 28);
}

TEST_F(TextStateTest, AlignmentCodes) {
  EXPECT_EQ(Getalg(), 2);
  SETALG(2);
  EXPECT_EQ(Getalg(), 22);
  SetHorizontalAlign(1);
  EXPECT_EQ(Getalg(), 21);
  SETALG(1);
  EXPECT_EQ(Getalg(), 11);
  SetHorizontalAlign(30);  // units digit 0: right
  EXPECT_EQ(Getalg(), 10);
  SETALG(7);
  EXPECT_EQ(Getalg(), 0);
  SetHorizontalAlign(-3);
  EXPECT_EQ(Getalg(), 2);
  EXPECT_EQ(CurrentPage().GetTextAlignFlags() & TA_UPDATECP, static_cast<UINT>(TA_UPDATECP));
  GETALG(nullptr);
}

}  // namespace
}  // namespace tamvel
