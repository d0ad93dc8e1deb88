// Reads the bytes of recorded metafiles in the tests, so that layouts are asserted offset by
// offset and not through the decoder's views: the decoder only finds where the records are.
// Every recording finished here must also pass the decoder's structure checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/emf/emf_decoder.h"
#include "platform/win32.h"
#include "tests/common/emf_builder.h"
#include "tests/common/emf_test_util.h"

namespace tamvel::testing {

using test::GetU32;

// Closes `dc`, deletes the metafile and returns what it recorded.
inline emf::DecodeResult Finish(HDC dc) {
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  emf::DecodeResult result = test::DecodeMetafile(metafile);
  DeleteEnhMetaFile(metafile);
  EXPECT_TRUE(result.ok()) << test::ProblemsText(result);
  return result;
}

// Record types between the header and EOF.
inline std::vector<uint32_t> BodyTypes(const emf::DecodeResult &r) {
  std::vector<uint32_t> types = test::RecordTypes(r);
  if (types.size() < 2) return {};
  return {types.begin() + 1, types.end() - 1};
}

inline int16_t I16(const std::vector<uint8_t> &b, size_t offset) {
  return static_cast<int16_t>(b[offset] | b[offset + 1] << 8);
}

// Expects the dwords at these offsets of record `index` (0 is the header) to hold the values
// given, as {offset, value} pairs.
inline void ExpectFields(const emf::DecodeResult &r, size_t index,
                         std::initializer_list<std::pair<size_t, int64_t>> fields) {
  ASSERT_LT(index, r.records.size()) << test::DescribeAll(r);
  const emf::Record &record = r.records[index];
  for (const auto &[at, value] : fields) {
    if (at + 4 > record.size) {
      ADD_FAILURE() << "offset " << at << " is outside " << test::Describe(record);
      continue;
    }
    EXPECT_EQ(static_cast<int32_t>(GetU32(r.bytes, record.offset + at)),
              static_cast<int32_t>(value))
        << "offset " << at << " of " << test::Describe(record);
  }
}

}  // namespace tamvel::testing
