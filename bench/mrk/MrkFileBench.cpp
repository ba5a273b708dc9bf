// Project file throughput: a layout of 100k polyline vertices (100 polylines
// of 1000) and 1000 lines, written and read in memory and through a file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjPolyLine.h"
#include "document/params/CDrawProperity.h"

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

}  // namespace
BENCHMARK_MAIN();
