// Arcs and wedges: ARC, ARCC, WEDGE, WEDGEG. Each records one Arc or Pie about the transformed
// centre and moves the pen back to the last point it found.
#include <cmath>
#include <cstdint>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/shapes/arc_geometry.h"
#include "src/shapes/plot_point.h"
#include "src/shapes/shapes.h"

namespace tamvel {
namespace {

enum class ArcKind { kArc, kWedge };

// The pie selector: the sign of the pattern code, and no outline when the page outline flag
// is 0 (positive outline and fill, 0 outline only, negative fill only).
int32_t PieSelector(int32_t pattern) {
  if (CurrentState().outline_flag == 0) return -AbsPatternCode(pattern);
  return pattern;
}

void DrawArcOrWedge(ArcKind kind, float x, float y, float radius, float start, float end,
                    int32_t pattern) {
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  const int32_t r = ArcRadiusInPageUnits(radius, static_cast<float>(state.factor));
  start += state.rotation_angle;
  end += state.rotation_angle;
  if (r < 1 || !std::isfinite(start) || !std::isfinite(end)) return;
  TransformPoint(&x, &y);
  const POINT centre = PagePoint(x, y);
  const ArcRecordGeometry g = ArcBoxAndRadials(centre.x, centre.y, r, start, end);
  EmfPage &page = CurrentPage();
  if (kind == ArcKind::kArc) {
    page.DrawArc(g.left, g.top, g.right, g.bottom, g.x_start, g.y_start, g.x_end, g.y_end);
  } else {
    SelectFillPattern(AbsPatternCode(pattern));
    page.DrawPie(g.left, g.top, g.right, g.bottom, g.x_start, g.y_start, g.x_end, g.y_end,
                 PieSelector(pattern));
  }
  PLOT(last_x, last_y, 3);
}

// A logical x converted to device and back, relative to logical 0: the device grid's size of
// a length along x.
bool DeviceRadii(HDC dc, int32_t r, int32_t *full, int32_t *less_one_pixel) {
  POINT device[2] = {{0, 0}, {r, 0}};
  if (dc != nullptr) LPtoDP(dc, device, 2);
  if (device[1].x == device[0].x) return false;  // below one device pixel
  const LONG d2 = device[1].x >= device[0].x ? device[1].x - 1 : device[1].x + 1;
  POINT logical[3] = {device[0], device[1], {d2, device[0].y}};
  if (dc != nullptr) DPtoLP(dc, logical, 3);
  *full = logical[1].x - logical[0].x;
  *less_one_pixel = logical[2].x - logical[0].x;
  return true;
}

}  // namespace
}  // namespace tamvel

extern "C" {

// Arc about (x, y) from angle1 to angle2 (degrees, counter-clockwise from the plot x axis);
// direction -1 exchanges the two angles.
TAMVEL_API void TAMVEL_CALL ARC(float x, float y, float radius, float angle1, float angle2,
                                int32_t direction) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  float a = 0.0f;
  float b = 0.0f;
  ArcAngles(angle1, angle2, direction, 0.0f, &a, &b);
  DrawArcOrWedge(ArcKind::kArc, x, y, radius, a, b, 0);
}

// Arc from a start angle over a sweep; the sweep's sign does not change the arc direction.
TAMVEL_API void TAMVEL_CALL ARCC(float x, float y, float radius, float start, float sweep) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  DrawArcOrWedge(ArcKind::kArc, x, y, radius, start, start + sweep, 0);
}

// Sector filled with a fill pattern; a negative pattern or outline flag 0 leaves out the
// outline, pattern 0 draws the outline only.
TAMVEL_API void TAMVEL_CALL WEDGE(float x, float y, float radius, float angle1, float angle2,
                                  int32_t direction, int32_t pattern) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  float a = 0.0f;
  float b = 0.0f;
  ArcAngles(angle1, angle2, direction, 0.0f, &a, &b);
  DrawArcOrWedge(ArcKind::kWedge, x, y, radius, a, b, pattern);
}

// The sector of WEDGE placed on the recording's device pixel grid: the centre snapped to a
// pixel, the left and top sides of the box one pixel closer to the centre.
TAMVEL_API void TAMVEL_CALL WEDGEG(float x, float y, float radius, float angle1, float angle2,
                                   int32_t direction, int32_t pattern) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  const PlotState &state = CurrentState();
  const float last_x = state.last_x;
  const float last_y = state.last_y;
  const auto factor = static_cast<float>(state.factor);
  EmfPage &page = CurrentPage();
  HDC dc = page.RecordingDc();
  int32_t full = 0;
  int32_t less = 0;
  float a = 0.0f;
  float b = 0.0f;
  ArcAngles(angle1, angle2, direction, state.rotation_angle, &a, &b);
  if (!std::isfinite(a) || !std::isfinite(b)) return;
  if (!DeviceRadii(dc, ArcRadiusInPageUnits(radius, factor), &full, &less)) return;
  TransformPoint(&x, &y);
  POINT centre = PagePoint(x, y);
  if (dc != nullptr) {
    LPtoDP(dc, &centre, 1);
    DPtoLP(dc, &centre, 1);
  }
  int32_t xs = 0, ys = 0, xe = 0, ye = 0;
  WedgeGridRadial(centre.x, centre.y, radius, factor, a, &xs, &ys);
  WedgeGridRadial(centre.x, centre.y, radius, factor, b, &xe, &ye);
  SelectFillPattern(AbsPatternCode(pattern));
  page.DrawPie(SaturatingSubtract(centre.x, less), SaturatingAdd(centre.y, less),
               SaturatingAdd(centre.x, full), SaturatingSubtract(centre.y, full), xs, ys, xe, ye,
               PieSelector(pattern));
  PLOT(last_x, last_y, 3);
}

}  // extern "C"
