// Drawing a view full of filled dots (outline, then flood fill) on a
// screen-sized image, as the layout view draws dot-marked objects; repaints
// of a large picture, beside converting it anew on every paint.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/PictureLoader.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "platform_qt/QtPictureDecoder.h"

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

// A square picture of the side and depth (1 or 24 bits) with some structure
// in it, as a scanned drawing or a photo would have.
platform::PictureBitmap LargePicture(int side, int depth) {
  platform::PictureBitmap b = platform::PictureBitmap::Make(side, side, depth);
  if (depth == 1) b.palette = {0xFF000000u, 0xFFFFFFFFu};
  for (std::size_t i = 0; i < b.bits.size(); ++i) b.bits[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
  return b;
}

// The view repainting a picture that fills it: the layout view's zoom maps
// the picture into a screen-sized box.
void BM_PictureRepaint(benchmark::State& state) {
  const platform::PictureBitmap picture = LargePicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  QImage view(1920, 1080, QImage::Format_RGB32);
  auto paint = [&] {
    QPainter painter(&view);
    platform_qt::QPainterDeviceContext dc(painter);
    return dc.DrawBitmap(420, 0, 1080, 1080, picture);
  };
  paint();  // the first paint, which converts
  for (auto _ : state) benchmark::DoNotOptimize(paint());
}
BENCHMARK(BM_PictureRepaint)->Args({5600, 1})->Args({3000, 24})->Unit(benchmark::kMillisecond);

// The same repaint converting the whole picture every time.
void BM_PictureRepaintConvertingEachTime(benchmark::State& state) {
  const platform::PictureBitmap picture = LargePicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  QImage view(1920, 1080, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&view);
    const QImage image = platform_qt::ImageFromBitmap(picture);
    painter.drawImage(QRect(420, 0, 1080, 1080), image);
  }
}
BENCHMARK(BM_PictureRepaintConvertingEachTime)->Args({5600, 1})->Args({3000, 24})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
