// LINE6 and DASHP through the exported calls into a recording page: the whole way from plot
// units to metafile records. Time per vertex and per dash step must stay flat as the input
// grows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "include/tamvel.h"
#include "src/pages/page_table.h"

namespace {

bool OpenPage() {
  if (!tamvel::LibraryAttached() && !tamvel::AttachLibrary()) return false;
  CHPAGE(1);
  return PLOTS(210.0f, 297.0f, 0) != 0;
}

void BM_Line6(benchmark::State &state) {
  const int64_t n = state.range(0);
  std::vector<float> x(static_cast<size_t>(n));
  std::vector<float> y(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) {
    x[i] = 10.0f + static_cast<float>(std::fmod(i * 0.5, 190.0));
    y[i] = 100.0f + static_cast<float>((i / 380) % 150) + ((i % 2) ? 0.5f : 0.0f);
  }
  for (auto _ : state) {
    if (!OpenPage()) {
      state.SkipWithError("no recording");
      return;
    }
    PENW(0.2f);
    LINE6(static_cast<int32_t>(state.range(1)), x.data(), y.data(), static_cast<int32_t>(n));
    PLOT(0.0f, 0.0f, 999);
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Line6)
    ->ArgsProduct({{1000, 10000, 100000, 1000000}, {5}})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond);

// DASHP just below its step limit: 1,000,000 dash steps of 0.02 mm on a 20 m line (the
// coordinates are clamped to the page, the steps are not).
void BM_DashpSteps(benchmark::State &state) {
  const float dash = 0.02f;
  const float length = static_cast<float>(state.range(0)) * dash * 0.999f;
  for (auto _ : state) {
    if (!OpenPage()) {
      state.SkipWithError("no recording");
      return;
    }
    PLOT(0.0f, 0.0f, 3);
    DASHP(length, 0.0f, dash);
    PLOT(0.0f, 0.0f, 999);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DashpSteps)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);

}  // namespace
