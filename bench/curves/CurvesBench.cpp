// Curve flattening and arc fitting on shapes of the size a layout holds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "document/curves/CArc3Point.h"
#include "document/curves/CArcFitter.h"
#include "document/curves/CInterpCurve.h"
#include "document/curves/SplineToPolyline.h"

namespace {

// A wavy line of n control points across 300 mm.
CPointList Wave(int n) {
  CPointList list;
  for (int i = 0; i < n; ++i) list.Add(CDoublePoint(300.0 * i / (n - 1), 20 * std::sin(i * 0.7)));
  return list;
}

void BM_InterpCurve(benchmark::State& state) {
  const CPointList controls = Wave(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CPointList out;
    CInterpCurve(controls).BuildPolyline(out);
    benchmark::DoNotOptimize(out.GetData());
  }
}
BENCHMARK(BM_InterpCurve)->Arg(10)->Arg(100);

void BM_Arc3Point(benchmark::State& state) {
  for (auto _ : state) {
    CArc3Point arc(CDoublePoint(50, 0), CDoublePoint(0, 50), CDoublePoint(-50, 0));
    arc.Generate(0.5f, nullptr, 1);
    benchmark::DoNotOptimize(arc.output.GetData());
  }
}
BENCHMARK(BM_Arc3Point);

void BM_SplineToPolyline(benchmark::State& state) {
  CSplineRecord s;
  const int n = 200;
  const CPointList controls = Wave(n);
  s.controlPoints.Append(controls);
  for (int i = 0; i < 4; ++i) s.knots.push_back(0);
  for (int i = 1; i < n - 3; ++i) s.knots.push_back(i);
  for (int i = 0; i < 4; ++i) s.knots.push_back(n - 3);
  int counter = 0;
  const int count = SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr);
  std::vector<double> coords(static_cast<std::size_t>(count));
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(count / 2));
  int fill = 1;
  for (auto _ : state) {
    counter = 0;
    benchmark::DoNotOptimize(SplineToPolyline(s, coords.data(), flags.data(), counter, &fill, nullptr));
  }
}
BENCHMARK(BM_SplineToPolyline);

// A full circle of n points and a zigzag: maximal arcs and many short lines.
void BM_FitArcs(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  CPointList pts;
  for (int i = 0; i < n; ++i) {
    const double a = 6.283185307 * i / n;
    pts.Add(CDoublePoint(100 * std::cos(a), 100 * std::sin(a)));
  }
  for (int i = 0; i < n / 4; ++i) pts.Add(CDoublePoint(100 + i, (i % 2) * 3.0));
  const std::string path = (std::filesystem::temp_directory_path() / "vendrik-bench-fit.dxf").string();
  for (auto _ : state) {
    CArcFitter fitter(path);
    fitter.FitArcs(pts);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_FitArcs)->Arg(200)->Arg(2000);

}  // namespace

BENCHMARK_MAIN();
