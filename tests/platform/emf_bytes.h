// Reads the bytes of a recorded metafile in the tests: the record list and little-endian
// fields. Deliberately minimal; record meaning is asserted by the tests themselves.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32.h"

namespace tamvel::testing {

struct RecordAt {
  uint32_t type;
  size_t offset;
  uint32_t size;
};

inline uint32_t U32(const std::vector<uint8_t> &b, size_t offset) {
  uint32_t v;
  std::memcpy(&v, b.data() + offset, 4);
  return v;
}
inline int32_t I32(const std::vector<uint8_t> &b, size_t offset) {
  return static_cast<int32_t>(U32(b, offset));
}
inline int16_t I16(const std::vector<uint8_t> &b, size_t offset) {
  int16_t v;
  std::memcpy(&v, b.data() + offset, 2);
  return v;
}

inline std::vector<uint8_t> BitsOf(HENHMETAFILE emf) {
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), bytes.data());
  return bytes;
}

inline std::vector<RecordAt> RecordsOf(const std::vector<uint8_t> &b) {
  std::vector<RecordAt> records;
  for (size_t at = 0; at + 8 <= b.size();) {
    const uint32_t size = U32(b, at + 4);
    records.push_back({U32(b, at), at, size});
    if (size < 8) break;
    at += size;
  }
  return records;
}

// Record types between the header and EOF.
inline std::vector<uint32_t> BodyTypes(const std::vector<uint8_t> &b) {
  std::vector<uint32_t> types;
  auto records = RecordsOf(b);
  for (size_t i = 1; i + 1 < records.size(); ++i) types.push_back(records[i].type);
  return types;
}

// Closes `dc`, returns the file image and deletes the metafile.
inline std::vector<uint8_t> Finish(HDC dc) {
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  std::vector<uint8_t> bytes = BitsOf(emf);
  DeleteEnhMetaFile(emf);
  return bytes;
}

// The first record of `type`, or null.
inline const RecordAt *Find(const std::vector<RecordAt> &records, uint32_t type) {
  for (const RecordAt &r : records) {
    if (r.type == type) return &r;
  }
  return nullptr;
}

}  // namespace tamvel::testing
