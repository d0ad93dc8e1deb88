// A fixture for tests of the shape, clip and palette calls: an open A4 drawing on page 0 and
// helpers to read back what one call recorded. Records are compared in a way that holds for
// the stand-in's recorder and for a real GDI alike (paths as figures, whatever the records).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "include/tamvel.h"
#include "platform/emf/emf_decoder.h"
#include "platform/emf/emf_records.h"
#include "src/pages/page_table.h"
#include "tests/common/emf_test_util.h"

namespace tamvel::test {

using Figure = std::vector<emf::Point>;

class RecordingPage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) {
      ASSERT_TRUE(AttachLibrary());
    }
    CHPAGE(1);
    ASSERT_NE(PLOTS(210.0f, 297.0f, 0), 0);
  }
  void TearDown() override { PLOT(0.0f, 0.0f, 999); }

  // Marks the start of the records a test looks at (a background-mode record).
  static void Mark() { SETBKG(TRANSPARENT); }

  // Closes the page and decodes it; the records after the last Mark() are `Slice()`.
  const emf::DecodeResult &Finish() {
    PLOT(0.0f, 0.0f, 999);
    result_ = DecodeMetafile(CurrentPage().FinishedMetafile());
    EXPECT_TRUE(result_.ok()) << ProblemsText(result_);
    return result_;
  }
  std::vector<const emf::Record *> Slice() const {
    size_t start = 0;
    for (size_t i = 0; i < result_.records.size(); ++i) {
      if (result_.records[i].type == emf::EMR_SETBKMODE) start = i + 1;
    }
    std::vector<const emf::Record *> slice;
    for (size_t i = start; i < result_.records.size(); ++i) {
      if (result_.records[i].type != emf::EMR_EOF) slice.push_back(&result_.records[i]);
    }
    return slice;
  }
  size_t CountInSlice(uint32_t type) const {
    size_t n = 0;
    for (const emf::Record *r : Slice()) n += r->type == type;
    return n;
  }
  std::vector<uint32_t> SelectedObjects() const {
    std::vector<uint32_t> ids;
    for (const emf::Record *r : Slice()) {
      if (r->type == emf::EMR_SELECTOBJECT) ids.push_back(r->As<emf::Value>()->value);
    }
    return ids;
  }
  std::string SliceText() const {
    std::string text;
    for (const emf::Record *r : Slice()) text += Describe(*r) + "\n";
    return text;
  }

  // Lines and polylines drawn outside path brackets and the figures inside them, as point
  // lists in page units: MOVETOEX starts a figure, LINETO and POLYLINETO continue it,
  // POLYLINE, POLYGON and every part of POLYPOLYLINE are figures of their own.
  std::vector<Figure> Figures() const {
    std::vector<Figure> figures;
    emf::Point position;
    bool open = false;
    for (const emf::Record *r : Slice()) {
      switch (r->type) {
        case emf::EMR_MOVETOEX:
          position = r->As<emf::PointValue>()->point;
          open = false;
          break;
        case emf::EMR_LINETO:
          if (!open) figures.push_back({position});
          open = true;
          position = r->As<emf::PointValue>()->point;
          figures.back().push_back(position);
          break;
        case emf::EMR_POLYLINETO16:
        case emf::EMR_POLYLINETO:
          if (!open) figures.push_back({position});
          open = true;
          for (const emf::Point &p : r->As<emf::Poly>()->points) figures.back().push_back(p);
          position = figures.back().back();
          break;
        case emf::EMR_POLYLINE16:
        case emf::EMR_POLYLINE:
        case emf::EMR_POLYGON16:
        case emf::EMR_POLYGON:
          figures.push_back(r->As<emf::Poly>()->points);
          break;
        case emf::EMR_POLYPOLYLINE16:
        case emf::EMR_POLYPOLYLINE: {
          const emf::PolyPoly *pp = r->As<emf::PolyPoly>();
          size_t at = 0;
          for (uint32_t count : pp->counts) {
            figures.emplace_back(pp->points.begin() + at, pp->points.begin() + at + count);
            at += count;
          }
          break;
        }
        default:
          break;
      }
    }
    return figures;
  }

  emf::DecodeResult result_;
};

inline bool Contains(const std::vector<uint32_t> &ids, uint32_t id) {
  for (uint32_t v : ids) {
    if (v == id) return true;
  }
  return false;
}

// Page units of plot millimetres on a fresh page (origin 0, factor 1).
inline int32_t Units(double mm) {
  return static_cast<int32_t>(mm >= 0 ? mm * 56.6929 + 0.5 : mm * 56.6929 - 0.5);
}

}  // namespace tamvel::test
