// Text state: typeface codes, weight, styles, angle, spacings, alignment codes and the font
// sizing of the text calls.
#include "src/text/text_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "tests/text/text_test_support.h"

namespace tamvel {
namespace {

using testing::Getalg;
using testing::Getfon;

const LOGFONTA &Font() { return CurrentPage().FontDescription(); }

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
  const struct {
    int32_t code, vertical;
    std::string face;  // empty: not looked at
    std::pair<int32_t, int32_t> reported;
  } cases[] = {
      {4, 0, kMsMincho, {0, 0}}, {99, 1, std::string("@") + kMsMincho, {0, 1}},
      {21, 0, "", {6, 0}},       {2, 7, "@\x8a\xdb\xba\xde\xbc\xaf\xb8", {2, 1}},
      {1, 0, "", {1, 0}},
  };
  for (const auto &c : cases) {
    SETFON(c.code, c.vertical);
    if (!c.face.empty()) {
      EXPECT_EQ(Font().lfFaceName, c.face) << c.code;
    }
    EXPECT_EQ(Getfon(), c.reported) << c.code;
  }
  ACSSET(3);
  EXPECT_EQ(std::string(Font().lfFaceName), "\xba\xde\xbc\xaf\xb8");
  EXPECT_EQ(Getfon(), std::pair(3, 0));
  GETFON(nullptr, nullptr);
  // Faces outside the table report code 1.
  FontState state;
  CurrentPage().ReadFontState(&state);
  std::strcpy(state.face, "@Unknown");
  CurrentPage().ApplyFontState(state);
  EXPECT_EQ(Getfon(), std::pair(1, 1));
  std::strcpy(state.face, "Unknown");
  CurrentPage().ApplyFontState(state);
  EXPECT_EQ(Getfon(), std::pair(1, 0));
}

TEST(TextStateFreshPage, InitialFaceReportsCodeSix) {
  DetachLibrary();
  ASSERT_TRUE(AttachLibrary());
  EXPECT_EQ(Getfon(), std::pair(6, 0));
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
  EXPECT_EQ(testing::Getdeg(), 30.0f);
  ROTATE(0.0f);
  SETDEG(0.05f);
  EXPECT_EQ(Font().lfEscapement, 0);
  EXPECT_EQ(testing::Getdeg(), 0.0f);
  SETDEG(std::numeric_limits<float>::infinity());  // not finite: counts as 0
  EXPECT_EQ(Font().lfEscapement, 0);
  SETDEG(3.0e9f);  // tenths beyond 32 bits: within one turn, 120 degrees
  EXPECT_EQ(Font().lfEscapement, -1200);
  SETDEG(400.0f);  // tenths that fit are kept
  EXPECT_EQ(Font().lfEscapement, -4000);
  GETDEG(nullptr);
}

TEST_F(TextStateTest, FontRecordCarriesTheFixedFields) {
  SETDEG(90.0f);
  SETWEIGHT(700);
  const emf::DecodeResult page = test::ClosePage();
  const auto fonts = test::FindRecords(page, emf::kExtCreateFontIndirectW);
  ASSERT_FALSE(fonts.empty());
  const emf::LogFont &font = fonts.back()->As<emf::Font>()->font;
  EXPECT_EQ(font.escapement, -900);
  EXPECT_EQ(font.orientation, -900);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.out_precision, 0);
  EXPECT_EQ(font.face, u"ＭＳ 明朝");  // charset and clipping as on a new page (emf_page_test)
}

TEST_F(TextStateTest, SpacingLimits) {
  float spacing = 0.0f;
  SPACE(1.0f);
  GETOFF(nullptr, nullptr, nullptr, nullptr, &spacing);
  EXPECT_EQ(spacing, 3.5f);
  // SPACE in millimetres, SPACEC as a ratio of 32: at least 3.5 (4.0 for SPACEC), at most 69.
  const struct {
    decltype(&SPACE) set;
    float value, spacing;
  } cases[] = {{SPACE, 100.0f, 69.0f},
               {SPACEC, 0.1f, 4.0f},
               {SPACEC, 20.0f, 69.0f},
               {SPACE, std::numeric_limits<float>::quiet_NaN(), 3.5f}};
  for (const auto &c : cases) {
    c.set(c.value);
    EXPECT_EQ(CurrentState().char_spacing, c.spacing) << c.value;
  }
}

TEST_F(TextStateTest, KanjiSpacings) {
  // A negative spacing sets the vertical one, 0 both defaults (35, 40); KSPACC is a ratio of 32.
  const struct {
    decltype(&SPACE) set;
    float value, horizontal, vertical;
  } cases[] = {{KSPACE, -36.0f, 35.0f, 36.0f},
               {KSPACC, 1.25f, 40.0f, 36.0f},
               {KSPACE, 0.0f, 35.0f, 40.0f},
               {KSPACC, -2.0f, 35.0f, 64.0f}};
  for (const auto &c : cases) {
    c.set(c.value);
    float h = 0.0f, v = 0.0f;
    GETKSP(&h, &v);
    EXPECT_EQ(std::pair(h, v), std::pair(c.horizontal, c.vertical)) << c.value;
  }
  GETKSP(nullptr, nullptr);
}

TEST_F(TextStateTest, FitFontToHeightAndTheCharacterExtraOfEachMode) {
  // The recording DC's character extra is read back through the stand-in's DC.
  const HDC dc = CurrentPage().RecordingDc();
  const struct {
    TextCallMode mode;
    float height;
    LONG font_height, font_width;  // font_width -1: not looked at
    int extra;
  } cases[] = {
      {kSymbolText, 3.0f, 170, 97, 49},
      {kKanjiHorizontalText, 5.0f, 283, 142, 27},
      {kKanjiVerticalText, 5.0f, 283, -1, 71},  // 5 * 56.6929 * 8 / 32 = 70.87
      {kNoTextCall, 5.0f, 283, 0, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.mode);
    SetTextCallMode(c.mode);
    FitFontToHeight(c.height);
    EXPECT_EQ(Font().lfHeight, c.font_height);
    if (c.font_width >= 0) {
      EXPECT_EQ(Font().lfWidth, c.font_width);
    }
    EXPECT_EQ(GetTextCharacterExtra(dc), c.extra);
  }
  FACTOR(2.0f);
  FitFontToHeight(5.0f);
  EXPECT_EQ(Font().lfHeight, 142);
  SETSPC(1.0f);  // 28.35: truncated
  EXPECT_EQ(GetTextCharacterExtra(dc), 28);
  FitFontToHeight(std::numeric_limits<float>::quiet_NaN());  // saturates, never traps
  EXPECT_EQ(Font().lfHeight, 0);
}

TEST_F(TextStateTest, AlignmentCodes) {
  EXPECT_EQ(Getalg(), 2);
  const struct {
    bool setalg;  // else SetHorizontalAlign
    int32_t value, code;
  } steps[] = {{true, 2, 22}, {false, 1, 21},
               {true, 1, 11}, {false, 30, 10},  // units digit 0: right
               {true, 7, 0},  {false, -3, 2}};
  for (const auto &step : steps) {
    if (step.setalg) {
      SETALG(step.value);
    } else {
      SetHorizontalAlign(step.value);
    }
    EXPECT_EQ(Getalg(), step.code) << step.value;
  }
  EXPECT_EQ(CurrentPage().GetTextAlignFlags() & TA_UPDATECP, static_cast<UINT>(TA_UPDATECP));
  GETALG(nullptr);
}

}  // namespace
}  // namespace tamvel
