// Line types of the page pen: LNTYPE0 and LINE0.
#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/shapes/shapes.h"

namespace tamvel {
namespace {

// The codes do not follow the GDI numbering: code 1 is dotted, code 2 dashed.
constexpr uint32_t kLineTypeStyles[] = {PS_SOLID,   PS_DOT,        PS_DASH,
                                        PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
constexpr int32_t kLineTypeCount = 6;

}  // namespace

uint32_t LineTypeToPenStyle(int32_t code) {
  if (code < 0 || code >= kLineTypeCount) return PS_SOLID;
  return kLineTypeStyles[code];
}

int32_t PenStyleToLineType(uint32_t style) {
  for (int32_t code = 0; code < kLineTypeCount; ++code) {
    if (kLineTypeStyles[code] == style) return code;
  }
  return 0;
}

UINT ReplacePenStyle(UINT style) {
  EmfPage &page = CurrentPage();
  UINT old_style = PS_SOLID;
  int32_t width = 0;
  COLORREF colour = 0;
  page.ReadPenState(&old_style, &width, &colour);
  page.ApplyPenState(style, width, colour);
  return old_style;
}

int32_t SetLineType(int32_t code) {
  return PenStyleToLineType(ReplacePenStyle(LineTypeToPenStyle(code)));
}

POINT PagePoint(float x, float y) {
  int px = 0;
  int py = 0;
  ToPageUnits(x, y, &px, &py);
  return {px, py};
}

POINT PagePointWithMargin(float x, float y) {
  int px = 0;
  int py = 0;
  ToPageUnitsWithMargin(x, y, &px, &py);
  return {px, py};
}

void TransformToPagePoints(const float *x, const float *y, int32_t count, PageClamp clamp,
                           POINT *out) {
  for (int32_t i = 0; i < count; ++i) {
    float px = x[i];
    float py = y[i];
    TransformPoint(&px, &py);
    out[i] = clamp == PageClamp::kLimits ? PagePoint(px, py) : PagePointWithMargin(px, py);
  }
}

}  // namespace tamvel

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL LNTYPE0(int32_t /*unused*/, int32_t code) {
  if (!tamvel::LibraryAttached()) return 0;
  return tamvel::SetLineType(code);
}

// Draws page-unit points as they are (no transform, no clamping, no 999 rule) in a line type,
// then restores the line type. Fewer than two points draw nothing and change nothing.
TAMVEL_API void TAMVEL_CALL LINE0(int32_t code, const TAMVEL_POINT *points, int32_t count) {
  if (!tamvel::LibraryAttached()) return;
  if (points == nullptr || count < 2) return;
  static_assert(sizeof(TAMVEL_POINT) == sizeof(POINT), "TAMVEL_POINT is a POINT");
  const int32_t previous = tamvel::SetLineType(code);
  tamvel::CurrentPage().DrawPolyline(reinterpret_cast<const POINT *>(points), count);
  tamvel::SetLineType(previous);
}

}  // extern "C"
