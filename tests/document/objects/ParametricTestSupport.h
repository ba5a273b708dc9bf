#pragma once
// Shared by the arc and multi-border tests: elements owning a parametric
// object, with the classes' tables registered as the program does at start-up.
#include <cmath>
#include <memory>

#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ObjTypeOps.h"

inline void RegisterParametricClasses() {
  RegisterObjTypeOps(ObjClassId::Arc, &ArcTypeOps());
  RegisterObjTypeOps(ObjClassId::MultiBorder, &MultiBorderTypeOps());
}

// An element owning obj, with its fill built and its bounds cached.
template <class T>
std::unique_ptr<CObjElement> ElementOf(int type, T* obj, std::uint8_t attribute = ATTR_MARK) {
  RegisterParametricClasses();
  auto e = std::make_unique<CObjElement>(CObjCreateRecord{"shape", type, obj, static_cast<int>(sizeof(T)), {}});
  e->attribute = attribute;
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

// The largest distance between corresponding points; infinite when the
// counts differ.
inline double MaxPointGap(const CPointList& a, const CPointList& b) {
  if (a.GetSize() != b.GetSize()) return INFINITY;
  double gap = 0;
  for (int i = 0; i < a.GetSize(); ++i) gap = std::fmax(gap, PointDistance(a[i], b[i]));
  return gap;
}

// How far the points move when the object regenerates them from its
// parameters: a transform that left parameters and points disagreeing shows
// here (a resize or a save would make the shape jump).
template <class T>
double RegenerationGap(T& obj) {
  const CPointList before(obj.GetPathData().points);
  obj.BuildPath();
  return MaxPointGap(before, obj.GetPathData().points);
}
