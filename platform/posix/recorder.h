// The metafile recorder: the device behind a DC made by CreateEnhMetaFileA. It writes one EMF
// record per recorded call straight into the file image (an ImageBuffer that starts with room
// for the header), keeps the metafile's object table and the bounds of everything drawn, and
// finishes the header and EOF in place when the DC is closed.
//
// Code that records a call of its own builds the record with RecordBuilder and hands it to
// Append() (state records) or AppendDrawing() (records that paint: the device box is unioned
// into the header bounds and, if the record has a Bounds field at offset 8, written there).
#pragma once

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/emf/emf_records.h"
#include "platform/posix/dc.h"
#include "platform/posix/device.h"
#include "platform/posix/image_buffer.h"
#include "platform/posix/mapping.h"
#include "platform/posix/record_builder.h"

namespace tamvel::posix {

// An inclusive box of device pixels; empty until the first point is added.
struct DeviceBox {
  bool empty = true;
  RECT rect{0, 0, -1, -1};
  void Add(LONG x, LONG y);
  void Add(const DeviceBox &other);
  void Inflate(LONG by);
};

// The device box of logical points under `dc`'s page transform.
DeviceBox BoxOfPoints(const Dc &dc, std::span<const POINT> points);
// ... widened by half the selected pen's device width (geometric pens).
DeviceBox StrokedBox(const Dc &dc, std::span<const POINT> points);
// That widening, in device pixels.
LONG StrokeAllowance(const Dc &dc);

// The most bytes of records one metafile holds: 256 MB. From the first record that would pass
// it (or that memory cannot be found for) on, nothing more is recorded, so what was recorded
// stays a consistent picture whose sizes fit the file's 32-bit fields. Tests lower it.
size_t &MetafileRecordLimit();

class MetafileRecorder final : public Device {
 public:
  MetafileRecorder(ReferenceDevice reference, std::optional<RECT> frame, std::u16string description,
                   std::string file_name);

  DWORD Win32Type() const override { return OBJ_ENHMETADC; }
  int DeviceCaps(int index) const override;
  MetafileRecorder *Recorder() override { return this; }

  // --- records ---
  // A finished record; false (and nothing more is recorded) when it passes the limit.
  bool Append(std::span<const uint8_t> record);
  bool Append(RecordBuilder &&record) { return Append(record.Seal()); }
  // Whether `bytes` more bytes of records still fit; when not, nothing more is recorded.
  bool Room(size_t bytes);
  // A record that paints `box`; `has_bounds` writes the box into the Bounds field at 8.
  void AppendDrawing(RecordBuilder &&record, const DeviceBox &box, bool has_bounds = true);
  void AddBounds(const DeviceBox &box);
  bool InPath(const Dc &dc) const { return dc.path_open; }

  // --- object table ---
  // The value a SELECTOBJECT/SELECTPALETTE record names for `object`: 0x80000000|id for a
  // stock object; otherwise its table index, writing the CREATE record (lowest free index)
  // on first use. 0 if the object cannot be recorded.
  uint32_t SelectIndex(Dc &dc, const GdiObject &object);
  // The table index of `object`, or 0 when the table does not hold it.
  uint32_t IndexOf(const GdiObject &object) const;
  // Writes EMR_DELETEOBJECT and frees the index, if the table holds `object`.
  void ForgetObject(const GdiObject &object);

  // Colours of the palettes realized into this DC, for the EOF palette (deduplicated, in
  // first-seen order).
  void AddEofPalette(std::span<const PALETTEENTRY> entries);

  // The finished file image; empty when memory ran out while recording. The recorder is done
  // afterwards.
  ImageBuffer Finish();
  const std::string &file_name() const { return file_name_; }
  const ReferenceDevice &reference() const { return reference_; }

  // --- Device hooks ---
  void Saved(Dc &) override;
  void Restored(Dc &, int relative_level) override;
  void MapModeChanged(Dc &) override;
  void WindowOrgChanged(Dc &) override;
  void ViewportOrgChanged(Dc &) override;
  void AttributeChanged(Dc &, Attribute) override;
  void ObjectSelected(Dc &, const GdiObject &) override;
  void MoveTo(Dc &, POINT) override;
  void LineTo(Dc &, POINT from, POINT to) override;
  // LineTo for a line that continues the current run from where its last line ended (same
  // mapping and pen, no path open) and fits in the committed memory and the limit: the whole
  // of it, inline and without a call, since every plotted segment comes here. False, with
  // nothing done, when it needs LineTo.
  bool QuickLineTo(POINT from, POINT to) {
    // quick_end_ stands for the run, the path, the limit and the committed memory at once.
    if (image_.size() + 16 > quick_end_ || !SamePoint(from, run_.last)) return false;
    WritePointRecord(image_.ExtendInPlace(16), emf::kLineTo, to);
    run_.LineTo(to);
    return true;
  }
  void Polyline(Dc &, std::span<const POINT>) override;
  void PolyPolyline(Dc &, std::span<const POINT>, std::span<const DWORD>) override;
  void Polygon(Dc &, std::span<const POINT>) override;
  void DrawImage(Dc &, const POINT (&corners)[3], const ImagePixels &image) override;
  void BeginPath(Dc &) override;
  void EndPath(Dc &) override;
  void StrokePath(Dc &) override;

 private:
  // `figure`, when given, is the whole figure whose box a POLYLINETO record carries.
  void AppendPoints(Dc &dc, uint32_t type16, uint32_t type32, std::span<const POINT> points,
                    std::span<const POINT> figure = {});
  void AppendFigure(Dc &dc, std::span<const POINT> points, bool closed);
  // MOVETOEX, LINETO: 16 bytes; false when nothing more is recorded.
  bool AppendPointRecord(uint32_t type, POINT p);
  void WritePointRecord(uint8_t *at, uint32_t type, POINT p) {
    const uint32_t record[4] = {type, 16, static_cast<uint32_t>(p.x), static_cast<uint32_t>(p.y)};
    std::memcpy(at, record, sizeof record);
  }
  // Room for one record written the long way (null when there is no memory), counted with
  // the quick LINETO records before it.
  uint8_t *ExtendForRecord(size_t bytes);
  void StartSegmentRun(const Dc &dc, POINT from, POINT to);
  void EndSegmentRun();
  // quick_end_ for the run, the limit and the committed memory as they are now.
  void UpdateQuickEnd() { quick_end_ = run_.open ? std::min(record_end_, image_.committed()) : 0; }
  static bool SamePoint(POINT a, POINT b) {
    // As one 64-bit compare (the compiler does not merge the two by itself).
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
  }
  void StopRecording();  // past the limit or out of memory
  void AddStrokedPoint(POINT device, LONG allowance);
  void ReemitPosition(Dc &dc);
  RECT FramePixels() const;
  RECT HeaderBounds() const;
  RECT HeaderFrame() const;
  std::vector<uint8_t> Header(uint32_t total_bytes, uint32_t records) const;

  ReferenceDevice reference_;
  std::optional<RECT> frame_;
  std::u16string description_;
  std::string file_name_;
  ImageBuffer image_;  // header room, then the records
  size_t header_bytes_ = 0;
  bool out_of_memory_ = false;
  // The records up to counted_end_. QuickLineTo counts nothing: what lies between
  // counted_end_ and the image's end is its 16-byte records, counted by ExtendForRecord.
  uint32_t record_count_ = 0;
  size_t counted_end_ = 0;
  bool full_ = false;  // past the limit, or out of memory: nothing more is recorded
  // Where records have to end: the header plus the limit; the image size once full.
  size_t record_end_ = 0;
  // Where QuickLineTo's records have to end: 0 unless a run is open (and so no path), else
  // the nearer of record_end_ and the end of the committed memory. Kept by UpdateQuickEnd
  // where the run starts or ends, after LineTo, and when recording stops; the committed
  // memory only grows, so between those it is at worst too small, which only sends a line
  // to LineTo.
  size_t quick_end_ = 0;
  // The lines drawn since the mapping or the pen last changed, as the box of their logical
  // end points. ToDevice is monotonic along each axis and so is the pen's widening, so the
  // corners of this box give exactly the bounds that converting every end point would;
  // EndSegmentRun adds them. Every change of the mapping or the pen reaches the recorder
  // through a hook (it records the change) and ends the run there, as does Finish.
  struct SegmentRun {
    bool open = false;
    POINT last{0, 0};  // where the last line ended
    LONG left = 0, top = 0, right = 0, bottom = 0;
    PageMapping mapping;  // in force for the whole run
    LONG allowance = 0;   // StrokeAllowance of the run's pen
    void Add(POINT p) {
      left = std::min(left, p.x);
      top = std::min(top, p.y);
      right = std::max(right, p.x);
      bottom = std::max(bottom, p.y);
    }
    // A line to `to` from `last`, which the box holds already. A new extreme is rare once a
    // drawing has spread out, so branches (a compare each, well predicted) beat Add's
    // unconditional min and max.
    void LineTo(POINT to) {
      // y by a shift of the point as one value (the compiler goes through a vector register).
      const LONG x = to.x;
      const auto y = static_cast<LONG>(std::bit_cast<uint64_t>(to) >> 32);
      if (x < left) left = x;
      if (y < top) top = y;
      if (x > right) right = x;
      if (y > bottom) bottom = y;
      last = to;
    }
  } run_;
  DeviceBox bounds_;
  DeviceBox path_box_;
  std::vector<uint64_t> table_{0};  // object serial per index; index 0 is the metafile
  std::vector<PALETTEENTRY> eof_palette_;
};

}  // namespace tamvel::posix
