// Turning the points a drawing tool collected into a named object: one
// creator per tool, each taking an undo snapshot before the object exists.
#include <cmath>
#include <string>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/objects/CObjPolyLine.h"
#include "properties/list/DefaultNames.h"
#include "app/core/NameTables.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"

namespace {

constexpr char kNewText[] = "TEXT";
constexpr char kNewVin[] = "LM13KTNM720923456";
constexpr int kNewDateFormat = 10;
constexpr int kLocalZoomTool = 19;

template <class T>
CObjCreateRecord Record(int type, T* object) {
  return CObjCreateRecord{"", type, object, static_cast<int>(sizeof(T)), {}};
}

// A new text has no strokes until it is laid out: its fixed corner goes to
// the click, as a new code's does, so it shows there at once and every later
// change holds it there.
void LayOutNewText(CObjElement& element, const CDoublePoint& at) {
  if (auto* ruler = element.GetObjectAs<CObjTextRuler>()) {
    ruler->GetPathData().SetOwner(&element);
    ruler->CreatePoints(at, true);
    return;
  }
  if (element.type != OBJ_TEXT && element.type != OBJ_SERIAL && element.type != OBJ_DATE && element.type != OBJ_VIN)
    return;
  if (auto* text = element.GetObjectAs<CObjText>()) {
    text->GetPathData().SetOwner(&element);
    text->CreatePoints(at, true);
  }
}

}  // namespace

std::string CVendrikViewModel::MakeDefaultName(int type) const {
  const char* prefix = DefaultNamePrefix(type);
  if (prefix == nullptr) return {};
  if (IsWholeDefaultName(type)) return prefix;
  // The object list holds the names of the document's elements.
  DefaultNameIndex names;
  if (m_pDocument != nullptr) {
    for (const CObjElement* element : m_pDocument->Objects())
      if (element != nullptr) names.Add(element->name);
  }
  return names.NextName(prefix);
}

void CVendrikViewModel::MarkModified(int flag) {
  if (m_pDocument == nullptr) return;
  m_pDocument->SetSavedState(m_pDocument->Objects().GetSize() < 2 ? 0 : flag);
}

void CVendrikViewModel::EndConstruction() {
  m_pointList.RemoveAll();
  m_toolCode = 0;
  m_dragState = 0;
  m_dragShown = false;
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

CObjElement* CVendrikViewModel::CreateToolObject(int toolCode) {
  CPointList& pts = m_pointList;
  const int n = pts.GetSize();
  auto needs = [n](int count) { return n >= count; };
  CObjCreateRecord record;
  switch (toolCode) {
    case 1:
      if (!needs(1)) return nullptr;
      PushHistory();
      record = Record(OBJ_DOTIMAGE, new CObjDotCollect(pts));
      break;
    case 2:
      if (n != 2) return nullptr;
      PushHistory();
      record = Record(OBJ_LINE, new CObjLine(pts[0], pts[1]));
      break;
    case 3: {
      if (!needs(2)) return nullptr;
      PushHistory();
      MultiBorderDialogRecord shape;
      shape.centre = CDoublePoint(pts[0].x, pts[0].y, 0);
      shape.radius = PointDistance(pts[0], pts[1]);
      shape.startAngle = 60.0;
      shape.sides = 6;
      auto* polygon = new CObjMultiBorder(shape);
      polygon->BuildPath();
      record = Record(OBJ_MULTIBORDER, polygon);
      break;
    }
    case 4: {
      if (!needs(2)) return nullptr;
      PushHistory();
      const double left = std::min(pts[0].x, pts[1].x);
      const double right = std::max(pts[0].x, pts[1].x);
      const double top = std::max(pts[0].y, pts[1].y);
      const double bottom = std::min(pts[0].y, pts[1].y);
      CPointList corners;
      corners.Add(CDoublePoint(left, top, 0));
      corners.Add(CDoublePoint(right, top, PT_JOINED));
      corners.Add(CDoublePoint(right, bottom, PT_JOINED));
      corners.Add(CDoublePoint(left, bottom, PT_JOINED));
      record = Record(OBJ_RECTANGLE, new CObjPolyLine(corners, 1, 0));
      break;
    }
    case 5: {
      if (!needs(2)) return nullptr;
      PushHistory();
      CPointList vertices(pts);
      record = Record(OBJ_POLYLINE, new CObjPolyLine(vertices, 0, 0));
      break;
    }
    case 6: {
      if (!needs(2)) return nullptr;
      PushHistory();
      ArcDialogRecord shape;
      shape.centre = CDoublePoint(pts[0].x, pts[0].y, 0);
      shape.xRadius = std::fabs(pts[0].x - pts[1].x);
      shape.yRadius = std::fabs(pts[0].y - pts[1].y);
      auto* arc = new CObjArc(shape);
      arc->BuildPath();
      record = Record(OBJ_ARC, arc);
      break;
    }
    case 7:
      if (!needs(1)) return nullptr;
      PushHistory();
      record = Record(OBJ_TEXT, new CObjText(TextCreateRecord{CDoublePoint(pts[0].x, pts[0].y, 0), kNewText}));
      break;
    case 8:
      if (!needs(1)) return nullptr;
      PushHistory();
      record = Record(OBJ_SERIAL, new CObjTextAutoUpdate(CDoublePoint(pts[0].x, pts[0].y, 0), "ABC", "123", "DEF"));
      break;
    case 9:
      if (!needs(1)) return nullptr;
      PushHistory();
      record = Record(OBJ_DATE, new CObjTextDate(TextCreateRecord{CDoublePoint(pts[0].x, pts[0].y, 0),
                                                                  DateFormatNames()[kNewDateFormat]},
                                                 kNewDateFormat));
      break;
    case 10: {
      if (!needs(1)) return nullptr;
      PushHistory();
      auto* vin = new CObjTextVin(TextCreateRecord{CDoublePoint(pts[0].x, pts[0].y, 0), kNewVin});
      // Its ninth character is its check character from the start, as after
      // every edit: the first job marks and records a valid number.
      std::string number = vin->GetText();
      if (vin->CheckDigit(number)) vin->Settings().text = number;
      record = Record(OBJ_VIN, vin);
      break;
    }
    case 13:
      if (!needs(1)) return nullptr;
      PushHistory();
      record = Record(OBJ_RULER, new CObjTextRuler(CDoublePoint(pts[0].x, pts[0].y, 0)));
      break;
    case 14: {
      if (!needs(1)) return nullptr;
      PushHistory();
      const CDoublePoint at(pts[0].x, pts[0].y, 0);
      auto* code = new CObjBarCode(at, "ABC", "123", "DEF");
      record = Record(OBJ_BARCODE, code);
      break;
    }
    case 18: {
      if (!needs(2)) return nullptr;
      PushHistory();
      CPointList controls(pts);
      auto* spline = new CObjBSpline(controls);
      spline->RebuildCurve();
      record = Record(OBJ_BSPLINE, spline);
      break;
    }
    case 17:
      return CreateSpecialPicture();
    default:
      // The local zoom makes no object.
      return nullptr;
  }
  record.name = MakeDefaultName(record.type);
  auto* element = new CObjElement(std::move(record));
  const CDoublePoint at(pts[0].x, pts[0].y, 0);
  // A code builds its dots once it has its element (for the fill settings).
  if (auto* code = element->GetObjectAs<CObjBarCode>()) {
    code->Rebuild(at, 1, 1, 0);
  } else {
    LayOutNewText(*element, at);
  }
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  return element;
}

void CVendrikViewModel::CreateObjectForTool(const platform::DcPoint& point, bool noAppend) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  if (!noAppend) {
    CDoublePoint p = PixelToMm(point);
    p.flag = PT_JOINED;
    m_pointList.Add(p);
  }
  if (m_toolCode == kLocalZoomTool) {
    // Its frame makes no object: the view zooms into it.
    if (m_pointList.GetSize() >= 2) {
      CDoubleRect frame;
      frame.SetFromCorners(m_pointList[0].x, m_pointList[0].y, m_pointList[1].x, m_pointList[1].y);
      OnLocalZoom(frame);
    }
  } else if (CObjElement* element = CreateToolObject(m_toolCode)) {
    AddElement(element, 1);
    m_escapeKey = 0;
    MarkModified(1);
  }
  EndConstruction();
}
