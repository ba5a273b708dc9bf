// Opening and saving a project that holds one ruler of 100000 units labelled
// at the big and middle ticks (20001 labels), as File Open and File Save do:
// the ruler is read and laid out with its labels, then written back, once
// unchanged since reading and once changed. The labels' stroke fonts are a
// main font with the digits and a big font that is not installed, as on a
// fresh installation.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

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

}  // namespace

BENCHMARK_MAIN();
