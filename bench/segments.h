// The page every comparison draws: a zig-zag walk of short segments over an A4 page, the same
// for the library (millimetres through PLOT) and for the recorders it is compared with (twips
// through LineTo in MM_TWIPS, the units the library's pages record in).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace bench {

constexpr float kPageWidthMm = 210.0f;
constexpr float kPageHeightMm = 297.0f;
// The picture frame of that page in 0.01 mm (y down, above the x axis: MM_TWIPS is y up).
constexpr long kFrameLeft = 0, kFrameTop = -29700, kFrameRight = 21000, kFrameBottom = 0;

struct MmPoint {
  float x, y;
};

// End point of segment i (segment 0 starts at SegmentEnd(-1) = the first move).
inline MmPoint SegmentEnd(int64_t i) {
  const int64_t k = i + 1;
  return {10.0f + static_cast<float>(std::fmod(static_cast<double>(k) * 0.37, 190.0)),
          10.0f + static_cast<float>(std::fmod(static_cast<double>(k / 512) * 0.5, 277.0)) +
              ((k % 2) ? 0.3f : 0.0f)};
}

inline int32_t Twips(float mm) { return static_cast<int32_t>(std::lround(mm * 1440.0 / 25.4)); }

// How many segments a page has: TAMVEL_BENCH_SEGMENTS, else one million.
inline int64_t PageSegments() {
  const char *value = std::getenv("TAMVEL_BENCH_SEGMENTS");
  const long long n = value ? std::atoll(value) : 0;
  return n > 0 ? n : 1000000;
}

}  // namespace bench
