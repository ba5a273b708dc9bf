// Bounds, rotation and drawing of large paths.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "values/ShellValues.h"
#include "document/path/CPathData.h"

namespace {

// Builds a path of `groups` contours of `perGroup` points each.
std::unique_ptr<CPathData> MakePath(int groups, int perGroup) {
  auto path = std::make_unique<CPathData>();
  for (int g = 0; g < groups; ++g) {
    CPointList list;
    for (int i = 0; i < perGroup; ++i)
      list.Add(CDoublePoint(g + std::cos(i * 0.01), std::sin(i * 0.01) * g, i == 0 ? 0 : 1));
    path->GetGroupArray().Add(std::make_unique<CStrokeGroup>(list));
  }
  return path;
}

// Counts calls without storing them, so the benchmark measures the path code.
class CountingDc : public platform::DeviceContext {
 public:
  platform::DcPoint MoveTo(int x, int y) override { ++calls; pos = {x, y}; return pos; }
  void LineTo(int x, int y) override { ++calls; pos = {x, y}; }
  platform::DcPoint GetCurrentPosition() const override { return pos; }
  platform::DcPen SelectPen(const platform::DcPen& p) override { auto old = pen; pen = p; return old; }
  platform::DcBrush SelectBrush(const platform::DcBrush& b) override { auto old = brush; brush = b; return old; }
  platform::DcPen CurrentPen() const override { return pen; }
  platform::DcBrush CurrentBrush() const override { return brush; }
  void SetPixel(int, int, COLORREF) override { ++calls; }
  void Ellipse(int, int, int, int) override { ++calls; }
  void Arc(int, int, int, int, int, int, int, int) override { ++calls; }
  void FloodFill(int, int, COLORREF) override { ++calls; }
  void Rectangle(int, int, int, int) override { ++calls; }
  void FillSolidRect(int, int, int, int, COLORREF) override { ++calls; }
  void TextOut(int, int, const std::string&) override { ++calls; }
  long calls = 0;
  platform::DcPoint pos;
  platform::DcPen pen;
  platform::DcBrush brush;
};

void BM_PathBoundRect_1000GroupsOf1000Points(benchmark::State& state) {
  auto path = MakePath(1000, 1000);
  for (auto _ : state) benchmark::DoNotOptimize(path->GetBoundRect());
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_PathBoundRect_1000GroupsOf1000Points)->Unit(benchmark::kMillisecond);

void BM_PathRotate_1000GroupsOf1000Points(benchmark::State& state) {
  auto path = MakePath(1000, 1000);
  for (auto _ : state) path->Rotate(CDoublePoint(3, 4), 0.001);
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_PathRotate_1000GroupsOf1000Points)->Unit(benchmark::kMillisecond);

void BM_DrawGroups_Lines_1000GroupsOf1000Points(benchmark::State& state) {
  PixelsPerMmX = PixelsPerMmY = 3.78;
  auto path = MakePath(1000, 1000);
  CountingDc dc;
  CDoublePoint first, last;
  PathDrawContext ctx;
  ctx.dc = &dc;
  ctx.firstPoint = &first;
  ctx.lastPoint = &last;
  for (auto _ : state) path->DrawGroups(ctx);
  benchmark::DoNotOptimize(dc.calls);
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_DrawGroups_Lines_1000GroupsOf1000Points)->Unit(benchmark::kMillisecond);

void BM_DrawGroups_Dots_100GroupsOf1000Dots(benchmark::State& state) {
  PixelsPerMmX = PixelsPerMmY = 3.78;
  auto path = MakePath(100, 1000);
  for (int g = 0; g < path->GetGroupCount(); ++g) path->GetGroupAt(g)->kind = GROUP_KIND_DOTS;
  CountingDc dc;
  PathDrawContext ctx;
  ctx.dc = &dc;
  ctx.zoom = 10;
  for (auto _ : state) path->DrawGroups(ctx);
  benchmark::DoNotOptimize(dc.calls);
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_DrawGroups_Dots_100GroupsOf1000Dots)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
