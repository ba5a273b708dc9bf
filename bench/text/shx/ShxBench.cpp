// Stroke-font text: both passes of one call (count, then write), as the text
// layout makes them for every line, for a short line, a long text and a line
// of double-byte characters.
#include <benchmark/benchmark.h>

#include <vector>

#include "tests/text/fonts/shx/ShxTestFonts.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

// A main font with every printable character (vectors, an octant arc and a
// bulge arc each) and a big font of 500 characters sharing one subshape.
const TestInstallFolder& Folder() {
  static const TestInstallFolder folder;
  static const bool filled = [] {
    const TestInstallFolder& f = folder;
    std::vector<TestGlyph> main;
    for (int c = 32; c < 127; ++c) {
      main.push_back({static_cast<std::uint16_t>(c),
                      {2, 0x14, 1, 0x44, 0x22, 0x2E, 0x4C, 10, 2, 0x34, 12, 3, 0, 60, 2, 0x80, 0}});
    }
    f.AddFont("bench.shx", UnifontFont(main, 10));
    std::vector<TestGlyph> big = {{1, {1, 0x44, 0x40, 0x4C, 0x48, 0}}};
    for (int k = 0; k < 500; ++k) {
      big.push_back({static_cast<std::uint16_t>(((0xB0 + k / 94) << 8) | (0xA1 + k % 94)), {2, 0x10, 7, 1, 1, 0x2E, 0x22, 2, 0xA0, 0}});
    }
    f.AddFont("benchbig.shx", BigFont(big, 10));
    return true;
  }();
  (void)filled;
  return folder;
}

void RenderTwice(benchmark::State& state, const std::string& text) {
  const TestInstallFolder& folder = Folder();
  std::vector<double> xy;
  std::vector<std::uint8_t> flags;
  for (auto _ : state) {
    int count = 0, status = 0;
    ShxTextToStrokes(text, folder.Path(), "bench.shx", "benchbig.shx", 0, 0, 5, 15, 10, 1, 0.5, 1, 0.5, nullptr,
                     nullptr, &count, &status);
    xy.resize(static_cast<std::size_t>(count + 10));
    flags.resize(static_cast<std::size_t>(count + 10) / 2);
    int capacity = count;
    benchmark::DoNotOptimize(ShxTextToStrokes(text, folder.Path(), "bench.shx", "benchbig.shx", 0, 0, 5, 15, 10, 1,
                                              0.5, 1, 0.5, xy.data(), flags.data(), &capacity, &status));
    state.counters["points"] = count / 2;
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(text.size()));
}

void BM_ShxShortLine(benchmark::State& state) { RenderTwice(state, "SN 2026-12-08 LOT A17"); }
BENCHMARK(BM_ShxShortLine);

void BM_ShxLongText(benchmark::State& state) {
  std::string text;
  while (text.size() < 1000) text += "The quick brown fox jumps over the lazy dog 0123456789 ";
  RenderTwice(state, text.substr(0, 1000));
}
BENCHMARK(BM_ShxLongText);

void BM_ShxDoubleByteLine(benchmark::State& state) {
  std::string text;
  for (int k = 0; k < 40; ++k) {
    text += static_cast<char>(0xB0 + (k * 7 % 500) / 94);
    text += static_cast<char>(0xA1 + (k * 7 % 500) % 94);
  }
  RenderTwice(state, text);
}
BENCHMARK(BM_ShxDoubleByteLine);

}  // namespace

BENCHMARK_MAIN();
