// Polyline costs that grow with the vertex count: writing and reading the
// vertex keys of a class block, rebuilding an imported drawing's strokes,
// moving a polyline through its element, and deleting the strokes selected
// in an imported drawing (the time per stroke should stay flat).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"

namespace {

constexpr int kVertices = 100000;

// An imported drawing of pen-up runs of ten vertices each.
std::unique_ptr<CObjElement> ImportedDrawing(int vertices) {
  CPointList list;
  for (int i = 0; i < vertices; ++i) {
    list.Add(CDoublePoint(i % 1000 * 0.1, i / 1000 * 0.1, i % 10 == 0 ? 0 : 1));
  }
  auto* poly = new CObjPolyLine(list, 0, 1);
  auto e = std::make_unique<CObjElement>(
      CObjCreateRecord{"HPGL-1", OBJ_HPGL, poly, static_cast<int>(sizeof(CObjPolyLine)), {}});
  poly->RebuildFill();
  e->UpdateBoundRect();
  return e;
}

void BM_PolyLineWriteBlock_100kVertices(benchmark::State& state) {
  auto e = ImportedDrawing(kVertices);
  std::string text;
  for (auto _ : state) {
    text.clear();
    MrkLineWriter out(text);
    e->WriteClassBlock(out);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_PolyLineWriteBlock_100kVertices)->Unit(benchmark::kMillisecond);

void BM_PolyLineParseAndSetVertexKeys_100kVertices(benchmark::State& state) {
  for (auto _ : state) {
    CObjPolyLine poly;
    poly.SetField(160, MrkValue::Parse(160, "100000"));
    for (int i = 0; i < kVertices; ++i) {
      poly.SetField(10, MrkValue::Parse(10, "12.345678"));
      poly.SetField(20, MrkValue::Parse(20, "-98.765432"));
      poly.SetField(102, MrkValue::Parse(102, "1"));
    }
    benchmark::DoNotOptimize(poly.GetVertexCount());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVertices);
}
BENCHMARK(BM_PolyLineParseAndSetVertexKeys_100kVertices)->Unit(benchmark::kMillisecond);

void BM_ImportedDrawingRebuildStrokes_100kVertices(benchmark::State& state) {
  auto e = ImportedDrawing(kVertices);
  auto* poly = e->GetObjectAs<CObjPolyLine>();
  for (auto _ : state) {
    poly->RebuildFill();
    benchmark::DoNotOptimize(poly->GetPathData().GetGroupCount());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVertices);
}
BENCHMARK(BM_ImportedDrawingRebuildStrokes_100kVertices)->Unit(benchmark::kMillisecond);

void BM_ElementMoveBy_100kVertices(benchmark::State& state) {
  auto e = ImportedDrawing(kVertices);
  double d = 0.5;
  for (auto _ : state) {
    e->MoveBy(d, -d);
    d = -d;
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVertices);
}
BENCHMARK(BM_ElementMoveBy_100kVertices)->Unit(benchmark::kMillisecond);

void BM_DeleteAllSplitStrokes(benchmark::State& state) {
  const int strokes = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto e = ImportedDrawing(strokes * 10);
    auto* poly = e->GetObjectAs<CObjPolyLine>();
    poly->SelectStrokesInside(CDoubleRect(-1e6, 1e6, 1e6, -1e6), CDoublePoint(0, 0));
    state.ResumeTiming();
    poly->DeleteSplitStrokes();
    benchmark::DoNotOptimize(poly->GetPathData().points.GetSize());
    state.PauseTiming();
    e.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * strokes);
}
BENCHMARK(BM_DeleteAllSplitStrokes)->ArgName("strokes")->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
