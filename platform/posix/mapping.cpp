#include "platform/posix/mapping.h"

#include <cmath>

namespace tamvel::posix {

int ReferenceDeviceCaps(const ReferenceDevice &device, int index) {
  switch (index) {
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZSIZE:
      return device.millimetres.cx;
    case VERTSIZE:
      return device.millimetres.cy;
    case HORZRES:
      return device.pixels.cx;
    case VERTRES:
      return device.pixels.cy;
    case LOGPIXELSX:
      return device.dpi_x;
    case LOGPIXELSY:
      return device.dpi_y;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case COLORRES:
      return 24;
    case NUMRESERVED:
      return 20;
    // Blits, DIBs, stretching, flood fill, big fonts; no RC_PALETTE: a true-colour screen.
    case RASTERCAPS:
      return 0x7E99;
    default:
      return 0;
  }
}

bool IsFixedMode(int mode) { return mode >= MM_TEXT && mode <= MM_TWIPS; }
bool IsValidMode(int mode) { return mode >= MM_TEXT && mode <= MM_ANISOTROPIC; }

namespace {

// Window extent of a metric mode in logical units per millimetre, as a fraction, so that
// the extents come out as GDI computes them: WindowExt = size_mm * numerator / denominator.
struct UnitsPerMm {
  long numerator;
  long denominator;
};

UnitsPerMm MetricUnits(int mode) {
  switch (mode) {
    case MM_LOMETRIC:
      return {10, 1};
    case MM_HIMETRIC:
      return {100, 1};
    case MM_LOENGLISH:
      return {1000, 254};
    case MM_HIENGLISH:
      return {10000, 254};
    case MM_TWIPS:
      return {14400, 254};
    default:
      return {1, 1};
  }
}

}  // namespace

void ApplyMapMode(PageMapping &mapping, int mode, const ReferenceDevice &reference) {
  mapping.mode = mode;
  if (mode == MM_TEXT) {
    mapping.window_ext = {1, 1};
    mapping.viewport_ext = {1, 1};
  } else if (IsFixedMode(mode)) {
    UnitsPerMm units = MetricUnits(mode);
    mapping.window_ext = {
        static_cast<LONG>(reference.millimetres.cx * units.numerator / units.denominator),
        static_cast<LONG>(reference.millimetres.cy * units.numerator / units.denominator)};
    mapping.viewport_ext = {reference.pixels.cx, -reference.pixels.cy};
  }
}

double ScaleX(const PageMapping &m) {
  return static_cast<double>(m.viewport_ext.cx) / m.window_ext.cx;
}
double ScaleY(const PageMapping &m) {
  return static_cast<double>(m.viewport_ext.cy) / m.window_ext.cy;
}

void LogicalToDevice(const PageMapping &m, double x, double y, double &dx, double &dy) {
  dx = (x - m.window_org.x) * ScaleX(m) + m.viewport_org.x;
  dy = (y - m.window_org.y) * ScaleY(m) + m.viewport_org.y;
}

void DeviceToLogical(const PageMapping &m, double x, double y, double &lx, double &ly) {
  lx = (x - m.viewport_org.x) / ScaleX(m) + m.window_org.x;
  ly = (y - m.viewport_org.y) / ScaleY(m) + m.window_org.y;
}

POINT ToDevice(const PageMapping &mapping, POINT p) {
  double x, y;
  LogicalToDevice(mapping, p.x, p.y, x, y);
  return {RoundToLong(x), RoundToLong(y)};
}

POINT ToLogical(const PageMapping &mapping, POINT p) {
  double x, y;
  DeviceToLogical(mapping, p.x, p.y, x, y);
  return {RoundToLong(x), RoundToLong(y)};
}

}  // namespace tamvel::posix
