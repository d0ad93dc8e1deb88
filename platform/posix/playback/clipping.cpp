// Clipping records: every clip combines with the clip the caller gave the playback (a
// metafile's RGN_COPY never widens it). Regions are in target device pixels.
#include <algorithm>
#include <memory>

#include "platform/posix/handles.h"
#include "platform/posix/objects.h"
#include "platform/posix/playback/player.h"

namespace tamvel::posix::playback {

namespace {

constexpr size_t kMaxClipRects = 20000;
constexpr LONG kEverywhere = 1 << 27;  // half-size of the "no clip" region, device pixels

}  // namespace

std::vector<POINT> JoinFigures(const std::vector<std::vector<POINT>> &figures) {
  std::vector<POINT> joined;
  for (const auto &f : figures) {
    if (f.size() < 2) continue;
    const bool first = joined.empty();
    const POINT anchor = first ? f.front() : joined.front();
    joined.insert(joined.end(), f.begin(), f.end());
    joined.push_back(f.front());
    if (!first) joined.push_back(anchor);
    if (joined.size() > (size_t{1} << 24)) return {};
  }
  return joined;
}

HRGN Player::RegionOf(const Clip &clip) const {
  auto region = std::make_shared<Region>();
  if (clip) {
    region->rects = *clip;
  } else {
    region->rects = {{-kEverywhere, -kEverywhere, kEverywhere, kEverywhere}};
  }
  return AddHandle<HRGN>(std::move(region));
}

void Player::SelectClip(const Clip &clip) {
  if (!clip) {
    SelectClipRgn(hdc_, nullptr);
    return;
  }
  HRGN region = RegionOf(clip);
  SelectClipRgn(hdc_, region);
  DeleteObject(region);
}

void Player::CombineClip(HRGN shape, int mode) {
  if (shape == nullptr) return;
  // RGN_COPY replaces the playback's clip, never the caller's: the result stays within it.
  HRGN result = RegionOf(mode == RGN_COPY ? base_clip_ : dc_.state.clip);
  if (mode == RGN_COPY) {
    CombineRgn(result, result, shape, RGN_AND);
  } else if (mode >= RGN_AND && mode <= RGN_DIFF) {
    CombineRgn(result, result, shape, mode);
    if (base_clip_ && (mode == RGN_OR || mode == RGN_XOR)) {
      HRGN base = RegionOf(base_clip_);
      CombineRgn(result, result, base, RGN_AND);
      DeleteObject(base);
    }
  }
  SelectClipRgn(hdc_, result);
  DeleteObject(result);
  DeleteObject(shape);
}

void Player::On(const emf::Record &, const emf::ClipRegion &v) {
  if (!v.has_region) {
    // Reset: back to the clip the caller gave the playback.
    if (v.mode == RGN_COPY) SelectClip(base_clip_);
    return;
  }
  // The rectangles are reference-device pixels: only the frame-to-rectangle transform.
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  size_t used = 0;
  for (const emf::Rect &r : v.rects) {
    if (++used > kMaxClipRects) break;
    Point2 a = playback_.Apply({double(r.left), double(r.top)});
    Point2 b = playback_.Apply({double(r.right), double(r.bottom)});
    double ax, ay, bx, by;
    LogicalToDevice(dc_.state.mapping, a.x, a.y, ax, ay);
    LogicalToDevice(dc_.state.mapping, b.x, b.y, bx, by);
    HRGN piece = CreateRectRgn(RoundToLong(std::min(ax, bx)), RoundToLong(std::min(ay, by)),
                               RoundToLong(std::max(ax, bx)), RoundToLong(std::max(ay, by)));
    if (piece == nullptr) continue;
    CombineRgn(shape, shape, piece, RGN_OR);
    DeleteObject(piece);
  }
  CombineClip(shape, static_cast<int>(v.mode));
}

// INTERSECTCLIPRECT and EXCLUDECLIPRECT: a rectangle in recorded logical units, a polygon
// when the transform turns it.
void Player::ClipToRectangle(const emf::Rect &r, int mode) {
  POINT corners[4] = {ToTarget(r.left, r.top), ToTarget(r.right, r.top),
                      ToTarget(r.right, r.bottom), ToTarget(r.left, r.bottom)};
  for (POINT &p : corners) p = dc_.ToDevice(p);
  HRGN shape = full_.AxisAligned()
                   ? CreateRectRgn(
                         std::min(corners[0].x, corners[2].x), std::min(corners[0].y, corners[2].y),
                         std::max(corners[0].x, corners[2].x), std::max(corners[0].y, corners[2].y))
                   : CreatePolygonRgn(corners, 4, ALTERNATE);
  CombineClip(shape, mode);
}

// SELECTCLIPPATH: the figures of the path bracket as one region under the fill mode.
void Player::SelectClipPath(int mode) {
  std::vector<std::vector<POINT>> figures;
  for (const PathFigure &f : dc_.path) {
    std::vector<POINT> device;
    for (const POINT &p : f.points) device.push_back(dc_.ToDevice(p));
    if (device.size() >= 3) figures.push_back(std::move(device));
  }
  dc_.path.clear();
  dc_.path_open = false;
  dc_.path_ready = false;
  std::vector<POINT> joined = JoinFigures(figures);
  if (joined.size() < 3) return CombineClip(CreateRectRgn(0, 0, 0, 0), mode);
  CombineClip(
      CreatePolygonRgn(joined.data(), static_cast<int>(joined.size()), dc_.state.poly_fill_mode),
      mode);
}

}  // namespace tamvel::posix::playback
