// Fills: FILLPT, PATRN, RECTF and the per-page outline switch OPTION.
#include <cstdint>
#include <cstring>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/shapes/fill_patterns.h"
#include "src/shapes/heap_array.h"
#include "src/shapes/pattern_bitmap.h"
#include "src/shapes/plot_point.h"
#include "src/shapes/shapes.h"

namespace tamvel {

// A negative code lies outside the table and is hollow like a code above 15.
void SelectFillPattern(int32_t code) {
  EmfPage &page = CurrentPage();
  UINT style = BS_NULL;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  page.ReadBrushState(&style, &colour, &hatch);
  if (code == 1) {
    page.ApplyBrushState(BS_SOLID, colour, hatch);
  } else if (code >= kFirstBitmapPattern && code <= kLastBitmapPattern) {
    HBITMAP bitmap = ReplacePatternBitmap(code);
    if (bitmap != nullptr) {
      page.ApplyBrushState(BS_PATTERN, colour, reinterpret_cast<uintptr_t>(bitmap));
    } else {
      page.ApplyBrushState(BS_NULL, colour, hatch);
    }
  } else {
    page.ApplyBrushState(BS_NULL, colour, hatch);
  }
}

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL FILLPT(int32_t pattern) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::SelectFillPattern(pattern);
}

// A polygon in plot units filled with a fill pattern (WINDING); a negative code or outline
// flag 0 leaves out the outline. Corners may reach 113 page units beyond the page limits.
// Fewer than three points draw nothing and leave the brush as it is.
TAMVEL_API void TAMVEL_CALL PATRN(const float *x, const float *y, int32_t count, int32_t pattern) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  if (x == nullptr || y == nullptr || count < 3) return;
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  HeapArray<POINT> points(count);
  if (!points.ok()) return;
  TransformToPagePoints(x, y, count, PageClamp::kLimitsWithMargin, points.data());
  SelectFillPattern(AbsPatternCode(pattern));
  int32_t signed_count = pattern < 0 ? -count : count;
  if (CurrentState().outline_flag == 0 && signed_count > 0) signed_count = -signed_count;
  CurrentPage().DrawPolygon(points.data(), signed_count, WINDING);
  PLOT(last_x, last_y, 3);
}

// The rectangle with corners (x1, y1) and (x2, y2) through PATRN.
TAMVEL_API void TAMVEL_CALL RECTF(float x1, float y1, float x2, float y2, int32_t pattern) {
  if (!tamvel::LibraryAttached()) return;
  const float x[4] = {x1, x2, x2, x1};
  const float y[4] = {y2, y2, y1, y1};
  PATRN(x, y, 4, pattern);
}

// "OUTLINE" switches the outlines of filled shapes on for the current page, "NOOUTLINE" off;
// case-sensitive, anything after the keyword is ignored.
TAMVEL_API void TAMVEL_CALL OPTION(const TAMVEL_FSTRING *keyword) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  if (keyword == nullptr || keyword->text == nullptr) return;
  // The length is compared as unsigned; strncmp stops at a zero byte in the text.
  const uint32_t length = static_cast<uint32_t>(keyword->length);
  if (length >= 7 && std::strncmp(keyword->text, "OUTLINE", 7) == 0) {
    CurrentState().outline_flag = -1;
  } else if (length >= 9 && std::strncmp(keyword->text, "NOOUTLINE", 9) == 0) {
    CurrentState().outline_flag = 0;
  }
}

}  // extern "C"
