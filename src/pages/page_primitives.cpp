// Drawing primitives of the EMF page: one GDI call each into the recording DC, in page units.
// On a page that does not record they do nothing.
#include <cstdint>
#include <cstdlib>

#include "src/pages/emf_page.h"

namespace tamvel {

void EmfPage::GetPenPosition(int *x, int *y) const {
  if (recording_dc_ == nullptr) return;
  POINT position = {};
  if (!GetCurrentPositionEx(recording_dc_, &position)) return;
  if (x != nullptr) *x = position.x;
  if (y != nullptr) *y = position.y;
}

void EmfPage::DrawPolyline(const POINT *points, int count) {
  if (recording_dc_ == nullptr || points == nullptr || count <= 0) return;
  Polyline(recording_dc_, points, count);
}

void EmfPage::DrawPolygon(const POINT *points, int count, int fill_mode) {
  if (recording_dc_ == nullptr || points == nullptr || count == 0 || count == INT32_MIN) return;
  SetPolyFillMode(recording_dc_, fill_mode);  // stays in force
  const bool no_outline = count < 0;
  if (no_outline) SelectObject(recording_dc_, GetStockObject(NULL_PEN));
  Polygon(recording_dc_, points, std::abs(count));
  if (no_outline) SelectObject(recording_dc_, pen_handle_);
}

void EmfPage::DrawArc(int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
                      int y_end) {
  if (recording_dc_ == nullptr) return;
  Arc(recording_dc_, left, top, right, bottom, x_start, y_start, x_end, y_end);
}

void EmfPage::DrawPie(int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
                      int y_end, int selector) {
  if (recording_dc_ == nullptr) return;
  if (selector < 0) SelectObject(recording_dc_, GetStockObject(NULL_PEN));  // fill only
  if (selector == 0) {
    SelectObject(recording_dc_, GetStockObject(NULL_BRUSH));  // outline only
    Pie(recording_dc_, left, top, right, bottom, x_start, y_start, x_end, y_end);
    SelectObject(recording_dc_, brush_handle_);
  } else {
    Pie(recording_dc_, left, top, right, bottom, x_start, y_start, x_end, y_end);
  }
  if (selector < 0) SelectObject(recording_dc_, pen_handle_);
}

}  // namespace tamvel
