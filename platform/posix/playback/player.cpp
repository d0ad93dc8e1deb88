// PlayEnhMetaFile and the player's core: the transforms, the walk over the records and the
// visit that hands each record to its On overload (player.h).
#include "platform/posix/playback/player.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <span>

#include "platform/posix/handles.h"
#include "platform/posix/objects.h"
#include "platform/posix/record_builder.h"
#include "platform/posix/recorder.h"

namespace tamvel::posix::playback {

Player::Player(HDC hdc, Dc &dc, std::span<const uint8_t> image, const emf::Header &header,
               const RECT &rect)
    : hdc_(hdc), dc_(dc), image_(image) {
  // The header's reference device; a file that gives none is read as the 96-dpi screen.
  if (header.device.cx > 0 && header.device.cy > 0 && header.millimeters.cx > 0 &&
      header.millimeters.cy > 0) {
    recorded_reference_.pixels = {header.device.cx, header.device.cy};
    recorded_reference_.millimetres = {header.millimeters.cx, header.millimeters.cy};
  }
  const double px_x = static_cast<double>(recorded_reference_.pixels.cx) /
                      (recorded_reference_.millimetres.cx * 100.0);
  const double px_y = static_cast<double>(recorded_reference_.pixels.cy) /
                      (recorded_reference_.millimetres.cy * 100.0);
  const double fl = header.frame.left * px_x, fr = header.frame.right * px_x;
  const double ft = header.frame.top * px_y, fb = header.frame.bottom * px_y;
  // A frame without width or height maps one reference pixel to one target unit.
  const double sx = fr != fl ? (static_cast<double>(rect.right) - rect.left) / (fr - fl) : 1.0;
  const double sy = fb != ft ? (static_cast<double>(rect.bottom) - rect.top) / (fb - ft) : 1.0;
  playback_ = {sx * kFineGrid,
               0,
               0,
               sy * kFineGrid,
               (rect.left - fl * sx) * kFineGrid,
               (rect.top - ft * sy) * kFineGrid};
  slots_.resize(std::max<size_t>(header.handles, 1));
  base_clip_ = dc.state.clip;
  UpdateTransform();
}

Player::~Player() {
  for (HGDIOBJ object : made_) DeleteObject(object);
}

void Player::UpdateTransform() {
  full_ = Compose(playback_, Compose(FromMapping(state_.mapping), state_.world));
}

POINT Player::ToTarget(double x, double y) const {
  Point2 p = ToTargetExact(x, y);
  if (dc_.device().WholePixels()) {
    // One rounding, from the recording straight to a device pixel, as GDI rounds.
    double dx, dy;
    LogicalToDevice(dc_.state.mapping, p.x, p.y, dx, dy);
    DeviceToLogical(dc_.state.mapping, std::floor(dx + 0.5), std::floor(dy + 0.5), p.x, p.y);
  }
  return {RoundToLong(p.x), RoundToLong(p.y)};
}

std::vector<POINT> Player::ToTarget(const std::vector<Point2> &points) const {
  std::vector<POINT> out;
  out.reserve(points.size());
  for (const Point2 &p : points) out.push_back(ToTarget(p.x, p.y));
  return out;
}

std::vector<Point2> Player::FromRecord(const std::vector<emf::Point> &points) const {
  std::vector<Point2> out;
  out.reserve(points.size());
  for (const emf::Point &p : points) out.push_back({double(p.x), double(p.y)});
  return out;
}

double Player::DevicePixelsPerUnit() const {
  const double target = std::fabs(ScaleX(dc_.state.mapping));
  const double scale = std::sqrt(std::fabs(full_.Determinant())) * target;
  return std::isfinite(scale) ? scale : 1.0;
}

bool Player::Mirrored() const {
  // Playback and target mapping together against the recording device's orientation.
  const double device = ScaleX(dc_.state.mapping) * ScaleY(dc_.state.mapping);
  return playback_.Determinant() * device < 0;
}

bool Player::RecordedFlip() const {
  return Compose(FromMapping(state_.mapping), state_.world).Determinant() < 0;
}

void Player::Play() {
  // Playback starts from the default DC state; the caller's state comes back at the end.
  SelectObject(hdc_, GetStockObject(BLACK_PEN));
  SelectObject(hdc_, GetStockObject(WHITE_BRUSH));
  SelectObject(hdc_, GetStockObject(SYSTEM_FONT));
  SetBkMode(hdc_, OPAQUE);
  SetBkColor(hdc_, RGB(255, 255, 255));
  SetTextColor(hdc_, RGB(0, 0, 0));
  SetTextAlign(hdc_, TA_LEFT | TA_TOP);
  SetROP2(hdc_, R2_COPYPEN);
  SetPolyFillMode(hdc_, ALTERNATE);
  MoveToEx(hdc_, 0, 0, nullptr);
  // The records are decoded one at a time while playing, none of them kept.
  emf::ForEachRecord(image_.data(), image_.size(), [this](const emf::Record &record) {
    if (record.type == emf::kEof) return false;
    std::visit([&](const auto &view) { On(record, view); }, record.body);
    return true;
  });
}

}  // namespace tamvel::posix::playback

using namespace tamvel::posix;
using tamvel::posix::playback::kFineGrid;

BOOL PlayEnhMetaFile(HDC hdc, HENHMETAFILE hemf, const RECT *rect) {
  Dc *dc = LookupDc(hdc);
  std::shared_ptr<Metafile> metafile = Lookup<Metafile>(hemf);
  if (dc == nullptr || !metafile || rect == nullptr) return FALSE;
  // The header first; the records follow while playing, none of them kept.
  const std::span<const uint8_t> image = metafile->bytes();
  std::optional<tamvel::emf::Header> header;
  tamvel::emf::ForEachRecord(image.data(), image.size(), [&](const tamvel::emf::Record &first) {
    if (const auto *h = first.As<tamvel::emf::Header>()) header = *h;
    return false;
  });
  if (!header) return FALSE;

  const int level = SaveDC(hdc);
  if (level == 0) return FALSE;
  // The caller's path survives a metafile that leaves its own path open.
  std::vector<PathFigure> path = dc->path;
  const bool path_open = dc->path_open, path_ready = dc->path_ready;
  // A finer logical grid for the playback (undone by the RestoreDC below).
  PageMapping &mapping = dc->state.mapping;
  if (mapping.mode != MM_ISOTROPIC && mapping.mode != MM_ANISOTROPIC) {
    mapping.mode = MM_ANISOTROPIC;
  }
  mapping.window_ext.cx *= kFineGrid;
  mapping.window_ext.cy *= kFineGrid;
  mapping.window_org.x *= kFineGrid;
  mapping.window_org.y *= kFineGrid;
  dc->device().MapModeChanged(*dc);
  if (MetafileRecorder *recorder = dc->Recorder()) {
    // A recording target writes the finer grid too (SetMapMode alone keeps the extents).
    RecordBuilder window(tamvel::emf::kSetWindowExtEx);
    window.I32(mapping.window_ext.cx).I32(mapping.window_ext.cy);
    recorder->Append(std::move(window));
    RecordBuilder viewport(tamvel::emf::kSetViewportExtEx);
    viewport.I32(mapping.viewport_ext.cx).I32(mapping.viewport_ext.cy);
    recorder->Append(std::move(viewport));
  }
  dc->device().WindowOrgChanged(*dc);
  {
    playback::Player player(hdc, *dc, image, *header, *rect);
    player.Play();
    RestoreDC(hdc, level);
  }
  dc->path = std::move(path);
  dc->path_open = path_open;
  dc->path_ready = path_ready;
  return TRUE;
}
