// PLOT with its pen codes, and WHERE.
#include "include/tamvel.h"
#include "src/host/identity.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/plot/setup.h"

namespace tamvel {
namespace {

// Pen code 4 or 5, after the line or move: page n := index + 1 (after 99 comes 0) opens a
// recording of the same size, takes over the size, limits, spacings and outline flag, and
// becomes current with a fresh coordinate system. Whatever page n held is discarded.
void GoOnToNextPage() {
  const int current = CurrentPageIndex();
  const int next = (current + 1) % kPageCount;
  const PlotState &old_state = State(current);
  Page(next).OpenRecording(TenthsOfMm(old_state.page_width), TenthsOfMm(old_state.page_height),
                           ApplicationName(), CorporationName());
  PlotState &s = State(next);
  s.page_width = old_state.page_width;
  s.page_height = old_state.page_height;
  s.SetLimits(old_state.x_lower, old_state.x_upper, old_state.y_lower, old_state.y_upper);
  s.char_spacing = old_state.char_spacing;
  s.kanji_h_spacing = old_state.kanji_h_spacing;
  s.kanji_v_spacing = old_state.kanji_v_spacing;
  s.outline_flag = old_state.outline_flag;
  Page(current).CloseRecording();
  SetCurrentPageIndex(next);
  ResetCoordinateSystem(&s);
}

// Every pen code: the OFFSET mapping for 12 and 13, the move or line, the origin for -2 and -3,
// the next page for 4 and 5, closing for 999. Kept out of PLOT, so that PLOT's own way for
// pen codes 2 and 3 saves no registers.
[[gnu::noinline]] void PlotWithPenCode(PlotState &s, float x, float y, int32_t pen) {
  if (pen == 12 || pen == 13 || pen == -12 || pen == -13) {
    // Data values through the OFFSET mapping first; then as pen code +-2 or +-3.
    x = static_cast<float>((static_cast<double>(x) - s.offset_x) / s.offset_x_factor);
    y = static_cast<float>((static_cast<double>(y) - s.offset_y) / s.offset_y_factor);
    pen %= 10;
  }
  // Every pen code transforms the point, so every call sets the last point.
  TransformPoint(s, x, y);
  int px = 0;
  int py = 0;
  ToPageUnits(s, x, y, px, py);
  EmfPage &page = CurrentPage();
  switch (pen) {
    case 2:
    case -2:
    case 4:
      page.DrawLineTo(px, py);
      break;
    case 3:
    case -3:
    case 5:
      page.MovePenTo(px, py);
      break;
    case 999:
      page.CloseRecording();  // the page stays current
      break;
    default:
      break;  // 0, 1, -4, -5, -999 and all others: only the last point changes
  }
  if (pen == -2 || pen == -3) {
    // The new origin is the transformed point before clamping, in page millimetres.
    s.origin_x = x;
    s.origin_y = y;
  }
  if (pen == 4 || pen == 5) GoOnToNextPage();
}

}  // namespace
}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL PLOT(float x, float y, int32_t pen) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::PlotState &s = tamvel::CurrentState();
  if (pen != 2 && pen != 3) return tamvel::PlotWithPenCode(s, x, y, pen);
  // A plain line or move, nothing before or after it: PLOT's own way, which calls nothing but
  // LineTo or MoveToEx.
  int px = 0;
  int py = 0;
  tamvel::PlotPointToPageUnits(s, x, y, px, py);
  tamvel::EmfPage &page = tamvel::CurrentPage();
  return pen == 2 ? page.DrawLineTo(px, py) : page.MovePenTo(px, py);
}

TAMVEL_API void TAMVEL_CALL WHERE(float *x, float *y, float *factor) {
  if (!tamvel::LibraryAttached()) return;
  int px = 0;  // a page that does not record reports page point (0, 0)
  int py = 0;
  tamvel::CurrentPage().GetPenPosition(&px, &py);
  float plot_x = 0.0f;
  float plot_y = 0.0f;
  tamvel::PageUnitsToPlot(px, py, &plot_x, &plot_y);
  if (x != nullptr) *x = plot_x;
  if (y != nullptr) *y = plot_y;
  if (factor != nullptr) *factor = static_cast<float>(tamvel::CurrentState().factor);
}

}  // extern "C"
