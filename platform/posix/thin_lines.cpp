#include "platform/posix/thin_lines.h"

#include <algorithm>

namespace tamvel::posix {

namespace {

using Wide = __int128;  // products of two 33-bit differences

// Collects pixels into runs: a pixel next to the last run along the segment's longer axis,
// in the same row or column and of the same kind, extends it.
class RunBuilder {
 public:
  explicit RunBuilder(std::vector<PixelRun> &runs) : runs_(runs) {}
  void StartSegment(bool x_major) {
    x_major_ = x_major;
    open_ = false;
  }
  void Add(int64_t x, int64_t y, bool ink) {
    const auto px = static_cast<int32_t>(x), py = static_cast<int32_t>(y);
    if (open_ && Extend(runs_.back(), px, py, ink)) return;
    runs_.push_back({px, py, 1, 1, ink});
    open_ = true;
  }

 private:
  bool Extend(PixelRun &run, int32_t x, int32_t y, bool ink) const {
    if (run.ink != ink) return false;
    int32_t &start = x_major_ ? run.x : run.y;
    int32_t &length = x_major_ ? run.width : run.height;
    const int32_t along = x_major_ ? x : y;
    if ((x_major_ ? y != run.y : x != run.x)) return false;
    if (along == start + length) {
      ++length;
    } else if (along == start - 1) {
      --start;
      ++length;
    } else {
      return false;
    }
    return true;
  }

  std::vector<PixelRun> &runs_;
  bool x_major_ = true;
  bool open_ = false;
};

// One segment, stepping along its longer axis: step k (0 <= k < steps) lights the pixel k
// steps along that axis and the nearest one along the other, a tie going to the smaller
// coordinate (up or left) whichever way the segment runs, as GDI lights them.
class Segment {
 public:
  Segment(POINT from, POINT to) {
    const int64_t dx = int64_t{to.x} - from.x, dy = int64_t{to.y} - from.y;
    x_major_ = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    major0_ = x_major_ ? from.x : from.y;
    minor0_ = x_major_ ? from.y : from.x;
    const int64_t major = x_major_ ? dx : dy, minor = x_major_ ? dy : dx;
    major_sign_ = major < 0 ? -1 : 1;
    minor_sign_ = minor < 0 ? -1 : 1;
    steps_ = major < 0 ? -major : major;
    minor_length_ = minor < 0 ? -minor : minor;
  }
  bool x_major() const { return x_major_; }
  int64_t steps() const { return steps_; }
  int64_t Major(int64_t k) const { return major0_ + major_sign_ * k; }
  int64_t Minor(int64_t k) const {
    const Wide twice = Wide{2} * k * minor_length_ + steps_ - (minor_sign_ > 0 ? 1 : 0);
    return minor0_ + minor_sign_ * static_cast<int64_t>(twice / (2 * Wide{steps_}));
  }
  // The steps whose pixel lies in [lo, hi) on the longer axis and in [minor_lo, minor_hi)
  // on the other; empty when first > last.
  void Inside(int64_t lo, int64_t hi, int64_t minor_lo, int64_t minor_hi, int64_t &first,
              int64_t &last) const {
    first = 0;
    last = steps_ - 1;
    // Along the longer axis the pixel moves by one per step.
    const int64_t a = major_sign_ > 0 ? lo - major0_ : major0_ - (hi - 1);
    const int64_t b = major_sign_ > 0 ? hi - 1 - major0_ : major0_ - lo;
    first = std::max(first, a);
    last = std::min(last, b);
    if (first > last) return;
    // Along the other axis it moves monotonically: search both ends.
    auto in_minor = [&](int64_t k, bool from_start) {
      const int64_t m = Minor(k);
      const bool before = minor_sign_ > 0 ? m < minor_lo : m >= minor_hi;
      const bool after = minor_sign_ > 0 ? m >= minor_hi : m < minor_lo;
      return from_start ? !before : after;
    };
    first = Search(first, last + 1, [&](int64_t k) { return in_minor(k, true); });
    last = Search(first, last + 1, [&](int64_t k) { return in_minor(k, false); }) - 1;
  }

 private:
  // The first k in [lo, hi) for which the monotone `reached` holds, or hi.
  template <typename Reached>
  static int64_t Search(int64_t lo, int64_t hi, Reached reached) {
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      if (reached(mid)) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo;
  }

  bool x_major_ = true;
  int64_t major0_ = 0, minor0_ = 0;
  int64_t major_sign_ = 1, minor_sign_ = 1;
  int64_t steps_ = 0, minor_length_ = 0;
};

void WalkSegment(POINT from, POINT to, LineStyle &style, const RECT &bounds, RunBuilder &out) {
  const Segment segment(from, to);
  if (segment.steps() == 0) return;
  const bool xm = segment.x_major();
  int64_t first, last;
  segment.Inside(xm ? bounds.left : bounds.top, xm ? bounds.right : bounds.bottom,
                 xm ? bounds.top : bounds.left, xm ? bounds.bottom : bounds.right, first, last);
  if (first > last) return style.Skip(segment.steps());
  style.Skip(first);
  out.StartSegment(xm);
  for (int64_t k = first; k <= last; ++k) {
    const int64_t major = segment.Major(k), minor = segment.Minor(k);
    out.Add(xm ? major : minor, xm ? minor : major, style.Next());
  }
  style.Skip(segment.steps() - 1 - last);
}

}  // namespace

LineStyle::LineStyle(std::vector<uint32_t> lengths) {
  uint64_t period = 0;
  for (uint32_t length : lengths) period += length;
  if (period > 0) {
    lengths_ = std::move(lengths);
    period_ = period;
  }
}

bool LineStyle::Next() {
  if (lengths_.empty()) return true;
  while (used_ >= lengths_[element_]) {
    used_ = 0;
    element_ = (element_ + 1) % lengths_.size();
  }
  ++used_;
  return element_ % 2 == 0;
}

void LineStyle::Skip(int64_t pixels) {
  if (lengths_.empty() || pixels <= 0) return;
  uint64_t left = static_cast<uint64_t>(pixels) % period_;
  while (left > 0) {
    const uint64_t rest = lengths_[element_] - std::min<uint64_t>(used_, lengths_[element_]);
    if (left < rest) {
      used_ += static_cast<uint32_t>(left);
      return;
    }
    left -= rest;
    used_ = 0;
    element_ = (element_ + 1) % lengths_.size();
  }
}

std::vector<PixelRun> ThinLinePixels(std::span<const POINT> points, bool closed, LineStyle &style,
                                     const RECT &bounds) {
  std::vector<PixelRun> runs;
  AppendThinLinePixels(points, closed, style, bounds, runs);
  return runs;
}

void AppendThinLinePixels(std::span<const POINT> points, bool closed, LineStyle &style,
                          const RECT &bounds, std::vector<PixelRun> &runs) {
  RunBuilder builder(runs);
  style.Restart();
  for (size_t i = 1; i < points.size(); ++i) {
    WalkSegment(points[i - 1], points[i], style, bounds, builder);
  }
  if (closed && points.size() > 1)
    WalkSegment(points.back(), points.front(), style, bounds, builder);
}

}  // namespace tamvel::posix
