// Drawing records. Polylines and polygons use the 16-bit forms when every point fits. Inside
// a path bracket each figure is written as MOVETOEX + POLYLINETO(16) (every reader then keeps
// the figures apart), followed by a MOVETOEX back to the real current position, which
// Polyline and Polygon do not move. Records in a path paint nothing: they carry their
// geometric box, and only StrokePath adds to the picture bounds.
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
  RecordBuilder r(EMR_MOVETOEX);
  r.Point(p);
  return r;
}

}  // namespace

void MetafileRecorder::AppendPoints(Dc &dc, uint32_t type16, uint32_t type32,
                                    std::span<const POINT> points, std::span<const POINT> figure) {
  const bool short_form = FitsInt16(points);
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
  AppendPoints(dc, EMR_POLYLINETO16, EMR_POLYLINETO, points.subspan(1), points);
  if (closed) Append(RecordBuilder(EMR_CLOSEFIGURE));
}

void MetafileRecorder::ReemitPosition(Dc &dc) { Append(MoveRecord(dc.state.position)); }

void MetafileRecorder::MoveTo(Dc &, POINT p) { Append(MoveRecord(p)); }

void MetafileRecorder::LineTo(Dc &dc, POINT from, POINT to) {
  RecordBuilder r(EMR_LINETO);
  r.Point(to);
  const POINT ends[] = {from, to};
  if (InPath(dc)) {
    Append(std::move(r));
  } else {
    AppendDrawing(std::move(r), StrokedBox(dc, ends), false);
  }
}

void MetafileRecorder::Polyline(Dc &dc, std::span<const POINT> points) {
  if (!InPath(dc)) return AppendPoints(dc, EMR_POLYLINE16, EMR_POLYLINE, points);
  AppendFigure(dc, points, false);
  ReemitPosition(dc);
}

void MetafileRecorder::Polygon(Dc &dc, std::span<const POINT> points) {
  if (!InPath(dc)) return AppendPoints(dc, EMR_POLYGON16, EMR_POLYGON, points);
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
  RecordBuilder r(short_form ? EMR_POLYPOLYLINE16 : EMR_POLYPOLYLINE);
  r.Rect({0, 0, -1, -1}).U32(static_cast<uint32_t>(counts.size()));
  r.U32(static_cast<uint32_t>(points.size()));
  for (DWORD n : counts) r.U32(n);
  PutPoints(r, points, short_form);
  AppendDrawing(std::move(r), StrokedBox(dc, points));
}

void MetafileRecorder::BeginPath(Dc &) { Append(RecordBuilder(EMR_BEGINPATH)); }

void MetafileRecorder::EndPath(Dc &) { Append(RecordBuilder(EMR_ENDPATH)); }

void MetafileRecorder::StrokePath(Dc &dc) {
  DeviceBox box;
  for (const PathFigure &figure : dc.path) box.Add(StrokedBox(dc, figure.points));
  RecordBuilder r(EMR_STROKEPATH);
  r.Rect({0, 0, -1, -1});
  AppendDrawing(std::move(r), box);
}

}  // namespace tamvel::posix
