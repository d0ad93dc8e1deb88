// The dash walk and the DASHP step plan on their own, without recording: time per vertex
// and per step must stay flat as the input grows (no quadratic behaviour).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "src/shapes/dash_walk.h"

namespace {

using tamvel::PlotPoint;

// A zig-zag path of n vertices 0.7 mm apart, so that dashes cross many corners.
std::vector<PlotPoint> ZigZag(int64_t n) {
  std::vector<PlotPoint> path(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) {
    path[i] = {static_cast<float>(std::fmod(i * 0.5, 200.0)), (i % 2) ? 0.5f : 0.0f};
  }
  return path;
}

struct CountingSink {
  int64_t points = 0;
  int64_t polylines = 0;
  void StartPolyline() { ++polylines; }
  void Append(PlotPoint) { ++points; }
};

void BM_DashWalk(benchmark::State &state) {
  const std::vector<PlotPoint> path = ZigZag(state.range(0));
  tamvel::DashPattern pattern;
  tamvel::MakeDashPattern(5, 0.1f, &pattern);
  for (auto _ : state) {
    CountingSink sink;
    tamvel::WalkDashes(path.data(), static_cast<int32_t>(path.size()), pattern, sink);
    benchmark::DoNotOptimize(sink.points);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DashWalk)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);

void BM_DashStepPoints(benchmark::State &state) {
  const PlotPoint start{0, 0};
  const PlotPoint end{static_cast<float>(state.range(0)) * 0.0199f, 0.0f};
  for (auto _ : state) {
    const tamvel::DashStepPlan plan = tamvel::PlanDashSteps(start, end, 0.02f);
    float sum = 0.0f;
    for (int32_t i = 0; i <= plan.steps; ++i) sum += tamvel::DashStepPoint(start, end, plan, i).x;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DashStepPoints)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
