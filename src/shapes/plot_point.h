// Small value types and conversions shared by the shape geometry. Nothing here touches a DC,
// so the geometry built on it is tested without one.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace tamvel {

// A point in plot units or page millimetres, single precision as the callers store them.
struct PlotPoint {
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const PlotPoint &) const = default;
};

constexpr double kPi = 3.14159265358979;
constexpr double kDegreesToRadians = kPi / 180.0;

// Truncation towards zero that never leaves the int32 range: NaN becomes 0 and values beyond
// the range saturate, so that garbage input gives a harmless number instead of undefined
// behaviour.
inline int32_t TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// |value| for the fill pattern codes; INT32_MIN has no positive counterpart and stays out of
// the pattern range as INT32_MAX.
inline int32_t AbsPatternCode(int32_t value) {
  if (value == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
  return value < 0 ? -value : value;
}

}  // namespace tamvel
