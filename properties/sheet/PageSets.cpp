#include <map>

#include "document/objects/ObjectType.h"
#include "properties/sheet/PageSlot.h"
#include "values/PropertyMessages.h"

namespace {
using S = PageSlot;
}

const std::vector<PageSlot>& PageSetOf(int type) {
  static const std::map<int, std::vector<PageSlot>> sets = {
      {OBJ_PROPERITY, {S::PrintParameter, S::PrintSetup, S::RoateSet, S::DrawSize}},
      {OBJ_LINE, {S::ObjName, S::PrintProperity, S::ObjLine}},
      {OBJ_TEXT, {S::ObjName, S::PrintProperity, S::Text, S::Font, S::FillObj}},
      {OBJ_RECTANGLE, {S::ObjName, S::PrintProperity, S::ObjRect, S::FillObj}},
      {OBJ_DOTIMAGE, {S::ObjName, S::DotMatrix}},
      {OBJ_ARC, {S::ObjName, S::PrintProperity, S::ObjArc, S::FillObj}},
      {OBJ_POLYLINE, {S::ObjName, S::PrintProperity, S::Polyline, S::FillObj}},
      {OBJ_MULTIBORDER, {S::ObjName, S::PrintProperity, S::MBorder, S::FillObj}},
      {OBJ_HPGL, {S::ObjName, S::PrintProperity, S::FillObj, S::PltDivide}},
      {OBJ_DXF, {S::ObjName, S::PrintProperity, S::FillObj, S::PltDivide}},
      {OBJ_DATE, {S::ObjName, S::PrintProperity, S::TextTime, S::Font, S::FillObj}},
      {OBJ_SERIAL, {S::ObjName, S::PrintProperity, S::AutoText, S::Font, S::FillObj}},
      {OBJ_VIN, {S::ObjName, S::PrintProperity, S::ObjVin, S::Font, S::FillObj}},
      {OBJ_BARCODE, {S::ObjName, S::PrintProperity, S::BarCode, S::Font, S::FillObj}},
      {OBJ_PICTURE, {S::ObjName, S::ObjImageSize}},
      {OBJ_RULER, {S::ObjName, S::PrintProperity, S::ObjRulerBar, S::Font, S::FillObj}},
      {OBJ_BSPLINE, {S::ObjName, S::PrintProperity, S::ObjBSpline, S::FillObj}},
  };
  static const std::vector<PageSlot> none;
  auto it = sets.find(type);
  return it == sets.end() ? none : it->second;
}

const std::vector<PageSlot>& WorkAreaSlots() {
  static const std::vector<PageSlot> slots = {S::DrawSize, S::PrintParameter, S::PrintSetup, S::RoateSet};
  return slots;
}

bool SlotOfChangeMessage(UINT changeMessage, PageSlot& slot) {
  static const std::map<UINT, PageSlot> bySlot = {
      {WM_UPDATE_DRAWSIZE, S::DrawSize},         {WM_UPDATE_PRINTPARAMETER, S::PrintParameter},
      {WM_UPDATE_PRINTSETUP, S::PrintSetup},     {WM_UPDATE_ROATESET, S::RoateSet},
      {WM_UPDATE_OBJNAME, S::ObjName},           {WM_UPDATE_OBJLINE, S::ObjLine},
      {WM_UPDATE_PRINTPROPERITY, S::PrintProperity}, {WM_UPDATE_FILLOBJ, S::FillObj},
      {WM_UPDATE_POLYLINE, S::Polyline},         {WM_UPDATE_OBJRECT, S::ObjRect},
      {WM_UPDATE_MBORDER, S::MBorder},           {WM_UPDATE_OBJARC, S::ObjArc},
      {WM_UPDATE_FONT, S::Font},                 {WM_UPDATE_TEXT, S::Text},
      {WM_UPDATE_AUTOTEXT, S::AutoText},         {WM_UPDATE_TEXTTIME, S::TextTime},
      {WM_UPDATE_OBJVIN, S::ObjVin},             {WM_UPDATE_BARCODE, S::BarCode},
      {WM_UPDATE_PLTDIVIDE, S::PltDivide},       {WM_UPDATE_OBJIMAGESIZE, S::ObjImageSize},
      {WM_UPDATE_OBJRULERBAR, S::ObjRulerBar},   {WM_UPDATE_DOTMATRIX, S::DotMatrix},
  };
  auto it = bySlot.find(changeMessage);
  if (it == bySlot.end()) return false;
  slot = it->second;
  return true;
}
