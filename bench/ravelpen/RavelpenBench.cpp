// Tracing pictures beside potrace on the same rasters (a large picture, a
// page of letter-like shapes, thin straight lines, filled squares), and
// rendering 1000 characters of SHX text into moves. Each side starts from
// its own prepared input, made outside the timed loop: our tracer from the
// bitmap file in memory, potrace from its packed bitmap.
#include <benchmark/benchmark.h>
#include <potracelib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "libs/ravelpen/CAutoCadDxfFileFormat.h"
#include "libs/ravelpen/CDibImage.h"
#include "tests/libs/ravelpen/BmpWriter.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"

namespace {

// The pictures traced, each beside potrace on the same raster: discs and
// bars over 2000 x 2000 pixels; 80 letter-like shapes (rings, bars, slanted
// strokes) 12 pixels thick on a 2000 x 600 page; a one-pixel line 4000
// pixels long, upright; a one-pixel diagonal 2000 pixels long; filled
// squares of 1000 and 2400 pixels.
enum class Picture { kDiscsAndBars, kTextLike, kThinLine, kThinDiagonal, kFilledSquare, kLargeFilledSquare };

const Raster& RasterOf(Picture picture) {
  static const Raster discs = [] {
    Raster r(2000, 2000);
    for (int i = 0; i < 12; ++i) r.Disc(200 + 150 * i, 300 + 100 * (i % 5), 60 + 7 * i);
    r.Fill(100, 1200, 1800, 120);
    r.Disc(1000, 1600, 300);
    return r;
  }();
  static const Raster text = [] {
    Raster r(2000, 600);
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 20; ++col) {
        const int x = 30 + col * 97, y = 30 + row * 140;
        switch ((row * 20 + col) % 4) {
          case 0: r.Ring(x + 35, y + 50, 40, 28); break;
          case 1: r.Stroke(x + 35, y, x + 35, y + 100, 12); r.Stroke(x + 10, y + 100, x + 60, y + 100, 12); break;
          case 2:
            r.Stroke(x, y, x + 35, y + 100, 12);
            r.Stroke(x + 35, y + 100, x + 70, y, 12);
            r.Stroke(x + 18, y + 45, x + 52, y + 45, 12);
            break;
          default: r.Stroke(x + 5, y, x + 5, y + 100, 12); r.Stroke(x + 5, y, x + 65, y, 12); break;
        }
      }
    return r;
  }();
  static const Raster line = [] {
    Raster r(3, 4002);
    r.Fill(1, 1, 1, 4000);
    return r;
  }();
  static const Raster diagonal = [] {
    Raster r(2002, 2002);
    for (int i = 1; i <= 2000; ++i) r.Set(i, i);
    return r;
  }();
  static const Raster square = [] {
    Raster r(1002, 1002);
    r.Fill(1, 1, 1000, 1000);
    return r;
  }();
  static const Raster largeSquare = [] {
    Raster r(2402, 2402);
    r.Fill(1, 1, 2400, 2400);
    return r;
  }();
  switch (picture) {
    case Picture::kTextLike: return text;
    case Picture::kLargeFilledSquare: return largeSquare;
    case Picture::kThinLine: return line;
    case Picture::kThinDiagonal: return diagonal;
    case Picture::kFilledSquare: return square;
    default: return discs;
  }
}

void BM_TraceOurs(benchmark::State& state, Picture picture) {
  ravelpen::CDibImage image;
  image.SetBytes(Bmp24(RasterOf(picture)));
  std::size_t polylines = 0, points = 0;
  for (auto _ : state) {
    ravelpen::TracePolylineArray result;
    benchmark::DoNotOptimize(image.TraceToPolylines(result));
    polylines = result.size();
    points = 0;
    for (const auto& polyline : result) points += polyline.size();
  }
  state.counters["polylines"] = static_cast<double>(polylines);
  state.counters["points"] = static_cast<double>(points);
}

void BM_TracePotrace(benchmark::State& state, Picture picture) {
  const Raster& raster = RasterOf(picture);
  int dy = 0;
  std::vector<potrace_word> map = PackedRows<potrace_word>(raster, dy);
  const potrace_bitmap_t bitmap{raster.width, raster.height, dy, map.data()};
  potrace_param_t* param = potrace_param_default();
  for (auto _ : state) {
    potrace_state_t* traced = potrace_trace(param, &bitmap);
    benchmark::DoNotOptimize(traced);
    potrace_state_free(traced);
  }
  potrace_param_free(param);
}

BENCHMARK_CAPTURE(BM_TraceOurs, discs_and_bars_2000, Picture::kDiscsAndBars)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, discs_and_bars_2000, Picture::kDiscsAndBars)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, text_like_2000x600, Picture::kTextLike)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, text_like_2000x600, Picture::kTextLike)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, thin_line_4000, Picture::kThinLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, thin_line_4000, Picture::kThinLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, thin_diagonal_2000, Picture::kThinDiagonal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, thin_diagonal_2000, Picture::kThinDiagonal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, filled_square_1000, Picture::kFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, filled_square_1000, Picture::kFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, filled_square_2400, Picture::kLargeFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, filled_square_2400, Picture::kLargeFilledSquare)->Unit(benchmark::kMillisecond);

void BM_ShxText1000(benchmark::State& state) {
  TestInstallFolder folder;
  std::vector<TestGlyph> glyphs;
  for (int c = 'A'; c <= 'Z'; ++c) glyphs.push_back({static_cast<std::uint16_t>(c), {1, 0x44, 0x40, 0x4C, 0x48, 2, 0x60, 0}});
  folder.AddFont("ROMANS.SHX", Shapes86Font(glyphs));
  folder.AddFont("Hzfs.shx", BigFont({{0xB0A1, {1, 0x40, 0x44, 0x48, 0x4C, 2, 0x60, 0}}}, 10));
  setenv("VENDRIK_MARKFONTS_DIR", folder.Path().c_str(), 1);
  std::string text;
  for (int i = 0; i < 500; ++i) text += static_cast<char>('A' + i % 26);
  for (int i = 0; i < 250; ++i) text += "\xB0\xA1";
  for (auto _ : state) {
    std::vector<ravelpen::TextPoint> points;
    benchmark::DoNotOptimize(ravelpen::BuildTextMoves(points, 0, 0, 5, 15, 1, text.c_str(), 0));
    state.counters["points"] = static_cast<double>(points.size());
  }
  unsetenv("VENDRIK_MARKFONTS_DIR");
}
BENCHMARK(BM_ShxText1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
