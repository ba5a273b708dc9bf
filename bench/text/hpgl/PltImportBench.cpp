// Reading plot files: a large drawing of each dialect through detection, the
// counting pass and the filling pass, and circle-heavy plots.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "text/exchange/hpgl/PltDrawingLoader.h"
#include "text/exchange/hpgl/PltImport.h"

namespace {

std::string WriteFile(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("vendrik-bench-" + name);
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// A zig-zag of `points` moves and draws in the dialect's own syntax.
std::string Plot(int dialect, int points) {
  std::string s;
  if (dialect == 1) s = std::string(45, ';');
  if (dialect == 2) s = std::string(40, ';') + "IN;DF;SC;VS36;PW0.25;PW0.25,2;PU;PA0,0;SP1;LT;PA";
  if (dialect == 3) s = "IN;PA;SP1;WU0;PW0.350,1;PW0.350,2;PW0.350,3;PW0.350,4;PW0.350,5;PW0.350,6;VS36;LT;";
  for (int i = 0; i < points; ++i) {
    const int x = (i * 37) % 16000, y = (i * 91) % 16000;
    const bool down = i % 8 != 0;
    switch (dialect) {
      case 1: s += std::string(down ? "PD;" : "PU;") + "PA" + std::to_string(x) + "," + std::to_string(y) + ";"; break;
      case 2: s += std::string(down ? "PD" : "PU") + std::to_string(x) + "," + std::to_string(y) + ";"; break;
      default: s += "\r\n" + std::string(down ? "PD" : "PU") + std::to_string(x) + " " + std::to_string(y) + ";"; break;
    }
  }
  s += dialect == 1 ? "PU;PA0,0;SP;" : dialect == 2 ? "PU0,0;SP0;" : "\r\nSP0;";
  return s;
}

void BM_LoadPltDrawing(benchmark::State& state) {
  const int dialect = static_cast<int>(state.range(0));
  const int points = static_cast<int>(state.range(1));
  const std::string path = WriteFile("plot" + std::to_string(dialect) + ".plt", Plot(dialect, points));
  for (auto _ : state) {
    PltDrawing d = LoadPltDrawing(path);
    if (!d.accepted) state.SkipWithError("plot not accepted");
    benchmark::DoNotOptimize(d.points.data());
  }
  state.SetItemsProcessed(state.iterations() * points);
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadPltDrawing)->Args({1, 100000})->Args({2, 100000})->Args({3, 100000})->Unit(benchmark::kMillisecond);

void BM_CountPassCircles(benchmark::State& state) {
  const int circles = static_cast<int>(state.range(0));
  std::string s = std::string(40, ';') + "IN;DF;SC;VS36;PW0.25;PW0.25,2;PU;PA0,0;SP1;LT;";
  for (int i = 0; i < circles; ++i) s += "PA" + std::to_string(i % 4000) + ",0;CI400;";
  s += "SP0;";
  const std::string path = WriteFile("circles.plt", s);
  for (auto _ : state) {
    int count = 0, stored = 0, status = 0;
    benchmark::DoNotOptimize(ImportPltDialect2(path, nullptr, nullptr, &count, &stored, &status));
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * circles);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CountPassCircles)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
