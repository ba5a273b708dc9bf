// Tracing pictures beside potrace on the same rasters (a large picture, a
// page of letter-like shapes, thin straight lines, filled squares), and
// rendering 1000 characters of SHX text into moves. Each side starts from
// its own prepared input, made outside the timed loop: our tracer from the
// bitmap file in memory, potrace from its packed bitmap. A third side takes
// potrace from the same bitmap file as ours, packing it inside the loop, so
// that both sides include reading the 24-bit pixels.
#include <benchmark/benchmark.h>
#include <potracelib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "libs/ravelpen/CAutoCadDxfFileFormat.h"
#include "libs/ravelpen/CDibImage.h"
#include "tests/libs/ravelpen/TracePictures.h"
#include "tests/text/fonts/shx/ShxTestFonts.h"

namespace {

using Picture = TracePicture;

// Drawn once per picture, outside the timed loops.
const Raster& RasterOf(Picture picture) {
  static const Raster rasters[] = {
      DrawTracePicture(Picture::kDiscsAndBars), DrawTracePicture(Picture::kTextLike),
      DrawTracePicture(Picture::kThinLine),     DrawTracePicture(Picture::kThinDiagonal),
      DrawTracePicture(Picture::kFilledSquare), DrawTracePicture(Picture::kLargeFilledSquare)};
  return rasters[static_cast<int>(picture)];
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

// The 24-bit bitmap file's pixels packed into potrace's bitmap: dark where
// the first channel is below half, i.e. its top bit is clear. Eight pixels
// make a byte with fixed shifts, so the packing runs at a few cycles a byte
// rather than a branch and a variable shift a pixel.
inline unsigned DarkByte(const std::uint8_t* p) {
  unsigned byte = 0;
  for (int k = 0; k < 8; ++k) byte |= (~p[3 * k] & 0x80u) >> k;
  return byte;
}

void PackBmp24(const std::vector<std::uint8_t>& file, int width, int height, int wordsPerRow,
               std::vector<potrace_word>& map) {
  const std::size_t start = file[10] | file[11] << 8 | file[12] << 16 | static_cast<std::size_t>(file[13]) << 24;
  const std::size_t rowSize = (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
  constexpr int kWordBytes = sizeof(potrace_word);
  const int wholeBytes = width / 8;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = file.data() + start + y * rowSize;
    potrace_word* out = map.data() + static_cast<std::size_t>(y) * wordsPerRow;
    for (int w = 0; w < wordsPerRow; ++w) {
      potrace_word word = 0;
      for (int b = 0; b < kWordBytes; ++b) {
        const int at = w * kWordBytes + b;
        unsigned byte = 0;
        if (at < wholeBytes) {
          byte = DarkByte(row + 24 * static_cast<std::size_t>(at));
        } else {
          for (int x = 8 * at; x < std::min(width, 8 * at + 8); ++x)
            byte |= (~row[3 * static_cast<std::size_t>(x)] & 0x80u) >> (x - 8 * at);
        }
        word = word << 8 | byte;
      }
      out[w] = word;
    }
  }
}

void BM_TracePotraceFromBmp(benchmark::State& state, Picture picture) {
  const Raster& raster = RasterOf(picture);
  const std::vector<std::uint8_t> file = Bmp24(raster);
  int dy = 0;
  std::vector<potrace_word> map = PackedRows<potrace_word>(raster, dy);
  const potrace_bitmap_t bitmap{raster.width, raster.height, dy, map.data()};
  std::vector<potrace_word> packed(map.size());
  PackBmp24(file, raster.width, raster.height, dy, packed);
  if (packed != map) state.SkipWithError("the bitmap file packs to another bitmap");
  potrace_param_t* param = potrace_param_default();
  for (auto _ : state) {
    PackBmp24(file, raster.width, raster.height, dy, map);
    potrace_state_t* traced = potrace_trace(param, &bitmap);
    benchmark::DoNotOptimize(traced);
    potrace_state_free(traced);
  }
  potrace_param_free(param);
}

BENCHMARK_CAPTURE(BM_TraceOurs, discs_and_bars_2000, Picture::kDiscsAndBars)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, discs_and_bars_2000, Picture::kDiscsAndBars)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotraceFromBmp, discs_and_bars_2000, Picture::kDiscsAndBars)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, text_like_2000x600, Picture::kTextLike)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, text_like_2000x600, Picture::kTextLike)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotraceFromBmp, text_like_2000x600, Picture::kTextLike)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, thin_line_4000, Picture::kThinLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, thin_line_4000, Picture::kThinLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotraceFromBmp, thin_line_4000, Picture::kThinLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, thin_diagonal_2000, Picture::kThinDiagonal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, thin_diagonal_2000, Picture::kThinDiagonal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotraceFromBmp, thin_diagonal_2000, Picture::kThinDiagonal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, filled_square_1000, Picture::kFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, filled_square_1000, Picture::kFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotraceFromBmp, filled_square_1000, Picture::kFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceOurs, filled_square_2400, Picture::kLargeFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotrace, filled_square_2400, Picture::kLargeFilledSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TracePotraceFromBmp, filled_square_2400, Picture::kLargeFilledSquare)->Unit(benchmark::kMillisecond);

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
