// Hatch fill and step-node building at the sizes marking jobs reach.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "values/MachineSetRecord.h"
#include "document/params/CDrawProperity.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/StepNodes.h"
#include "tests/document/hatch/CombOutline.h"

namespace {

CPointList Ellipse(double cx, double cy, double rx, double ry, int n) {
  CPointList list;
  for (int i = 0; i < n; ++i) {
    const double a = 6.2831852 * i / n;
    list.Add(CDoublePoint(cx + rx * std::cos(a), cy + ry * std::sin(a), i ? PT_JOINED : 0));
  }
  return list;
}

std::unique_ptr<CStrokeGroup> EmptyGroup() {
  auto group = std::make_unique<CStrokeGroup>(CPointList());
  group->RemoveAllLists();
  return group;
}

// 200 glyph-like shapes in 10 rows of 20: a ring (outer and inner contour)
// and a bar beside it, 4 x 6 mm each.
std::unique_ptr<CStrokeGroup> Glyphs() {
  auto group = EmptyGroup();
  for (int row = 0; row < 10; ++row) {
    for (int col = 0; col < 20; ++col) {
      const double x = col * 5.0, y = row * 8.0;
      group->AddPointList(Ellipse(x + 1.5, y + 3, 1.5, 3, 48));
      group->AddPointList(Ellipse(x + 1.5, y + 3, 0.9, 2.2, 40));
      CPointList bar;
      bar.Add(CDoublePoint(x + 3.3, y, 0));
      bar.Add(CDoublePoint(x + 4, y, PT_JOINED));
      bar.Add(CDoublePoint(x + 4, y + 6, PT_JOINED));
      bar.Add(CDoublePoint(x + 3.3, y + 6, PT_JOINED));
      group->AddPointList(bar);
    }
  }
  return group;
}

void BM_HatchFill_Square100mm_Spacing003(benchmark::State& state) {
  const float angle = static_cast<float>(state.range(0));
  CPointList square;
  square.Add(CDoublePoint(0, 0, 0));
  square.Add(CDoublePoint(100, 0, PT_JOINED));
  square.Add(CDoublePoint(100, 100, PT_JOINED));
  square.Add(CDoublePoint(0, 100, PT_JOINED));
  for (auto _ : state) {
    CStrokeGroup group(square);
    group.HatchFill(angle, 0.03f);
    benchmark::DoNotOptimize(group.GetFillList().GetSize());
  }
}
BENCHMARK(BM_HatchFill_Square100mm_Spacing003)->ArgName("angle")->Arg(0)->Arg(45)->Unit(benchmark::kMillisecond);

// A 3000 x 2 mm strip at the finest spacing, and beside it a square cut to
// give as many strokes at the same angle (3000 mm at 90 degrees, 1501 mm at
// 45): the ordering of a long thin fill should cost what a square's does.
CPointList Rectangle(double width, double height) {
  CPointList list;
  list.Add(CDoublePoint(0, 0, 0));
  list.Add(CDoublePoint(width, 0, PT_JOINED));
  list.Add(CDoublePoint(width, height, PT_JOINED));
  list.Add(CDoublePoint(0, height, PT_JOINED));
  return list;
}

void HatchRectangle(benchmark::State& state, double width, double height) {
  const float angle = static_cast<float>(state.range(0));
  const CPointList contour = Rectangle(width, height);
  int points = 0;
  for (auto _ : state) {
    CStrokeGroup group(contour);
    group.HatchFill(angle, 0.03f);
    points = group.GetFillList().GetSize();
    benchmark::DoNotOptimize(points);
  }
  state.counters["strokes"] = points / 2;
}

void BM_HatchFill_Strip3000x2mm_Spacing003(benchmark::State& state) { HatchRectangle(state, 3000, 2); }
BENCHMARK(BM_HatchFill_Strip3000x2mm_Spacing003)->ArgName("angle")->Arg(90)->Arg(45)->Unit(benchmark::kMillisecond);

void BM_HatchFill_SquareOfTheStripsStrokes_Spacing003(benchmark::State& state) {
  const double side = state.range(0) == 90 ? 3000 : 1501;
  HatchRectangle(state, side, side);
}
BENCHMARK(BM_HatchFill_SquareOfTheStripsStrokes_Spacing003)->ArgName("angle")->Arg(90)->Arg(45)->Unit(benchmark::kMillisecond);

void BM_HatchFill_200Glyphs_Spacing003(benchmark::State& state) {
  const float angle = static_cast<float>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto group = Glyphs();
    state.ResumeTiming();
    group->HatchFill(angle, 0.03f);
    benchmark::DoNotOptimize(group->GetFillList().GetSize());
  }
}
BENCHMARK(BM_HatchFill_200Glyphs_Spacing003)->ArgName("angle")->Arg(0)->Arg(90)->Arg(30)->Unit(benchmark::kMillisecond);

// The fill of a comb (teeth 0.5 mm wide at 1 mm pitch, 200 mm tall): every
// scan line crosses every tooth, so the strokes grow with teeth times lines.
// At 0.03 mm the fill is refused at the stroke limit; at 0.2 mm 100 teeth
// fill completely (about 100000 strokes).
void HatchComb(benchmark::State& state, float spacing) {
  const CPointList outline = CombOutline(static_cast<int>(state.range(0)));
  int points = 0;
  bool cut = false;
  for (auto _ : state) {
    CStrokeGroup group(outline);
    cut = !group.HatchFill(0, spacing);
    points = group.GetFillList().GetSize();
    benchmark::DoNotOptimize(points);
  }
  state.counters["strokes"] = points / 2;
  state.counters["cut"] = cut;
}

void BM_HatchFill_Comb_Spacing003(benchmark::State& state) { HatchComb(state, 0.03f); }
BENCHMARK(BM_HatchFill_Comb_Spacing003)->ArgName("teeth")->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_HatchFill_Comb_Spacing02(benchmark::State& state) { HatchComb(state, 0.2f); }
BENCHMARK(BM_HatchFill_Comb_Spacing02)->ArgName("teeth")->Arg(100)->Unit(benchmark::kMillisecond);

// Times building the step nodes of a path made of the one group, under
// all-zero machine settings; freeing the nodes is not timed.
void TimeStepNodes(benchmark::State& state, std::unique_ptr<CStrokeGroup> group, std::int64_t points) {
  MachineSetRecord r;
  std::memset(&r, 0, sizeof r);
  CDrawProperity prop(r, false);
  CPathData path;
  path.GetGroupArray().Add(group.release());
  for (auto _ : state) {
    StepNode* head = nullptr;
    CDoublePoint current(0, 0);
    int count = 0;
    path.BuildGroupStepNodes(head, prop, current, count, 1);
    benchmark::DoNotOptimize(count);
    state.PauseTiming();
    FreeStepNodes(head);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * points);
}

// 1M points as 1000 zig-zag strokes of 1000 points, plain group order.
void BM_StepNodes_1MPointsIn1000Strokes(benchmark::State& state) {
  auto group = EmptyGroup();
  for (int s = 0; s < 1000; ++s) {
    CPointList pts;
    for (int i = 0; i < 1000; ++i) pts.Add(CDoublePoint(i * 0.05, s * 0.1 + (i % 2) * 0.03, i ? PT_JOINED : 0));
    group->AddPointList(pts);
  }
  TimeStepNodes(state, std::move(group), 1000000);
}
BENCHMARK(BM_StepNodes_1MPointsIn1000Strokes)->Unit(benchmark::kMillisecond);

// 1M single dots in one dot group (a large dot image): nearest-first picking dominates.
void BM_StepNodes_1MDots_NearestFirst(benchmark::State& state) {
  auto group = EmptyGroup();
  group->kind = GROUP_KIND_DOTS;
  for (int i = 0; i < 1000000; ++i) {
    CPointList dot;
    dot.Add(CDoublePoint((i % 1000) * 0.1, (i / 1000) * 0.1, 0));
    group->AddPointList(dot);
  }
  TimeStepNodes(state, std::move(group), 1000000);
}
BENCHMARK(BM_StepNodes_1MDots_NearestFirst)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
