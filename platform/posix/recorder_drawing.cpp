// Drawing records. Polylines and polygons use the 16-bit forms when every point fits. Inside
// a path bracket each figure is written as MOVETOEX + POLYLINETO(16) (every reader then keeps
// the figures apart), followed by a MOVETOEX back to the real current position, which
// Polyline and Polygon do not move. Records in a path paint nothing: they carry their
// geometric box, and only StrokePath adds to the picture bounds.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/emf/emf_records.h"
#include "platform/posix/recorder.h"

namespace tamvel::posix {

using namespace tamvel::emf;

namespace {

bool FitsInt16(std::span<const POINT> points) {
  constexpr LONG kMin = std::numeric_limits<int16_t>::min();
  constexpr LONG kMax = std::numeric_limits<int16_t>::max();
  for (POINT p : points) {
    if (p.x < kMin || p.x > kMax || p.y < kMin || p.y > kMax) return false;
  }
  return true;
}

void PutPoints(RecordBuilder &r, std::span<const POINT> points, bool short_form) {
  for (POINT p : points) {
    if (short_form) {
      r.I16(static_cast<int16_t>(p.x)).I16(static_cast<int16_t>(p.y));
    } else {
      r.Point(p);
    }
  }
}

RecordBuilder MoveRecord(POINT p) {
  RecordBuilder r(kMoveToEx);
  r.Point(p);
  return r;
}

}  // namespace

void MetafileRecorder::AppendPoints(Dc &dc, uint32_t type16, uint32_t type32,
                                    std::span<const POINT> points, std::span<const POINT> figure) {
  const bool short_form = FitsInt16(points);
  if (!Room(28 + points.size() * (short_form ? 4 : 8))) return;
  RecordBuilder r(short_form ? type16 : type32);
  r.Rect({0, 0, -1, -1}).U32(static_cast<uint32_t>(points.size()));
  PutPoints(r, points, short_form);
  if (InPath(dc)) {
    r.PutRectAt(8, BoxOfPoints(dc, figure.empty() ? points : figure).rect);
    Append(std::move(r));
  } else {
    AppendDrawing(std::move(r), StrokedBox(dc, points));
  }
}

void MetafileRecorder::AppendFigure(Dc &dc, std::span<const POINT> points, bool closed) {
  if (points.empty()) return;
  Append(MoveRecord(points.front()));
  if (points.size() < 2) return;
  AppendPoints(dc, kPolylineTo16, kPolylineTo, points.subspan(1), points);
  if (closed) Append(RecordBuilder(kCloseFigure));
}

void MetafileRecorder::ReemitPosition(Dc &dc) { Append(MoveRecord(dc.state.position)); }

// The two records a plotted line is made of, written in place.
bool MetafileRecorder::AppendPointRecord(uint32_t type, POINT p) {
  uint8_t *at = Room(16) ? ExtendForRecord(16) : nullptr;
  if (!at) {
    StopRecording();
    return false;
  }
  WritePointRecord(at, type, p);
  return true;
}

// The way of the lines that QuickLineTo does not take.
void MetafileRecorder::LineTo(Dc &dc, POINT from, POINT to) {
  if (!AppendPointRecord(kLineTo, to) || InPath(dc)) return;
  if (run_.open) {
    run_.Add(from);  // after a move, or a line that did not end at the last one's end
    run_.LineTo(to);
    UpdateQuickEnd();  // the memory may have grown
  } else {
    StartSegmentRun(dc, from, to);
  }
}

void MetafileRecorder::StartSegmentRun(const Dc &dc, POINT from, POINT to) {
  run_.open = true;
  run_.left = run_.right = from.x;
  run_.top = run_.bottom = from.y;
  run_.Add(to);
  run_.last = to;
  run_.mapping = dc.state.mapping;
  run_.allowance = StrokeAllowance(dc);
  UpdateQuickEnd();
}

void MetafileRecorder::EndSegmentRun() {
  if (!run_.open) return;
  run_.open = false;
  UpdateQuickEnd();
  const PageMapping &m = run_.mapping;
  const double scale_x = ScaleX(m), scale_y = ScaleY(m);
  // Exactly ToDevice under the run's mapping, one axis at a time.
  auto x = [&](double v) { return RoundToLong((v - m.window_org.x) * scale_x + m.viewport_org.x); };
  auto y = [&](double v) { return RoundToLong((v - m.window_org.y) * scale_y + m.viewport_org.y); };
  const LONG x1 = x(run_.left), x2 = x(run_.right), y1 = y(run_.top), y2 = y(run_.bottom);
  AddStrokedPoint({std::min(x1, x2), std::min(y1, y2)}, run_.allowance);
  AddStrokedPoint({std::max(x1, x2), std::max(y1, y2)}, run_.allowance);
}

void MetafileRecorder::AddStrokedPoint(POINT p, LONG allowance) {
  // As DeviceBox::Inflate: saturating at the ends of the LONG range.
  RECT &r = bounds_.rect;
  if (allowance == 0 && !bounds_.empty) {  // cosmetic pens
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
    return;
  }
  if (bounds_.empty) {
    bounds_.Add(SaturatingAdd(p.x, -allowance), SaturatingAdd(p.y, -allowance));
    bounds_.Add(SaturatingAdd(p.x, allowance), SaturatingAdd(p.y, allowance));
    return;
  }
  r.left = std::min(r.left, SaturatingAdd(p.x, -allowance));
  r.top = std::min(r.top, SaturatingAdd(p.y, -allowance));
  r.right = std::max(r.right, SaturatingAdd(p.x, allowance));
  r.bottom = std::max(r.bottom, SaturatingAdd(p.y, allowance));
}

void MetafileRecorder::MoveTo(Dc &, POINT p) { AppendPointRecord(kMoveToEx, p); }

void MetafileRecorder::Polyline(Dc &dc, std::span<const POINT> points) {
  if (!InPath(dc)) return AppendPoints(dc, kPolyline16, kPolyline, points);
  AppendFigure(dc, points, false);
  ReemitPosition(dc);
}

void MetafileRecorder::Polygon(Dc &dc, std::span<const POINT> points) {
  if (!InPath(dc)) return AppendPoints(dc, kPolygon16, kPolygon, points);
  AppendFigure(dc, points, true);
  ReemitPosition(dc);
}

void MetafileRecorder::PolyPolyline(Dc &dc, std::span<const POINT> points,
                                    std::span<const DWORD> counts) {
  if (InPath(dc)) {
    size_t start = 0;
    for (DWORD n : counts) {
      AppendFigure(dc, points.subspan(start, n), false);
      start += n;
    }
    return ReemitPosition(dc);
  }
  const bool short_form = FitsInt16(points);
  if (!Room(32 + counts.size() * 4 + points.size() * (short_form ? 4 : 8))) return;
  RecordBuilder r(short_form ? kPolyPolyline16 : kPolyPolyline);
  r.Rect({0, 0, -1, -1}).U32(static_cast<uint32_t>(counts.size()));
  r.U32(static_cast<uint32_t>(points.size()));
  for (DWORD n : counts) r.U32(n);
  PutPoints(r, points, short_form);
  AppendDrawing(std::move(r), StrokedBox(dc, points));
}

void MetafileRecorder::BeginPath(Dc &) {
  EndSegmentRun();  // lines in a path are not drawn lines, and QuickLineTo does not see paths
  Append(RecordBuilder(kBeginPath));
}

void MetafileRecorder::EndPath(Dc &) { Append(RecordBuilder(kEndPath)); }

void MetafileRecorder::StrokePath(Dc &dc) {
  DeviceBox box;
  for (const PathFigure &figure : dc.path) box.Add(StrokedBox(dc, figure.points));
  RecordBuilder r(kStrokePath);
  r.Rect({0, 0, -1, -1});
  AppendDrawing(std::move(r), box);
}

// Images as EMR_STRETCHDIBITS with a top-down 32-bit DIB after the record's fixed fields.
// The destination is the box of the corners' axes: a turned image is written upright.
void MetafileRecorder::DrawImage(Dc &dc, const POINT (&corners)[3], const ImagePixels &image) {
  constexpr uint32_t kFixedBytes = 80, kInfoBytes = 40, kRgbColours = 0, kSrcCopy = 0x00CC0020;
  const uint64_t pixel_bytes =
      uint64_t{4} * static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height);
  if (image.width <= 0 || image.height <= 0 || image.argb.size() * 4 < pixel_bytes ||
      pixel_bytes > std::numeric_limits<uint32_t>::max() - kFixedBytes - kInfoBytes) {
    return;
  }
  const POINT far_corner{corners[1].x + corners[2].x - corners[0].x,
                         corners[1].y + corners[2].y - corners[0].y};
  const POINT box[] = {corners[0], corners[1], far_corner, corners[2]};
  RecordBuilder r(kStretchDiBits);
  r.Rect({0, 0, -1, -1}).Point(corners[0]);
  r.I32(0).I32(0).I32(image.width).I32(image.height);  // the whole source
  r.U32(kFixedBytes).U32(kInfoBytes).U32(kFixedBytes + kInfoBytes);
  r.U32(static_cast<uint32_t>(pixel_bytes)).U32(kRgbColours).U32(kSrcCopy);
  r.I32(corners[1].x - corners[0].x).I32(corners[2].y - corners[0].y);
  // BITMAPINFOHEADER: a negative height stores the top row first.
  r.U32(kInfoBytes).I32(image.width).I32(-image.height).U16(1).U16(32).U32(0);
  r.U32(static_cast<uint32_t>(pixel_bytes)).I32(0).I32(0).U32(0).U32(0);
  r.Bytes(image.argb.data(), static_cast<size_t>(pixel_bytes));
  AppendDrawing(std::move(r), BoxOfPoints(dc, box));
}

}  // namespace tamvel::posix
