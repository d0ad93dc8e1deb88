// CTSYM1: one of sixteen full-width symbol glyphs centred on a plot point in the pen colour.
// The page's text state is borrowed for the glyph and given back.
#include <cmath>

#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/text/text_drawing.h"
#include "src/text/text_state.h"

namespace tamvel {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr int32_t kGothicTypeface = 20;

// □ ○ △ ＋ × ◇ ■ ● ▲ ◆ ※ ▽ ◎ ☆ ▼ ★ in Shift-JIS.
constexpr char kMarkGlyphs[16][3] = {
    "\x81\xA0", "\x81\x9B", "\x81\xA2", "\x81\x7B", "\x81\x7E", "\x81\x9E", "\x81\xA1", "\x81\x9C",
    "\x81\xA3", "\x81\x9F", "\x81\xA6", "\x81\xA4", "\x81\x9D", "\x81\x99", "\x81\xA5", "\x81\x9A"};

// Where a full-width glyph's baseline-left corner lies from its centre, in mark heights: half
// the cell width to the left and the centre's height above the baseline down.
constexpr float kHalfCellWidth = 0.49375f;
constexpr float kCentreHeight = 0.4f;

struct SavedTextState {
  int32_t background_mode = 0;
  int32_t align_code = 0;
  int32_t typeface = 0;
  int32_t vertical = 0;
  float angle = 0.0f;
  COLORREF text_colour = 0;
};

SavedTextState SaveTextState() {
  SavedTextState saved;
  GETBKG(&saved.background_mode);
  GETALG(&saved.align_code);
  GETFON(&saved.typeface, &saved.vertical);
  GETDEG(&saved.angle);
  saved.text_colour = CurrentPage().GetTextColorValue();
  return saved;
}

void RestoreTextState(const SavedTextState &saved, float height) {
  CurrentPage().ApplyTextColor(saved.text_colour);
  FitFontToHeight(height);
  SETDEG(saved.angle);
  SETALG(saved.align_code / 10);
  SetHorizontalAlign(saved.align_code % 10);
  SETFON(saved.typeface, saved.vertical);
  SETBKG(saved.background_mode);
}

void PutMarkGlyph(float x, float y, float height, int32_t code, float angle) {
  angle = TextAngle(angle);
  EmfPage &page = CurrentPage();
  const SavedTextState saved = SaveTextState();
  SETBKG(TRANSPARENT);
  SETFON(kGothicTypeface, 0);
  page.SetTextAlignFlags(TA_BASELINE | TA_LEFT);
  SETDEG(angle);
  FitFontToHeight(height);
  page.ApplyTextColor(page.PenDescription().lopnColor);

  const double w = kHalfCellWidth;
  const double c = kCentreHeight;
  const double r = std::sqrt(w * w + c * c) * height;
  const double phi = (angle + 180.0) * kPi / 180.0 + std::atan(c / w);
  float gx = static_cast<float>(x + std::cos(phi) * r);
  float gy = static_cast<float>(y + std::sin(phi) * r);
  int px = 0;
  int py = 0;
  TextPagePoint(gx, gy, &px, &py);
  page.OutputText(px, py, kMarkGlyphs[code]);

  RestoreTextState(saved, height);
}

}  // namespace
}  // namespace tamvel

extern "C" TAMVEL_API void TAMVEL_CALL CTSYM1(float x, float y, float height, int32_t code,
                                              float angle, int32_t ipen) {
  if (!tamvel::LibraryAttached()) return;
  PLOT(x, y, ipen == -2 ? 2 : 3);
  if (code >= 0 && code <= 15 && !std::isnan(height)) {
    tamvel::SetTextCallMode(tamvel::kNoTextCall);
    tamvel::PutMarkGlyph(x, y, height, code, angle);
  }
  PLOT(x, y, 3);
}
