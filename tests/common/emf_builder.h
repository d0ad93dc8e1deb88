// Builds small metafile images byte by byte for decoder and player tests: a 108-byte header
// (with an optional description), the records given, and an EMR_EOF; nBytes and nRecords are
// filled in. Parameters are appended as little-endian dwords, words or raw bytes.
//
//   std::vector<uint8_t> file = test::EmfBuilder()
//       .Add(emf::kMoveToEx, {10, 20})
//       .Add(emf::kLineTo, {30, 40})
//       .Build();
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/emf/emf_records.h"

namespace tamvel::test {

class EmfBuilder {
 public:
  // A record whose parameters are 32-bit values (negative ints are stored as two's complement).
  EmfBuilder& Add(uint32_t type, std::initializer_list<int64_t> dwords) {
    std::vector<uint8_t> payload;
    for (int64_t v : dwords) PutU32(payload, static_cast<uint32_t>(v));
    return AddBytes(type, payload);
  }
  // A record with an arbitrary payload, zero-padded to a multiple of 4.
  EmfBuilder& AddBytes(uint32_t type, std::vector<uint8_t> payload) {
    while (payload.size() % 4) payload.push_back(0);
    std::vector<uint8_t> record;
    PutU32(record, type);
    PutU32(record, static_cast<uint32_t>(payload.size() + 8));
    record.insert(record.end(), payload.begin(), payload.end());
    records_.push_back(record);
    return *this;
  }
  EmfBuilder& Handles(uint16_t handles) {
    handles_ = handles;
    return *this;
  }
  // The description as UTF-16 units, NULs included (u"app\0title\0\0" needs an explicit size).
  EmfBuilder& Description(std::u16string description) {
    description_ = std::move(description);
    return *this;
  }
  EmfBuilder& WithoutEof() {
    eof_ = false;
    return *this;
  }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> header;
    uint32_t description_bytes = static_cast<uint32_t>(description_.size() * 2);
    uint32_t header_size = emf::kHeaderSize + ((description_bytes + 3) & ~3u);
    std::vector<uint8_t> eof = {emf::kEof, 0, 0,  0, 20, 0, 0,  0, 0, 0,
                                0,         0, 16, 0, 0,  0, 20, 0, 0, 0};
    size_t total = header_size + (eof_ ? eof.size() : 0);
    for (const auto& r : records_) total += r.size();
    PutU32(header, emf::kHeader);
    PutU32(header, header_size);
    for (int32_t v : {0, 0, 99, 99, 0, 0, 2646, 2646}) PutU32(header, static_cast<uint32_t>(v));
    PutU32(header, emf::kSignature);
    PutU32(header, emf::kVersion);
    PutU32(header, static_cast<uint32_t>(total));
    PutU32(header, static_cast<uint32_t>(records_.size() + 1 + (eof_ ? 1 : 0)));
    PutU32(header, handles_);  // nHandles and sReserved
    PutU32(header, static_cast<uint32_t>(description_.size()));
    PutU32(header, description_.empty() ? 0 : emf::kHeaderSize);
    PutU32(header, 0);  // nPalEntries
    for (int32_t v : {emf::kReferenceWidthPx, emf::kReferenceHeightPx, emf::kReferenceWidthMm,
                      emf::kReferenceHeightMm, 0, 0, 0, emf::kReferenceWidthMm * 1000,
                      emf::kReferenceHeightMm * 1000}) {
      PutU32(header, static_cast<uint32_t>(v));
    }
    for (char16_t c : description_) {
      header.push_back(static_cast<uint8_t>(c));
      header.push_back(static_cast<uint8_t>(c >> 8));
    }
    header.resize(header_size, 0);
    std::vector<uint8_t> file = header;
    for (const auto& r : records_) file.insert(file.end(), r.begin(), r.end());
    if (eof_) file.insert(file.end(), eof.begin(), eof.end());
    return file;
  }

  static void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  static void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  }

 private:
  std::vector<std::vector<uint8_t>> records_;
  std::u16string description_;
  uint16_t handles_ = 1;
  bool eof_ = true;
};

// Reads and writes dwords inside a file image (for corrupting copies in tests).
inline uint32_t GetU32(const std::vector<uint8_t>& data, size_t at) {
  return data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
         (static_cast<uint32_t>(data[at + 3]) << 24);
}
inline void SetU32(std::vector<uint8_t>& data, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace tamvel::test
