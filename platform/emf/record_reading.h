// What the decoder's record readers share: bounds-checked little-endian reads inside one
// record, the problems of a decode, and the checks that report what does not fit. The
// readers themselves (record_layouts.cpp) are one per layout of the record list.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/emf/emf_decoder.h"
#include "platform/emf/number_text.h"

namespace tamvel::emf::reading {

// Little-endian reads inside one record. Callers check sizes first; the reads check again and
// give 0 rather than reach outside the record.
class Fields {
 public:
  Fields(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}

  uint32_t size() const { return size_; }
  bool Has(uint64_t offset, uint64_t length) const { return offset + length <= size_; }

  uint8_t U8(uint32_t off) const { return Has(off, 1) ? data_[off] : 0; }
  uint16_t U16(uint32_t off) const {
    return Has(off, 2) ? static_cast<uint16_t>(data_[off] | (data_[off + 1] << 8)) : 0;
  }
  uint32_t U32(uint32_t off) const {
    if (!Has(off, 4)) return 0;
    return static_cast<uint32_t>(data_[off]) | (static_cast<uint32_t>(data_[off + 1]) << 8) |
           (static_cast<uint32_t>(data_[off + 2]) << 16) |
           (static_cast<uint32_t>(data_[off + 3]) << 24);
  }
  int16_t I16(uint32_t off) const { return static_cast<int16_t>(U16(off)); }
  int32_t I32(uint32_t off) const { return static_cast<int32_t>(U32(off)); }
  float F32(uint32_t off) const {
    uint32_t bits = U32(off);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  Point PointAt(uint32_t off) const { return {I32(off), I32(off + 4)}; }
  Point Point16At(uint32_t off) const { return {I16(off), I16(off + 2)}; }
  Extent ExtentAt(uint32_t off) const { return {I32(off), I32(off + 4)}; }
  Rect RectAt(uint32_t off) const { return {I32(off), I32(off + 4), I32(off + 8), I32(off + 12)}; }
  Xform XformAt(uint32_t off) const {
    return {F32(off), F32(off + 4), F32(off + 8), F32(off + 12), F32(off + 16), F32(off + 20)};
  }
  PaletteEntry EntryAt(uint32_t off) const {
    return {U8(off), U8(off + 1), U8(off + 2), U8(off + 3)};
  }
  // `count` UTF-16 units; the caller has checked they fit.
  std::u16string Utf16At(uint32_t off, uint32_t count) const {
    std::u16string out;
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) out.push_back(static_cast<char16_t>(U16(off + 2 * i)));
    return out;
  }
  // A fixed-size WCHAR array, up to its first NUL.
  std::u16string FixedUtf16At(uint32_t off, uint32_t max_chars) const {
    std::u16string out;
    for (uint32_t i = 0; i < max_chars && Has(off + 2 * i, 2); ++i) {
      char16_t c = static_cast<char16_t>(U16(off + 2 * i));
      if (c == 0) break;
      out.push_back(c);
    }
    return out;
  }
  std::vector<uint8_t> BytesAt(uint32_t off, uint32_t count) const {
    if (!Has(off, count)) return {};
    return std::vector<uint8_t>(data_ + off, data_ + off + count);
  }

 private:
  const uint8_t* data_;
  uint32_t size_;
};

// Collects the problems of one decode, tagged with the record being looked at.
class Reporter {
 public:
  explicit Reporter(std::vector<Problem>& problems) : problems_(problems) {}
  void At(size_t index, size_t offset) {
    index_ = index;
    offset_ = offset;
  }
  void Report(std::string message) { problems_.push_back({index_, offset_, std::move(message)}); }
  size_t count() const { return problems_.size(); }

 private:
  std::vector<Problem>& problems_;
  size_t index_ = 0;
  size_t offset_ = 0;
};

inline std::string TypeLabel(uint32_t type) {
  const char* name = RecordName(type);
  return name ? std::string(name) : "record type " + Num(type);
}

// Checks one part of a record against the record's size, reporting what does not fit.
class RecordChecker {
 public:
  RecordChecker(uint32_t type, const Fields& f, Reporter& reporter)
      : type_(type), f_(f), reporter_(reporter) {}

  bool MinSize(uint32_t needed) {
    if (f_.size() >= needed) return true;
    reporter_.Report("size " + Num(f_.size()) + " is too small for " + TypeLabel(type_) +
                     " (needs " + Num(needed) + ")");
    return false;
  }
  // `what` occupies `count` items of `item_size` bytes at `offset`.
  bool Fits(const char* what, uint64_t offset, uint64_t count, uint64_t item_size) {
    uint64_t length = count * item_size;  // counts are 32-bit, sizes tiny: no overflow
    if (f_.Has(offset, length)) return true;
    reporter_.Report(std::string(what) + " (" + Num(count) + (item_size == 1 ? " bytes" : "") +
                     " at offset " + Num(offset) + ") runs past the end of the record (size " +
                     Num(f_.size()) + ")");
    return false;
  }
  void Report(std::string message) { reporter_.Report(std::move(message)); }

 private:
  uint32_t type_;
  const Fields& f_;
  Reporter& reporter_;
};

// The view of a record of `type` (Raw when the type has no layout or the record fails its
// checks, which report why).
Body DecodeBody(uint32_t type, const Fields& f, RecordChecker& check);

}  // namespace tamvel::emf::reading
