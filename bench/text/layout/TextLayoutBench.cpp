// Text layouts as the view makes them after every change: lay out and rebuild
// the groups. A long mixed text in a stroke font pair with an 8000-glyph big
// font, a text on an arc, GB2312 bitmap characters and a TrueType line.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "tests/text/layout/TextTestSupport.h"
#include "values/ShellValues.h"

namespace {

// Double-byte codes in GBK order: lead 0x81 up, trail 0x40..0x7E and 0x80..0xFE.
std::uint16_t GbkCode(int k) {
  const int lead = 0x81 + k / 190;
  int trail = 0x40 + k % 190;
  if (trail >= 0x7F) ++trail;
  return static_cast<std::uint16_t>((lead << 8) | trail);
}

void AddBigFont(const TextRig& rig) {
  std::vector<TestGlyph> big = {{1, {1, 0x44, 0x40, 0x4C, 0x48, 0}}};
  for (int k = 0; k < 8000; ++k) big.push_back({GbkCode(k), {2, 0x10, 7, 1, 1, 0x2E, 0x22, 2, 0xA0, 0}});
  rig.Folder().AddFont("big8000.shx", BigFont(big, 10));
}

void Run(benchmark::State& state, TextRig& rig, const std::string& text) {
  for (auto _ : state) {
    rig.Layout(text);
    benchmark::DoNotOptimize(rig.Points().GetSize());
  }
  state.counters["points"] = rig.Points().GetSize();
  state.SetItemsProcessed(state.iterations());
}

void BM_MixedTextBigFont(benchmark::State& state) {
  TextRig rig;
  AddBigFont(rig);
  std::vector<TestGlyph> main;
  for (int c = 33; c < 127; ++c) main.push_back({static_cast<std::uint16_t>(c), {2, 0x14, 1, 0x44, 0x22, 0x2E, 0x4C, 2, 0x10, 0}});
  rig.Folder().AddFont("main.shx", UnifontFont(main, 10));
  rig.S().strokeFontPair = "main+big8000";
  rig.S().charHeight = 5;
  std::string text;
  for (int k = 0; k < 1000; ++k) {
    if (k % 5 < 2) {
      const std::uint16_t code = GbkCode((k * 37) % 8000);
      text += static_cast<char>(code >> 8);
      text += static_cast<char>(code & 0xFF);
    } else {
      text += static_cast<char>('A' + k % 26);
    }
  }
  Run(state, rig, text);
}
BENCHMARK(BM_MixedTextBigFont)->Unit(benchmark::kMillisecond);

void BM_TextOnArc(benchmark::State& state) {
  TextRig rig;
  rig.S().charHeight = 2.8f;
  rig.S().arcRadius = 60;
  std::string text;
  for (int k = 0; k < 200; ++k) text += k % 7 == 3 ? ' ' : 'L';
  Run(state, rig, text);
}
BENCHMARK(BM_TextOnArc)->Unit(benchmark::kMillisecond);

void BM_Hzk24Characters(benchmark::State& state) {
  TextRig rig;
  std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> glyphs;
  std::mt19937 random(7);
  for (int k = 0; k < 500; ++k) {
    std::vector<std::uint8_t> g(72);
    for (auto& b : g) b = static_cast<std::uint8_t>(random() & random());
    glyphs.push_back({static_cast<std::uint16_t>(((0xB0 + k / 94) << 8) | (0xA1 + k % 94)), g});
  }
  WriteHzkFile(rig.Folder().Path() + "/Fonts/HZK24F", 72, glyphs);
  rig.S().flags = TEXT_DOT_FONT;
  rig.S().dotKind = DOT_KIND_HZK24F;
  std::string text;
  for (const auto& g : glyphs) {
    text += static_cast<char>(g.first >> 8);
    text += static_cast<char>(g.first & 0xFF);
  }
  Run(state, rig, text);
}
BENCHMARK(BM_Hzk24Characters)->Unit(benchmark::kMillisecond);

void BM_TrueTypeLine(benchmark::State& state) {
  PixelsPerMmX = PixelsPerMmY = 96 / 25.4;
  TextRig rig;
  rig.S().flags = TEXT_TRUETYPE;
  rig.S().font.faceName = "DejaVu Sans";
  rig.S().charHeight = 5;
  std::string text;
  while (text.size() < 100) text += "Serial 2026-12-09 Lot A17 ";
  Run(state, rig, text.substr(0, 100));
}
BENCHMARK(BM_TrueTypeLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
