#include "document/objects/ObjTypeOps.h"

#include <array>

#include "document/objects/ObjectType.h"

// Tables of the classes built into this library.
const CObjTypeOps& DrawProperityTypeOps();
const CObjTypeOps& LineTypeOps();
const CObjTypeOps& PolyLineTypeOps();

namespace {

std::array<const CObjTypeOps*, kObjClassIdCount>& Registry() {
  static std::array<const CObjTypeOps*, kObjClassIdCount> table = [] {
    std::array<const CObjTypeOps*, kObjClassIdCount> t{};
    t[static_cast<int>(ObjClassId::DrawProperity)] = &DrawProperityTypeOps();
    t[static_cast<int>(ObjClassId::Line)] = &LineTypeOps();
    t[static_cast<int>(ObjClassId::PolyLine)] = &PolyLineTypeOps();
    return t;
  }();
  return table;
}

}  // namespace

ObjClassId ObjClassOfType(int typeCode) {
  // The one place that knows which class holds which code.
  switch (typeCode) {
    case OBJ_PROPERITY:
      return ObjClassId::DrawProperity;
    case OBJ_LINE:
      return ObjClassId::Line;
    case OBJ_TEXT:
      return ObjClassId::Text;
    case OBJ_RECTANGLE:
    case OBJ_POLYLINE:
    case OBJ_HPGL:
    case OBJ_DXF:
      return ObjClassId::PolyLine;
    case OBJ_DOTIMAGE:
      return ObjClassId::DotCollect;
    case OBJ_ARC:
      return ObjClassId::Arc;
    case OBJ_MULTIBORDER:
      return ObjClassId::MultiBorder;
    case OBJ_DATE:
      return ObjClassId::TextDate;
    case OBJ_SERIAL:
      return ObjClassId::TextAutoUpdate;
    case OBJ_VIN:
      return ObjClassId::TextVin;
    case OBJ_BARCODE:
      return ObjClassId::BarCode;
    case OBJ_PICTURE:
      return ObjClassId::Image;
    case OBJ_RULER:
      return ObjClassId::TextRuler;
    case OBJ_BSPLINE:
      return ObjClassId::BSpline;
    default:  // 4, 10, 12, 13, 14, 18, 20 and anything unknown
      return ObjClassId::None;
  }
}

const CObjTypeOps* FindObjClassOps(ObjClassId id) {
  const int i = static_cast<int>(id);
  if (id == ObjClassId::None || i < 0 || i >= kObjClassIdCount) return nullptr;
  return Registry()[static_cast<std::size_t>(i)];
}

const CObjTypeOps* FindObjTypeOps(int typeCode) { return FindObjClassOps(ObjClassOfType(typeCode)); }

void RegisterObjTypeOps(ObjClassId id, const CObjTypeOps* ops) {
  const int i = static_cast<int>(id);
  if (id == ObjClassId::None || i < 0 || i >= kObjClassIdCount) return;
  Registry()[static_cast<std::size_t>(i)] = ops;
}
