// Naming and adding objects one by one as drawing and pasting do, and taking
// them out one by one as deleting a selection does: the cost must grow
// linearly with the number of objects, so a layout of thousands of objects
// names its next object, or loses all of them, as quickly per object as a
// small one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <string>
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

// Lines named "line-1" on, as drawing names them, owned here and listed.
struct Lines {
  explicit Lines(int count) {
    for (int i = 0; i < count; ++i) {
      auto e = std::make_unique<CObjElement>();
      e->type = OBJ_LINE;
      e->name = "line-" + std::to_string(i + 1);
      listed.push_back(e.get());
      owned.push_back(std::move(e));
    }
  }
  std::vector<std::unique_ptr<CObjElement>> owned;
  std::vector<CObjElement*> listed;
};

// Select all and delete: the layout view hands the list its objects from the
// last one in the document back to the first, all at once (the list's own
// walk) or one by one (a search from the top for each).
void RemoveEveryObject(benchmark::State& state, bool oneByOne) {
  const int count = static_cast<int>(state.range(0));
  const Lines lines(count);
  const std::vector<CObjElement*>& listed = lines.listed;
  const std::vector<CObjElement*> fromTheBack(listed.rbegin(), listed.rend());
  for (auto _ : state) {
    state.PauseTiming();
    CObjectListBox list;
    list.FillFromArray(listed);
    state.ResumeTiming();
    if (oneByOne) {
      for (CObjElement* e : fromTheBack) list.RemoveObject(e, 0);
    } else {
      list.RemoveObjects(fromTheBack);
    }
    benchmark::DoNotOptimize(list.GetCount());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
void BM_RemoveEveryObject(benchmark::State& state) { RemoveEveryObject(state, false); }
void BM_RemoveEveryObjectOneByOne(benchmark::State& state) { RemoveEveryObject(state, true); }
BENCHMARK(BM_RemoveEveryObject)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveEveryObjectOneByOne)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

// Select all (every row) and a band across a layout whose entries lie apart
// in the list (every other row): the list selects them in one call.
void BM_SelectObjects(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const int step = static_cast<int>(state.range(1));
  const Lines lines(count);
  std::vector<int> rows;
  for (int i = 0; i < count; i += step) rows.push_back(i);
  CObjectListBox list;
  list.FillFromArray(lines.listed);
  for (auto _ : state) {
    list.SetSelection(rows);
    benchmark::DoNotOptimize(list.GetSelCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.size()));
}
BENCHMARK(BM_SelectObjects)
    ->ArgNames({"objects", "step"})
    ->ArgsProduct({{2000, 4000, 8000, 16000}, {1, 2}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
