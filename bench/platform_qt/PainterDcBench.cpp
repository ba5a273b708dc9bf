// Drawing a view full of filled dots (outline, then flood fill) on a
// screen-sized image, as the layout view draws dot-marked objects.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform_qt/QPainterDeviceContext.h"

namespace {

void BM_FilledDots(benchmark::State& state) {
  QImage image(1920, 1080, QImage::Format_RGB32);
  const int d = static_cast<int>(state.range(0));
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    platform_qt::QPainterDeviceContext dc(painter);
    dc.SelectPen({platform::PS_SOLID, 1, RGB(0, 0, 0)});
    dc.SelectBrush({false, RGB(255, 0, 0)});
    for (int y = d; y + d < 1080; y += 2 * d)
      for (int x = d; x + d < 1920; x += 2 * d) {
        const int m = d / 2;
        dc.Arc(x - m + 1, y - m + 1, x + m + 1, y + m + 1, x + m + 1, y, x + m + 1, y);
        dc.FloodFill(x, y, RGB(0, 0, 0));
      }
  }
  state.SetItemsProcessed(state.iterations() * (1920 / (2 * d)) * (1080 / (2 * d)));
}
BENCHMARK(BM_FilledDots)->Arg(16)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
