// Builds one EMF record: type and size first, then little-endian fields; Seal() pads to a
// multiple of 4 and writes the size. The bytes live in the builder (on the stack for all but
// large records), so recording a call allocates nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

class RecordBuilder {
 public:
  explicit RecordBuilder(uint32_t type) {
    U32(type);
    U32(0);
  }
  RecordBuilder(RecordBuilder &&other) noexcept
      : spill_(std::move(other.spill_)), size_(other.size_) {
    if (spill_.empty()) std::memcpy(inline_, other.inline_, size_);
  }
  RecordBuilder(const RecordBuilder &) = delete;
  RecordBuilder &operator=(const RecordBuilder &) = delete;
  RecordBuilder &operator=(RecordBuilder &&) = delete;

  RecordBuilder &U32(uint32_t v) { return Raw(&v, 4); }
  RecordBuilder &I32(int32_t v) { return Raw(&v, 4); }
  RecordBuilder &U16(uint16_t v) { return Raw(&v, 2); }
  RecordBuilder &I16(int16_t v) { return Raw(&v, 2); }
  RecordBuilder &U8(uint8_t v) { return Raw(&v, 1); }
  RecordBuilder &F32(float v) { return Raw(&v, 4); }
  RecordBuilder &Point(POINT p) { return I32(p.x).I32(p.y); }
  RecordBuilder &Rect(const RECT &r) { return I32(r.left).I32(r.top).I32(r.right).I32(r.bottom); }
  RecordBuilder &Bytes(const void *data, size_t n) { return Raw(data, n); }
  RecordBuilder &Zeros(size_t n) {
    if (n) std::memset(Grow(n), 0, n);
    return *this;
  }
  RecordBuilder &Pad4() { return Zeros((4 - size_ % 4) % 4); }

  size_t size() const { return size_; }
  void PutU32At(size_t offset, uint32_t v) { std::memcpy(data() + offset, &v, 4); }
  void PutRectAt(size_t offset, const RECT &r) { std::memcpy(data() + offset, &r, 16); }

  // The finished record; valid while the builder lives and nothing more is added.
  std::span<const uint8_t> Seal() {
    Pad4();
    PutU32At(4, static_cast<uint32_t>(size_));
    return {data(), size_};
  }
  // The finished record as a vector of its own (object CREATE records are kept that way).
  std::vector<uint8_t> Finish() {
    const std::span<const uint8_t> record = Seal();
    return {record.begin(), record.end()};
  }

 private:
  static constexpr size_t kInlineBytes = 512;

  uint8_t *data() { return spill_.empty() ? inline_ : spill_.data(); }

  uint8_t *Grow(size_t n) {
    const size_t old = size_;
    if (spill_.empty() && old + n <= kInlineBytes) {
      size_ += n;
      return inline_ + old;
    }
    if (spill_.empty()) spill_.assign(inline_, inline_ + old);
    spill_.resize(old + n);
    size_ += n;
    return spill_.data() + old;
  }

  RecordBuilder &Raw(const void *data, size_t n) {
    if (n) std::memcpy(Grow(n), data, n);
    return *this;
  }

  uint8_t inline_[kInlineBytes];
  std::vector<uint8_t> spill_;  // holds the record once it outgrows inline_
  size_t size_ = 0;
};

// Reads a little-endian field of a record or file image (the caller checks the bounds).
template <typename T>
T ReadAt(const uint8_t *data, size_t offset) {
  T v;
  std::memcpy(&v, data + offset, sizeof v);
  return v;
}

}  // namespace tamvel::posix
