// Helpers of the text tests: a drawing opened on page 1 and the text records of the finished
// metafile, read straight from its bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "include/tamvel.h"
#include "platform/emf/emf_records.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"

namespace tamvel::testing {

struct EmfRecord {
  uint32_t type = 0;
  std::vector<uint8_t> bytes;
  int32_t I32(size_t offset) const {
    int32_t v = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&v, bytes.data() + offset, 4);
    return v;
  }
};

struct TextRecord {
  POINT reference{};
  std::u16string text;
  std::vector<int32_t> dx;
  int32_t DxSum() const {
    int32_t sum = 0;
    for (int32_t d : dx) sum += d;
    return sum;
  }
};

inline std::vector<EmfRecord> ReadRecords(HENHMETAFILE metafile) {
  std::vector<EmfRecord> records;
  const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
  std::vector<uint8_t> bits(size);
  if (size == 0 || GetEnhMetaFileBits(metafile, size, bits.data()) != size) return records;
  size_t offset = 0;
  while (offset + 8 <= bits.size()) {
    uint32_t type = 0;
    uint32_t length = 0;
    std::memcpy(&type, bits.data() + offset, 4);
    std::memcpy(&length, bits.data() + offset + 4, 4);
    if (length < 8 || offset + length > bits.size()) break;
    records.push_back({type, std::vector<uint8_t>(bits.begin() + offset,
                                                  bits.begin() + offset + length)});
    offset += length;
  }
  return records;
}

inline TextRecord DecodeText(const EmfRecord &record) {
  TextRecord text;
  text.reference = POINT{record.I32(36), record.I32(40)};
  const int32_t count = record.I32(44);
  const int32_t string_offset = record.I32(48);
  const int32_t dx_offset = record.I32(72);
  for (int32_t i = 0; i < count; ++i) {
    uint16_t unit = 0;
    const size_t at = static_cast<size_t>(string_offset) + 2 * static_cast<size_t>(i);
    if (at + 2 <= record.bytes.size()) std::memcpy(&unit, record.bytes.data() + at, 2);
    text.text.push_back(static_cast<char16_t>(unit));
    text.dx.push_back(record.I32(static_cast<size_t>(dx_offset) + 4 * static_cast<size_t>(i)));
  }
  return text;
}

// Page index 0 with an A4 drawing open; Close() finishes it and reads its records.
class TextPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) ASSERT_TRUE(AttachLibrary());
    CHPAGE(1);
    ASSERT_NE(PLOTS(210.0f, 297.0f, 0), 0);
  }
  HDC Dc() const { return CurrentPage().RecordingDc(); }
  POINT Position() const {
    POINT p{};
    GetCurrentPositionEx(Dc(), &p);
    return p;
  }
  void Close() {
    PLOT(0.0f, 0.0f, 999);
    records_ = ReadRecords(HandleFromValue<HENHMETAFILE>(static_cast<uint32_t>(MHEMF(0))));
  }
  std::vector<TextRecord> Texts() const {
    std::vector<TextRecord> texts;
    for (const EmfRecord &r : records_) {
      if (r.type == emf::EMR_EXTTEXTOUTW) texts.push_back(DecodeText(r));
    }
    return texts;
  }
  // All text written, the records joined.
  std::u16string AllText() const {
    std::u16string all;
    for (const TextRecord &t : Texts()) all += t.text;
    return all;
  }
  int Count(uint32_t type) const {
    int n = 0;
    for (const EmfRecord &r : records_) n += r.type == type ? 1 : 0;
    return n;
  }
  const std::vector<EmfRecord> &Records() const { return records_; }

 private:
  std::vector<EmfRecord> records_;
};

}  // namespace tamvel::testing
