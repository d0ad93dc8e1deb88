// Banded rectangle lists: construction from rectangles and polygons, boolean combination.
#include "platform/posix/region_math.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tamvel::posix {
namespace {

using Spans = std::vector<std::pair<int, int>>;  // [left, right) sorted, disjoint

struct Band {
  int top;
  int bottom;
  Spans spans;
};

std::vector<Band> ToBands(const RectList &rects) {
  std::vector<Band> bands;
  for (const RECT &r : rects) {
    if (bands.empty() || bands.back().top != r.top || bands.back().bottom != r.bottom) {
      bands.push_back({r.top, r.bottom, {}});
    }
    bands.back().spans.emplace_back(r.left, r.right);
  }
  return bands;
}

// Appends a band, merging it into the previous one when they touch and have the same spans.
void AppendBand(std::vector<Band> *bands, int top, int bottom, Spans spans) {
  if (spans.empty() || top >= bottom) return;
  if (!bands->empty() && bands->back().bottom == top && bands->back().spans == spans) {
    bands->back().bottom = bottom;
    return;
  }
  bands->push_back({top, bottom, std::move(spans)});
}

RectList FromBands(const std::vector<Band> &bands) {
  RectList rects;
  for (const Band &band : bands) {
    for (const auto &[left, right] : band.spans)
      rects.push_back({left, band.top, right, band.bottom});
  }
  return rects;
}

bool Keep(bool in_a, bool in_b, int mode) {
  switch (mode) {
    case RGN_AND:
      return in_a && in_b;
    case RGN_OR:
      return in_a || in_b;
    case RGN_XOR:
      return in_a != in_b;
    case RGN_DIFF:
      return in_a && !in_b;
    default:
      return in_a;
  }
}

bool Covers(const Spans &spans, int x) {
  for (const auto &[left, right] : spans) {
    if (x >= left && x < right) return true;
  }
  return false;
}

Spans CombineSpans(const Spans &a, const Spans &b, int mode) {
  std::vector<int> xs;
  for (const auto &[l, r] : a) {
    xs.push_back(l);
    xs.push_back(r);
  }
  for (const auto &[l, r] : b) {
    xs.push_back(l);
    xs.push_back(r);
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  Spans out;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    if (!Keep(Covers(a, xs[i]), Covers(b, xs[i]), mode)) continue;
    if (!out.empty() && out.back().second == xs[i]) {
      out.back().second = xs[i + 1];
    } else {
      out.emplace_back(xs[i], xs[i + 1]);
    }
  }
  return out;
}

// The spans of the band of `bands` that covers [top, bottom), advancing *index past bands
// that end above it.
const Spans *SpansAt(const std::vector<Band> &bands, size_t *index, int top) {
  while (*index < bands.size() && bands[*index].bottom <= top) ++*index;
  if (*index < bands.size() && bands[*index].top <= top) return &bands[*index].spans;
  return nullptr;
}

// The first pixel column whose centre lies at or right of x, kept inside the int range.
int PixelColumn(double x) {
  const double limit = 1 << 30;
  return static_cast<int>(std::clamp(std::ceil(x - 0.5), -limit, limit));
}

bool Inside(int winding, int fill_mode) {
  return fill_mode == WINDING ? winding != 0 : (winding & 1) != 0;
}

struct Edge {
  double x_top;  // x at y_top
  double slope;  // dx/dy
  double y_top;
  double y_bottom;
  int winding;
};

void AddContourEdges(const POINT *points, int count, std::vector<Edge> *edges, double *y_min,
                     double *y_max) {
  for (int i = 0; i < count; ++i) {
    const POINT a = points[i];
    const POINT b = points[(i + 1) % count];
    if (a.y == b.y) continue;
    const bool down = b.y > a.y;
    const POINT top = down ? a : b;
    const POINT bottom = down ? b : a;
    // In double: the differences of two LONGs can overflow an int.
    const double dx = static_cast<double>(bottom.x) - top.x;
    const double dy = static_cast<double>(bottom.y) - top.y;
    edges->push_back({static_cast<double>(top.x), dx / dy, static_cast<double>(top.y),
                      static_cast<double>(bottom.y), down ? 1 : -1});
    *y_min = std::min(*y_min, static_cast<double>(top.y));
    *y_max = std::max(*y_max, static_cast<double>(bottom.y));
  }
}

}  // namespace

RectList RectangleRegion(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return {};
  return {{left, top, right, bottom}};
}

RectList PolygonRegion(const POINT *points, int count, int fill_mode) {
  return PolyPolygonRegion(points, &count, 1, fill_mode);
}

RectList PolyPolygonRegion(const POINT *points, const int *counts, int contours, int fill_mode) {
  if (points == nullptr || counts == nullptr || contours <= 0) return {};
  std::vector<Edge> edges;
  double y_min = kMaxRegionCoordinate;
  double y_max = -kMaxRegionCoordinate;
  const POINT *contour = points;
  for (int c = 0; c < contours; ++c) {
    const int count = counts[c];
    if (count < 0) return {};
    if (count >= 3) AddContourEdges(contour, count, &edges, &y_min, &y_max);
    contour += count;
  }
  if (edges.empty()) return {};
  std::sort(edges.begin(), edges.end(),
            [](const Edge &l, const Edge &r) { return l.y_top < r.y_top; });
  const int first_row =
      static_cast<int>(std::max<double>(std::floor(y_min), -kMaxRegionCoordinate));
  const int end_row = static_cast<int>(std::min<double>(std::ceil(y_max), kMaxRegionCoordinate));

  std::vector<Band> bands;
  std::vector<const Edge *> active;
  std::vector<std::pair<double, int>> crossings;
  size_t next_edge = 0;
  for (int row = first_row; row < end_row; ++row) {
    const double yc = row + 0.5;  // sample at the pixel centre
    while (next_edge < edges.size() && edges[next_edge].y_top <= yc) {
      active.push_back(&edges[next_edge++]);
    }
    std::erase_if(active, [yc](const Edge *e) { return e->y_bottom <= yc; });
    crossings.clear();
    for (const Edge *e : active) {
      if (e->y_top <= yc) crossings.emplace_back(e->x_top + (yc - e->y_top) * e->slope, e->winding);
    }
    std::sort(crossings.begin(), crossings.end());
    Spans spans;
    int winding = 0;
    double run_start = 0.0;
    for (const auto &[x, edge_winding] : crossings) {
      const bool was_inside = Inside(winding, fill_mode);
      winding += fill_mode == WINDING ? edge_winding : 1;
      const bool inside = Inside(winding, fill_mode);
      if (!was_inside && inside) {
        run_start = x;
      } else if (was_inside && !inside) {
        // Pixels whose centres lie in [run_start, x).
        const int left = PixelColumn(run_start);
        const int right = PixelColumn(x);
        if (left >= right) continue;
        if (!spans.empty() && spans.back().second >= left) {
          spans.back().second = std::max(spans.back().second, right);
        } else {
          spans.emplace_back(left, right);
        }
      }
    }
    AppendBand(&bands, row, row + 1, std::move(spans));
  }
  return FromBands(bands);
}

RectList CombineRegions(const RectList &a, const RectList &b, int mode) {
  if (mode == RGN_COPY ||
      (mode != RGN_AND && mode != RGN_OR && mode != RGN_XOR && mode != RGN_DIFF)) {
    return a;
  }
  const std::vector<Band> bands_a = ToBands(a);
  const std::vector<Band> bands_b = ToBands(b);
  std::vector<int> ys;
  for (const Band &band : bands_a) {
    ys.push_back(band.top);
    ys.push_back(band.bottom);
  }
  for (const Band &band : bands_b) {
    ys.push_back(band.top);
    ys.push_back(band.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<Band> out;
  size_t index_a = 0;
  size_t index_b = 0;
  const Spans none;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const Spans *spans_a = SpansAt(bands_a, &index_a, ys[i]);
    const Spans *spans_b = SpansAt(bands_b, &index_b, ys[i]);
    if (spans_a == nullptr && spans_b == nullptr) continue;
    AppendBand(&out, ys[i], ys[i + 1],
               CombineSpans(spans_a ? *spans_a : none, spans_b ? *spans_b : none, mode));
  }
  return FromBands(out);
}

int RegionKind(const RectList &rects) {
  if (rects.empty()) return NULLREGION;
  return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT RegionBounds(const RectList &rects) {
  if (rects.empty()) return {0, 0, 0, 0};
  RECT bounds = rects.front();
  for (const RECT &r : rects) {
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  return bounds;
}

bool RegionContains(const RectList &rects, int x, int y) {
  for (const RECT &r : rects) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

}  // namespace tamvel::posix
