// libEMF recording the benchmark page: the segments as LineTo in MM_TWIPS on an A4 frame,
// the same points the library's pages record. Mirrors bench/recording_bench.cpp.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

// libEMF's Win32 headers define min and max as macros: they come after the C++ headers.
#include <libEMF/emf.h>

#include "bench/bench_memory.h"
#include "bench/segments.h"

namespace {

struct TwipPoint {
  INT x, y;
};

const std::vector<TwipPoint> &Points() {
  static const std::vector<TwipPoint> points = [] {
    const int64_t n = bench::PageSegments();
    std::vector<TwipPoint> all;
    all.reserve(static_cast<size_t>(n + 1));
    for (int64_t i = -1; i < n; ++i) {
      const bench::MmPoint p = bench::SegmentEnd(i);
      all.push_back({bench::Twips(p.x), bench::Twips(p.y)});
    }
    return all;
  }();
  return points;
}

std::string FilePath() {
  return (std::filesystem::temp_directory_path() / "tamvel-bench-libemf.emf").string();
}

HDC OpenPage(const std::string &path) {
  const RECT frame{bench::kFrameLeft, bench::kFrameTop, bench::kFrameRight, bench::kFrameBottom};
  HDC dc = CreateEnhMetaFileA(0, path.c_str(), &frame, "bench\0page\0");
  if (dc) SetMapMode(dc, MM_TWIPS);
  return dc;
}

void DrawSegments(HDC dc) {
  const std::vector<TwipPoint> &points = Points();
  MoveToEx(dc, points[0].x, points[0].y, 0);
  for (size_t i = 1; i < points.size(); ++i) LineTo(dc, points[i].x, points[i].y);
}

void Close(HDC dc) {
  if (HENHMETAFILE emf = CloseEnhMetaFile(dc)) DeleteEnhMetaFile(emf);
}

void SetSegmentCounters(benchmark::State &state) {
  const auto n = static_cast<int64_t>(Points().size() - 1);
  state.counters["segments"] = static_cast<double>(n);
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_LibEmfLineTo(benchmark::State &state) {
  const std::string path = FilePath();
  Points();
  for (auto _ : state) {
    state.PauseTiming();
    HDC dc = OpenPage(path);
    if (!dc) return state.SkipWithError("no recording");
    state.ResumeTiming();
    DrawSegments(dc);
    state.PauseTiming();
    Close(dc);
    state.ResumeTiming();
  }
  SetSegmentCounters(state);
  std::filesystem::remove(path);
}
BENCHMARK(BM_LibEmfLineTo)->Unit(benchmark::kMillisecond);

// libEMF keeps the records until CloseEnhMetaFile, which writes the file named at creation.
void BM_LibEmfCloseAndSave(benchmark::State &state) {
  const std::string path = FilePath();
  for (auto _ : state) {
    state.PauseTiming();
    HDC dc = OpenPage(path);
    if (!dc) return state.SkipWithError("no recording");
    DrawSegments(dc);
    state.ResumeTiming();
    Close(dc);
  }
  SetSegmentCounters(state);
  std::filesystem::remove(path);
}
BENCHMARK(BM_LibEmfCloseAndSave)->Unit(benchmark::kMillisecond);

void BM_LibEmfRecordingMemory(benchmark::State &state) {
  const std::string path = FilePath();
  Points();
  for (auto _ : state) {
    HDC dc = OpenPage(path);
    if (!dc) return state.SkipWithError("no recording");
    bench::ResetPeakMemory();
    const int64_t before = bench::ResidentMemoryBytes();
    DrawSegments(dc);
    const int64_t peak = bench::PeakMemoryBytes();
    state.counters["peak_bytes_per_segment"] =
        static_cast<double>(peak - before) / static_cast<double>(Points().size() - 1);
    Close(dc);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LibEmfRecordingMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
