// Reading DXF drawings: both passes over a drawing of many lines and
// polylines, over one of circles and arcs, and over one of splines.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/NumberText.h"
#include "text/exchange/dxf/DxfImport.h"

namespace {

std::string TempFolder() {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vendrik-bench-dxf";
  std::filesystem::create_directories(dir);
  // The spline flattening's diagnostic file goes here too, not into the user's data.
  setenv("VENDRIK_DATA_DIR", dir.c_str(), 1);
  return dir.string();
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
  const std::string path = TempFolder() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

void Group(std::string& s, int code, const std::string& value) {
  s += platform::FormatC("%3d\r\n", code);
  s += value;
  s += "\r\n";
}
void Group(std::string& s, int code, double value) { Group(s, code, platform::FormatC("%f", value)); }

std::string Drawing(int kind, int entities) {
  std::string s;
  Group(s, 0, "SECTION");
  Group(s, 2, "ENTITIES");
  for (int i = 0; i < entities; ++i) {
    const double x = (i * 37) % 200, y = (i * 91) % 150;
    if (kind == 0 && i % 2 == 0) {
      Group(s, 0, "LINE");
      Group(s, 8, "0");
      Group(s, 100, "AcDbLine");
      Group(s, 10, x);
      Group(s, 20, y);
      Group(s, 30, 0.0);
      Group(s, 11, x + 5);
      Group(s, 21, y + 3);
      Group(s, 31, 0.0);
    } else if (kind == 0) {
      Group(s, 0, "LWPOLYLINE");
      Group(s, 100, "AcDbPolyline");
      Group(s, 90, "8");
      Group(s, 70, "1");
      for (int k = 0; k < 8; ++k) {
        Group(s, 10, x + k);
        Group(s, 20, y + (k % 2));
      }
    } else if (kind == 1) {
      Group(s, 0, i % 2 ? "CIRCLE" : "ARC");
      Group(s, 100, "AcDbCircle");
      Group(s, 10, x);
      Group(s, 20, y);
      Group(s, 30, 0.0);
      Group(s, 40, 1.0 + i % 20);
      if (i % 2 == 0) {
        Group(s, 100, "AcDbArc");
        Group(s, 50, 30.0);
        Group(s, 51, 300.0);
      }
    } else {
      Group(s, 0, "SPLINE");
      Group(s, 100, "AcDbSpline");
      Group(s, 70, "8");
      Group(s, 71, "3");
      Group(s, 72, "10");
      Group(s, 73, "6");
      for (double t : {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}) Group(s, 40, t);
      for (int k = 0; k < 6; ++k) {
        Group(s, 10, x + 4 * k);
        Group(s, 20, y + (k % 2 ? 6 : 0));
        Group(s, 30, 0.0);
      }
    }
  }
  Group(s, 0, "ENDSEC");
  Group(s, 0, "EOF");
  return s;
}

void BM_ImportDxf(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const int entities = static_cast<int>(state.range(1));
  const std::string path = WriteFile("drawing" + std::to_string(kind) + ".dxf", Drawing(kind, entities));
  const std::string fonts = TempFolder();
  std::vector<double> values;
  std::vector<std::uint8_t> flags;
  int counted = 0;
  for (auto _ : state) {
    int capacity = 0, count = 0, status = 0;
    ImportDxfFile(path, nullptr, nullptr, &capacity, &count, &status, fonts);
    counted = capacity;
    values.resize(static_cast<std::size_t>(capacity + 100));
    flags.resize(static_cast<std::size_t>(capacity + 100) / 2);
    capacity += 100;
    benchmark::DoNotOptimize(
        ImportDxfFile(path, values.data(), flags.data(), &capacity, &count, &status, fonts));
  }
  state.counters["points"] = counted / 2;
  state.SetItemsProcessed(state.iterations() * entities);
}
BENCHMARK(BM_ImportDxf)->Args({0, 20000})->Args({1, 20000})->Args({2, 5000})->Unit(benchmark::kMillisecond);

// As many texts as text styles, each text naming one of the styles: every
// text looks its style up by name.
std::string StyledTexts(int styles, int texts) {
  std::string s;
  Group(s, 0, "SECTION");
  Group(s, 2, "TABLES");
  for (int i = 0; i < styles; ++i) {
    Group(s, 0, "STYLE");
    Group(s, 100, "AcDbTextStyleTableRecord");
    Group(s, 2, "Style" + std::to_string(i));
    Group(s, 3, "nofont");
    Group(s, 4, "");
  }
  Group(s, 0, "ENDTAB");
  Group(s, 0, "ENDSEC");
  Group(s, 0, "SECTION");
  Group(s, 2, "ENTITIES");
  for (int i = 0; i < texts; ++i) {
    Group(s, 0, "TEXT");
    Group(s, 100, "AcDbText");
    Group(s, 10, 0.0);
    Group(s, 20, 0.0);
    Group(s, 40, 5.0);
    Group(s, 1, "A");
    Group(s, 7, "STYLE" + std::to_string(i * 7919 % styles));
    Group(s, 100, "AcDbText");  // the text's second marker ends it
  }
  Group(s, 0, "ENDSEC");
  Group(s, 0, "EOF");
  return s;
}

void BM_ImportDxfTextStyles(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string path = WriteFile("styles" + std::to_string(n) + ".dxf", StyledTexts(n, n));
  const std::string fonts = TempFolder();
  for (auto _ : state) {
    int capacity = 0, count = 0, status = 0;
    benchmark::DoNotOptimize(ImportDxfFile(path, nullptr, nullptr, &capacity, &count, &status, fonts));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ImportDxfTextStyles)->Arg(1000)->Arg(8000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
