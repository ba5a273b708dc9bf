// The shape pages: lines, polylines, rectangles, multi-borders, arcs, pictures
// and split drawings are edited by their numbers; every change is rebuilt so
// the shape stays where the operator sees it.
#include <algorithm>
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "app/views/model/CutFillNotice.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/CObjLine.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/objects/CObjPolyLine.h"
#include "platform/Prompt.h"
#include "properties/framework/PropChange.h"
#include "properties/list/DefaultNames.h"

namespace {
// Line page.
constexpr int kLineStartX = 1001;
constexpr int kLineEndY = 1004;
// Polyline page.
constexpr int kVertexX = 1014;
constexpr int kVertexY = 1015;
constexpr int kVertexOrder = 1016;
constexpr int kClosed = 1065;
// Rectangle page.
constexpr int kLeft = 1014;
constexpr int kRight = 1015;
constexpr int kTop = 1016;
constexpr int kBottom = 1017;
// Multi-border page.
constexpr int kCentreX = 1014;
constexpr int kCentreY = 1015;
constexpr int kStartAngle = 1016;
constexpr int kRadius = 1017;
constexpr int kSides = 1018;
constexpr int kMaxSides = 360;
// Arc page.
constexpr int kArcX = 1014;
constexpr int kArcY = 1015;
constexpr int kRadiusA = 1016;
constexpr int kArcStart = 1017;
constexpr int kArcEnd = 1018;
constexpr int kRadiusB = 1019;
// Picture page.
constexpr int kTranslatePoints = 1007;
constexpr int kImageX = 1165;
constexpr int kImageY = 1166;
constexpr int kImageWidth = 1167;
constexpr int kImageHeight = 1168;
constexpr int kDotWidth = 1169;
constexpr int kDotHeight = 1170;
// Split drawing page.
constexpr int kSplit = 1167;
constexpr int kDeleteSelected = 1168;

// The list's default name for a type, numbered past the names in use.
std::string NewDefaultName(const CVendrikDoc* document, int type) {
  const char* prefix = DefaultNamePrefix(type);
  if (prefix == nullptr) return {};
  if (IsWholeDefaultName(type)) return prefix;
  DefaultNameIndex names;
  if (document != nullptr)
    for (int i = 0; i < document->Objects().GetSize(); ++i)
      if (const CObjElement* e = document->Objects()[i]) names.Add(e->name);
  return names.NextName(prefix);
}

}  // namespace

// Appends a new element to the layout and the object list and selects it.
static void AppendAndSelect(CVendrikViewModel& view, std::unique_ptr<CObjElement> element) {
  CObjElement* raw = element.get();
  raw->RefreshTypeObject();
  raw->UpdateBoundRect();
  view.AddElement(std::move(element), 1);
}

void CVendrikViewModel::OnUpdateObjLine(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* line = element != nullptr && element->type == OBJ_LINE ? element->GetObjectAs<CObjLine>() : nullptr;
  if (line != nullptr && line->GetPathData().points.GetSize() > 1 && change.id >= kLineStartX &&
      change.id <= kLineEndY) {
    TakeChangeSnapshot();
    const int index = change.id - kLineStartX;  // start x, start y, end x, end y
    CDoublePoint& p = line->GetPathData().points[index / 2];
    (index % 2 == 0 ? p.x : p.y) = PropToDouble(change.value);
    line->RebuildFill();
    element->UpdateBoundRect();
  }
  UpdateSelectionBounds();
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
}

void CVendrikViewModel::OnUpdatePolyline(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* poly = element != nullptr ? element->GetObjectAs<CObjPolyLine>() : nullptr;
  if (poly != nullptr) {
    CPointList& points = poly->GetPathData().points;
    const int count = points.GetSize();
    const int current = poly->GetCurrentVertex();
    // Numbers outside 1..count name no vertex: nothing is written.
    const bool valid = current >= 1 && current <= count;
    switch (change.id) {
      case kVertexX:
      case kVertexY:
        if (valid) {
          TakeChangeSnapshot();
          CDoublePoint& p = points[current - 1];
          (change.id == kVertexX ? p.x : p.y) = PropToDouble(change.value);
          // The closing copy of a closed polyline follows its first vertex.
          if (current == 1 && poly->IsClosed() && count > 1) {
            points[count - 1].x = p.x;
            points[count - 1].y = p.y;
          }
          element->RefreshTypeObject();
        }
        break;
      case kVertexOrder: {
        const int number = PropToInt(change.value);
        if (valid && number >= 1 && number <= count) poly->SetCurrentVertex(number);
        break;
      }
      case kClosed:
        if (valid) {
          TakeChangeSnapshot();
          poly->SetClosed(PropToInt(change.value));
        }
        break;
      default: break;
    }
  }
  FinishObjectChange(element);
}

void CVendrikViewModel::OnUpdateObjRect(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* poly = element != nullptr && element->type == OBJ_RECTANGLE ? element->GetObjectAs<CObjPolyLine>() : nullptr;
  if (poly != nullptr && poly->GetPathData().points.GetSize() >= 5) {
    CPointList& v = poly->GetPathData().points;
    const double value = PropToDouble(change.value);
    switch (change.id) {
      case kLeft:
        TakeChangeSnapshot();
        v[0].x = v[3].x = value;
        break;
      case kRight:
        TakeChangeSnapshot();
        v[1].x = v[2].x = value;
        break;
      case kTop:
        TakeChangeSnapshot();
        v[0].y = v[1].y = value;
        break;
      case kBottom:
        TakeChangeSnapshot();
        v[2].y = v[3].y = value;
        break;
      default: break;
    }
    v[4].x = v[0].x;
    v[4].y = v[0].y;
    element->RefreshTypeObject();
  }
  FinishObjectChange(element);
}

void CVendrikViewModel::OnUpdateMBorder(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* border = element != nullptr ? element->GetObjectAs<CObjMultiBorder>() : nullptr;
  if (border != nullptr) {
    const double value = PropToDouble(change.value);
    switch (change.id) {
      case kCentreX:
        TakeChangeSnapshot();
        border->SetCentre(CDoublePoint(value, border->GetCentre().y));
        break;
      case kCentreY:
        TakeChangeSnapshot();
        border->SetCentre(CDoublePoint(border->GetCentre().x, value));
        break;
      case kStartAngle:
        TakeChangeSnapshot();
        border->SetStartAngle(value);
        break;
      case kRadius:
        TakeChangeSnapshot();
        border->SetRadius(value);
        break;
      case kSides: {
        TakeChangeSnapshot();
        const int sides = std::clamp(PropToInt(change.value), CObjMultiBorder::kMinSides, kMaxSides);
        border->SetSides(sides);
        border->SetStartAngle(sides % 2 == 0 ? 360.0 / sides : 90.0);
        break;
      }
      default: break;
    }
    border->BuildPath();
    element->RefreshTypeObject();
  }
  FinishObjectChange(element);
}

void CVendrikViewModel::OnUpdateObjArc(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* arc = element != nullptr ? element->GetObjectAs<CObjArc>() : nullptr;
  if (arc != nullptr) {
    const double value = PropToDouble(change.value);
    switch (change.id) {
      case kArcX:
        TakeChangeSnapshot();
        arc->SetCentre(CDoublePoint(value, arc->GetCentre().y));
        break;
      case kArcY:
        TakeChangeSnapshot();
        arc->SetCentre(CDoublePoint(arc->GetCentre().x, value));
        break;
      case kRadiusA:
        TakeChangeSnapshot();
        arc->SetRadii(value, arc->GetYRadius());
        break;
      case kRadiusB:
        TakeChangeSnapshot();
        arc->SetRadii(arc->GetXRadius(), value);
        break;
      case kArcStart:
        TakeChangeSnapshot();
        arc->SetAngles(PropToFloat(change.value), arc->GetEndAngle());
        break;
      case kArcEnd:
        TakeChangeSnapshot();
        arc->SetAngles(arc->GetStartAngle(), PropToFloat(change.value));
        break;
      default: break;
    }
    // Radii too small to draw are set to the arc's own fallback here.
    arc->BuildPath();
    element->RefreshTypeObject();
  }
  FinishObjectChange(element);
}

bool CVendrikViewModel::ConvertImageToDots(CObjElement* element) {
  auto* image = element != nullptr ? element->GetObjectAs<CObjImage>() : nullptr;
  if (image == nullptr) return false;
  CPointList dots;
  if (!image->ConvertToDots(dots)) {
    platform::MessageBox(TooManyDotsNotice(*element));
    return false;
  }
  if (dots.GetSize() == 0) return false;
  TakeChangeSnapshot();
  auto* collect = new CObjDotCollect(dots);
  auto created = std::make_unique<CObjElement>(CObjCreateRecord{NewDefaultName(m_pDocument, OBJ_DOTIMAGE), OBJ_DOTIMAGE,
                                                                collect, static_cast<int>(sizeof(CObjDotCollect)),
                                                                collect->GetBoundRect()});
  AppendAndSelect(*this, std::move(created));
  return true;
}

void CVendrikViewModel::OnUpdateObjImageSize(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* image = element != nullptr ? element->GetObjectAs<CObjImage>() : nullptr;
  if (image != nullptr) {
    const double value = PropToDouble(change.value);
    const float size = PropToFloat(change.value);
    switch (change.id) {
      case kTranslatePoints: ConvertImageToDots(element); break;
      case kImageX:
      case kImageY: {
        TakeChangeSnapshot();
        CDoublePoint p = image->GetPosition();
        (change.id == kImageX ? p.x : p.y) = value;
        image->SetPosition(p);
        element->UpdateBoundRect();
        break;
      }
      case kImageWidth:
      case kImageHeight:
        // The picture keeps its size when the new one is not positive.
        TakeChangeSnapshot();
        if (change.id == kImageWidth) {
          image->SetWidthMM(value);
        } else {
          image->SetHeightMM(value);
        }
        element->UpdateBoundRect();
        break;
      case kDotWidth:
      case kDotHeight:
        // A dot of no size would put every dot on one spot.
        if (size > 0 && std::isfinite(size)) {
          TakeChangeSnapshot();
          if (change.id == kDotWidth) {
            image->SetDotWidth(size);
          } else {
            image->SetDotHeight(size);
          }
        }
        break;
      default: break;
    }
  }
  UpdateSelectionBounds();
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
}

void CVendrikViewModel::OnUpdatePltDivide(const PROPCHANGE& change) {
  CObjElement* element = change.object;
  auto* poly = element != nullptr && (element->type == OBJ_HPGL || element->type == OBJ_DXF)
                   ? element->GetObjectAs<CObjPolyLine>()
                   : nullptr;
  bool changed = false;
  if (poly != nullptr && change.id == kSplit && poly->HasSplitSelected()) {
    changed = true;
    TakeChangeSnapshot();
    CPointList strokes;
    poly->ExtractSplitStrokes(strokes);
    auto* split = new CObjPolyLine(strokes, 0, poly->IsImported());
    CDoubleRect bounds = split->GetPathData().GetBoundRect();
    auto created = std::make_unique<CObjElement>(CObjCreateRecord{
        NewDefaultName(m_pDocument, element->type), element->type, split, static_cast<int>(sizeof(CObjPolyLine)), bounds});
    // The new part opens on the page its source was shown with.
    created->activePage = element->activePage;
    element->RefreshTypeObject();
    element->UpdateBoundRect();
    AppendAndSelect(*this, std::move(created));
  } else if (poly != nullptr && change.id == kDeleteSelected && poly->HasSplitSelected()) {
    changed = true;
    TakeChangeSnapshot();
    poly->DeleteSplitStrokes();
    element->RefreshTypeObject();
    m_pPropView->RefreshSheet(element, static_cast<int>(m_selection.size()));
    element->UpdateBoundRect();
  }
  if (!changed) return;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  MarkModified(1);
}
