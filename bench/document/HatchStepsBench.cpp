// Hatch fill, beside the scan-line fill alone, and step-node building at the
// sizes marking jobs reach.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "values/MachineSetRecord.h"
#include "document/params/CDrawProperity.h"
#include "document/path/CPathData.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/HatchFill.h"
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

CPointList Rectangle(double width, double height) {
  CPointList list;
  list.Add(CDoublePoint(0, 0, 0));
  list.Add(CDoublePoint(width, 0, PT_JOINED));
  list.Add(CDoublePoint(width, height, PT_JOINED));
  list.Add(CDoublePoint(0, height, PT_JOINED));
  return list;
}

// Each fill is timed twice in the same run: the whole hatch fill, and beside
// it its floor, the plain scan-line fill of the same contours (the strokes in
// scan order, without the nearest-first ordering). Both sides alike keep the
// scan's storage from one fill to the next and write their strokes once into
// the group's fill list: fresh memory costs a page fault a page, on some
// machines microseconds each, and a side that grew its list from nothing
// would be timed for that rather than for its work.
enum class Timed { kFill, kScanOnly };

// The plain scan-line fill: the scan's strokes into the fill list as found.
bool PlainScanLineFill(CStrokeGroup& group, float angle, float spacing) {
  static HatchScan scanned;
  if (!ScanHatchStrokes(group, angle, spacing, scanned)) return false;
  CPointList& fill = group.GetFillList();
  const int at = fill.GetSize();
  const int n = scanned.strokes.GetSize();
  fill.SetSize(at + n);
  for (int i = 0; i < n; ++i) fill[at + i] = scanned.strokes[i];
  return true;
}

void TimeHatch(benchmark::State& state, const CStrokeGroup& shape, float angle, float spacing, Timed timed) {
  int strokes = 0;
  bool cut = false;
  for (auto _ : state) {
    state.PauseTiming();
    auto group = EmptyGroup();
    for (int c = 0; c < shape.GetCount(); ++c) group->AddPointList(shape.GetAt(c)->points);
    state.ResumeTiming();
    if (timed == Timed::kFill) {
      cut = !group->HatchFill(angle, spacing);
      strokes = group->GetFillList().GetSize() / 2;
    } else {
      cut = !PlainScanLineFill(*group, angle, spacing);
      strokes = group->GetFillList().GetSize() / 2;
    }
    benchmark::DoNotOptimize(strokes);
  }
  state.counters["strokes"] = strokes;
  state.counters["cut"] = cut;
}

std::unique_ptr<CStrokeGroup> GroupOf(const CPointList& contour) {
  auto group = EmptyGroup();
  group->AddPointList(contour);
  return group;
}

// Squares of 25, 100 and 400 mm at the finest spacing: 16 times the strokes
// from each to the next should cost about 16 times the time.
void SquareSide(benchmark::State& state, Timed timed) {
  const double side = static_cast<double>(state.range(0));
  TimeHatch(state, *GroupOf(Rectangle(side, side)), static_cast<float>(state.range(1)), 0.03f, timed);
}
void BM_HatchFill_Square_Spacing003(benchmark::State& state) { SquareSide(state, Timed::kFill); }
void BM_HatchScanOnly_Square_Spacing003(benchmark::State& state) { SquareSide(state, Timed::kScanOnly); }
BENCHMARK(BM_HatchFill_Square_Spacing003)->ArgNames({"side", "angle"})->ArgsProduct({{25, 100, 400}, {0, 45}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchScanOnly_Square_Spacing003)->ArgNames({"side", "angle"})->ArgsProduct({{25, 100, 400}, {0, 45}})->Unit(benchmark::kMillisecond);

// A 3000 x 2 mm strip at the finest spacing, and beside it a square cut to
// give as many strokes at the same angle (3000 mm at 90 degrees, 1501 mm at
// 45): the ordering of a long thin fill should cost what a square's does.
void Strip(benchmark::State& state, Timed timed) {
  TimeHatch(state, *GroupOf(Rectangle(3000, 2)), static_cast<float>(state.range(0)), 0.03f, timed);
}
void SquareOfTheStripsStrokes(benchmark::State& state, Timed timed) {
  const double side = state.range(0) == 90 ? 3000 : 1501;
  TimeHatch(state, *GroupOf(Rectangle(side, side)), static_cast<float>(state.range(0)), 0.03f, timed);
}
void BM_HatchFill_Strip3000x2mm_Spacing003(benchmark::State& state) { Strip(state, Timed::kFill); }
void BM_HatchScanOnly_Strip3000x2mm_Spacing003(benchmark::State& state) { Strip(state, Timed::kScanOnly); }
void BM_HatchFill_SquareOfTheStripsStrokes_Spacing003(benchmark::State& state) {
  SquareOfTheStripsStrokes(state, Timed::kFill);
}
void BM_HatchScanOnly_SquareOfTheStripsStrokes_Spacing003(benchmark::State& state) {
  SquareOfTheStripsStrokes(state, Timed::kScanOnly);
}
BENCHMARK(BM_HatchFill_Strip3000x2mm_Spacing003)->ArgName("angle")->Arg(90)->Arg(45)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchScanOnly_Strip3000x2mm_Spacing003)->ArgName("angle")->Arg(90)->Arg(45)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchFill_SquareOfTheStripsStrokes_Spacing003)->ArgName("angle")->Arg(90)->Arg(45)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchScanOnly_SquareOfTheStripsStrokes_Spacing003)->ArgName("angle")->Arg(90)->Arg(45)->Unit(benchmark::kMillisecond);

void Glyphs200(benchmark::State& state, Timed timed) {
  TimeHatch(state, *Glyphs(), static_cast<float>(state.range(0)), 0.03f, timed);
}
void BM_HatchFill_200Glyphs_Spacing003(benchmark::State& state) { Glyphs200(state, Timed::kFill); }
void BM_HatchScanOnly_200Glyphs_Spacing003(benchmark::State& state) { Glyphs200(state, Timed::kScanOnly); }
BENCHMARK(BM_HatchFill_200Glyphs_Spacing003)->ArgName("angle")->Arg(0)->Arg(90)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchScanOnly_200Glyphs_Spacing003)->ArgName("angle")->Arg(0)->Arg(90)->Arg(30)->Unit(benchmark::kMillisecond);

// The fill of a comb (teeth 0.5 mm wide at 1 mm pitch, 200 mm tall): every
// scan line crosses every tooth, so the strokes grow with teeth times lines.
// At 0.03 mm the fill is refused at the stroke limit; at 0.2 mm 100 teeth
// fill completely (about 100000 strokes).
void Comb(benchmark::State& state, float spacing, Timed timed) {
  TimeHatch(state, *GroupOf(CombOutline(static_cast<int>(state.range(0)))), 0, spacing, timed);
}
void BM_HatchFill_Comb_Spacing003(benchmark::State& state) { Comb(state, 0.03f, Timed::kFill); }
void BM_HatchFill_Comb_Spacing02(benchmark::State& state) { Comb(state, 0.2f, Timed::kFill); }
void BM_HatchScanOnly_Comb_Spacing02(benchmark::State& state) { Comb(state, 0.2f, Timed::kScanOnly); }
BENCHMARK(BM_HatchFill_Comb_Spacing003)->ArgName("teeth")->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchFill_Comb_Spacing02)->ArgName("teeth")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchScanOnly_Comb_Spacing02)->ArgName("teeth")->Arg(100)->Unit(benchmark::kMillisecond);

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
int main(int argc, char** argv) {
  // Freed memory stays with the allocator from one iteration to the next.
  // Otherwise whether a side's lists land on pages the system must hand out
  // afresh depends on where the allocator happened to put them and what it
  // gave back, and on a virtual machine each fresh page costs microseconds:
  // both sides are timed for their work instead.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
