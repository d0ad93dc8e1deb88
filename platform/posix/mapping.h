// The page transform of a DC: mapping mode, window and viewport origins and extents, and the
// reference device whose size fixes the extents of the metric modes.
//   device = (logical - window_org) * viewport_ext / window_ext + viewport_org
// LPtoDP and DPtoLP round to the nearest integer (halves away from zero).
#pragma once

#include <cstdint>
#include <limits>

#include "platform/posix/win32_api.h"
#include "platform/saturating.h"

namespace tamvel::posix {

// The device a recording measures against: pixels and millimetres (HORZRES/VERTRES,
// HORZSIZE/VERTSIZE). The default is the fixed 96-dpi reference screen.
struct ReferenceDevice {
  SIZE pixels{1920, 1440};
  SIZE millimetres{508, 381};
  int dpi_x = 96;
  int dpi_y = 96;
};

// GetDeviceCaps of a screen of that size: true colour, no palette, DT_RASDISPLAY.
int ReferenceDeviceCaps(const ReferenceDevice &device, int index);

struct PageMapping {
  int mode = MM_TEXT;
  POINT window_org{0, 0};
  POINT viewport_org{0, 0};
  SIZE window_ext{1, 1};
  SIZE viewport_ext{1, 1};
};

// True for MM_TEXT and the five metric modes, whose extents the DC fixes.
bool IsFixedMode(int mode);
bool IsValidMode(int mode);

// Switches `mapping` to `mode`, setting the fixed extents for that mode on `reference`.
// ISOTROPIC/ANISOTROPIC keep the extents they find (as GDI does).
void ApplyMapMode(PageMapping &mapping, int mode, const ReferenceDevice &reference);

// Device pixels per logical unit along x and y (signed: negative y for y-up modes).
double ScaleX(const PageMapping &mapping);
double ScaleY(const PageMapping &mapping);

// Exact (unrounded) device coordinates of a logical point, and the inverse.
void LogicalToDevice(const PageMapping &mapping, double x, double y, double &dx, double &dy);
void DeviceToLogical(const PageMapping &mapping, double x, double y, double &lx, double &ly);

// Rounded to the nearest integer (halves away from zero) and clamped into the LONG range; NaN
// gives 0. Inline and without a library call: every recorded point goes through it.
inline LONG RoundToLong(double v) {
  constexpr LONG kMax = std::numeric_limits<LONG>::max();
  constexpr LONG kMin = std::numeric_limits<LONG>::min();
  if (!(v > kMin)) return v <= kMin ? kMin : 0;
  if (v >= kMax) return kMax;
  const auto whole = static_cast<int64_t>(v);          // toward zero
  const double rest = v - static_cast<double>(whole);  // exact at these magnitudes
  return static_cast<LONG>(whole + (rest >= 0.5) - (rest <= -0.5));
}
POINT ToDevice(const PageMapping &mapping, POINT logical);
POINT ToLogical(const PageMapping &mapping, POINT device);

}  // namespace tamvel::posix
