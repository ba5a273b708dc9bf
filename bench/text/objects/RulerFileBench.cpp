// Opening and saving a project that holds one ruler of 100000 units labelled
// at the big and middle ticks (20001 labels), as File Open and File Save do:
// the ruler is read and laid out with its labels, then written back, once
// unchanged since reading and once changed. The labels' stroke fonts are a
// main font with the digits and a big font that is not installed, as on a
// fresh installation. Then opening a project of 512 rulers of 100000 units,
// far past what a project may hold.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>
#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"
#include "document/path/CPathData.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/objects/CObjTextRuler.h"

namespace {

// Digits, point and minus: a stem or a bar each, advancing 3 units.
Bytes DigitFont() {
  std::vector<TestGlyph> glyphs;
  for (char c : std::string("0123456789")) glyphs.push_back({static_cast<std::uint16_t>(c), {2, 0x44, 1, 0x4C, 2, 0x30, 0}});
  glyphs.push_back({'.', {1, 0x10, 2, 0x20, 0}});
  glyphs.push_back({'-', {2, 0x24, 1, 0x20, 2, 0x2C, 0x10, 0}});
  return Shapes86Font(glyphs);
}

// The project file of the ruler, made once.
const std::string& RulerProject(TextRig& rig) {
  static const std::string bytes = [&rig] {
    RegisterObjTypeOps(ObjClassId::TextRuler, &TextRulerTypeOps());
    rig.Folder().AddFont("digits.shx", DigitFont());
    auto* ruler = new CObjTextRuler(CDoublePoint(0, 0));
    ruler->Settings().strokeFontPair = "digits+Xc18";
    ruler->Ruler().units = 100000;
    ruler->Ruler().bigUnits = 10;
    ruler->Ruler().textMode = 2;
    CObjPtrArray objects;
    auto element = std::make_unique<CObjElement>(
        CObjCreateRecord{"Ruler", OBJ_RULER, ruler, static_cast<int>(sizeof(CObjTextRuler)), {}});
    ruler->GetPathData().SetOwner(element.get());
    ruler->CreatePoints(CDoublePoint(0, 0), true);
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    objects.Add(std::move(element));
    return FormatMrkFile(objects, "");
  }();
  return bytes;
}

void BM_OpenRuler100k(benchmark::State& state) {
  TextRig rig;
  const std::string& project = RulerProject(rig);
  long long points = 0;
  for (auto _ : state) {
    CObjPtrArray objects;
    benchmark::DoNotOptimize(ReadMrkBytes(project, objects));
    points = objects.GetSize() > 0 && objects[0]->GetPath() != nullptr ? objects[0]->GetPath()->CountPoints() : 0;
  }
  // What the ruler holds of a project's budget of built points.
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_OpenRuler100k)->Unit(benchmark::kMillisecond);

// Open, then save: unchanged (the block as read) and after a change of the
// ruler's spacing, which lays it out again.
void BM_OpenAndSaveRuler100k(benchmark::State& state) {
  TextRig rig;
  const std::string& project = RulerProject(rig);
  for (auto _ : state) {
    CObjPtrArray objects;
    benchmark::DoNotOptimize(ReadMrkBytes(project, objects));
    benchmark::DoNotOptimize(FormatMrkFile(objects, ""));
    auto* ruler = objects[0]->GetObjectAs<CObjTextRuler>();
    ruler->Ruler().lineW = 1.5f;
    ruler->CreatePoints(ruler->Settings().position, false);
    benchmark::DoNotOptimize(FormatMrkFile(objects, ""));
  }
}
BENCHMARK(BM_OpenAndSaveRuler100k)->Unit(benchmark::kMillisecond);

// 512 unlabelled rulers at their unit bound (a file of 0.8 MB): the first
// few take what all objects of a project may hold together, the rest open
// empty. Counters: the file's bytes, the rulers laid out, the objects left
// empty and the process's peak memory (run it alone).
int g_rulersLaidOut = 0;

const CObjTypeOps& CountedRulerTypeOps() {
  static const CObjTypeOps ops = [] {
    CObjTypeOps t = TextRulerTypeOps();
    t.finishRead = [](CObjElement& element, std::unique_ptr<CObjBase> o, int version) {
      ++g_rulersLaidOut;
      TextRulerTypeOps().finishRead(element, std::move(o), version);
    };
    return t;
  }();
  return ops;
}

void BM_Open512RulersPastTheBudget(benchmark::State& state) {
  TextRig rig;
  RegisterObjTypeOps(ObjClassId::TextRuler, &CountedRulerTypeOps());
  CObjPtrArray layout;
  for (int i = 0; i < 512; ++i) {
    auto* ruler = new CObjTextRuler(CDoublePoint(0, i * 10.0));
    ruler->Ruler().units = kRulerMaxUnits;
    layout.Add(std::make_unique<CObjElement>(CObjCreateRecord{"Ruler-" + std::to_string(i + 1), OBJ_RULER, ruler,
                                                              static_cast<int>(sizeof(CObjTextRuler)), {}}));
  }
  const std::string project = FormatMrkFile(layout, "");
  std::size_t leftEmpty = 0;
  int laidOut = 0;
  for (auto _ : state) {
    g_rulersLaidOut = 0;
    CObjPtrArray objects;
    std::vector<std::string> empty;
    benchmark::DoNotOptimize(ReadMrkBytes(project, objects, &empty));
    leftEmpty = empty.size();
    laidOut = g_rulersLaidOut;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["bytes"] = static_cast<double>(project.size());
  state.counters["laidOut"] = laidOut;
  state.counters["leftEmpty"] = static_cast<double>(leftEmpty);
  state.counters["peakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  RegisterObjTypeOps(ObjClassId::TextRuler, &TextRulerTypeOps());
}
BENCHMARK(BM_Open512RulersPastTheBudget)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
