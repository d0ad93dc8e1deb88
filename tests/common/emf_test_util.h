// Helpers for tests that check what was recorded into a metafile.
//
//   HENHMETAFILE emf = CloseEnhMetaFile(dc);
//   emf::DecodeResult r = test::DecodeMetafile(emf);
//   ASSERT_TRUE(r.ok()) << test::ProblemsText(r);
//   EXPECT_EQ(test::CountRecords(r, emf::kLineTo), 4u) << test::DescribeAll(r);
//   const emf::Poly* line = test::FirstView<emf::Poly>(r, emf::kPolyline16);
//   ASSERT_NE(line, nullptr);
//   EXPECT_EQ(line->points.front(), (emf::Point{0, 0})) << test::Describe(*r.records[5]);
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/emf/emf_decoder.h"
#include "platform/win32.h"

namespace tamvel::test {

// The image of a finished metafile as GetEnhMetaFileBits gives it; empty for a bad handle.
// Inline so that test programs that never use a metafile handle do not need the platform.
inline std::vector<uint8_t> MetafileBits(HENHMETAFILE metafile) {
  UINT size = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
  std::vector<uint8_t> bits(size);
  if (size != 0 && GetEnhMetaFileBits(metafile, size, bits.data()) != size) bits.clear();
  return bits;
}

// A RECT's edges (left, top, right, bottom) as one comparable value:
// EXPECT_EQ(test::Edges(frame), (test::RectEdges{0, -10000, 10000, 0})).
using RectEdges = std::array<int64_t, 4>;
inline RectEdges Edges(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Decodes a finished metafile; a bad handle gives a result with a problem.
inline emf::DecodeResult DecodeMetafile(HENHMETAFILE metafile) {
  std::vector<uint8_t> bits = MetafileBits(metafile);
  return emf::DecodeEmf(bits.data(), bits.size());
}

// Decodes a metafile file; an unreadable file gives a result with a problem.
emf::DecodeResult DecodeFile(const std::string& path);

// The path of a file under tests/data/ in the source tree, e.g. TestDataPath("emf/gdi-rich.emf").
std::string TestDataPath(const std::string& name);

// Records of one type, in file order.
std::vector<const emf::Record*> FindRecords(const emf::DecodeResult& result, uint32_t type);
size_t CountRecords(const emf::DecodeResult& result, uint32_t type);

// Every record's type, in file order (compare with a list of emf::k* record types).
std::vector<uint32_t> RecordTypes(const emf::DecodeResult& result);

// The typed views of every record of one type (records of that type without the view, i.e.
// malformed ones, are left out).
template <typename View>
std::vector<const View*> Views(const emf::DecodeResult& result, uint32_t type) {
  std::vector<const View*> views;
  for (const emf::Record* record : FindRecords(result, type)) {
    if (const View* view = record->As<View>()) views.push_back(view);
  }
  return views;
}

// The first record of `type` with view `View`, or nullptr.
template <typename View>
const View* FirstView(const emf::DecodeResult& result, uint32_t type) {
  std::vector<const View*> views = Views<View>(result, type);
  return views.empty() ? nullptr : views.front();
}

// Short text forms for gtest messages.
std::string Describe(const emf::Record& record);            // "EMR_LINETO size=16 (1,2)"
std::string DescribeAll(const emf::DecodeResult& result);   // one record per line
std::string ProblemsText(const emf::DecodeResult& result);  // one problem per line
std::string TypeNames(const std::vector<uint32_t>& types);  // "EMR_MOVETOEX EMR_LINETO"

}  // namespace tamvel::test

// Readable values in gtest messages ("(1,2)" instead of a byte dump).
namespace tamvel::emf {
void PrintTo(const Point& point, std::ostream* out);
void PrintTo(const Rect& rect, std::ostream* out);
void PrintTo(const Extent& extent, std::ostream* out);
void PrintTo(const PaletteEntry& entry, std::ostream* out);
}  // namespace tamvel::emf
