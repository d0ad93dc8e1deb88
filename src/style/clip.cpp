// The clipping calls: rectangles and polygons in plot units combined into the current page's
// clip region. The pen and the last point are as before each call.
#include <cstdint>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/shapes/heap_array.h"
#include "src/shapes/shapes.h"

namespace tamvel {
namespace {

using RectangleOperation = void (EmfPage::*)(int, int, int, int);
using PolygonOperation = void (EmfPage::*)(const POINT *, int);

// (x1, y1) is the lower-left corner, (x2, y2) the upper-right; a 999 in the second corner
// stands for the first corner's value.
void ClipRectangle(RectangleOperation operation, float x1, float y1, float x2, float y2) {
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  TransformPoint(&x1, &y1);
  const POINT low = PagePoint(x1, y1);
  TransformPoint(&x2, &y2);
  const POINT high = PagePoint(x2, y2);
  (CurrentPage().*operation)(low.x, high.y, high.x, low.y);
  PLOT(last_x, last_y, 3);
}

// Null arrays and counts below 1 do nothing at all.
void ClipPolygon(PolygonOperation operation, const float *x, const float *y, int32_t n) {
  if (x == nullptr || y == nullptr || n <= 0) return;
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  HeapArray<POINT> points(n);
  if (!points.ok()) return;
  TransformToPagePoints(x, y, n, PageClamp::kLimits, points.data());
  (CurrentPage().*operation)(points.data(), n);
  PLOT(last_x, last_y, 3);
}

}  // namespace
}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL SETCLIP(float x1, float y1, float x2, float y2) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipRectangle(&tamvel::EmfPage::SetClipRectangle, x1, y1, x2, y2);
}

TAMVEL_API void TAMVEL_CALL ADDCLIP(float x1, float y1, float x2, float y2) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipRectangle(&tamvel::EmfPage::AddClipRectangle, x1, y1, x2, y2);
}

TAMVEL_API void TAMVEL_CALL ANDCLIP(float x1, float y1, float x2, float y2) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipRectangle(&tamvel::EmfPage::AndClipRectangle, x1, y1, x2, y2);
}

TAMVEL_API void TAMVEL_CALL DIFFCLIP(float x1, float y1, float x2, float y2) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipRectangle(&tamvel::EmfPage::DiffClipRectangle, x1, y1, x2, y2);
}

TAMVEL_API void TAMVEL_CALL ADDCLIPP(const float *x, const float *y, int32_t n) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipPolygon(&tamvel::EmfPage::AddClipPolygon, x, y, n);
}

TAMVEL_API void TAMVEL_CALL ANDCLIPP(const float *x, const float *y, int32_t n) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipPolygon(&tamvel::EmfPage::AndClipPolygon, x, y, n);
}

TAMVEL_API void TAMVEL_CALL DIFFCLIPP(const float *x, const float *y, int32_t n) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ClipPolygon(&tamvel::EmfPage::DiffClipPolygon, x, y, n);
}

TAMVEL_API void TAMVEL_CALL RESETCLIP(void) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CurrentPage().ResetClip();
}

}  // extern "C"
