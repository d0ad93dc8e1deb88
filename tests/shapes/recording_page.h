// A fixture for tests of the shape, clip and palette calls: an open A4 drawing on page 1 and
// helpers to read back what one call recorded. Records are compared in a way that holds for
// the stand-in's recorder and for a real GDI alike (paths as figures, whatever the records).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/emf/emf_records.h"
#include "tests/common/page_test_util.h"

namespace tamvel::test {

using Figure = std::vector<emf::Point>;

class RecordingPage : public A4PageTest {
 protected:
  // Marks the start of the records a test looks at (a background-mode record).
  static void Mark() { SETBKG(TRANSPARENT); }

  // The records of the finished page after the last Mark(), without the EOF.
  std::vector<const emf::Record *> Slice() const {
    std::vector<const emf::Record *> slice;
    for (const emf::Record &r : result_.records) {
      if (r.type == emf::kSetBkMode) slice.clear();
      if (r.type != emf::kSetBkMode && r.type != emf::kEof) slice.push_back(&r);
    }
    return slice;
  }
  size_t CountInSlice(uint32_t type) const {
    const auto slice = Slice();
    return std::count_if(slice.begin(), slice.end(), [&](auto *r) { return r->type == type; });
  }
  std::vector<uint32_t> SelectedObjects() const {
    std::vector<uint32_t> ids;
    for (const emf::Record *r : Slice()) {
      if (r->type == emf::kSelectObject) ids.push_back(r->As<emf::Value>()->value);
    }
    return ids;
  }
  bool Selected(uint32_t id) const {
    const std::vector<uint32_t> ids = SelectedObjects();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
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
    auto continue_figure = [&](const std::vector<emf::Point> &points) {
      if (!open) figures.push_back({position});
      open = true;
      figures.back().insert(figures.back().end(), points.begin(), points.end());
      position = figures.back().back();
    };
    for (const emf::Record *r : Slice()) {
      switch (r->type) {
        case emf::kMoveToEx:
          position = r->As<emf::PointValue>()->point;
          open = false;
          break;
        case emf::kLineTo:
          continue_figure({r->As<emf::PointValue>()->point});
          break;
        case emf::kPolylineTo16:
        case emf::kPolylineTo:
          continue_figure(r->As<emf::Poly>()->points);
          break;
        case emf::kPolyline16:
        case emf::kPolyline:
        case emf::kPolygon16:
        case emf::kPolygon:
          figures.push_back(r->As<emf::Poly>()->points);
          break;
        case emf::kPolyPolyline16:
        case emf::kPolyPolyline: {
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
};

constexpr uint32_t kNullBrush = emf::kStockObjectFlag | NULL_BRUSH;
constexpr uint32_t kNullPen = emf::kStockObjectFlag | NULL_PEN;

// Page units of plot millimetres on a fresh page (origin 0, factor 1).
inline int32_t Units(double mm) {
  return static_cast<int32_t>(mm >= 0 ? mm * 56.6929 + 0.5 : mm * 56.6929 - 0.5);
}

}  // namespace tamvel::test
