// The recorder's image memory and the segment fast path: records written in place past the
// first chunks, and the bounds of a long recording through mapping and pen changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/posix/image_buffer.h"
#include "platform/posix/mapping.h"
#include "platform/win32.h"

namespace {

using tamvel::posix::ImageBuffer;
using tamvel::posix::RoundToLong;

TEST(ImageBuffer, GrowsInPlacePastManyChunksKeepingEveryByte) {
  ImageBuffer buffer;
  const uint8_t *first = nullptr;
  constexpr size_t kPiece = 4099, kPieces = 3000;  // about 12 MB in odd-sized pieces
  for (size_t i = 0; i < kPieces; ++i) {
    uint8_t *at = buffer.Extend(kPiece);
    ASSERT_NE(at, nullptr);
    if (!first) first = at;
    std::fill(at, at + kPiece, static_cast<uint8_t>(i * 7));
  }
  EXPECT_EQ(buffer.data(), first);  // nothing moved
  ASSERT_EQ(buffer.size(), kPiece * kPieces);
  for (size_t i = 0; i < kPieces; i += 97) {
    EXPECT_EQ(buffer.data()[i * kPiece], static_cast<uint8_t>(i * 7));
    EXPECT_EQ(buffer.data()[i * kPiece + kPiece - 1], static_cast<uint8_t>(i * 7));
  }
  buffer.Truncate(10);
  ImageBuffer moved = std::move(buffer);
  EXPECT_EQ(moved.size(), 10u);
  EXPECT_EQ(moved.data()[9], 0);
  EXPECT_EQ(buffer.size(), 0u);
  EXPECT_EQ(buffer.Extend(SIZE_MAX / 2), nullptr);
}

TEST(RoundToLong, HalvesAwayFromZeroAndClamps) {
  EXPECT_EQ(RoundToLong(2.5), 3);
  EXPECT_EQ(RoundToLong(-2.5), -3);
  EXPECT_EQ(RoundToLong(2.4999999999999996), 2);
  EXPECT_EQ(RoundToLong(0.49999999999999994), 0);
  EXPECT_EQ(RoundToLong(-0.49999999999999994), 0);
  EXPECT_EQ(RoundToLong(1e300), INT32_MAX);
  EXPECT_EQ(RoundToLong(-1e300), INT32_MIN);
  EXPECT_EQ(RoundToLong(2147483647.4), INT32_MAX);
  EXPECT_EQ(RoundToLong(std::numeric_limits<double>::quiet_NaN()), 0);
}

// Expected bounds: every segment end through LPtoDP, widened by half the pen's width.
struct Box {
  LONG left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
  void Add(HDC dc, POINT p, LONG widen) {
    LPtoDP(dc, &p, 1);
    left = std::min(left, p.x - widen);
    top = std::min(top, p.y - widen);
    right = std::max(right, p.x + widen);
    bottom = std::max(bottom, p.y + widen);
  }
};

// Reads the header of `emf` into `header` and checks its bounds against `box`.
void ExpectBounds(HENHMETAFILE emf, const Box &box, ENHMETAHEADER *header) {
  ASSERT_EQ(GetEnhMetaFileHeader(emf, sizeof *header, header), sizeof *header);
  EXPECT_EQ(header->rclBounds.left, box.left);
  EXPECT_EQ(header->rclBounds.top, box.top);
  EXPECT_EQ(header->rclBounds.right, box.right);
  EXPECT_EQ(header->rclBounds.bottom, box.bottom);
}

TEST(SegmentRecording, LongRecordingKeepsEverySegmentAndItsBounds) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  Box box;
  constexpr int kSegments = 150000;  // 2.4 MB of LINETO records in each half
  MoveToEx(dc, 0, 0, nullptr);
  for (int i = 1; i <= kSegments; ++i) {
    const POINT p{i % 1000, (i % 2) * 700};
    LineTo(dc, p.x, p.y);
    box.Add(dc, p, 0);
  }
  box.Add(dc, {0, 0}, 0);
  // Twips and a pen 20 px wide: the same segments end elsewhere and grow by 10 px; a line
  // that does not start where the last one ended is measured from its own start.
  SetMapMode(dc, MM_TWIPS);
  LOGPEN pen{PS_SOLID, {300, 0}, RGB(0, 0, 0)};
  HPEN wide = CreatePenIndirect(&pen);
  SelectObject(dc, wide);
  MoveToEx(dc, -30000, 9000, nullptr);
  box.Add(dc, {-30000, 9000}, 10);
  for (int i = 1; i <= kSegments; ++i) {
    const POINT p{(i % 1000) * 3, -(i % 2) * 2100};
    LineTo(dc, p.x, p.y);
    box.Add(dc, p, 10);
  }
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  ASSERT_NE(emf, nullptr);
  ENHMETAHEADER header{};
  ExpectBounds(emf, box, &header);
  const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
  EXPECT_EQ(size, header.nBytes);
  std::vector<BYTE> bits(size);
  ASSERT_EQ(GetEnhMetaFileBits(emf, size, bits.data()), size);
  // Every segment is there, in order, each a 16-byte LINETO: the last one just before EOF.
  const size_t last = size - 20 - 16;
  const uint32_t *record = reinterpret_cast<const uint32_t *>(bits.data() + last);
  EXPECT_EQ(record[0], 54u);  // EMR_LINETO
  EXPECT_EQ(static_cast<LONG>(record[2]), (kSegments % 1000) * 3);
  EXPECT_GT(header.nRecords, 2u * kSegments);
  DeleteEnhMetaFile(emf);
  DeleteObject(wide);
}

// The quick way of a line takes only lines that continue the run where it ended: a move in
// the middle of a run adds its point through the long way, and a path's lines (not drawn
// until stroked) stay out of the bounds while the run goes on around the bracket.
TEST(SegmentRecording, MovesAndPathsInsideARunKeepExactBounds) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  Box box;
  auto line = [&](POINT p) {
    POINT from{};
    GetCurrentPositionEx(dc, &from);
    box.Add(dc, from, 0);
    LineTo(dc, p.x, p.y);
    box.Add(dc, p, 0);
  };
  MoveToEx(dc, 0, 0, nullptr);
  line({10, 10});
  line({12, 4});
  MoveToEx(dc, -100, 7, nullptr);  // the run stays open; its box learns the new start here
  line({-90, 8});
  BeginPath(dc);
  LineTo(dc, 5000, 5000);
  LineTo(dc, 5000, -5000);
  EndPath(dc);
  MoveToEx(dc, 30, 30, nullptr);
  line({40, -40});
  line({41, -41});
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  ASSERT_NE(emf, nullptr);
  ENHMETAHEADER header{};
  ExpectBounds(emf, box, &header);
  DeleteEnhMetaFile(emf);
}

}  // namespace
