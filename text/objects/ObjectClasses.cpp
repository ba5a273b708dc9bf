#include "text/objects/ObjectClasses.h"

#include "document/objects/ObjTypeOps.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"

// Tables of the object classes the document library builds in.
const CObjTypeOps& DrawProperityTypeOps();
const CObjTypeOps& LineTypeOps();
const CObjTypeOps& PolyLineTypeOps();
const CObjTypeOps& BSplineTypeOps();
const CObjTypeOps& ArcTypeOps();
const CObjTypeOps& MultiBorderTypeOps();
const CObjTypeOps& DotCollectTypeOps();
const CObjTypeOps& ImageTypeOps();

void RegisterObjectClasses() {
  RegisterObjTypeOps(ObjClassId::DrawProperity, &DrawProperityTypeOps());
  RegisterObjTypeOps(ObjClassId::Line, &LineTypeOps());
  RegisterObjTypeOps(ObjClassId::PolyLine, &PolyLineTypeOps());
  RegisterObjTypeOps(ObjClassId::BSpline, &BSplineTypeOps());
  RegisterObjTypeOps(ObjClassId::Arc, &ArcTypeOps());
  RegisterObjTypeOps(ObjClassId::MultiBorder, &MultiBorderTypeOps());
  RegisterObjTypeOps(ObjClassId::DotCollect, &DotCollectTypeOps());
  RegisterObjTypeOps(ObjClassId::Image, &ImageTypeOps());
  RegisterObjTypeOps(ObjClassId::Text, &TextTypeOps());
  RegisterObjTypeOps(ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps());
  RegisterObjTypeOps(ObjClassId::TextDate, &TextDateTypeOps());
  RegisterObjTypeOps(ObjClassId::TextVin, &TextVinTypeOps());
  RegisterObjTypeOps(ObjClassId::BarCode, &BarCodeTypeOps());
  RegisterObjTypeOps(ObjClassId::TextRuler, &TextRulerTypeOps());
}
