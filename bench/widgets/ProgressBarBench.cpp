// SetPos is called for every step node of a job: the cost of a position that
// does not move the bar by a pixel, and of a full sweep with its redraws.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "marking/widgets/CColorProgressCtrl.h"

namespace {

void BM_SetPosWithinAPixel(benchmark::State& state) {
  CColorProgressCtrl bar;
  bar.resize(200, 20);
  bar.SetRange(0, 1000000);
  int position = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(bar.SetPos(position));
    position = (position + 1) % 4000;  // stays inside the first pixel
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetPosWithinAPixel);

void BM_SetPosSweepOnUiThread(benchmark::State& state) {
  CColorProgressCtrl bar;
  bar.resize(200, 20);
  bar.show();
  bar.SetRange(0, 100000);
  int position = 0;
  for (auto _ : state) {
    bar.SetPos(position);
    position = (position + 1) % 100000;
    if (position % 1000 == 0) QApplication::processEvents();
  }
  QApplication::processEvents();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetPosSweepOnUiThread);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
