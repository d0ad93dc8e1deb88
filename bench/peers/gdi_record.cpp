// Windows GDI recording the benchmark page (bench/segments.h), built for x86_64 Windows by
// bench/compare.sh and run under wine64: the segments as LineTo into an enhanced-metafile DC
// in MM_TWIPS on an A4 frame, the same points the library's pages record.
//
//   gdi_record.exe time FILE REPETITIONS   one line per repetition:
//                                           "lineto_ns <per segment> close_save_ms <ms>"
//   gdi_record.exe memory FILE             "peak_bytes_per_segment <bytes>"
// Per segment: CPU time of the recording thread (Wine counts it in 10 ms steps); close and
// save: wall time, as for the other recorders.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/segments.h"

namespace {

std::vector<POINT> Points() {
  const int64_t n = bench::PageSegments();
  std::vector<POINT> all;
  all.reserve(static_cast<size_t>(n + 1));
  for (int64_t i = -1; i < n; ++i) {
    const bench::MmPoint p = bench::SegmentEnd(i);
    all.push_back({bench::Twips(p.x), bench::Twips(p.y)});
  }
  return all;
}

HDC OpenPage(const char *path) {
  const RECT frame{bench::kFrameLeft, bench::kFrameTop, bench::kFrameRight, bench::kFrameBottom};
  HDC dc = CreateEnhMetaFileA(nullptr, path, &frame, "bench\0page\0");
  if (dc) SetMapMode(dc, MM_TWIPS);
  return dc;
}

void DrawSegments(HDC dc, const std::vector<POINT> &points) {
  MoveToEx(dc, points[0].x, points[0].y, nullptr);
  for (size_t i = 1; i < points.size(); ++i) LineTo(dc, points[i].x, points[i].y);
}

// CPU time of this thread in nanoseconds.
double ThreadNs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ns = [](FILETIME t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
           100.0;
  };
  return ns(kernel) + ns(user);
}

double WallNs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

double PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PeakWorkingSetSize);
}

double WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize);
}

int Time(const char *path, int repetitions) {
  const std::vector<POINT> points = Points();
  const double segments = static_cast<double>(points.size() - 1);
  for (int r = 0; r < repetitions; ++r) {
    HDC dc = OpenPage(path);
    if (!dc) return 1;
    const double start = ThreadNs();
    DrawSegments(dc, points);
    const double drawn = ThreadNs();
    const double closing = WallNs();
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    if (!emf) return 1;
    DeleteEnhMetaFile(emf);
    const double saved = WallNs();
    std::printf("lineto_ns %.2f close_save_ms %.2f\n", (drawn - start) / segments,
                (saved - closing) / 1e6);
    std::fflush(stdout);
  }
  return 0;
}

int Memory(const char *path) {
  const std::vector<POINT> points = Points();
  HDC dc = OpenPage(path);
  if (!dc) return 1;
  const double before = (std::max)(WorkingSet(), PeakWorkingSet());
  DrawSegments(dc, points);
  const double peak = PeakWorkingSet();
  std::printf("peak_bytes_per_segment %.2f\n",
              (peak - before) / static_cast<double>(points.size() - 1));
  if (HENHMETAFILE emf = CloseEnhMetaFile(dc)) DeleteEnhMetaFile(emf);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 4 && std::strcmp(argv[1], "time") == 0) return Time(argv[2], std::atoi(argv[3]));
  if (argc == 3 && std::strcmp(argv[1], "memory") == 0) return Memory(argv[2]);
  std::fprintf(stderr, "usage: gdi_record.exe time FILE REPETITIONS | memory FILE\n");
  return 2;
}
