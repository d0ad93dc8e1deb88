// The page's clip region: built from rectangles and polygons in page units, kept in device
// units of the recording's reference device, and selected into the recording DC at every
// change, limited by the clip limit square.
#include <cstdint>

#include "platform/win32.h"
#include "src/pages/emf_page.h"
#include "src/shapes/heap_array.h"

namespace tamvel {
namespace {

// Nothing is drawn outside this square (page units) once a region is selected.
constexpr int kClipLimitLow = -5000;
constexpr int kClipLimitHigh = 25000;

void SelectWithLimit(HDC dc, HRGN region) {
  SelectClipRgn(dc, region);  // the DC takes a copy; the page keeps its own region
  IntersectClipRect(dc, kClipLimitLow, kClipLimitHigh, kClipLimitHigh, kClipLimitLow);
}

HRGN MakeDeviceRectangle(HDC dc, int left, int top, int right, int bottom) {
  POINT corners[2] = {{left, top}, {right, bottom}};
  LPtoDP(dc, corners, 2);
  return CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

HRGN MakeDevicePolygon(HDC dc, const POINT *points, int count) {
  HeapArray<POINT> device(count);
  if (!device.ok() || points == nullptr) return nullptr;
  for (int i = 0; i < count; ++i) device[i] = points[i];
  LPtoDP(dc, device.data(), count);
  return CreatePolygonRgn(device.data(), count, WINDING);
}

}  // namespace

// Union and intersection start from the shape when the page has no region yet; a difference
// needs a region to cut from and otherwise leaves the page unclipped.
void EmfPage::CombineClip(HRGN shape, int mode) {
  HDC dc = recording_dc_;
  if (clip_region_ == nullptr) {
    if (mode == RGN_DIFF) {
      if (shape != nullptr) DeleteObject(shape);
      SelectClipRgn(dc, nullptr);
      return;
    }
    clip_region_ = shape;
  } else if (mode == RGN_COPY) {
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip_region_);
    clip_region_ = shape;
  } else {
    if (mode != RGN_DIFF) SelectClipRgn(dc, nullptr);
    CombineRgn(clip_region_, clip_region_, shape, mode);
    if (shape != nullptr) DeleteObject(shape);
  }
  SelectWithLimit(dc, clip_region_);
}

void EmfPage::SetClipRectangle(int left, int top, int right, int bottom) {
  if (!IsRecording()) return;
  CombineClip(MakeDeviceRectangle(recording_dc_, left, top, right, bottom), RGN_COPY);
}

void EmfPage::AddClipRectangle(int left, int top, int right, int bottom) {
  if (!IsRecording()) return;
  CombineClip(MakeDeviceRectangle(recording_dc_, left, top, right, bottom), RGN_OR);
}

void EmfPage::AndClipRectangle(int left, int top, int right, int bottom) {
  if (!IsRecording()) return;
  CombineClip(MakeDeviceRectangle(recording_dc_, left, top, right, bottom), RGN_AND);
}

void EmfPage::DiffClipRectangle(int left, int top, int right, int bottom) {
  if (!IsRecording()) return;
  if (clip_region_ == nullptr) {
    CombineClip(nullptr, RGN_DIFF);
    return;
  }
  CombineClip(MakeDeviceRectangle(recording_dc_, left, top, right, bottom), RGN_DIFF);
}

void EmfPage::AddClipPolygon(const POINT *points, int count) {
  if (!IsRecording()) return;
  CombineClip(MakeDevicePolygon(recording_dc_, points, count), RGN_OR);
}

void EmfPage::AndClipPolygon(const POINT *points, int count) {
  if (!IsRecording()) return;
  CombineClip(MakeDevicePolygon(recording_dc_, points, count), RGN_AND);
}

void EmfPage::DiffClipPolygon(const POINT *points, int count) {
  if (!IsRecording()) return;
  if (clip_region_ == nullptr) {
    CombineClip(nullptr, RGN_DIFF);
    return;
  }
  CombineClip(MakeDevicePolygon(recording_dc_, points, count), RGN_DIFF);
}

void EmfPage::ResetClip() {
  if (!IsRecording()) return;
  SelectClipRgn(recording_dc_, nullptr);
  if (clip_region_ != nullptr) DeleteObject(clip_region_);
  clip_region_ = nullptr;
}

}  // namespace tamvel
