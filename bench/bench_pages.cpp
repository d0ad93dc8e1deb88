#include "bench/bench_pages.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include "include/tamvel.h"
#include "src/pages/page_table.h"

namespace bench {

bool OpenPage() {
  if (!tamvel::LibraryAttached() && !tamvel::AttachLibrary()) return false;
  CHPAGE(1);
  return PLOTS(kPageWidthMm, kPageHeightMm, 0) != 0;
}

const std::vector<MmPoint> &PagePoints() {
  static const std::vector<MmPoint> points = [] {
    const int64_t n = PageSegments();
    std::vector<MmPoint> all(static_cast<size_t>(n + 1));
    for (int64_t i = 0; i <= n; ++i) all[static_cast<size_t>(i)] = SegmentEnd(i - 1);
    return all;
  }();
  return points;
}

void DrawSegments() {
  const std::vector<MmPoint> &points = PagePoints();
  PLOT(points[0].x, points[0].y, 3);
  for (size_t i = 1; i < points.size(); ++i) PLOT(points[i].x, points[i].y, 2);
}

const std::string &PageFile() {
  static const std::string path = [] {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("tamvel-bench-" + std::to_string(std::random_device{}()) + ".emf");
    std::string name = file.string();
    if (OpenPage()) {
      DrawSegments();
      if (SAVEFILE(name.c_str()) != 0)
        std::fprintf(stderr, "bench: cannot save %s\n", name.c_str());
    }
    return name;
  }();
  return path;
}

}  // namespace bench
