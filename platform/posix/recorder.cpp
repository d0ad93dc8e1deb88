// The recorder's core: record buffer, bounds, object table, and the file image with its
// header and EOF.
#include "platform/posix/recorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/emf/emf_records.h"

namespace tamvel::posix {

using namespace tamvel::emf;

void DeviceBox::Add(LONG x, LONG y) {
  if (empty) {
    rect = {x, y, x, y};
    empty = false;
    return;
  }
  rect.left = std::min(rect.left, x);
  rect.top = std::min(rect.top, y);
  rect.right = std::max(rect.right, x);
  rect.bottom = std::max(rect.bottom, y);
}

void DeviceBox::Add(const DeviceBox &other) {
  if (other.empty) return;
  Add(other.rect.left, other.rect.top);
  Add(other.rect.right, other.rect.bottom);
}

void DeviceBox::Inflate(LONG by) {
  if (empty || by <= 0) return;
  rect.left = SaturatingSubtract(rect.left, by);
  rect.top = SaturatingSubtract(rect.top, by);
  rect.right = SaturatingAdd(rect.right, by);
  rect.bottom = SaturatingAdd(rect.bottom, by);
}

DeviceBox BoxOfPoints(const Dc &dc, std::span<const POINT> points) {
  DeviceBox box;
  for (POINT p : points) {
    POINT d = dc.ToDevice(p);
    box.Add(d.x, d.y);
  }
  return box;
}

LONG StrokeAllowance(const Dc &dc) {
  const Pen *pen = dc.state.pen.get();
  const double scale = ScaleX(dc.state.mapping);
  if (pen && !pen->IsNull() && pen->IsGeometric(scale)) {
    return static_cast<LONG>(std::ceil(pen->DeviceWidth(scale) / 2));
  }
  return 0;
}

DeviceBox StrokedBox(const Dc &dc, std::span<const POINT> points) {
  DeviceBox box = BoxOfPoints(dc, points);
  box.Inflate(StrokeAllowance(dc));
  return box;
}

MetafileRecorder::MetafileRecorder(ReferenceDevice reference, std::optional<RECT> frame,
                                   std::u16string description, std::string file_name)
    : reference_(reference),
      frame_(frame),
      description_(std::move(description)),
      file_name_(std::move(file_name)) {
  // The header goes in front of the records when the recording is finished.
  header_bytes_ = Header(0, 0).size();
  out_of_memory_ = image_.Extend(header_bytes_) == nullptr;
  counted_end_ = image_.size();
  record_end_ = header_bytes_ + MetafileRecordLimit();
  if (out_of_memory_) StopRecording();
}

int MetafileRecorder::DeviceCaps(int index) const { return ReferenceDeviceCaps(reference_, index); }

size_t &MetafileRecordLimit() {
  static size_t limit = size_t{256} << 20;
  return limit;
}

bool MetafileRecorder::Room(size_t bytes) {
  if (bytes > record_end_ - image_.size()) StopRecording();
  return !full_;
}

void MetafileRecorder::StopRecording() {
  full_ = true;
  record_end_ = image_.size();  // no room left
  UpdateQuickEnd();
}

uint8_t *MetafileRecorder::ExtendForRecord(size_t bytes) {
  record_count_ += static_cast<uint32_t>((image_.size() - counted_end_) / 16);
  counted_end_ = image_.size();
  uint8_t *at = image_.Extend(bytes);
  if (at) {
    ++record_count_;
    counted_end_ = image_.size();
  }
  return at;
}

bool MetafileRecorder::Append(std::span<const uint8_t> record) {
  if (!Room(record.size())) return false;
  uint8_t *at = ExtendForRecord(record.size());
  if (!at) {
    StopRecording();  // no memory for more: the page keeps what it has
    return false;
  }
  std::memcpy(at, record.data(), record.size());
  return true;
}

void MetafileRecorder::AppendDrawing(RecordBuilder &&record, const DeviceBox &box,
                                     bool has_bounds) {
  if (has_bounds) record.PutRectAt(8, box.rect);
  if (Append(record.Seal())) AddBounds(box);
}

void MetafileRecorder::AddBounds(const DeviceBox &box) { bounds_.Add(box); }

uint32_t MetafileRecorder::IndexOf(const GdiObject &object) const {
  auto it = std::find(table_.begin() + 1, table_.end(), object.serial);
  return it == table_.end() ? 0 : static_cast<uint32_t>(it - table_.begin());
}

uint32_t MetafileRecorder::SelectIndex(Dc &dc, const GdiObject &object) {
  if (object.IsStock()) return kStockObjectFlag | static_cast<uint32_t>(object.stock_id);
  if (uint32_t index = IndexOf(object)) return index;
  auto free_slot = std::find(table_.begin() + 1, table_.end(), 0u);
  const auto index = static_cast<uint32_t>(free_slot - table_.begin());
  std::vector<uint8_t> record = object.EncodeCreateRecord(index, dc);
  if (record.empty()) return 0;
  Append(std::move(record));
  if (index == table_.size()) {
    table_.push_back(object.serial);
  } else {
    table_[index] = object.serial;
  }
  return index;
}

void MetafileRecorder::ForgetObject(const GdiObject &object) {
  uint32_t index = IndexOf(object);
  if (!index) return;
  RecordBuilder r(kDeleteObject);
  r.U32(index);
  Append(std::move(r));
  table_[index] = 0;
}

void MetafileRecorder::AddEofPalette(std::span<const PALETTEENTRY> entries) {
  for (PALETTEENTRY e : entries) {
    e.peFlags = 0;
    auto same = [&](const PALETTEENTRY &o) {
      return o.peRed == e.peRed && o.peGreen == e.peGreen && o.peBlue == e.peBlue;
    };
    if (std::none_of(eof_palette_.begin(), eof_palette_.end(), same)) eof_palette_.push_back(e);
  }
}

// The frame in reference pixels (outward), to keep the header bounds inside the picture.
RECT MetafileRecorder::FramePixels() const {
  const double kx = reference_.pixels.cx / (reference_.millimetres.cx * 100.0);
  const double ky = reference_.pixels.cy / (reference_.millimetres.cy * 100.0);
  return {RoundToLong(std::floor(frame_->left * kx)), RoundToLong(std::floor(frame_->top * ky)),
          RoundToLong(std::ceil(frame_->right * kx)), RoundToLong(std::ceil(frame_->bottom * ky))};
}

// Inclusive box of everything drawn; (0,0,-1,-1) when nothing was. With a frame, clipped to
// it: content beyond the frame is outside the picture, and bounds that straddle y = 0 there
// would set off some readers' repair heuristics.
RECT MetafileRecorder::HeaderBounds() const {
  if (bounds_.empty || !frame_) return bounds_.rect;
  const RECT px = FramePixels();
  const RECT &b = bounds_.rect;
  RECT clipped{std::max(b.left, px.left), std::max(b.top, px.top), std::min(b.right, px.right),
               std::min(b.bottom, px.bottom)};
  if (clipped.left > clipped.right || clipped.top > clipped.bottom) return {0, 0, -1, -1};
  return clipped;
}

// The frame the application gave, else the bounds in 0.01 mm.
RECT MetafileRecorder::HeaderFrame() const {
  if (frame_) return *frame_;
  if (bounds_.empty) return {0, 0, 0, 0};
  const double kx = reference_.millimetres.cx * 100.0 / reference_.pixels.cx;
  const double ky = reference_.millimetres.cy * 100.0 / reference_.pixels.cy;
  const RECT &b = bounds_.rect;
  return {RoundToLong(b.left * kx), RoundToLong(b.top * ky), RoundToLong(b.right * kx),
          RoundToLong(b.bottom * ky)};
}

std::vector<uint8_t> MetafileRecorder::Header(uint32_t total_bytes, uint32_t records) const {
  const uint32_t description_bytes = static_cast<uint32_t>(description_.size() * 2);
  RecordBuilder r(kHeader);
  r.Rect(HeaderBounds())
      .Rect(HeaderFrame())
      .U32(kSignature)
      .U32(kVersion)
      .U32(total_bytes)
      .U32(records);
  r.U16(static_cast<uint16_t>(std::min<size_t>(table_.size(), 0xFFFF))).U16(0);
  r.U32(static_cast<uint32_t>(description_.size()));
  r.U32(description_.empty() ? 0 : kHeaderSize);
  r.U32(static_cast<uint32_t>(eof_palette_.size()));
  r.I32(reference_.pixels.cx).I32(reference_.pixels.cy);
  r.I32(reference_.millimetres.cx).I32(reference_.millimetres.cy);
  r.U32(0).U32(0).U32(0);
  r.I32(reference_.millimetres.cx * 1000).I32(reference_.millimetres.cy * 1000);
  r.Bytes(description_.data(), description_bytes);
  return r.Finish();
}

ImageBuffer MetafileRecorder::Finish() {
  EndSegmentRun();
  RecordBuilder eof(kEof);
  eof.U32(static_cast<uint32_t>(eof_palette_.size())).U32(16);
  eof.Bytes(eof_palette_.data(), eof_palette_.size() * sizeof(PALETTEENTRY));
  eof.U32(static_cast<uint32_t>(20 + 4 * eof_palette_.size()));
  // The EOF goes in past the record limit: a page that reached it still closes whole.
  const std::span<const uint8_t> eof_record = eof.Seal();
  uint8_t *at = out_of_memory_ ? nullptr : ExtendForRecord(eof_record.size());
  // The sizes in the header are 32-bit: an image that outgrew them cannot be written.
  if (at == nullptr || image_.size() > UINT32_MAX) return {};
  std::memcpy(at, eof_record.data(), eof_record.size());
  // record_count_ counts the EOF; the header is the one more.
  const std::vector<uint8_t> header =
      Header(static_cast<uint32_t>(image_.size()), record_count_ + 1);
  std::memcpy(image_.data(), header.data(), header_bytes_);
  return std::move(image_);
}

}  // namespace tamvel::posix
