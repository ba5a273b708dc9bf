// Select all, copy and paste of n line objects whose names all share one
// prefix (the worst case of the paste's name search): the time per object
// should stay flat as n grows.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "platform/SettingsStore.h"
#include "values/ShellValues.h"

namespace {

void SelectCopyPaste(benchmark::State& state) {
  platform::SetSettingsStore(platform::MakeMemorySettingsStore());
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    CVendrikDoc document;
    auto model = std::make_unique<CVendrikViewModel>();
    model->SetDocument(&document);
    model->EnsureParameterRecord();
    for (int i = 0; i < n; ++i) {
      auto element = std::make_unique<CObjElement>(CObjCreateRecord{
          "line-" + std::to_string(i + 1), OBJ_LINE, new CObjLine({0, 0}, {10, double(i % 50)}), static_cast<int>(sizeof(CObjLine)), {}});
      element->UpdateBoundRect();
      document.Objects().Add(std::move(element));
    }
    state.ResumeTiming();
    model->OnSelectAll();
    model->OnCopy();
    model->OnPaste();
    benchmark::DoNotOptimize(document.Objects().GetSize());
    state.PauseTiming();
    model.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(SelectCopyPaste)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
