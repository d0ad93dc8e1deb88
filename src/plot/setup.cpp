// Opening a drawing (PLOTS, DIMTAB, DIMTABR) and the per-page scale factor, data offsets and
// rotation.
#include "src/plot/setup.h"

#include <cmath>

#include "include/tamvel.h"
#include "src/host/identity.h"
#include "src/plot/coordinates.h"

namespace tamvel {
namespace {

constexpr double kDegreesToRadians = 3.14159265358979 / 180.0;

// The drawable area reaches about 1 mm beyond each edge of the page.
void SetPageSize(PlotState *s, float width, float height) {
  s->page_width = width;
  s->page_height = height;
  s->SetLimits(-56, TruncToInt32((width + 1.0) * kPageUnitsPerMm), -56,
               TruncToInt32((height + 1.0) * kPageUnitsPerMm));
}

// Every default of a new drawing, then pen width, typeface and colours on the new recording
// (they do nothing when no recording could be made). Returns the recording DC.
int32_t StartDrawing(PlotState *s) {
  ResetCoordinateSystem(s);
  s->char_spacing = 6.0f;
  s->kanji_h_spacing = 35.0f;
  s->kanji_v_spacing = 40.0f;
  s->outline_flag = -1;
  PEN(1);
  SETFON(0, 0);
  PENC(0, 0, 0, 0);
  FILLC(7, 0, 0, 0);
  TEXTC(0, 0, 0, 0);
  return static_cast<int32_t>(HandleValue(CurrentPage().RecordingDc()));
}

}  // namespace

int32_t TenthsOfMm(float mm) { return TruncToInt32(mm * 10.0 + 0.5); }

void ResetCoordinateSystem(PlotState *s) {
  s->origin_x = 0.0;
  s->origin_y = 0.0;
  s->last_x = 0.0f;
  s->last_y = 0.0f;
  s->rotation_angle = 0.0f;
  s->SetRotation(1.0, 0.0);
  s->factor = 1.0;
  s->offset_x = 0.0f;
  s->offset_y = 0.0f;
  s->offset_x_factor = 1.0f;
  s->offset_y_factor = 1.0f;
}

}  // namespace tamvel

extern "C" {

// The third argument has never been used.
TAMVEL_API int32_t TAMVEL_CALL DIMTAB(float width, float height, int32_t) {
  if (!tamvel::LibraryAttached()) return 0;
  tamvel::CurrentPage().OpenRecording(tamvel::TenthsOfMm(width), tamvel::TenthsOfMm(height),
                                      tamvel::ApplicationName(), tamvel::CorporationName());
  tamvel::PlotState &s = tamvel::CurrentState();
  tamvel::SetPageSize(&s, width, height);
  return tamvel::StartDrawing(&s);
}

TAMVEL_API int32_t TAMVEL_CALL PLOTS(float width, float height, int32_t unused) {
  return DIMTAB(width, height, unused);
}

// The size comes from the device when both pixel values are at least 1; the page size is cut
// to whole millimetres and written back. A null size pointer reads as 0 and is not written.
TAMVEL_API int32_t TAMVEL_CALL DIMTABR(float *width, float *height, TAMVEL_HDC device,
                                       int32_t pixel_width, int32_t pixel_height) {
  if (!tamvel::LibraryAttached()) return 0;
  int w = tamvel::TenthsOfMm(width != nullptr ? *width : 0.0f);
  int h = tamvel::TenthsOfMm(height != nullptr ? *height : 0.0f);
  tamvel::CurrentPage().OpenRecordingForDevice(
      &w, &h, tamvel::ApplicationName(), tamvel::CorporationName(), reinterpret_cast<HDC>(device),
      pixel_width, pixel_height);
  const float page_width = static_cast<float>(w / 10);
  const float page_height = static_cast<float>(h / 10);
  if (width != nullptr) *width = page_width;
  if (height != nullptr) *height = page_height;
  tamvel::PlotState &s = tamvel::CurrentState();
  tamvel::SetPageSize(&s, page_width, page_height);
  return tamvel::StartDrawing(&s);
}

// A factor of 0 is accepted: the coordinates it produces saturate at the page limits.
TAMVEL_API void TAMVEL_CALL FACTOR(float factor) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CurrentState().factor = factor;
}

TAMVEL_API void TAMVEL_CALL OFFSET(float x_offset, float x_factor, float y_offset, float y_factor) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::PlotState &s = tamvel::CurrentState();
  s.offset_x = x_offset;
  s.offset_x_factor = x_factor;
  s.offset_y = y_offset;
  s.offset_y_factor = y_factor;
}

TAMVEL_API void TAMVEL_CALL GETOFF(float *x_offset, float *x_factor, float *y_offset,
                                   float *y_factor, float *spacing) {
  if (!tamvel::LibraryAttached()) return;
  const tamvel::PlotState &s = tamvel::CurrentState();
  if (x_offset != nullptr) *x_offset = s.offset_x;
  if (x_factor != nullptr) *x_factor = s.offset_x_factor;
  if (y_offset != nullptr) *y_offset = s.offset_y;
  if (y_factor != nullptr) *y_factor = s.offset_y_factor;
  if (spacing != nullptr) *spacing = s.char_spacing;
}

TAMVEL_API void TAMVEL_CALL ROTATE(float angle) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::PlotState &s = tamvel::CurrentState();
  s.rotation_angle = angle;
  s.SetRotation(std::cos(angle * tamvel::kDegreesToRadians),
                std::sin(angle * tamvel::kDegreesToRadians));
}

}  // extern "C"
