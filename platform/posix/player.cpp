// PlayEnhMetaFile: decodes a metafile and replays its records as calls on any DC (an image,
// a printer, an SVG drawing or another recording), under the transform that maps the picture
// frame onto the target rectangle.
//
// The player keeps the recorded DC's page transform (mapping mode, origins, extents, world
// transform) to itself and hands the target DC only its own logical coordinates: every point
// goes recorded logical units -> reference-device pixels (the recorded page transform, on
// the header's reference device) -> target logical units (frame onto rectangle). The target's
// mapping is never changed except for a finer logical grid inside the playback, so the
// composition with the caller's own mapping is exact and a recording target re-records in
// its own units. Arcs, ellipses and curves are flattened in recorded units before they are
// transformed, so any mapping (flipped, scaled, sheared) places them right.
//
// Hostile files: the decoder checks every record against its bounds; the player skips what
// it cannot use (unknown records, object indexes outside the table, counts it refuses),
// bounds every allocation and every flattening, and always restores the target DC.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

#include "platform/emf/dib_pixels.h"
#include "platform/emf/emf_decoder.h"
#include "platform/posix/code_page.h"
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/objects.h"
#include "platform/posix/record_builder.h"
#include "platform/posix/recorder.h"
#include "platform/posix/text.h"

namespace tamvel::posix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int AD_COUNTERCLOCKWISE = 1;
constexpr int AD_CLOCKWISE = 2;
constexpr uint32_t ETO_OPAQUE = 0x0002;
constexpr uint32_t ETO_CLIPPED = 0x0004;
// Target logical units per unit of the caller's mapping while the player draws: sub-pixel
// positions survive on raster targets and in re-recorded metafiles.
constexpr int kFineGrid = 16;
constexpr size_t kMaxClipRects = 20000;
constexpr int kMaxArcSegments = 2048;
constexpr int kMaxCurveSegments = 256;
constexpr LONG kEverywhere = 1 << 27;  // half-size of the "no clip" region, device pixels

struct Point2 {
  double x = 0;
  double y = 0;
};

// x' = a x + c y + e, y' = b x + d y + f (the XFORM layout).
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point2 Apply(Point2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  double Determinant() const { return a * d - b * c; }
  // Lengths of the images of the unit x and y vectors.
  double XScale() const { return std::hypot(a, b); }
  double YScale() const { return std::hypot(c, d); }
  bool AxisAligned() const { return b == 0 && c == 0; }
};

// `then` after `first`.
Affine Compose(const Affine &then, const Affine &first) {
  return {
      then.a * first.a + then.c * first.b,          then.b * first.a + then.d * first.b,
      then.a * first.c + then.c * first.d,          then.b * first.c + then.d * first.d,
      then.a * first.e + then.c * first.f + then.e, then.b * first.e + then.d * first.f + then.f};
}

Affine FromXform(const emf::Xform &x) {
  Affine m{x.m11, x.m12, x.m21, x.m22, x.dx, x.dy};
  for (double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
    if (!std::isfinite(v)) return {};
  }
  return m;
}

Affine FromMapping(const PageMapping &m) {
  double x0, y0, x1, y1;
  LogicalToDevice(m, 0, 0, x0, y0);
  LogicalToDevice(m, 1, 1, x1, y1);
  return {x1 - x0, 0, 0, y1 - y0, x0, y0};
}

// What the recorded DC's SaveDC keeps of the state the player tracks itself.
struct RecordedState {
  PageMapping mapping;
  Affine world;
  int arc_direction = AD_COUNTERCLOCKWISE;
  Point2 position;  // recorded logical units
};

// One slot of the metafile's object table. Pens and fonts depend on the transform in force
// when they are selected, so the target's objects are made at selection time.
struct Slot {
  enum class Kind {
    kEmpty,
    kPen,
    kExtPen,
    kBrush,
    kPatternBrush,
    kFont,
    kPalette
  } kind = Kind::kEmpty;
  emf::Pen pen;
  emf::ExtPen ext_pen;
  emf::Brush brush;
  emf::PatternBrush pattern;
  emf::Font font;
  HPALETTE palette = nullptr;
};

using Clip = std::optional<std::vector<RECT>>;

// One polygon through several closed figures: each figure is entered from the first one's
// start and left back to it along the same edge, so the joins cancel out under either fill
// rule. Empty when the figures have too few or too many points.
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

class Player {
 public:
  Player(HDC hdc, Dc &dc, std::span<const uint8_t> image, const emf::Header &header,
         const RECT &rect);
  ~Player();  // deletes the objects made for the target (after the caller's RestoreDC)
  Player(const Player &) = delete;
  Player &operator=(const Player &) = delete;
  void Play();

 private:
  // --- transforms ---
  void UpdateTransform();
  Point2 ToTargetExact(double x, double y) const { return full_.Apply({x, y}); }
  POINT ToTarget(double x, double y) const;
  std::vector<POINT> ToTarget(const std::vector<Point2> &points) const;
  std::vector<Point2> FromRecord(const std::vector<emf::Point> &points) const;
  // Device pixels of the target per recorded logical unit (for flattening tolerances).
  double DevicePixelsPerUnit() const;
  bool Mirrored() const;  // the picture is mirrored on the target device

  // --- records ---
  void Dispatch(const emf::Record &record);
  void OnValue(uint32_t type, const emf::Value &v);
  void OnPoint(uint32_t type, const emf::PointValue &v);
  void OnEmpty(uint32_t type);
  void OnRect(uint32_t type, const emf::RectValue &v);
  void OnArc(uint32_t type, const emf::ArcValue &v);
  void OnPoly(uint32_t type, const emf::Poly &v);
  void OnPolyPoly(uint32_t type, const emf::PolyPoly &v);
  void OnText(const emf::Text &text);
  void OnClipRegion(const emf::ClipRegion &v);
  void OnWorldTransform(uint32_t type, const emf::WorldTransform &v);
  void OnBlit(uint32_t type, const emf::Blit &v);
  void OnRoundRect(const emf::Record &record);
  void OnMapExtent(bool window, const emf::Point &extent);
  void OnScaleExtent(bool window, const emf::ExtentScale &v);
  void PaintBitmap(uint32_t type, const emf::Blit &v);

  // --- objects ---
  Slot *SlotAt(uint32_t index);
  void Select(uint32_t index);
  HGDIOBJ MakeObject(const Slot &slot);
  HGDIOBJ Keep(HGDIOBJ object);
  void SelectPalette(uint32_t index);

  // --- drawing ---
  void DrawPolyline(const std::vector<Point2> &points);
  void DrawPolygon(const std::vector<Point2> &points);
  void DrawFigures(const std::vector<std::vector<Point2>> &figures);
  void FillTargetFigures(const std::vector<std::vector<POINT>> &figures);
  void LineToAll(const std::vector<Point2> &points);
  std::vector<Point2> ArcPoints(const emf::Rect &box, emf::Point start, emf::Point end,
                                bool whole_if_equal) const;
  std::vector<Point2> Bezier(Point2 start, const std::vector<Point2> &controls) const;
  void FillPath(bool stroke);

  // --- clipping ---
  void SelectClip(const Clip &clip);
  HRGN RegionOf(const Clip &clip) const;
  void CombineClip(HRGN shape, int mode);  // shape in target device pixels

  HDC hdc_;
  Dc &dc_;
  std::span<const uint8_t> image_;  // the records are decoded one at a time while playing
  ReferenceDevice recorded_reference_;
  Affine playback_;  // reference pixels -> target logical units (fine grid)
  Affine full_;      // recorded logical units -> target logical units
  RecordedState state_;
  std::vector<RecordedState> saved_;
  std::vector<Slot> slots_;
  std::vector<HGDIOBJ> made_;  // every object made for the target; deleted at the end
  Clip base_clip_;
};

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
  emf::ForEachRecord(image_.data(), image_.size(), [this](const emf::Record &record) {
    if (record.type == emf::EMR_EOF) return false;
    Dispatch(record);
    return true;
  });
}

void Player::Dispatch(const emf::Record &r) {
  if (auto *v = r.As<emf::Value>()) return OnValue(r.type, *v);
  if (auto *v = r.As<emf::PointValue>()) return OnPoint(r.type, *v);
  if (r.As<emf::Empty>()) return OnEmpty(r.type);
  if (auto *v = r.As<emf::RectValue>()) return OnRect(r.type, *v);
  if (auto *v = r.As<emf::ArcValue>()) return OnArc(r.type, *v);
  if (auto *v = r.As<emf::Poly>()) return OnPoly(r.type, *v);
  if (auto *v = r.As<emf::PolyPoly>()) return OnPolyPoly(r.type, *v);
  if (auto *v = r.As<emf::Text>()) return OnText(*v);
  if (auto *v = r.As<emf::ClipRegion>()) return OnClipRegion(*v);
  if (auto *v = r.As<emf::WorldTransform>()) return OnWorldTransform(r.type, *v);
  if (auto *v = r.As<emf::ExtentScale>()) {
    return OnScaleExtent(r.type == emf::EMR_SCALEWINDOWEXTEX, *v);
  }
  if (auto *v = r.As<emf::Blit>()) return OnBlit(r.type, *v);
  if (r.type == emf::EMR_ROUNDRECT) return OnRoundRect(r);

  Slot *slot = nullptr;
  if (auto *v = r.As<emf::Pen>()) {
    if ((slot = SlotAt(v->index))) slot->kind = Slot::Kind::kPen, slot->pen = *v;
  } else if (auto *v = r.As<emf::ExtPen>()) {
    if ((slot = SlotAt(v->index))) slot->kind = Slot::Kind::kExtPen, slot->ext_pen = *v;
  } else if (auto *v = r.As<emf::Brush>()) {
    if ((slot = SlotAt(v->index))) slot->kind = Slot::Kind::kBrush, slot->brush = *v;
  } else if (auto *v = r.As<emf::PatternBrush>()) {
    if ((slot = SlotAt(v->index))) slot->kind = Slot::Kind::kPatternBrush, slot->pattern = *v;
  } else if (auto *v = r.As<emf::Font>()) {
    if ((slot = SlotAt(v->index))) slot->kind = Slot::Kind::kFont, slot->font = *v;
  } else if (auto *v = r.As<emf::Palette>()) {
    if ((slot = SlotAt(v->index)) && !v->entries.empty() && v->entries.size() <= 1024) {
      std::vector<uint8_t> block(sizeof(LOGPALETTE) + v->entries.size() * sizeof(PALETTEENTRY));
      auto *log = reinterpret_cast<LOGPALETTE *>(block.data());
      log->palVersion = 0x300;
      log->palNumEntries = static_cast<WORD>(v->entries.size());
      for (size_t i = 0; i < v->entries.size(); ++i) {
        const emf::PaletteEntry &e = v->entries[i];
        log->palPalEntry[i] = {e.red, e.green, e.blue, e.flags};
      }
      slot->kind = Slot::Kind::kPalette;
      slot->palette = static_cast<HPALETTE>(Keep(CreatePalette(log)));
    }
  } else if (auto *v = r.As<emf::PaletteEntries>()) {
    if ((slot = SlotAt(v->index)) && slot->kind == Slot::Kind::kPalette && slot->palette) {
      std::vector<PALETTEENTRY> entries;
      for (const emf::PaletteEntry &e : v->entries) {
        entries.push_back({e.red, e.green, e.blue, e.flags});
      }
      SetPaletteEntries(slot->palette, v->start, static_cast<UINT>(entries.size()), entries.data());
    }
  } else if (auto *v = r.As<emf::PaletteSize>()) {
    if ((slot = SlotAt(v->index)) && slot->kind == Slot::Kind::kPalette && slot->palette &&
        v->count >= 1 && v->count <= 1024) {
      ResizePalette(slot->palette, v->count);
    }
  }
}

// ---------------------------------------------------------------------- state records ----

void Player::OnValue(uint32_t type, const emf::Value &v) {
  switch (type) {
    case emf::EMR_SETMAPMODE:
      if (IsValidMode(v.AsInt())) {
        ApplyMapMode(state_.mapping, v.AsInt(), recorded_reference_);
        UpdateTransform();
      }
      break;
    case emf::EMR_SETBKMODE:
      SetBkMode(hdc_, v.AsInt());
      break;
    case emf::EMR_SETPOLYFILLMODE:
      SetPolyFillMode(hdc_, v.AsInt());
      break;
    case emf::EMR_SETROP2:
      SetROP2(hdc_, v.AsInt());
      break;
    case emf::EMR_SETTEXTALIGN:
      SetTextAlign(hdc_, v.value);
      break;
    case emf::EMR_SETTEXTCOLOR:
      SetTextColor(hdc_, v.value);
      break;
    case emf::EMR_SETBKCOLOR:
      SetBkColor(hdc_, v.value);
      break;
    case emf::EMR_SETARCDIRECTION:
      if (v.AsInt() == AD_CLOCKWISE || v.AsInt() == AD_COUNTERCLOCKWISE) {
        state_.arc_direction = v.AsInt();
      }
      break;
    case emf::EMR_SELECTOBJECT:
      Select(v.value);
      break;
    case emf::EMR_SELECTPALETTE:
      SelectPalette(v.value);
      break;
    case emf::EMR_DELETEOBJECT:
      // The target's objects stay until the end (one may still be selected); the slot is
      // free for the next CREATE record.
      if (Slot *slot = SlotAt(v.value)) *slot = Slot{};
      break;
    case emf::EMR_SELECTCLIPPATH: {
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
      if (joined.size() < 3) {
        CombineClip(CreateRectRgn(0, 0, 0, 0), v.AsInt());
        break;
      }
      CombineClip(CreatePolygonRgn(joined.data(), static_cast<int>(joined.size()),
                                   dc_.state.poly_fill_mode),
                  v.AsInt());
      break;
    }
    case emf::EMR_RESTOREDC: {
      const long long depth = static_cast<long long>(saved_.size());
      const long long level = v.AsInt();
      const long long pops = level < 0 ? -level : depth - level + 1;
      // A level outside the playback's own saves would restore the caller's state.
      if (level == 0 || pops < 1 || pops > depth) break;
      RestoreDC(hdc_, static_cast<int>(-pops));
      state_ = saved_[depth - pops];
      saved_.resize(depth - pops);
      UpdateTransform();
      break;
    }
    default:
      break;  // stretch mode, ICM, layout, mapper flags, miter limit
  }
}

void Player::OnMapExtent(bool window, const emf::Point &extent) {
  PageMapping &m = state_.mapping;
  if (IsFixedMode(m.mode) || extent.x == 0 || extent.y == 0) return;
  if (window) {
    m.window_ext = {extent.x, extent.y};
  } else {
    m.viewport_ext = {extent.x, extent.y};
  }
  if (m.mode == MM_ISOTROPIC) {
    // Equal units on both axes: the viewport extent shrinks on the larger scale.
    const double sx = std::fabs(ScaleX(m)), sy = std::fabs(ScaleY(m));
    if (sx > sy) {
      m.viewport_ext.cx = RoundToLong(m.viewport_ext.cx * sy / sx);
    } else if (sy > sx) {
      m.viewport_ext.cy = RoundToLong(m.viewport_ext.cy * sx / sy);
    }
    if (m.viewport_ext.cx == 0) m.viewport_ext.cx = 1;
    if (m.viewport_ext.cy == 0) m.viewport_ext.cy = 1;
  }
  UpdateTransform();
}

// ScaleWindowExtEx and ScaleViewportExtEx: extent * num / denom, rounded like MulDiv; a zero
// denominator fails the call and changes nothing.
void Player::OnScaleExtent(bool window, const emf::ExtentScale &v) {
  if (v.x_denom == 0 || v.y_denom == 0) return;
  const PageMapping &m = state_.mapping;
  const SIZE &extent = window ? m.window_ext : m.viewport_ext;
  auto scaled = [](LONG value, int32_t num, int32_t denom) {
    const double result = std::round(double(value) * num / denom);
    return static_cast<int32_t>(std::clamp(result, double(INT32_MIN), double(INT32_MAX)));
  };
  OnMapExtent(window,
              {scaled(extent.cx, v.x_num, v.x_denom), scaled(extent.cy, v.y_num, v.y_denom)});
}

void Player::OnPoint(uint32_t type, const emf::PointValue &v) {
  const emf::Point p = v.point;
  switch (type) {
    case emf::EMR_MOVETOEX: {
      state_.position = {double(p.x), double(p.y)};
      POINT t = ToTarget(p.x, p.y);
      MoveToEx(hdc_, t.x, t.y, nullptr);
      break;
    }
    case emf::EMR_LINETO: {
      state_.position = {double(p.x), double(p.y)};
      POINT t = ToTarget(p.x, p.y);
      LineTo(hdc_, t.x, t.y);
      break;
    }
    case emf::EMR_SETWINDOWORGEX:
      state_.mapping.window_org = {p.x, p.y};
      UpdateTransform();
      break;
    case emf::EMR_SETVIEWPORTORGEX:
      state_.mapping.viewport_org = {p.x, p.y};
      UpdateTransform();
      break;
    case emf::EMR_SETWINDOWEXTEX:
      OnMapExtent(true, p);
      break;
    case emf::EMR_SETVIEWPORTEXTEX:
      OnMapExtent(false, p);
      break;
    default:
      break;  // brush origin, pixels
  }
}

void Player::OnEmpty(uint32_t type) {
  switch (type) {
    case emf::EMR_SAVEDC:
      if (SaveDC(hdc_) != 0) saved_.push_back(state_);
      break;
    case emf::EMR_BEGINPATH:
      BeginPath(hdc_);
      break;
    case emf::EMR_ENDPATH:
      EndPath(hdc_);
      break;
    case emf::EMR_CLOSEFIGURE:
      if (dc_.path_open && !dc_.path.empty()) dc_.path.back().closed = true;
      break;
    case emf::EMR_ABORTPATH:
      dc_.path.clear();
      dc_.path_open = false;
      dc_.path_ready = false;
      break;
    case emf::EMR_REALIZEPALETTE:
      RealizePalette(hdc_);
      break;
    default:
      break;  // FLATTENPATH (paths are flat already), WIDENPATH, SETMETARGN
  }
}

void Player::OnWorldTransform(uint32_t type, const emf::WorldTransform &v) {
  const Affine x = FromXform(v.xform);
  if (type == emf::EMR_SETWORLDTRANSFORM) {
    state_.world = x;
  } else {
    switch (v.mode) {
      case 1:
        state_.world = Affine{};
        break;  // MWT_IDENTITY
      case 2:
        state_.world = Compose(state_.world, x);
        break;  // MWT_LEFTMULTIPLY
      case 3:
        state_.world = Compose(x, state_.world);
        break;  // MWT_RIGHTMULTIPLY
      case 4:
        state_.world = x;
        break;  // MWT_SET
      default:
        return;
    }
  }
  UpdateTransform();
}

// ----------------------------------------------------------------------------- objects ----

Slot *Player::SlotAt(uint32_t index) {
  if (index == 0 || index >= slots_.size()) return nullptr;  // 0 is the metafile itself
  return &slots_[index];
}

HGDIOBJ Player::Keep(HGDIOBJ object) {
  if (object != nullptr) made_.push_back(object);
  return object;
}

void Player::Select(uint32_t index) {
  if (index & emf::kStockObjectFlag) {
    const int id = static_cast<int>(index & ~emf::kStockObjectFlag);
    if (id == DEFAULT_PALETTE) {
      ::SelectPalette(hdc_, static_cast<HPALETTE>(GetStockObject(id)), FALSE);
    } else if (HGDIOBJ stock = GetStockObject(id)) {
      SelectObject(hdc_, stock);
    }
    return;
  }
  Slot *slot = SlotAt(index);
  if (slot == nullptr) return;
  if (slot->kind == Slot::Kind::kPalette) return SelectPalette(index);
  if (HGDIOBJ object = Keep(MakeObject(*slot))) SelectObject(hdc_, object);
}

void Player::SelectPalette(uint32_t index) {
  if (index & emf::kStockObjectFlag) return Select(index);
  Slot *slot = SlotAt(index);
  if (slot && slot->kind == Slot::Kind::kPalette && slot->palette) {
    ::SelectPalette(hdc_, slot->palette, FALSE);
  }
}

HGDIOBJ Player::MakeObject(const Slot &slot) {
  // Widths and heights are logical units of the recording: scaled into the target's.
  const double x_scale = full_.XScale();
  const double y_scale = full_.YScale();
  const double length_scale = std::sqrt(std::fabs(full_.Determinant()));
  auto scaled = [](double v) -> LONG {
    LONG r = RoundToLong(v);
    return (r == 0 && v != 0) ? (v > 0 ? 1 : -1) : r;  // a size never becomes "default"
  };
  switch (slot.kind) {
    case Slot::Kind::kPen: {
      LOGPEN pen{slot.pen.style, {scaled(slot.pen.width * length_scale), 0}, slot.pen.color};
      if (slot.pen.width < 0) pen.lopnWidth.x = 0;
      return CreatePenIndirect(&pen);
    }
    case Slot::Kind::kExtPen: {
      const emf::ExtPen &p = slot.ext_pen;
      const bool geometric = (p.style & PS_TYPE_MASK) == PS_GEOMETRIC;
      LOGBRUSH brush{p.brush_style == BS_NULL ? UINT{BS_NULL} : UINT{BS_SOLID}, p.color, 0};
      std::vector<DWORD> entries;
      for (uint32_t e : p.style_entries) {
        entries.push_back(geometric ? static_cast<DWORD>(std::clamp(e * length_scale, 0.0, 1e9))
                                    : e);
      }
      const DWORD width =
          geometric ? static_cast<DWORD>(std::clamp(p.width * length_scale, 0.0, 1e9)) : 1;
      return ExtCreatePen(p.style, width, &brush, static_cast<DWORD>(entries.size()),
                          entries.empty() ? nullptr : entries.data());
    }
    case Slot::Kind::kBrush: {
      UINT style = slot.brush.style;
      if (style != BS_SOLID && style != BS_NULL && style != BS_HATCHED) style = BS_SOLID;
      LOGBRUSH brush{style, slot.brush.color, slot.brush.hatch};
      return CreateBrushIndirect(&brush);
    }
    case Slot::Kind::kPatternBrush: {
      const emf::Dib &dib = slot.pattern.dib;
      const int width = dib.width;
      const int height = dib.height < 0 ? -dib.height : dib.height;
      if (dib.bit_count != 1 || width < 1 || height < 1 || width > 256 || height > 256) {
        // Colour patterns show as a mid grey: GDI's average of an unknown pattern.
        LOGBRUSH brush{BS_SOLID, RGB(128, 128, 128), 0};
        return CreateBrushIndirect(&brush);
      }
      // DIB rows (bottom-up unless the height is negative, padded to 32 bits) to the
      // top-down, 16-bit padded rows CreateBitmap takes; the bit values stay as they are.
      const size_t dib_row = (static_cast<size_t>(width) + 31) / 32 * 4;
      const size_t bitmap_row = (static_cast<size_t>(width) + 15) / 16 * 2;
      if (dib.bits.size() < dib_row * height) return nullptr;
      std::vector<uint8_t> rows(bitmap_row * height);
      for (int y = 0; y < height; ++y) {
        const int source = dib.height > 0 ? height - 1 - y : y;
        std::memcpy(&rows[y * bitmap_row], &dib.bits[source * dib_row], bitmap_row);
      }
      HBITMAP bitmap = CreateBitmap(width, height, 1, 1, rows.data());
      if (bitmap == nullptr) return nullptr;
      LOGBRUSH brush{BS_PATTERN, 0, reinterpret_cast<uintptr_t>(bitmap)};
      HBRUSH made = CreateBrushIndirect(&brush);
      DeleteObject(bitmap);  // the brush keeps its own copy of the bits
      return made;
    }
    case Slot::Kind::kFont: {
      const emf::LogFont &f = slot.font.font;
      LOGFONTA font{};
      font.lfHeight = f.height == 0 ? 0 : scaled(f.height * y_scale);
      font.lfWidth = f.width == 0 ? 0 : scaled(f.width * x_scale);
      // An escapement turns the other way under a mapping that flips one axis: keep the
      // direction the text had on the recording's device, through a mirrored playback too.
      const bool recorded_flip =
          Compose(FromMapping(state_.mapping), state_.world).Determinant() < 0;
      const bool target_flip = ScaleX(dc_.state.mapping) * ScaleY(dc_.state.mapping) < 0;
      const int turn = (recorded_flip != target_flip) != Mirrored() ? -1 : 1;
      font.lfEscapement = turn * ReducedTenths(f.escapement);
      font.lfOrientation = turn * ReducedTenths(f.orientation);
      font.lfWeight = f.weight;
      font.lfItalic = f.italic;
      font.lfUnderline = f.underline;
      font.lfStrikeOut = f.strike_out;
      font.lfCharSet = f.charset;
      font.lfOutPrecision = f.out_precision;
      font.lfClipPrecision = f.clip_precision;
      font.lfQuality = f.quality;
      font.lfPitchAndFamily = f.pitch_and_family;
      std::string face = Utf16ToCp932(f.face);
      std::strncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
      return CreateFontIndirectA(&font);
    }
    default:
      return nullptr;
  }
}

// ----------------------------------------------------------------------------- drawing ----

void Player::DrawPolyline(const std::vector<Point2> &points) {
  if (points.size() < 2) return;
  std::vector<POINT> t = ToTarget(points);
  Polyline(hdc_, t.data(), static_cast<int>(t.size()));
}

void Player::DrawPolygon(const std::vector<Point2> &points) {
  if (points.size() < 2) return;
  std::vector<POINT> t = ToTarget(points);
  ::Polygon(hdc_, t.data(), static_cast<int>(t.size()));
}

void Player::LineToAll(const std::vector<Point2> &points) {
  for (const Point2 &p : points) {
    POINT t = ToTarget(p.x, p.y);
    LineTo(hdc_, t.x, t.y);
  }
  if (!points.empty()) state_.position = points.back();
}

// Several closed figures filled as one shape (PolyPolygon, FillPath): the fill goes through
// one polygon that visits each figure and comes back along the same edge, so the joining
// edges cancel out under either fill rule; the outlines are drawn figure by figure.
void Player::FillTargetFigures(const std::vector<std::vector<POINT>> &figures) {
  std::vector<POINT> joined = JoinFigures(figures);
  if (joined.size() < 3) return;
  HGDIOBJ pen = SelectObject(hdc_, GetStockObject(NULL_PEN));
  ::Polygon(hdc_, joined.data(), static_cast<int>(joined.size()));
  if (pen) SelectObject(hdc_, pen);
}

void Player::DrawFigures(const std::vector<std::vector<Point2>> &figures) {
  if (dc_.path_open) {
    for (const auto &f : figures) DrawPolygon(f);
    return;
  }
  std::vector<std::vector<POINT>> target;
  for (const auto &f : figures) target.push_back(ToTarget(f));
  FillTargetFigures(target);
  for (auto &f : target) {
    if (f.size() < 2) continue;
    f.push_back(f.front());
    Polyline(hdc_, f.data(), static_cast<int>(f.size()));
  }
}

std::vector<Point2> Player::ArcPoints(const emf::Rect &box, emf::Point start, emf::Point end,
                                      bool whole_if_equal) const {
  const double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
  const double rx = std::fabs(double(box.right) - box.left) / 2;
  const double ry = std::fabs(double(box.bottom) - box.top) / 2;
  if (rx == 0 || ry == 0) return {};
  // Parameter angles of the radials through the two points.
  double t0 = std::atan2((start.y - cy) * rx, (start.x - cx) * ry);
  double t1 = std::atan2((end.y - cy) * rx, (end.x - cx) * ry);
  // Counter-clockwise as seen on the recording's device: with y down on that device (no
  // flip) that is decreasing angles in logical units, with y up increasing ones.
  const bool flipped = Compose(FromMapping(state_.mapping), state_.world).Determinant() < 0;
  double direction = flipped ? 1.0 : -1.0;
  if (state_.arc_direction == AD_CLOCKWISE) direction = -direction;
  double sweep = direction * (t1 - t0);
  while (sweep <= 0) sweep += 2 * kPi;
  if (whole_if_equal && start.x == end.x && start.y == end.y) sweep = 2 * kPi;
  if (sweep > 2 * kPi) sweep = 2 * kPi;
  // Enough segments for a tenth of a device pixel of error, within bounds.
  const double radius_px = std::max(rx, ry) * DevicePixelsPerUnit();
  double step = radius_px > 0.2 ? 2 * std::acos(std::max(-1.0, 1 - 0.1 / radius_px)) : kPi / 2;
  int segments = static_cast<int>(std::ceil(sweep / std::max(step, 1e-6)));
  segments = std::clamp(segments, 4, kMaxArcSegments);
  std::vector<Point2> points;
  points.reserve(segments + 1);
  for (int i = 0; i <= segments; ++i) {
    const double t = t0 + direction * sweep * i / segments;
    points.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
  return points;
}

std::vector<Point2> Player::Bezier(Point2 p0, const std::vector<Point2> &controls) const {
  std::vector<Point2> out;
  const double scale = DevicePixelsPerUnit();
  for (size_t i = 0; i + 2 < controls.size(); i += 3) {
    const Point2 p1 = controls[i], p2 = controls[i + 1], p3 = controls[i + 2];
    const double length = std::hypot(p1.x - p0.x, p1.y - p0.y) +
                          std::hypot(p2.x - p1.x, p2.y - p1.y) +
                          std::hypot(p3.x - p2.x, p3.y - p2.y);
    double wanted = length * scale / 4;
    int n = std::isfinite(wanted) ? static_cast<int>(std::clamp(wanted, 4.0, 256.0)) : 4;
    n = std::min(n, kMaxCurveSegments);
    for (int k = 1; k <= n; ++k) {
      const double t = double(k) / n, u = 1 - t;
      const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
      out.push_back({b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                     b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y});
    }
    p0 = p3;
  }
  return out;
}

void Player::OnRect(uint32_t type, const emf::RectValue &v) {
  const emf::Rect &r = v.rect;
  switch (type) {
    case emf::EMR_ELLIPSE: {
      std::vector<Point2> points = ArcPoints(r, {r.right, 0}, {r.right, 0}, true);
      if (!points.empty()) points.pop_back();
      DrawPolygon(points);
      break;
    }
    case emf::EMR_RECTANGLE:
      DrawPolygon({{double(r.left), double(r.top)},
                   {double(r.right), double(r.top)},
                   {double(r.right), double(r.bottom)},
                   {double(r.left), double(r.bottom)}});
      break;
    case emf::EMR_INTERSECTCLIPRECT:
    case emf::EMR_EXCLUDECLIPRECT: {
      POINT corners[4] = {ToTarget(r.left, r.top), ToTarget(r.right, r.top),
                          ToTarget(r.right, r.bottom), ToTarget(r.left, r.bottom)};
      for (POINT &p : corners) p = dc_.ToDevice(p);
      HRGN shape = full_.AxisAligned() ? CreateRectRgn(std::min(corners[0].x, corners[2].x),
                                                       std::min(corners[0].y, corners[2].y),
                                                       std::max(corners[0].x, corners[2].x),
                                                       std::max(corners[0].y, corners[2].y))
                                       : CreatePolygonRgn(corners, 4, ALTERNATE);
      CombineClip(shape, type == emf::EMR_INTERSECTCLIPRECT ? RGN_AND : RGN_DIFF);
      break;
    }
    case emf::EMR_FILLPATH:
      FillPath(false);
      break;
    case emf::EMR_STROKEANDFILLPATH:
      FillPath(true);
      break;
    case emf::EMR_STROKEPATH:
      StrokePath(hdc_);
      break;
    default:
      break;
  }
}

void Player::FillPath(bool stroke) {
  if (!dc_.path_ready) return;
  std::vector<std::vector<POINT>> figures;
  for (const PathFigure &f : dc_.path) figures.push_back(f.points);
  FillTargetFigures(figures);
  if (stroke) {
    StrokePath(hdc_);
  } else {
    dc_.path.clear();
    dc_.path_ready = false;
  }
}

void Player::OnArc(uint32_t type, const emf::ArcValue &v) {
  std::vector<Point2> points = ArcPoints(v.box, v.start, v.end, true);
  if (points.empty()) return;
  switch (type) {
    case emf::EMR_ARC:
      DrawPolyline(points);
      break;
    case emf::EMR_ARCTO:
      LineToAll(points);
      break;
    case emf::EMR_CHORD:
      DrawPolygon(points);
      break;
    case emf::EMR_PIE:
      points.insert(points.begin(), {(double(v.box.left) + v.box.right) / 2,
                                     (double(v.box.top) + v.box.bottom) / 2});
      DrawPolygon(points);
      break;
    default:
      break;
  }
}

void Player::OnRoundRect(const emf::Record &record) {
  // EMR_ROUNDRECT: box at 8, corner ellipse size at 24.
  if (record.size < 32) return;
  const uint8_t *bytes = image_.data() + record.offset;
  int32_t f[6];
  std::memcpy(f, bytes + 8, sizeof(f));
  const double l = std::min(f[0], f[2]), r = std::max(f[0], f[2]);
  const double t = std::min(f[1], f[3]), b = std::max(f[1], f[3]);
  const double ew = std::min(std::fabs(double(f[4])), r - l) / 2;
  const double eh = std::min(std::fabs(double(f[5])), b - t) / 2;
  std::vector<Point2> points;
  const int n = 16;
  const double cx[4] = {r - ew, l + ew, l + ew, r - ew}, cy[4] = {t + eh, t + eh, b - eh, b - eh};
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i <= n; ++i) {
      const double a = -kPi / 2 * corner - kPi / 2 * i / n;  // y down: counter-clockwise
      points.push_back({cx[corner] + ew * std::cos(a), cy[corner] + eh * std::sin(a)});
    }
  }
  DrawPolygon(points);
}

void Player::OnPoly(uint32_t type, const emf::Poly &v) {
  std::vector<Point2> points = FromRecord(v.points);
  switch (type) {
    case emf::EMR_POLYLINE:
    case emf::EMR_POLYLINE16:
      DrawPolyline(points);
      break;
    case emf::EMR_POLYGON:
    case emf::EMR_POLYGON16:
      DrawPolygon(points);
      break;
    case emf::EMR_POLYLINETO:
    case emf::EMR_POLYLINETO16:
      LineToAll(points);
      break;
    case emf::EMR_POLYBEZIER:
    case emf::EMR_POLYBEZIER16:
      if (points.size() >= 4) {
        std::vector<Point2> curve{points.front()};
        std::vector<Point2> rest = Bezier(points.front(), {points.begin() + 1, points.end()});
        curve.insert(curve.end(), rest.begin(), rest.end());
        DrawPolyline(curve);
      }
      break;
    case emf::EMR_POLYBEZIERTO:
    case emf::EMR_POLYBEZIERTO16:
      LineToAll(Bezier(state_.position, points));
      break;
    default:
      break;
  }
}

void Player::OnPolyPoly(uint32_t type, const emf::PolyPoly &v) {
  std::vector<std::vector<Point2>> figures;
  size_t at = 0;
  for (uint32_t count : v.counts) {
    if (count > v.points.size() - at) break;
    std::vector<Point2> figure;
    for (size_t i = at; i < at + count; ++i)
      figure.push_back({double(v.points[i].x), double(v.points[i].y)});
    figures.push_back(std::move(figure));
    at += count;
  }
  if (type == emf::EMR_POLYPOLYLINE || type == emf::EMR_POLYPOLYLINE16) {
    for (const auto &f : figures) DrawPolyline(f);
  } else if (figures.size() == 1) {
    DrawPolygon(figures.front());
  } else {
    DrawFigures(figures);
  }
}

void Player::OnText(const emf::Text &text) {
  const std::u16string units = text.wide ? text.text : Cp932ToUtf16(text.bytes);
  const bool opaque = (text.options & ETO_OPAQUE) != 0;
  const bool clipped = (text.options & ETO_CLIPPED) != 0;
  const emf::Rect &r = text.rectangle;
  if (opaque || clipped) SaveDC(hdc_);
  if (opaque && r.right > r.left && r.bottom > r.top) {
    LOGBRUSH fill{BS_SOLID, GetBkColor(hdc_), 0};
    HBRUSH brush = CreateBrushIndirect(&fill);
    HGDIOBJ old = SelectObject(hdc_, brush);
    FillTargetFigures({ToTarget({{double(r.left), double(r.top)},
                                 {double(r.right), double(r.top)},
                                 {double(r.right), double(r.bottom)},
                                 {double(r.left), double(r.bottom)}})});
    if (old) SelectObject(hdc_, old);
    DeleteObject(brush);
  }
  if (clipped) {
    POINT a = ToTarget(r.left, r.top), b = ToTarget(r.right, r.bottom);
    IntersectClipRect(hdc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                      std::max(a.y, b.y));
  }
  if (!units.empty() && units.size() <= (size_t{1} << 20)) {
    // Recorded advances are logical units of the recording: scaled into the target's.
    std::vector<int32_t> dx;
    if (text.dx.size() == units.size()) {
      const double scale = std::sqrt(std::fabs(full_.Determinant()));
      for (int32_t d : text.dx) dx.push_back(RoundToLong(d * scale));
    }
    TextRun run = MeasureUtf16(dc_, units, dx.empty() ? nullptr : dx.data());
    POINT at = ToTarget(text.reference.x, text.reference.y);
    OutputTextRun(hdc_, at.x, at.y, std::move(run));
  }
  if (opaque || clipped) RestoreDC(hdc_, -1);
}

void Player::OnBlit(uint32_t type, const emf::Blit &v) {
  if (v.dib.header_size != 0) return PaintBitmap(type, v);
  // Blits without a bitmap paint the destination with the brush, black or white.
  if (type != emf::EMR_BITBLT) return;
  constexpr uint32_t kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;
  HBRUSH brush = nullptr;
  if (v.rop == kBlackness || v.rop == kWhiteness) {
    LOGBRUSH solid{BS_SOLID, v.rop == kBlackness ? RGB(0, 0, 0) : RGB(255, 255, 255), 0};
    brush = CreateBrushIndirect(&solid);
  } else if (v.rop != kPatCopy) {
    return;
  }
  HGDIOBJ old = brush ? SelectObject(hdc_, brush) : nullptr;
  const double l = v.dest.x, t = v.dest.y;
  const double r = l + double(v.dest_size.cx), b = t + double(v.dest_size.cy);
  FillTargetFigures({ToTarget({{l, t}, {r, t}, {r, b}, {l, b}})});
  if (old) SelectObject(hdc_, old);
  if (brush) DeleteObject(brush);
}

// Bitmaps that are copied onto the page (SRCCOPY): the source rectangle of the DIB, stretched
// over the destination. Raster operations that mix with what is below are left out.
void Player::PaintBitmap(uint32_t type, const emf::Blit &v) {
  constexpr uint32_t kSrcCopy = 0x00CC0020;
  emf::Pixels bitmap;
  if (v.rop != kSrcCopy || !emf::DibToPixels(v.dib, &bitmap)) return;
  const bool stretch = type == emf::EMR_STRETCHDIBITS;
  const int64_t width = stretch ? v.source_size.cx : v.dest_size.cx;
  const int64_t height = stretch ? v.source_size.cy : v.dest_size.cy;
  const int64_t left = v.source.x;
  // StretchDIBits counts the source from the bottom row of a bottom-up bitmap.
  const int64_t top =
      stretch && v.dib.height > 0 ? bitmap.height - (v.source.y + height) : v.source.y;
  if (width <= 0 || height <= 0 || left < 0 || top < 0 || left + width > bitmap.width ||
      top + height > bitmap.height) {
    return;
  }
  std::vector<uint32_t> part;
  part.reserve(static_cast<size_t>(width * height));
  for (int64_t y = top; y < top + height; ++y) {
    const auto row = bitmap.argb.begin() + static_cast<ptrdiff_t>(y * bitmap.width + left);
    part.insert(part.end(), row, row + static_cast<ptrdiff_t>(width));
  }
  const double x = v.dest.x, y = v.dest.y;
  const POINT corners[3] = {ToTarget(x, y), ToTarget(x + double(v.dest_size.cx), y),
                            ToTarget(x, y + double(v.dest_size.cy))};
  dc_.device().DrawImage(dc_, corners, {int(width), int(height), part});
}

// ---------------------------------------------------------------------------- clipping ----

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

void Player::OnClipRegion(const emf::ClipRegion &v) {
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

}  // namespace

}  // namespace tamvel::posix

using namespace tamvel::posix;

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
    RecordBuilder window(tamvel::emf::EMR_SETWINDOWEXTEX);
    window.I32(mapping.window_ext.cx).I32(mapping.window_ext.cy);
    recorder->Append(std::move(window));
    RecordBuilder viewport(tamvel::emf::EMR_SETVIEWPORTEXTEX);
    viewport.I32(mapping.viewport_ext.cx).I32(mapping.viewport_ext.cy);
    recorder->Append(std::move(viewport));
  }
  dc->device().WindowOrgChanged(*dc);
  {
    Player player(hdc, *dc, image, *header, *rect);
    player.Play();
    RestoreDC(hdc, level);
  }
  dc->path = std::move(path);
  dc->path_open = path_open;
  dc->path_ready = path_ready;
  return TRUE;
}
