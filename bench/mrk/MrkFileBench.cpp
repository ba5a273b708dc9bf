// Project file throughput: a layout of 100k polyline vertices (100 polylines
// of 1000) and 1000 lines, written and read in memory and through a file;
// opening a small project whose one filled comb asks for far more fill
// strokes than a fill may have, and one of forty fills each just below it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"
#include "document/path/CPathData.h"
#include "tests/document/hatch/CombOutline.h"

namespace {

void BuildLayout(CObjPtrArray& objects) {
  objects.Add(std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}}));
  for (int p = 0; p < 100; ++p) {
    CPointList list;
    for (int i = 0; i < 1000; ++i) list.Add(CDoublePoint(p + i * 0.013, (i % 97) * 0.37, i % 50 == 0 ? 0 : 1));
    auto e = std::make_unique<CObjElement>(CObjCreateRecord{"Poly-" + std::to_string(p + 1), OBJ_HPGL,
                                                            new CObjPolyLine(list, 0, 1),
                                                            static_cast<int>(sizeof(CObjPolyLine)), {}});
    e->RefreshTypeObject();
    e->UpdateBoundRect();
    objects.Add(std::move(e));
  }
  for (int i = 0; i < 1000; ++i) {
    auto e = std::make_unique<CObjElement>(CObjCreateRecord{
        "Line-" + std::to_string(i + 1), OBJ_LINE,
        new CObjLine(CDoublePoint(i * 0.1, 0, 0), CDoublePoint(i * 0.1 + 5, 7.5, 1)),
        static_cast<int>(sizeof(CObjLine)), {}});
    e->RefreshTypeObject();
    e->UpdateBoundRect();
    objects.Add(std::move(e));
  }
}

const CObjPtrArray& Layout() {
  static CObjPtrArray objects;
  if (objects.IsEmpty()) BuildLayout(objects);
  return objects;
}

const std::string& LayoutText() {
  static const std::string text = FormatMrkFile(Layout(), "");
  return text;
}

std::string BenchPath() { return (std::filesystem::temp_directory_path() / "vendrik-bench-layout.mrk").string(); }

void BM_FormatMrk(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FormatMrkFile(Layout(), ""));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * LayoutText().size()));
}
BENCHMARK(BM_FormatMrk)->Unit(benchmark::kMillisecond);

void BM_ReadMrkBytes(benchmark::State& state) {
  for (auto _ : state) {
    CObjPtrArray objects;
    ReadMrkBytes(LayoutText(), objects);
    benchmark::DoNotOptimize(objects.GetSize());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * LayoutText().size()));
}
BENCHMARK(BM_ReadMrkBytes)->Unit(benchmark::kMillisecond);

// Through the disk: the writer's temporary file, flush and rename included.
void BM_WriteMrkFile(benchmark::State& state) {
  const std::string path = BenchPath();
  for (auto _ : state) benchmark::DoNotOptimize(WriteMrkFile(path, Layout()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * LayoutText().size()));
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteMrkFile)->Unit(benchmark::kMillisecond);

void BM_ReadMrkFile(benchmark::State& state) {
  const std::string path = BenchPath();
  WriteMrkFile(path, Layout());
  for (auto _ : state) {
    CObjPtrArray objects;
    ReadMrkFile(path, objects);
    benchmark::DoNotOptimize(objects.GetSize());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * LayoutText().size()));
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadMrkFile)->Unit(benchmark::kMillisecond);

// A comb of 200 or 400 teeth, 0.5 mm wide at 1 mm pitch and 200 mm tall,
// filled at 0.03 mm: 53 KB or 104 KB of project for 1.3 or 2.7 million
// strokes. Counters: the project's bytes, the strokes kept, and whether the
// fill was cut.
void BM_ReadCombProject(benchmark::State& state) {
  CObjPtrArray layout;
  CPointList outline = CombOutline(static_cast<int>(state.range(0)));
  auto comb = std::make_unique<CObjElement>(
      CObjCreateRecord{"comb", OBJ_POLYLINE, new CObjPolyLine(outline, 1, 0), static_cast<int>(sizeof(CObjPolyLine)), {}});
  comb->SetFillOn(1);
  comb->fillSpacing = 0.03f;
  layout.Add(std::move(comb));
  const std::string text = FormatMrkFile(layout, "");
  int strokes = 0;
  bool cut = false;
  for (auto _ : state) {
    CObjPtrArray objects;
    ReadMrkBytes(text, objects);
    const CPathData* path = objects.GetSize() > 0 ? objects[objects.GetSize() - 1]->GetPath() : nullptr;
    strokes = path && path->GetGroupCount() > 0 ? path->GetGroupAt(0)->GetFillList().GetSize() / 2 : 0;
    cut = path && path->HasCutFill();
    benchmark::DoNotOptimize(strokes);
  }
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["strokes"] = strokes;
  state.counters["cut"] = cut;
}
BENCHMARK(BM_ReadCombProject)->ArgName("teeth")->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

// Forty combs of two teeth 2999 mm tall, each filled at 0.03 mm with 199933
// strokes, just below the bound of one fill: together far more than a
// project may hold. Counters: the project's bytes, the strokes kept in all,
// the objects left empty and the process's peak memory (run it alone).
void BM_ReadFortyFills(benchmark::State& state) {
  CObjPtrArray layout;
  for (int i = 0; i < 40; ++i) {
    CPointList outline = CombOutline(2, 0.5, 1.0, 2999.0);
    auto comb = std::make_unique<CObjElement>(CObjCreateRecord{
        "comb-" + std::to_string(i + 1), OBJ_POLYLINE, new CObjPolyLine(outline, 1, 0),
        static_cast<int>(sizeof(CObjPolyLine)), {}});
    comb->SetFillOn(1);
    comb->fillSpacing = 0.03f;
    layout.Add(std::move(comb));
  }
  const std::string text = FormatMrkFile(layout, "");
  long long strokes = 0;
  std::size_t leftEmpty = 0;
  for (auto _ : state) {
    CObjPtrArray objects;
    std::vector<std::string> empty;
    ReadMrkBytes(text, objects, &empty);
    strokes = 0;
    for (int i = 0; i < objects.GetSize(); ++i) {
      const CPathData* path = objects[i]->GetPath();
      if (path != nullptr && path->GetGroupCount() > 0) strokes += path->GetGroupAt(0)->GetFillList().GetSize() / 2;
    }
    leftEmpty = empty.size();
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["strokes"] = static_cast<double>(strokes);
  state.counters["leftEmpty"] = static_cast<double>(leftEmpty);
  state.counters["peakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ReadFortyFills)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
