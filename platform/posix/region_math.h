// Regions of the stand-in as lists of device rectangles in GDI's y-x banded form: sorted top
// to bottom, then left to right; the rectangles of one band share top and bottom; no two
// overlap; right and bottom are exclusive. Plain functions, shared by the region calls, the
// clip of a DC and the metafile recorder.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

using RectList = std::vector<RECT>;

// The rectangle between two corners given in any order; empty when it has no area.
RectList RectangleRegion(int left, int top, int right, int bottom);

// The pixels whose centres lie inside the polygon under ALTERNATE or WINDING (any other mode
// counts as ALTERNATE). Fewer than three points give an empty region. Rows are limited to
// +-kMaxRegionCoordinate, far beyond any device the library records for.
RectList PolygonRegion(const POINT *points, int count, int fill_mode);
// Several closed contours filled together (a clip path): contour i has counts[i] points.
RectList PolyPolygonRegion(const POINT *points, const int *counts, int contours, int fill_mode);
constexpr int kMaxRegionCoordinate = 1 << 15;

// a (mode) b for RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF; RGN_COPY gives a. Unknown modes give a.
RectList CombineRegions(const RectList &a, const RectList &b, int mode);

// NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionKind(const RectList &rects);

// The smallest rectangle around the region; (0, 0, 0, 0) when it is empty.
RECT RegionBounds(const RectList &rects);

// Whether the device point lies inside the region.
bool RegionContains(const RectList &rects, int x, int y);

}  // namespace tamvel::posix
