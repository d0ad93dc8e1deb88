// Builds one EMF record: type and size first, then little-endian fields; Finish() pads to a
// multiple of 4 and writes the size.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

class RecordBuilder {
 public:
  explicit RecordBuilder(uint32_t type) {
    bytes_.reserve(64);
    U32(type);
    U32(0);
  }

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
    bytes_.insert(bytes_.end(), n, 0);
    return *this;
  }
  RecordBuilder &Pad4() { return Zeros((4 - bytes_.size() % 4) % 4); }

  size_t size() const { return bytes_.size(); }
  void PutU32At(size_t offset, uint32_t v) { std::memcpy(bytes_.data() + offset, &v, 4); }
  void PutRectAt(size_t offset, const RECT &r) { std::memcpy(bytes_.data() + offset, &r, 16); }

  std::vector<uint8_t> Finish() {
    Pad4();
    PutU32At(4, static_cast<uint32_t>(bytes_.size()));
    return std::move(bytes_);
  }

 private:
  RecordBuilder &Raw(const void *data, size_t n) {
    if (n == 0) return *this;
    const size_t old = bytes_.size();
    bytes_.resize(old + n);
    std::memcpy(bytes_.data() + old, data, n);
    return *this;
  }
  std::vector<uint8_t> bytes_;
};

// Reads a little-endian field of a record or file image (the caller checks the bounds).
template <typename T>
T ReadAt(const uint8_t *data, size_t offset) {
  T v;
  std::memcpy(&v, data + offset, sizeof v);
  return v;
}

}  // namespace tamvel::posix
