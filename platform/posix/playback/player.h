// The player behind PlayEnhMetaFile: replays decoded records as calls on any DC (an image, a
// printer, an SVG drawing or another recording), under the transform that maps the picture
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
// Records reach the player through std::visit over the decoded view, one On overload per
// view: a view that the player does not handle does not compile. The overloads live with
// their concern: state_records.cpp, object_records.cpp, drawing_records.cpp, curves.cpp,
// text_and_bitmaps.cpp, clipping.cpp.
//
// Hostile files: the decoder checks every record against its bounds; the player skips what
// it cannot use (unknown records, object indexes outside the table, counts it refuses),
// bounds every allocation and every flattening, and always restores the target DC.
#pragma once

#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "platform/emf/emf_decoder.h"
#include "platform/posix/dc.h"
#include "platform/posix/playback/transform.h"

namespace tamvel::posix::playback {

// Target logical units per unit of the caller's mapping while the player draws: sub-pixel
// positions survive on raster targets and in re-recorded metafiles.
constexpr int kFineGrid = 16;
constexpr int AD_COUNTERCLOCKWISE = 1;
constexpr int AD_CLOCKWISE = 2;

// What the recorded DC's SaveDC keeps of the state the player tracks itself.
struct RecordedState {
  PageMapping mapping;
  Affine world;
  int arc_direction = AD_COUNTERCLOCKWISE;
  Point2 position;  // recorded logical units
};

// A palette of the metafile's object table, made when its record is played.
struct PaletteObject {
  HPALETTE palette = nullptr;
};

// One slot of the metafile's object table: empty, or the record that created the object.
// Pens and fonts depend on the transform in force when they are selected, so the target's
// objects are made at selection time.
using Slot = std::variant<std::monostate, emf::Pen, emf::ExtPen, emf::Brush, emf::PatternBrush,
                          emf::Font, PaletteObject>;

// No value: no clip; device pixels otherwise.
using Clip = std::optional<std::vector<RECT>>;

class Player {
 public:
  Player(HDC hdc, Dc &dc, std::span<const uint8_t> image, const emf::Header &header,
         const RECT &rect);
  ~Player();  // deletes the objects made for the target (after the caller's RestoreDC)
  Player(const Player &) = delete;
  Player &operator=(const Player &) = delete;
  void Play();

  // --- records, one overload per decoded view ---
  void On(const emf::Record &, const emf::Raw &) {}  // unknown or damaged: skipped
  void On(const emf::Record &, const emf::Header &) {}
  void On(const emf::Record &, const emf::Eof &) {}
  void On(const emf::Record &, const emf::Comment &) {}
  void On(const emf::Record &record, const emf::Empty &);
  void On(const emf::Record &record, const emf::Value &v);
  void On(const emf::Record &record, const emf::PointValue &v);
  void On(const emf::Record &record, const emf::WorldTransform &v);
  void On(const emf::Record &record, const emf::ExtentScale &v);
  void On(const emf::Record &record, const emf::Pen &v);
  void On(const emf::Record &record, const emf::ExtPen &v);
  void On(const emf::Record &record, const emf::Brush &v);
  void On(const emf::Record &record, const emf::PatternBrush &v);
  void On(const emf::Record &record, const emf::Font &v);
  void On(const emf::Record &record, const emf::Palette &v);
  void On(const emf::Record &record, const emf::PaletteEntries &v);
  void On(const emf::Record &record, const emf::PaletteSize &v);
  void On(const emf::Record &record, const emf::RectValue &v);
  void On(const emf::Record &record, const emf::RoundRectValue &v);
  void On(const emf::Record &record, const emf::ArcValue &v);
  void On(const emf::Record &record, const emf::Poly &v);
  void On(const emf::Record &record, const emf::PolyPoly &v);
  void On(const emf::Record &record, const emf::Text &text);
  void On(const emf::Record &record, const emf::Blit &v);
  void On(const emf::Record &record, const emf::ClipRegion &v);

 private:
  // --- transforms (player.cpp) ---
  void UpdateTransform();
  Point2 ToTargetExact(double x, double y) const { return full_.Apply({x, y}); }
  POINT ToTarget(double x, double y) const;
  std::vector<POINT> ToTarget(const std::vector<Point2> &points) const;
  std::vector<Point2> FromRecord(const std::vector<emf::Point> &points) const;
  // Device pixels of the target per recorded logical unit (for flattening tolerances).
  double DevicePixelsPerUnit() const;
  bool Mirrored() const;      // the picture is mirrored on the target device
  bool RecordedFlip() const;  // the recording's transform flips one axis

  // --- state (state_records.cpp) ---
  void OnMapExtent(bool window, const emf::Point &extent);
  void RestoreLevel(int level);

  // --- objects (object_records.cpp) ---
  Slot *SlotAt(uint32_t index);
  void Select(uint32_t index);
  void SelectPalette(uint32_t index);
  HGDIOBJ Keep(HGDIOBJ object);
  HGDIOBJ Make(const emf::Pen &pen) const;
  HGDIOBJ Make(const emf::ExtPen &pen) const;
  HGDIOBJ Make(const emf::Brush &brush) const;
  HGDIOBJ Make(const emf::PatternBrush &pattern) const;
  HGDIOBJ Make(const emf::Font &font) const;
  HGDIOBJ Make(std::monostate) const { return nullptr; }         // an empty slot
  HGDIOBJ Make(const PaletteObject &) const { return nullptr; }  // selected as a palette

  // --- drawing (drawing_records.cpp, curves.cpp) ---
  void DrawPolyline(const std::vector<Point2> &points);
  void DrawPolygon(const std::vector<Point2> &points);
  void DrawFigures(const std::vector<std::vector<Point2>> &figures);
  void FillTargetFigures(const std::vector<std::vector<POINT>> &figures);
  void LineToAll(const std::vector<Point2> &points);
  void FillPath(bool stroke);
  std::vector<Point2> ArcPoints(const emf::Rect &box, emf::Point start, emf::Point end,
                                bool whole_if_equal) const;
  std::vector<Point2> Bezier(Point2 start, const std::vector<Point2> &controls) const;

  // --- text and bitmaps (text_and_bitmaps.cpp) ---
  void PaintBitmap(uint32_t type, const emf::Blit &v);

  // --- clipping (clipping.cpp) ---
  void SelectClip(const Clip &clip);
  HRGN RegionOf(const Clip &clip) const;
  void CombineClip(HRGN shape, int mode);  // shape in target device pixels
  void ClipToRectangle(const emf::Rect &r, int mode);
  void SelectClipPath(int mode);

  HDC hdc_;
  Dc &dc_;
  std::span<const uint8_t> image_;  // the metafile's bytes, decoded while playing
  ReferenceDevice recorded_reference_;
  Affine playback_;  // reference pixels -> target logical units (fine grid)
  Affine full_;      // recorded logical units -> target logical units
  RecordedState state_;
  std::vector<RecordedState> saved_;
  std::vector<Slot> slots_;
  std::vector<HGDIOBJ> made_;  // every object made for the target; deleted at the end
  Clip base_clip_;
};

// One polygon through several closed figures: each figure is entered from the first one's
// start and left back to it along the same edge, so the joins cancel out under either fill
// rule. Empty when the figures have too few or too many points.
std::vector<POINT> JoinFigures(const std::vector<std::vector<POINT>> &figures);

}  // namespace tamvel::posix::playback
