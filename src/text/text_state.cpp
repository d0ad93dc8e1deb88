// Text state of the current page: typeface, weight, styles, angle, character extra, alignment
// and the character and kanji spacings; FitFontToHeight sizes the page font for a text call.
#include "src/text/text_state.h"

#include <cmath>
#include <cstring>

#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"

namespace tamvel {
namespace {

TextCallMode g_text_call_mode = kNoTextCall;

constexpr float kDefaultKanjiHSpacing = 35.0f;
constexpr float kDefaultKanjiVSpacing = 40.0f;

// Shift-JIS face names; the vertical variant of each is the same name after an "@".
constexpr char kMincho[] = "@\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";  // ＭＳ 明朝
constexpr char kPlainMincho[] = "@\x96\xbe\x92\xa9";                 // 明朝
constexpr char kRoundGothic[] = "@\x8a\xdb\xba\xde\xbc\xaf\xb8";     // 丸ｺﾞｼｯｸ
constexpr char kGothic[] = "@\xba\xde\xbc\xaf\xb8";                  // ｺﾞｼｯｸ
constexpr char kMsGothic[] =
    "@\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック

struct Typeface {
  int32_t code;
  const char *vertical_face;  // horizontal face: the same without the leading "@"
};

// In the order GETFON compares them: codes 20 and 21 share the face of 6, which wins.
constexpr Typeface kTypefaces[] = {
    {0, kMincho},   {1, kPlainMincho}, {2, kRoundGothic}, {3, kGothic},
    {6, kMsGothic}, {20, kMsGothic},   {21, kMsGothic},
};

const char *FaceForCode(int32_t code, bool vertical) {
  const char *face = kMincho;  // codes outside the table
  for (const Typeface &t : kTypefaces) {
    if (t.code == code) face = t.vertical_face;
  }
  return vertical ? face : face + 1;
}

FontState ReadCurrentFont() {
  FontState state;
  CurrentPage().ReadFontState(&state);
  return state;
}

void SetFace(FontState *state, const char *face) {
  std::memset(state->face, 0, sizeof(state->face));
  std::strncpy(state->face, face, kFaceNameBytes - 1);
}

// rnd(x) of the sizing rules: trunc(x + 0.5), saturated.
int32_t RoundUp(double value) { return TruncToInt32(value + 0.5); }

// Text-align flags of the two references: horizontal from a units digit (0 right, 1 centre,
// other left), vertical from a tens digit (2 baseline, 1 top, other bottom).
UINT HorizontalFlags(int32_t digit) {
  if (digit == 0) return TA_RIGHT;
  if (digit == 1) return TA_CENTER;
  return TA_LEFT;
}
UINT VerticalFlags(int32_t digit) {
  if (digit == 2) return TA_BASELINE;
  if (digit == 1) return TA_TOP;
  return TA_BOTTOM;
}

// The current text-align flags as an alignment code: tens vertical, units horizontal.
int32_t AlignmentCode() {
  UINT a = CurrentPage().GetTextAlignFlags();
  int32_t code = 0;
  if (a >= TA_BASELINE) {
    a -= TA_BASELINE;
    code = 20;
  } else if (a >= TA_BOTTOM) {
    a -= TA_BOTTOM;
  } else {
    code = 10;
  }
  if (a >= TA_CENTER) {
    code += 1;
  } else if (a < TA_RIGHT) {
    code += 2;
  }
  return code;
}

// A spacing clamped into its range; NaN takes the lower bound.
float Clamp(float value, float lower, float upper) {
  if (!(value >= lower)) return lower;
  return value > upper ? upper : value;
}

void SetKanjiSpacing(float spacing) {
  PlotState &s = CurrentState();
  if (spacing == 0.0f) {
    s.kanji_h_spacing = kDefaultKanjiHSpacing;
    s.kanji_v_spacing = kDefaultKanjiVSpacing;
  } else if (spacing < 0.0f) {
    s.kanji_v_spacing = -spacing;
  } else {
    s.kanji_h_spacing = spacing;  // also NaN: no limits are applied
  }
}

}  // namespace

TextCallMode CurrentTextCallMode() { return g_text_call_mode; }

void SetTextCallMode(TextCallMode mode) { g_text_call_mode = mode; }

float TextAngle(float angle) {
  if (!std::isfinite(angle)) return 0.0f;
  if (std::fabs(angle * 10.0) < static_cast<double>(INT32_MAX)) return angle;
  return static_cast<float>(ReducedDegrees(angle));
}

void FitFontToHeight(float height) {
  const PlotState &s = CurrentState();
  const double f = s.factor;
  const double h = height;
  const double spacing = s.char_spacing;
  FontState state = ReadCurrentFont();
  state.height = RoundUp(h * kPageUnitsPerMm / f);
  int32_t extra = 0;
  switch (g_text_call_mode) {
    case kSymbolText:
      // A half-width character advances s/7 of the height; its average width is that / 1.5.
      state.width = RoundUp(h * kPageUnitsPerMm * spacing / 7.0 / f / 1.5);
      extra = TruncToInt32(static_cast<double>(RoundUp(spacing / 7.0 * h * kPageUnitsPerMm / f)) -
                           state.width);
      break;
    case kKanjiHorizontalText:
    case kKanjiVerticalText: {
      // A full-width glyph is one height wide and advances kh/32 (kv/32) of the height.
      const double kanji =
          g_text_call_mode == kKanjiHorizontalText ? s.kanji_h_spacing : s.kanji_v_spacing;
      state.width = RoundUp(h * kPageUnitsPerMm / f / 2.0);
      extra = RoundUp(h * kPageUnitsPerMm * (kanji - 32.0) / 32.0 / f);
      break;
    }
    default:
      state.width = 0;
      break;
  }
  EmfPage &page = CurrentPage();
  page.ApplyFontState(state);
  page.SetCharExtra(extra);
}

void SetHorizontalAlign(int32_t code) {
  const int32_t vertical = (AlignmentCode() / 10) % 100;
  CurrentPage().SetTextAlignFlags(HorizontalFlags(code % 10) | VerticalFlags(vertical));
}

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL SETFON(int32_t code, int32_t vertical) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::FontState state = tamvel::ReadCurrentFont();
  tamvel::SetFace(&state, tamvel::FaceForCode(code, vertical != 0));
  tamvel::CurrentPage().ApplyFontState(state);
}

TAMVEL_API void TAMVEL_CALL ACSSET(int32_t code) { SETFON(code, 0); }

TAMVEL_API void TAMVEL_CALL GETFON(int32_t *code, int32_t *vertical) {
  if (!tamvel::LibraryAttached()) return;
  const tamvel::FontState state = tamvel::ReadCurrentFont();
  const bool is_vertical = state.face[0] == '@';
  int32_t found = 1;  // a face outside the table
  for (const tamvel::Typeface &t : tamvel::kTypefaces) {
    const char *face = is_vertical ? t.vertical_face : t.vertical_face + 1;
    if (std::strcmp(state.face, face) == 0) {
      found = t.code;
      break;
    }
  }
  if (code != nullptr) *code = found;
  if (vertical != nullptr) *vertical = is_vertical ? 1 : 0;
}

TAMVEL_API void TAMVEL_CALL SETWEIGHT(int32_t weight) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::FontState state = tamvel::ReadCurrentFont();
  state.weight = weight < 0 ? 0 : (weight > 1000 ? 1000 : weight);
  tamvel::CurrentPage().ApplyFontState(state);
}

TAMVEL_API void TAMVEL_CALL GETWEIGHT(int32_t *weight) {
  if (!tamvel::LibraryAttached() || weight == nullptr) return;
  *weight = tamvel::ReadCurrentFont().weight;
}

TAMVEL_API void TAMVEL_CALL SETFONETC(int32_t italic, int32_t underline, int32_t strikeout) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::FontState state = tamvel::ReadCurrentFont();
  state.italic = static_cast<uint8_t>(italic);
  state.underline = static_cast<uint8_t>(underline);
  state.strike_out = static_cast<uint8_t>(strikeout);
  tamvel::CurrentPage().ApplyFontState(state);
}

// The page font holds the font angle: the text angle plus the rotation angle.
TAMVEL_API void TAMVEL_CALL SETDEG(float angle) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::FontState state = tamvel::ReadCurrentFont();
  state.angle = angle + tamvel::CurrentState().rotation_angle;
  tamvel::CurrentPage().ApplyFontState(state);
}

TAMVEL_API void TAMVEL_CALL GETDEG(float *angle) {
  if (!tamvel::LibraryAttached() || angle == nullptr) return;
  *angle = tamvel::ReadCurrentFont().angle - tamvel::CurrentState().rotation_angle;
}

// Lasts until the next text call of the KANJI, SYMBOL or NUMBER family sizes its own extra.
TAMVEL_API void TAMVEL_CALL SETSPC(float spacing) {
  if (!tamvel::LibraryAttached()) return;
  const double f = tamvel::CurrentState().factor;
  tamvel::CurrentPage().SetCharExtra(tamvel::TruncToInt32(spacing * tamvel::kPageUnitsPerMm / f));
}

TAMVEL_API void TAMVEL_CALL SETALG(int32_t vertical) {
  if (!tamvel::LibraryAttached()) return;
  const int32_t current = tamvel::AlignmentCode();
  tamvel::CurrentPage().SetTextAlignFlags(tamvel::HorizontalFlags(current % 10) |
                                          tamvel::VerticalFlags(vertical));
}

TAMVEL_API void TAMVEL_CALL GETALG(int32_t *code) {
  if (!tamvel::LibraryAttached() || code == nullptr) return;
  *code = tamvel::AlignmentCode();
}

TAMVEL_API void TAMVEL_CALL SPACE(float spacing) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CurrentState().char_spacing = tamvel::Clamp(spacing, 3.5f, 69.0f);
}

// The limits are the 32-bit floats nearest 4/7 and 69/7.
TAMVEL_API void TAMVEL_CALL SPACEC(float ratio) {
  if (!tamvel::LibraryAttached()) return;
  const float r = tamvel::Clamp(ratio, 0.5714286f, 9.857142f);
  tamvel::CurrentState().char_spacing = static_cast<float>(r * 7.0);
}

TAMVEL_API void TAMVEL_CALL KSPACE(float spacing) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::SetKanjiSpacing(spacing);
}

TAMVEL_API void TAMVEL_CALL KSPACC(float ratio) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::SetKanjiSpacing(static_cast<float>(ratio * 32.0));
}

TAMVEL_API void TAMVEL_CALL GETKSP(float *horizontal, float *vertical) {
  if (!tamvel::LibraryAttached()) return;
  const tamvel::PlotState &s = tamvel::CurrentState();
  if (horizontal != nullptr) *horizontal = s.kanji_h_spacing;
  if (vertical != nullptr) *vertical = s.kanji_v_spacing;
}

}  // extern "C"
