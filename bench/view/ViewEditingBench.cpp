// Editing the layout: a rubber band over 10,000 objects that selects them
// all (the selection bounds grow by each object, so this stays linear), and
// one undo snapshot of a layout of 1M points (1,000 polylines of 1,000).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "platform/InstallDir.h"
#include "platform/SettingsStore.h"
#include "values/ShellValues.h"

namespace {

struct Rig {
  Rig() {
    auto settings = platform::MakeMemorySettingsStore();
    settings->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(settings);
    g_installDir = platform::DefaultDataFolder() + "/bench_view_editing";
    std::filesystem::create_directories(g_installDir);
    model = std::make_unique<CVendrikViewModel>();
    model->SetDocument(&document);
    model->EnsureParameterRecord();
  }
  CVendrikDoc document;
  std::unique_ptr<CVendrikViewModel> model;
};

void BM_BandSelect10k(benchmark::State& state) {
  Rig rig;
  for (int i = 0; i < 10000; ++i) {
    const double x = (i % 100) * 2.0 - 100;
    const double y = (i / 100) * 2.0 - 100;
    auto element = std::make_unique<CObjElement>(CObjCreateRecord{
        "line", OBJ_LINE, new CObjLine(CDoublePoint(x, y), CDoublePoint(x + 1, y + 1)), sizeof(CObjLine), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    rig.document.Objects().Add(std::move(element));
  }
  const CDoubleRect band(-150, 150, 150, -150);
  for (auto _ : state) {
    rig.model->ClearSelection();
    rig.model->SelectInRect(band);
    benchmark::DoNotOptimize(rig.model->m_selection.size());
  }
  state.counters["selected"] = static_cast<double>(rig.model->m_selection.size());
}
BENCHMARK(BM_BandSelect10k)->Unit(benchmark::kMillisecond);

void BM_UndoSnapshot1MPoints(benchmark::State& state) {
  Rig rig;
  for (int i = 0; i < 1000; ++i) {
    CPointList points;
    for (int j = 0; j < 1000; ++j) points.Add(CDoublePoint(j * 0.1, i * 0.1, j == 0 ? 0 : PT_JOINED));
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{"polyline", OBJ_POLYLINE, new CObjPolyLine(points, 0, 0), sizeof(CObjPolyLine), {}});
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    rig.document.Objects().Add(std::move(element));
  }
  for (auto _ : state) {
    rig.model->m_historyCur = 0;
    rig.model->m_historyTop = 0;
    rig.model->PushHistory();
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(rig.model->HistoryFilePath(0)));
}
BENCHMARK(BM_UndoSnapshot1MPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
