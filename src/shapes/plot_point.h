// Small value types and conversions shared by the shape geometry. Nothing here touches a DC,
// so the geometry built on it is tested without one.
#pragma once

#include <cstdint>
#include <limits>

#include "src/plot/coordinates.h"  // TruncToInt32

namespace tamvel {

// A point in plot units or page millimetres, single precision as the callers store them.
struct PlotPoint {
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const PlotPoint &) const = default;
};

constexpr double kPi = 3.14159265358979;
constexpr double kDegreesToRadians = kPi / 180.0;

// |value| for the fill pattern codes; INT32_MIN has no positive counterpart and stays out of
// the pattern range as INT32_MAX.
inline int32_t AbsPatternCode(int32_t value) {
  if (value == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
  return value < 0 ? -value : value;
}

}  // namespace tamvel
