// Regions and clipping of the stand-in: CreateRectRgn, CreatePolygonRgn, CombineRgn,
// SelectClipRgn and IntersectClipRect.
//
// Regions live in device units as banded rectangle lists (region_math.h). A DC's clip is such
// a list too. A recording writes every clip change so that independent readers clip as well:
//  - no region: EMR_EXTSELECTCLIPRGN(RGN_COPY) without data (16 bytes);
//  - one rectangle: EMR_EXTSELECTCLIPRGN(RGN_COPY) without data, then EMR_INTERSECTCLIPRECT
//    in logical units;
//  - anything else: a clip path, the rectangles turned back into logical polygons between
//    EMR_BEGINPATH and EMR_ENDPATH, then EMR_SELECTCLIPPATH(RGN_COPY).
// Each of these leaves the same clip under GDI's own playback.
#include <memory>
#include <utility>

#include "platform/emf/emf_records.h"
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/record_builder.h"
#include "platform/posix/recorder.h"
#include "platform/posix/region_math.h"

namespace tamvel::posix {
namespace {

HRGN NewRegion(RectList rects) {
  auto region = std::make_shared<Region>();
  region->rects = std::move(rects);
  return AddHandle<HRGN>(std::move(region));
}

// The logical rectangle of a device rectangle (right/bottom exclusive both ways).
RECT LogicalRect(const Dc &dc, const RECT &device) {
  const POINT a = dc.ToLogical({device.left, device.top});
  const POINT b = dc.ToLogical({device.right, device.bottom});
  return {a.x, a.y, b.x, b.y};
}

std::vector<uint8_t> ClipRegionReset() {
  RecordBuilder r(emf::kExtSelectClipRgn);
  r.U32(0).U32(RGN_COPY);
  return r.Finish();
}

std::vector<uint8_t> IntersectRecord(const RECT &logical) {
  RecordBuilder r(emf::kIntersectClipRect);
  r.Rect(logical);
  return r.Finish();
}

// One rectangle of the region as a closed polygon in logical units; POLYGON16 when the
// corners fit.
std::vector<uint8_t> RectanglePolygon(const Dc &dc, const RECT &device) {
  const RECT l = LogicalRect(dc, device);
  const POINT corners[4] = {
      {l.left, l.top}, {l.right, l.top}, {l.right, l.bottom}, {l.left, l.bottom}};
  bool short_points = true;
  for (const POINT &p : corners) {
    if (p.x < -32768 || p.x > 32767 || p.y < -32768 || p.y > 32767) short_points = false;
  }
  RecordBuilder r(short_points ? emf::kPolygon16 : emf::kPolygon);
  r.Rect({device.left, device.top, device.right - 1, device.bottom - 1}).U32(4);
  for (const POINT &p : corners) {
    if (short_points) {
      r.I16(static_cast<int16_t>(p.x)).I16(static_cast<int16_t>(p.y));
    } else {
      r.Point(p);
    }
  }
  return r.Finish();
}

void RecordClip(Dc &dc, const RectList *clip) {
  MetafileRecorder *recorder = dc.Recorder();
  if (recorder == nullptr) return;
  recorder->Append(ClipRegionReset());
  if (clip == nullptr) return;
  if (clip->size() <= 1) {
    // An empty region clips everything away: an empty rectangle does the same.
    const RECT device = clip->empty() ? RECT{0, 0, 0, 0} : clip->front();
    recorder->Append(IntersectRecord(LogicalRect(dc, device)));
    return;
  }
  recorder->Append(RecordBuilder(emf::kBeginPath).Finish());
  for (const RECT &rect : *clip) recorder->Append(RectanglePolygon(dc, rect));
  recorder->Append(RecordBuilder(emf::kEndPath).Finish());
  RecordBuilder select(emf::kSelectClipPath);
  select.U32(RGN_COPY);
  recorder->Append(select.Finish());
}

}  // namespace
}  // namespace tamvel::posix

using namespace tamvel::posix;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(RectangleRegion(left, top, right, bottom));
}

// Fewer than two points make no region; two points make an empty one.
HRGN CreatePolygonRgn(const POINT *points, int count, int fill_mode) {
  if (points == nullptr || count < 2) return nullptr;
  return NewRegion(PolygonRegion(points, count, fill_mode));
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  auto target = Lookup<Region>(destination);
  auto first = Lookup<Region>(source1);
  if (!target || !first || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    target->rects = first->rects;
  } else {
    auto second = Lookup<Region>(source2);
    if (!second) return ERROR;
    target->rects = CombineRegions(first->rects, second->rects, mode);
  }
  return RegionKind(target->rects);
}

// The DC gets its own copy of the region; NULL removes the clip.
int SelectClipRgn(HDC hdc, HRGN hrgn) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr) return ERROR;
  if (hrgn == nullptr) {
    dc->state.clip.reset();
    RecordClip(*dc, nullptr);
    return SIMPLEREGION;
  }
  auto region = Lookup<Region>(hrgn);
  if (!region) return ERROR;
  dc->state.clip = region->rects;
  RecordClip(*dc, &region->rects);
  return RegionKind(region->rects);
}

// Logical rectangle, right/bottom exclusive; without a clip the DC is clipped to it alone.
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr) return ERROR;
  const POINT a = dc->ToDevice({left, top});
  const POINT b = dc->ToDevice({right, bottom});
  const RectList rect = RectangleRegion(a.x, a.y, b.x, b.y);
  dc->state.clip = dc->state.clip ? CombineRegions(*dc->state.clip, rect, RGN_AND) : rect;
  if (MetafileRecorder *recorder = dc->Recorder()) {
    recorder->Append(IntersectRecord({left, top, right, bottom}));
  }
  return RegionKind(*dc->state.clip);
}

// The path of the last bracket, in the DC's fill mode, combined with the clip by `mode`; the
// path is used up. Without a clip the DC counts as unclipped: RGN_AND and RGN_COPY give the
// path's region, RGN_OR keeps it unclipped, RGN_DIFF and RGN_XOR clip to the outside of the
// path within the reference surface.
BOOL SelectClipPath(HDC hdc, int mode) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr || !dc->path_ready || mode < RGN_AND || mode > RGN_COPY) return FALSE;
  std::vector<POINT> points;
  std::vector<int> counts;
  for (const PathFigure &figure : dc->path) {
    for (const POINT &p : figure.points) points.push_back(dc->ToDevice(p));
    counts.push_back(static_cast<int>(figure.points.size()));
  }
  const RectList path = PolyPolygonRegion(
      points.data(), counts.data(), static_cast<int>(counts.size()), dc->state.poly_fill_mode);
  dc->path.clear();
  dc->path_ready = false;
  if (mode == RGN_COPY || (mode == RGN_AND && !dc->state.clip)) {
    dc->state.clip = path;
  } else if (dc->state.clip) {
    dc->state.clip = CombineRegions(*dc->state.clip, path, mode);
  } else if (mode != RGN_OR) {
    const SIZE surface = dc->reference().pixels;
    dc->state.clip = CombineRegions(RectangleRegion(0, 0, surface.cx, surface.cy), path, mode);
  }
  if (MetafileRecorder *recorder = dc->Recorder()) {
    RecordBuilder r(tamvel::emf::kSelectClipPath);
    r.U32(static_cast<uint32_t>(mode));
    recorder->Append(r.Finish());
  }
  return TRUE;
}
