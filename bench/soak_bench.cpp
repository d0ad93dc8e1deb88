// Soak: pages opened, drawn, closed and cleared over and over, and every page filled at once,
// with the heap in use, the resident size and the live handles of the stand-in reported as
// counters. Nothing may grow from one round to the next:
//   tamvel_bench --benchmark_filter=Soak
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>

#include "include/tamvel.h"
#include "platform/posix/handles.h"
#include "src/pages/page_table.h"

namespace {

// Blocks in use, those malloc maps on their own (large ones: a page's record chunks) included.
double HeapMegabytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1 << 20);
}

double ResidentMegabytes() {
  long pages = 0;
  long resident = 0;
  if (std::FILE *statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * 4096.0 / (1 << 20);
}

double LiveHandles() { return static_cast<double>(tamvel::posix::LiveObjectCount()); }

// One page's worth of everything: lines, text, numbers, marks, arcs, fills, clip, palette.
void DrawPage() {
  PLOTS(210.0f, 297.0f, 0);
  PALC(3, 996, 0, 0);
  PENC(3, 0, 0, 0);
  PLOT(20.0f, 30.0f, 3);
  PLOT(120.0f, 30.0f, 2);
  KANJI(20.0f, 60.0f, 5.0f, "\x93\xfa\x96\x7b", 0.0f, -2);
  NUMBR2(20.0f, 80.0f, 4.0f, 3.14159f, 30.0f, 3, 1001);
  CTSYM2(50.0f, 50.0f, 5.0f, 3, 0.0f, 3);
  AROWHD(10.0f, 100.0f, 80.0f, 120.0f, 5.0f, 3.0f, 2);
  ARC(100.0f, 100.0f, 20.0f, 0.0f, 270.0f, 1);
  WEDGE(100.0f, 150.0f, 20.0f, 0.0f, 90.0f, 1, 5);
  RECTF(10.0f, 10.0f, 60.0f, 60.0f, 7);
  ADDCLIP(0.0f, 0.0f, 100.0f, 100.0f);
  ROOTK2(60.0f, 200.0f, 6.0f, "x+1", 0.0f, 3, 2);
  RESETCLIP();
  PLOT(0.0f, 0.0f, 999);
}

// 10,000 pages drawn, closed and cleared on one page slot; the counters are the growth from
// the state after the first 100 cycles to the state after all of them.
void BM_SoakPageCycles(benchmark::State &state) {
  if (!tamvel::LibraryAttached() && !tamvel::AttachLibrary()) state.SkipWithError("no library");
  const int cycles = static_cast<int>(state.range(0));
  double heap = 0.0, resident = 0.0, handles = 0.0;
  for (auto _ : state) {
    CHPAGE(1);
    for (int i = 0; i < cycles; ++i) {
      DrawPage();
      ClearEmf(1);
      if (i == 99) {
        heap = HeapMegabytes();
        resident = ResidentMegabytes();
        handles = LiveHandles();
      }
    }
  }
  state.counters["heap_MB"] = HeapMegabytes();
  state.counters["heap_growth_MB"] = HeapMegabytes() - heap;
  state.counters["rss_growth_MB"] = ResidentMegabytes() - resident;
  state.counters["handles"] = LiveHandles();
  state.counters["handle_growth"] = LiveHandles() - handles;
  state.SetItemsProcessed(state.iterations() * cycles);
}
BENCHMARK(BM_SoakPageCycles)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

// Every one of the 100 pages holds a drawing of `segments` lines at once; then all are
// cleared. Two rounds: the second must end where the first did.
void BM_SoakFullPages(benchmark::State &state) {
  if (!tamvel::LibraryAttached() && !tamvel::AttachLibrary()) state.SkipWithError("no library");
  const int segments = static_cast<int>(state.range(0));
  double full_heap = 0.0, full_resident = 0.0, cleared_heap[2] = {}, cleared_resident[2] = {},
         handles[2] = {};
  for (auto _ : state) {
    for (int round = 0; round < 2; ++round) {
      for (int page = 1; page <= tamvel::kPageCount; ++page) {
        CHPAGE(page);
        PLOTS(210.0f, 297.0f, 0);
        for (int i = 0; i < segments; ++i) {
          PLOT(static_cast<float>(10 + i % 190), static_cast<float>(10 + (i / 190) % 270), 2);
        }
        PLOT(0.0f, 0.0f, 999);
      }
      full_heap = HeapMegabytes();
      full_resident = ResidentMegabytes();
      for (int page = 1; page <= tamvel::kPageCount; ++page) ClearEmf(page);
      cleared_heap[round] = HeapMegabytes();
      cleared_resident[round] = ResidentMegabytes();
      handles[round] = LiveHandles();
    }
  }
  state.counters["full_heap_MB"] = full_heap;
  state.counters["full_rss_MB"] = full_resident;
  state.counters["cleared_heap_MB"] = cleared_heap[1];
  state.counters["cleared_rss_MB"] = cleared_resident[1];
  state.counters["rss_growth_MB"] = cleared_resident[1] - cleared_resident[0];
  state.counters["heap_growth_MB"] = cleared_heap[1] - cleared_heap[0];
  state.counters["handles"] = handles[1];
  state.counters["handle_growth"] = handles[1] - handles[0];
  state.SetItemsProcessed(state.iterations() * 2 * tamvel::kPageCount * segments);
}
BENCHMARK(BM_SoakFullPages)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
