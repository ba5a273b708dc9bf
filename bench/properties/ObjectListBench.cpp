// Naming and adding objects one by one as drawing and pasting do: the cost
// must grow linearly with the number of objects, so a layout of thousands of
// objects names its next object as quickly as a small one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <vector>

#include "document/objects/CObjElement.h"
#include "properties/list/CObjectListBox.h"

namespace {

void BM_NameAndAddObjects(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::unique_ptr<CObjElement>> elements;
    elements.reserve(static_cast<std::size_t>(count));
    CObjectListBox list;
    state.ResumeTiming();
    for (int i = 0; i < count; ++i) {
      auto e = std::make_unique<CObjElement>();
      e->type = OBJ_LINE;
      list.MakeDefaultName(OBJ_LINE, e->name);
      list.AddObject(e.get(), 0, 0);
      elements.push_back(std::move(e));
    }
    benchmark::DoNotOptimize(list.GetCount());
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.SetComplexityN(count);
}
BENCHMARK(BM_NameAndAddObjects)->RangeMultiplier(4)->Range(625, 10000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
