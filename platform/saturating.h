// Integer arithmetic on numbers a caller controls (page units, logical and device coordinates,
// extents, tenths of a degree), shared by the library and the stand-in. Sums, differences and
// products saturate at the 32-bit limits instead of overflowing, and every conversion from
// floating point is defined: NaN gives 0, values beyond the range the nearest limit.
#pragma once

#include <cmath>
#include <cstdint>

namespace tamvel {

constexpr int32_t SaturateToInt32(int64_t value) {
  return value < INT32_MIN   ? INT32_MIN
         : value > INT32_MAX ? INT32_MAX
                             : static_cast<int32_t>(value);
}

// Truncation towards zero.
inline int32_t TruncToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT32_MIN)) return INT32_MIN;
  if (value >= static_cast<double>(INT32_MAX)) return INT32_MAX;
  return static_cast<int32_t>(value);
}

// Rounding half away from zero (page-unit conversion, device coordinates).
inline int32_t RoundToInt32(double value) {
  return TruncToInt32(value >= 0.0 ? value + 0.5 : value - 0.5);
}

constexpr int32_t SaturatingAdd(int32_t a, int32_t b) {
  return SaturateToInt32(static_cast<int64_t>(a) + b);
}

constexpr int32_t SaturatingSubtract(int32_t a, int32_t b) {
  return SaturateToInt32(static_cast<int64_t>(a) - b);
}

// value × factor, truncated towards zero.
inline int32_t SaturatingScale(int32_t value, double factor) {
  return TruncToInt32(value * factor);
}

// Half of the extent from `low` to `high`, truncated towards zero: the distance from an edge to
// the centre, for any two coordinates.
constexpr int32_t HalfExtent(int32_t low, int32_t high) {
  return static_cast<int32_t>((static_cast<int64_t>(high) - low) / 2);
}

// Angles: an escapement (tenths of a degree) as GDI reads it, within one turn, so that adding
// a quarter turn or changing its sign cannot overflow; degrees within one turn (NaN stays
// NaN, an infinity becomes NaN), for angles that go on to become escapements.
constexpr int32_t ReducedTenths(int32_t tenths) { return tenths % 3600; }
inline double ReducedDegrees(double degrees) { return std::fmod(degrees, 360.0); }

}  // namespace tamvel
