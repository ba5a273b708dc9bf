#include <benchmark/benchmark.h>

#include <random>

#include "document/geometry/CPointList.h"
#include "document/path/PointOrdering.h"

static void BM_AppendPoints(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    CPointList list;
    for (int i = 0; i < n; ++i) list.Add(CDoublePoint(i, i, 1));
    benchmark::DoNotOptimize(list.GetData());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendPoints)->Arg(1000000)->Unit(benchmark::kMillisecond);

namespace {

// Dots of a marked picture: a jittered lattice with gaps, 0.2 mm apart.
CPointList DotField(int n, unsigned seed) {
  std::mt19937 rng(seed);
  CPointList list;
  int side = 1;
  while (side * side < n * 5 / 4) ++side;
  while (list.GetSize() < n) {
    int k = static_cast<int>(rng() % (side * side));
    list.Add(CDoublePoint((k % side) * 0.2, (k / side) * 0.2, 1));
  }
  return list;
}

// Times order(list) on a fresh copy of the dot field each iteration; making
// the copy is not timed.
template <class Order>
void TimeOrderingOnDotField(benchmark::State& state, unsigned seed, Order order) {
  const int n = static_cast<int>(state.range(0));
  const CPointList field = DotField(n, seed);
  for (auto _ : state) {
    state.PauseTiming();
    CPointList list(field);
    state.ResumeTiming();
    order(list);
    benchmark::DoNotOptimize(list.GetData());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

static void BM_NearestFirst(benchmark::State& state) {
  TimeOrderingOnDotField(state, 42, [](CPointList& list) {
    CDoublePoint start(0, 0);
    SortPointsNearestFirst(start, list);
  });
}
BENCHMARK(BM_NearestFirst)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

static void BM_NearestFirstPlainScan(benchmark::State& state) {
  TimeOrderingOnDotField(state, 42, [](CPointList& list) {
    CDoublePoint start(0, 0);
    SortPointsNearestFirstPlain(start, list);
  });
}
BENCHMARK(BM_NearestFirstPlainScan)->Arg(10000)->Unit(benchmark::kMillisecond);

static void BM_OrderByColumns(benchmark::State& state) {
  TimeOrderingOnDotField(state, 7, [](CPointList& list) { OrderPointsByColumns(list, 0.2f); });
}
BENCHMARK(BM_OrderByColumns)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
