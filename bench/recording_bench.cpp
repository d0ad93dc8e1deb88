// Recording through the exported calls: PLOT per segment, close and save, LOADFILE, text per
// call, and the peak memory of recording a page. bench/compare.sh puts these beside the same
// work done by other recorders (bench/peers/).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/bench_pages.h"
#include "include/tamvel.h"

namespace {

void SetSegmentCounters(benchmark::State &state) {
  const auto n = static_cast<double>(bench::PageSegments());
  state.counters["segments"] = n;
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

// PLOT(x, y, 2) for every segment of an open page; opening and closing are not timed.
void BM_PlotSegments(benchmark::State &state) {
  bench::PagePoints();
  for (auto _ : state) {
    state.PauseTiming();
    if (!bench::OpenPage()) return state.SkipWithError("no recording");
    state.ResumeTiming();
    bench::DrawSegments();
    state.PauseTiming();
    ClearEmf(1);
    state.ResumeTiming();
  }
  SetSegmentCounters(state);
}
BENCHMARK(BM_PlotSegments)->Unit(benchmark::kMillisecond);

// Pen code 999 and SAVEFILE of a recorded page.
void BM_CloseAndSave(benchmark::State &state) {
  const std::string path = bench::PageFile() + ".saved";
  for (auto _ : state) {
    state.PauseTiming();
    if (!bench::OpenPage()) return state.SkipWithError("no recording");
    bench::DrawSegments();
    state.ResumeTiming();
    PLOT(0.0f, 0.0f, 999);
    if (SAVEFILE(path.c_str()) != 0) return state.SkipWithError("SAVEFILE failed");
    state.PauseTiming();
    ClearEmf(1);
    state.ResumeTiming();
  }
  SetSegmentCounters(state);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CloseAndSave)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State &state) {
  const std::string &path = bench::PageFile();
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    if (LOADFILE(path.c_str()) != 0) return state.SkipWithError("LOADFILE failed");
    state.PauseTiming();
    ClearEmf(1);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

// Peak memory of recording one page, in bytes per segment. Meaningful in a process of its own
// (bench/compare.sh runs it alone), where nothing was recorded before.
void BM_RecordingMemory(benchmark::State &state) {
  bench::PagePoints();
  for (auto _ : state) {
    if (!bench::OpenPage()) return state.SkipWithError("no recording");
    bench::ResetPeakMemory();
    const int64_t before = bench::ResidentMemoryBytes();
    bench::DrawSegments();
    const int64_t peak = bench::PeakMemoryBytes();
    state.counters["peak_bytes_per_segment"] =
        static_cast<double>(peak - before) / static_cast<double>(bench::PageSegments());
    ClearEmf(1);
  }
}
BENCHMARK(BM_RecordingMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Text per call on an open page: a short Latin SYMBOL and a two-character KANJI.
void BM_Symbol(benchmark::State &state) {
  if (!bench::OpenPage()) return state.SkipWithError("no recording");
  int64_t i = 0;
  for (auto _ : state) {
    SYMBOL(10.0f + static_cast<float>(i % 150), 20.0f + static_cast<float>(i % 250), 3.0f, "A12.5",
           0.0f, 5);
    ++i;
  }
  ClearEmf(1);
}
BENCHMARK(BM_Symbol);

void BM_Kanji(benchmark::State &state) {
  if (!bench::OpenPage()) return state.SkipWithError("no recording");
  static const char kKanji[] = "\x8a\xbf\x8e\x9a";  // two kanji in code page 932
  int64_t i = 0;
  for (auto _ : state) {
    KANJI(10.0f + static_cast<float>(i % 150), 20.0f + static_cast<float>(i % 250), 5.0f, kKanji,
          0.0f, 2);
    ++i;
  }
  ClearEmf(1);
}
BENCHMARK(BM_Kanji);

}  // namespace
