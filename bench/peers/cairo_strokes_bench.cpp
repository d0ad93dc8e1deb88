// Cairo's own cost for the strokes of the benchmark page: the same one-pixel segments at the
// same device positions on a 96-dpi image of the page, written as PNG. Once with a stroke per
// segment (as a sequence of LineTo calls asks for), once with all segments in one path.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/segments.h"

namespace {

constexpr int kWidthPx = 794;
constexpr int kHeightPx = 1123;

struct DevicePoint {
  double x, y;
};

const std::vector<DevicePoint> &DevicePoints() {
  static const std::vector<DevicePoint> points = [] {
    const int64_t n = bench::PageSegments();
    std::vector<DevicePoint> all;
    all.reserve(static_cast<size_t>(n + 1));
    for (int64_t i = -1; i < n; ++i) {
      const bench::MmPoint p = bench::SegmentEnd(i);
      all.push_back({p.x * kWidthPx / bench::kPageWidthMm,
                     (bench::kPageHeightMm - p.y) * kHeightPx / bench::kPageHeightMm});
    }
    return all;
  }();
  return points;
}

template <typename Draw>
void PaintAndSave(benchmark::State &state, Draw draw) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "tamvel-bench-cairo.png").string();
  const std::vector<DevicePoint> &points = DevicePoints();
  for (auto _ : state) {
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidthPx, kHeightPx);
    cairo_t *cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    draw(cr, points);
    cairo_destroy(cr);
    if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
      state.SkipWithError("cannot write the PNG");
    }
    cairo_surface_destroy(surface);
  }
  state.counters["segments"] = static_cast<double>(points.size() - 1);
  std::filesystem::remove(path);
}

void BM_CairoStrokePerSegment(benchmark::State &state) {
  PaintAndSave(state, [](cairo_t *cr, const std::vector<DevicePoint> &points) {
    for (size_t i = 1; i < points.size(); ++i) {
      cairo_move_to(cr, points[i - 1].x, points[i - 1].y);
      cairo_line_to(cr, points[i].x, points[i].y);
      cairo_stroke(cr);
    }
  });
}
BENCHMARK(BM_CairoStrokePerSegment)->Unit(benchmark::kMillisecond);

void BM_CairoOnePath(benchmark::State &state) {
  PaintAndSave(state, [](cairo_t *cr, const std::vector<DevicePoint> &points) {
    for (size_t i = 1; i < points.size(); ++i) {
      cairo_move_to(cr, points[i - 1].x, points[i - 1].y);
      cairo_line_to(cr, points[i].x, points[i].y);
    }
    cairo_stroke(cr);
  });
}
BENCHMARK(BM_CairoOnePath)->Unit(benchmark::kMillisecond);

}  // namespace
