// Patterned and dashed lines and grids: LINE6, DASHP, GRID.
#include <algorithm>
#include <cstdint>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/shapes/dash_walk.h"
#include "src/shapes/heap_array.h"
#include "src/shapes/shapes.h"

namespace tamvel {
namespace {

// First pass of the walk: only counts, so that the second pass fills arrays of exactly the
// right size.
struct CountingSink {
  int64_t points = 0;
  int64_t polylines = 0;
  void StartPolyline() { ++polylines; }
  void Append(PlotPoint) { ++points; }
};

// Second pass: page-unit points and the point count of each polyline. A polyline that ends
// with fewer than two points (a path of one vertex) is dropped: it would draw nothing.
struct FillingSink {
  POINT *points = nullptr;
  DWORD *counts = nullptr;
  int64_t point_count = 0;
  int64_t polyline_count = 0;

  void StartPolyline() {
    DropShortLast();
    counts[polyline_count++] = 0;
  }
  void Append(PlotPoint p) {
    points[point_count++] = PagePoint(p.x, p.y);
    ++counts[polyline_count - 1];
  }
  void DropShortLast() {
    if (polyline_count > 0 && counts[polyline_count - 1] < 2) {
      point_count -= counts[polyline_count - 1];
      --polyline_count;
    }
  }
};

// All dashes as one PolyPolyline inside one path, stroked once with a geometric pen of the
// page pen's width and colour whose ends are cut flat; the page pen (now solid) stands in if
// that pen cannot be made.
void StrokeDashes(EmfPage &page, const POINT *points, const DWORD *counts, DWORD polylines) {
  HDC dc = page.RecordingDc();
  if (dc == nullptr || polylines == 0) return;
  const LOGPEN &pen = page.PenDescription();
  LOGBRUSH brush{};
  brush.lbStyle = BS_SOLID;
  brush.lbColor = pen.lopnColor;
  brush.lbHatch = 0;
  HPEN geometric =
      ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_BEVEL,
                   static_cast<DWORD>(std::max<LONG>(pen.lopnWidth.x, 0)), &brush, 0, nullptr);
  if (geometric != nullptr) SelectObject(dc, geometric);
  BeginPath(dc);
  PolyPolyline(dc, points, counts, polylines);
  EndPath(dc);
  StrokePath(dc);
  if (geometric != nullptr) {
    SelectObject(dc, page.PenHandle());
    DeleteObject(geometric);
  }
}

void DrawDashedPath(EmfPage &page, const PlotPoint *vertices, int32_t count,
                    const DashPattern &pattern) {
  CountingSink counted;
  WalkDashes(vertices, count, pattern, counted);
  HeapArray<POINT> points(counted.points + 1);
  HeapArray<DWORD> counts(counted.polylines + 1);
  if (!points.ok() || !counts.ok()) return;
  FillingSink filling{points.data(), counts.data()};
  WalkDashes(vertices, count, pattern, filling);
  filling.DropShortLast();
  StrokeDashes(page, points.data(), counts.data(), static_cast<DWORD>(filling.polyline_count));
}

void DrawSolidPath(EmfPage &page, const PlotPoint *vertices, int32_t count) {
  HeapArray<POINT> points(count);
  if (!points.ok()) return;
  for (int32_t i = 0; i < count; ++i) {
    points[i] = PagePoint(vertices[i].x, vertices[i].y);
  }
  if (count >= 2) page.DrawPolyline(points.data(), count);
}

void DrawPatternedPath(int32_t pattern, const float *x, const float *y, int32_t count) {
  EmfPage &page = CurrentPage();
  if (!page.IsRecording()) return;  // nothing would be drawn; the caller restores the rest
  HeapArray<PlotPoint> vertices(count);
  if (!vertices.ok()) return;
  for (int32_t i = 0; i < count; ++i) {
    float vx = x[i];
    float vy = y[i];
    TransformPoint(&vx, &vy);
    vertices[i] = {vx, vy};
  }
  UINT style = PS_SOLID;
  int32_t width = 0;
  COLORREF colour = 0;
  page.ReadPenState(&style, &width, &colour);
  DashPattern dashes;
  // Pattern 0, negative patterns and patterns beyond the table draw a solid polyline.
  if (MakeDashPattern(pattern, DashWidthAllowance(width), &dashes)) {
    DrawDashedPath(page, vertices.data(), count, dashes);
  } else {
    DrawSolidPath(page, vertices.data(), count);
  }
}

void DrawDashSteps(EmfPage &page, PlotPoint start, PlotPoint end, const DashStepPlan &plan) {
  HDC dc = page.RecordingDc();
  if (dc == nullptr) return;
  const int32_t dashes = (plan.steps + 1) / 2;
  HeapArray<POINT> points(2 * static_cast<int64_t>(dashes));
  HeapArray<DWORD> counts(dashes);
  if (!points.ok() || !counts.ok()) return;
  for (int32_t i = 0; i < 2 * dashes; ++i) {
    const PlotPoint p = DashStepPoint(start, end, plan, i);
    points[i] = PagePoint(p.x, p.y);
  }
  for (int32_t i = 0; i < dashes; ++i) counts[i] = 2;
  PolyPolyline(dc, points.data(), counts.data(), static_cast<DWORD>(dashes));
}

// GRID draws at most this many cells in each direction; beyond that every further line lies
// far outside any page and would only cost time.
constexpr int64_t kMaxGridCells = 100000;

}  // namespace
}  // namespace tamvel

extern "C" {

// A polyline in plot units with one of the eleven dash patterns, cut by the library itself;
// patterns 0, negative and above 11 draw it solid. The line type, the last point and the pen
// position are as before the call.
TAMVEL_API void TAMVEL_CALL LINE6(int32_t pattern, const float *x, const float *y, int32_t count) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  const int32_t previous = SetLineType(pattern);
  SetLineType(0);
  // No vertices (or no arrays to read them from) draw nothing, but the call still records
  // its pen changes and ends with its move, as for any path.
  if (x != nullptr && y != nullptr && count > 0) DrawPatternedPath(pattern, x, y, count);
  SetLineType(previous);
  PLOT(last_x, last_y, 3);
}

// Equal dashes and gaps of length `dash` (millimetres on the page) from the last point to
// (x, y); every call starts with a dash. The last dash stops at the end point.
TAMVEL_API void TAMVEL_CALL DASHP(float x, float y, float dash) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  if (DashIsSolid(dash)) {
    PLOT(x, y, 2);
    return;
  }
  const PlotState &state = CurrentState();
  PlotPoint start{state.last_x, state.last_y};
  TransformPoint(&start.x, &start.y);
  PlotPoint end{x, y};
  TransformPoint(&end.x, &end.y);
  const DashStepPlan plan = PlanDashSteps(start, end, dash);
  if (plan.kind == DashStepPlan::Kind::kNothing) return;
  EmfPage &page = CurrentPage();
  const POINT target = PagePoint(end.x, end.y);
  if (plan.kind == DashStepPlan::Kind::kDashes) {
    DrawDashSteps(page, start, end, plan);
  } else {
    page.DrawLineTo(target.x, target.y);  // too many steps, or no usable length: solid
  }
  page.MovePenTo(target.x, target.y);
}

// The lines of nx x ny cells of dx x dy with one corner at (x, y), drawn with the page pen as
// it is; the last point is restored. Both counts stop at kMaxGridCells alike, and every line
// spans the cells drawn across it, so a capped grid is still a whole grid.
TAMVEL_API void TAMVEL_CALL GRID(float x, float y, float dx, float dy, int32_t nx, int32_t ny) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  if (x == 999.0f) x = last_x;
  if (y == 999.0f) y = last_y;
  const int64_t columns = std::min<int64_t>(nx, kMaxGridCells);
  const int64_t rows = std::min<int64_t>(ny, kMaxGridCells);
  const float top = y + static_cast<float>(rows) * dy;
  const float right = x + static_cast<float>(columns) * dx;
  for (int64_t i = 0; i <= columns; ++i) {
    const float column = x + static_cast<float>(i) * dx;
    PLOT(column, y, 3);
    PLOT(column, top, 2);
  }
  for (int64_t j = 0; j <= rows; ++j) {
    const float row = y + static_cast<float>(j) * dy;
    PLOT(x, row, 3);
    PLOT(right, row, 2);
  }
  PLOT(last_x, last_y, 3);
}

}  // extern "C"
