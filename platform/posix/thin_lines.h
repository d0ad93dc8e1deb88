// One-pixel lines as GDI draws a cosmetic pen on a raster: whole device pixels, one per step
// along the longer axis, in full colour. A line lights the pixels from its first point up to,
// but not including, its last point, so the segments of a polyline meet without lighting a
// pixel twice and a closed figure lights each corner once.
//
// Styled pens (dash, dot, ...) count their pattern in pixels along the line; the pattern goes
// on from one segment to the next of the same figure and starts again with every figure.
// Gap pixels are reported too, for pens whose gaps take the background colour.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

// A rectangle of pixels that a line lights: `ink` for the pen's dashes, otherwise a gap.
struct PixelRun {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 1;
  int32_t height = 1;
  bool ink = true;
  friend bool operator==(const PixelRun &, const PixelRun &) = default;
};

// The pixel pattern of a styled pen: lengths in pixels, dash first, then gap, dash, gap, ...
// An empty pattern (or one without a positive length) is a solid line.
class LineStyle {
 public:
  LineStyle() = default;
  explicit LineStyle(std::vector<uint32_t> lengths);
  // Whether the next pixel is a dash pixel; moves on by one pixel.
  bool Next();
  void Skip(int64_t pixels);  // moves on by that many pixels
  void Restart() { element_ = 0, used_ = 0; }

 private:
  std::vector<uint32_t> lengths_;
  uint64_t period_ = 0;
  size_t element_ = 0;
  uint32_t used_ = 0;
};

// The pixels of one figure through `points` (device pixels) that fall inside `bounds` (right
// and bottom exclusive); `closed` adds the edge back to the first point. Runs are merged
// along the longer axis of each segment. Pixels outside `bounds` are skipped without being
// walked (the style still counts them), so far-away coordinates cost nothing.
std::vector<PixelRun> ThinLinePixels(std::span<const POINT> points, bool closed, LineStyle &style,
                                     const RECT &bounds);
// The same, appended to `runs` (a painter reuses one buffer for every figure).
void AppendThinLinePixels(std::span<const POINT> points, bool closed, LineStyle &style,
                          const RECT &bounds, std::vector<PixelRun> &runs);

}  // namespace tamvel::posix
