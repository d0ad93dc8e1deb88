// The drawing calls: validate, keep the path figures and the current position, tell the
// device. Arcs, pies and ellipses are flattened here (arcs.h).
#include <vector>

#include <bit>

#include "platform/posix/arcs.h"
#include "platform/posix/dc.h"
#include "platform/posix/recorder.h"

using namespace tamvel::posix;

namespace {

constexpr size_t kMaxPoints = size_t{1} << 26;  // keeps every record size within 32 bits

bool ValidPoints(const POINT *points, long long count, long long minimum) {
  return points && count >= minimum && static_cast<unsigned long long>(count) <= kMaxPoints;
}

// Inside a path bracket a polyline or polygon is a figure of its own.
void AddFigure(Dc &dc, std::span<const POINT> points, bool closed) {
  if (dc.path_open) dc.path.push_back({{points.begin(), points.end()}, closed});
}

BOOL DrawPolyline(Dc &dc, std::span<const POINT> points) {
  dc.device().Polyline(dc, points);
  AddFigure(dc, points, false);
  return TRUE;
}

BOOL DrawPolygon(Dc &dc, std::span<const POINT> points) {
  dc.device().Polygon(dc, points);
  AddFigure(dc, points, true);
  return TRUE;
}

RECT Box(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

// LineTo's general way, kept out of it so that its quick way saves no registers.
[[gnu::noinline]] BOOL DrawLine(Dc &dc, POINT p) {
  const POINT cp = dc.state.position;
  dc.device().LineTo(dc, cp, p);
  if (dc.path_open) {
    // A line continues the last figure only where that figure ends (Polyline leaves the
    // current position elsewhere).
    const bool continues = !dc.path.empty() && !dc.path.back().closed &&
                           dc.path.back().points.back().x == cp.x &&
                           dc.path.back().points.back().y == cp.y;
    if (!continues) dc.path.push_back({{cp}, false});
    dc.path.back().points.push_back(p);
  }
  dc.state.position = p;
  return TRUE;
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, POINT *old) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.position;
  const POINT p{x, y};
  dc->device().MoveTo(*dc, p);
  if (dc->path_open) dc->path.push_back({{p}, false});
  dc->state.position = p;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  // Built as one 64-bit value, which the record, the run and the position are then stored
  // from in one move each (from two ints the compiler writes every copy twice).
  const auto p = std::bit_cast<POINT>(static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32 |
                                      static_cast<uint32_t>(x));
  // A plotted segment takes the recorder's quick way, which calls nothing.
  MetafileRecorder *recorder = dc->Recorder();
  if (recorder && recorder->QuickLineTo(dc->state.position, p)) {
    dc->state.position = p;
    return TRUE;
  }
  return DrawLine(*dc, p);
}

BOOL GetCurrentPositionEx(HDC hdc, POINT *position) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !position) return FALSE;
  *position = dc->state.position;
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT *points, int count) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !ValidPoints(points, count, 2)) return FALSE;
  return DrawPolyline(*dc, {points, static_cast<size_t>(count)});
}

BOOL Polygon(HDC hdc, const POINT *points, int count) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !ValidPoints(points, count, 2)) return FALSE;
  return DrawPolygon(*dc, {points, static_cast<size_t>(count)});
}

BOOL PolyPolyline(HDC hdc, const POINT *points, const DWORD *counts, DWORD polylines) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !counts || polylines == 0 || polylines > kMaxPoints) return FALSE;
  unsigned long long total = 0;
  for (DWORD i = 0; i < polylines; ++i) {
    if (counts[i] < 2) return FALSE;
    total += counts[i];
    if (total > kMaxPoints) return FALSE;
  }
  if (!points) return FALSE;
  std::span<const POINT> all{points, static_cast<size_t>(total)};
  dc->device().PolyPolyline(*dc, all, {counts, polylines});
  size_t start = 0;
  for (DWORD i = 0; i < polylines; ++i) {
    AddFigure(*dc, all.subspan(start, counts[i]), false);
    start += counts[i];
  }
  return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  std::vector<POINT> points = ArcPoints(dc->state.mapping, Box(left, top, right, bottom),
                                        {x_start, y_start}, {x_end, y_end});
  return points.size() < 2 || DrawPolyline(*dc, points);
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  const RECT box = Box(left, top, right, bottom);
  std::vector<POINT> points = ArcPoints(dc->state.mapping, box, {x_start, y_start}, {x_end, y_end});
  if (points.size() < 2) return TRUE;
  points.insert(points.begin(), BoxCentre(box));
  return DrawPolygon(*dc, points);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  std::vector<POINT> points = EllipsePoints(dc->state.mapping, Box(left, top, right, bottom));
  return points.size() < 2 || DrawPolygon(*dc, points);
}

BOOL BeginPath(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  dc->path.clear();  // a new bracket discards any earlier path
  dc->path_open = true;
  dc->path_ready = false;
  dc->device().BeginPath(*dc);
  return TRUE;
}

BOOL EndPath(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !dc->path_open) return FALSE;
  dc->path_open = false;
  dc->path_ready = true;
  dc->device().EndPath(*dc);
  return TRUE;
}

BOOL StrokePath(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !dc->path_ready) return FALSE;
  dc->device().StrokePath(*dc);
  dc->path.clear();
  dc->path_ready = false;
  return TRUE;
}
