// Playing the benchmark page (bench/segments.h) into the Linux targets through the exported
// calls: a 96-dpi PNG of the page, an SVG of the same size, and a 300-dpi PDF print. The
// output is written each time (PNG encoding and file completion included).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/bench_pages.h"
#include "include/tamvel.h"
#include "include/tamvel_linux.h"

namespace {

// The page size at 96 dpi, as `tamvel render` makes it.
constexpr int kWidthPx = 794;
constexpr int kHeightPx = 1123;

// Page 2 holds the benchmark page, loaded from its file once.
bool SelectLoadedPage() {
  static const bool loaded = [] {
    const std::string &path = bench::PageFile();
    CHPAGE(2);
    return LOADFILE(path.c_str()) == 0;
  }();
  CHPAGE(2);
  return loaded;
}

std::string OutputFile(const char *extension) { return bench::PageFile() + extension; }

// The peak resident memory of the process while the benchmark played, in MB (bench/compare.sh
// runs each playback benchmark in a process of its own).
void SetPeakCounter(benchmark::State &state) {
  state.counters["peak_mb"] = static_cast<double>(bench::PeakMemoryBytes()) / 1e6;
}

// Pastes the page into a window-sized DC made by `make` and finished by `finish` (true when
// the output was written), once per iteration.
template <typename Make, typename Finish>
void Paste(benchmark::State &state, const char *extension, Make make, Finish finish) {
  if (!SelectLoadedPage()) return state.SkipWithError("no page");
  const std::string path = OutputFile(extension);
  TAMVEL_HWND window = TamvelCreateWindow(kWidthPx, kHeightPx);
  bench::ResetPeakMemory();
  for (auto _ : state) {
    TAMVEL_HDC dc = make(path);
    if (PasteEmf(dc, window) != 0 || !finish(dc, path)) state.SkipWithError("playback failed");
    TamvelDeleteDC(dc);
  }
  SetPeakCounter(state);
  TamvelDestroyWindow(window);
  std::filesystem::remove(path);
}

void BM_PlayToPng(benchmark::State &state) {
  Paste(
      state, ".png", [](const std::string &) { return TamvelCreateImageDC(kWidthPx, kHeightPx); },
      [](TAMVEL_HDC dc, const std::string &path) {
        return TamvelSaveImageDC(dc, path.c_str()) == 0;
      });
}
BENCHMARK(BM_PlayToPng)->Unit(benchmark::kMillisecond);

void BM_PlayToSvg(benchmark::State &state) {
  Paste(
      state, ".svg",
      [](const std::string &path) { return TamvelCreateSvgDC(path.c_str(), kWidthPx, kHeightPx); },
      [](TAMVEL_HDC, const std::string &) { return true; });
}
BENCHMARK(BM_PlayToSvg)->Unit(benchmark::kMillisecond);

void BM_PrintToPdf(benchmark::State &state) {
  if (!SelectLoadedPage()) return state.SkipWithError("no page");
  const std::string path = OutputFile(".pdf");
  bench::ResetPeakMemory();
  for (auto _ : state) {
    TAMVEL_HDC printer =
        TamvelCreatePrinterDC(path.c_str(), bench::kPageWidthMm, bench::kPageHeightMm, 300, 0, 0);
    if (PrintEmf(printer) != 0) state.SkipWithError("printing failed");
    TamvelDeleteDC(printer);
  }
  SetPeakCounter(state);
  std::filesystem::remove(path);
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
