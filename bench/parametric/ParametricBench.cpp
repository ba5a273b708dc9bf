// Regeneration costs of the parametric objects: every drag of a handle
// rebuilds the points and the fill, so these run once per mouse move.
#include <benchmark/benchmark.h>

#include <memory>

#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/objects/ObjTypeOps.h"

namespace {

template <class T>
std::unique_ptr<CObjElement> ElementOf(int type, T* obj, bool fill) {
  RegisterObjTypeOps(ObjClassId::Arc, &ArcTypeOps());
  RegisterObjTypeOps(ObjClassId::MultiBorder, &MultiBorderTypeOps());
  auto e = std::make_unique<CObjElement>(CObjCreateRecord{"shape", type, obj, static_cast<int>(sizeof(T)), {}});
  e->SetFillOn(fill ? 1 : 0);
  e->fillSpacing = 0.2f;
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

// The largest arc: 360 points a turn, turned and mirrored.
void BM_ArcBuildPath_FullEllipse(benchmark::State& state) {
  CObjArc arc(ArcDialogRecord{0, CDoublePoint(0, 0), 60, 40, 0});
  arc.SetRotation(30);
  arc.SetMirrorFlags(MIRROR_X);
  for (auto _ : state) {
    arc.BuildPath();
    benchmark::DoNotOptimize(arc.GetPathData().points.GetData());
  }
}
BENCHMARK(BM_ArcBuildPath_FullEllipse);

// A corner drag of a hatched ellipse 120 x 80 mm at 0.2 mm spacing.
void BM_ArcResize_Hatched(benchmark::State& state) {
  auto* arc = new CObjArc(ArcDialogRecord{0, CDoublePoint(0, 0), 60, 40, 0});
  auto e = ElementOf(OBJ_ARC, arc, true);
  const CDoubleRect small = e->boundRect;
  CDoubleRect large = small;
  large.right += 10;
  large.top += 10;
  bool grow = true;
  for (auto _ : state) {
    e->Resize(grow ? large : small, e->boundRect, 2);
    grow = !grow;
  }
}
BENCHMARK(BM_ArcResize_Hatched)->Unit(benchmark::kMicrosecond);

// A many-sided hatched polygon of radius 50 mm turned by its element.
void BM_MultiBorderRotateAndRebuild_Hatched(benchmark::State& state) {
  auto* polygon = new CObjMultiBorder(MultiBorderDialogRecord{CDoublePoint(0, 0), 50, 0, 1000});
  auto e = ElementOf(OBJ_MULTIBORDER, polygon, true);
  for (auto _ : state) {
    e->Rotate(CDoublePoint(0, 0), 0.01);
    polygon->BuildPath();
    polygon->RebuildFill();
  }
}
BENCHMARK(BM_MultiBorderRotateAndRebuild_Hatched)->Unit(benchmark::kMicrosecond);

// A mirrored half ellipse turned by its element: each turn also regenerates
// the arc once to keep its stored centre under the drawn points.
void BM_MirroredArcRotate_Hatched(benchmark::State& state) {
  auto* arc = new CObjArc(ArcRulerRecord{0, CDoublePoint(0, 0), 60, 0, 180});
  arc->SetRadii(60, 40);
  arc->BuildPath();
  auto e = ElementOf(OBJ_ARC, arc, true);
  e->MirrorY(0);
  for (auto _ : state) e->Rotate(CDoublePoint(5, 5), 0.01);
}
BENCHMARK(BM_MirroredArcRotate_Hatched)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
