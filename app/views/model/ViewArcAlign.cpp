// Laying the selected text or 2-D code along the reference arc and back on a
// straight line. A text on an arc stands on the circle about its position,
// starting at its deflection angle: the arc's record gives the centre and the
// radius, the text's lower-left corner the start angle.
//
// A code is one rigid symbol, and its position is the symbol's corner, not a
// circle's centre; its own text is laid out about the text position. So a
// code takes no arc of its own: it is turned to face the arc's centre and
// stood on the circle, and its text goes along with it, straight.
#include <cmath>
#include <limits>
#include <numbers>

#include "app/core/CommandIds.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjElement.h"
#include "document/path/PathListHelpers.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"

namespace {

// The texts, dates, serial numbers, VINs and 2-D codes; the other kinds
// have no arc.
CObjText* ArcTextOf(CObjElement* element) {
  if (element == nullptr) return nullptr;
  const int type = element->type;
  if (type != OBJ_TEXT && type != OBJ_DATE && type != OBJ_SERIAL && type != OBJ_VIN && type != OBJ_BARCODE)
    return nullptr;
  return element->GetObjectAs<CObjText>();
}

// Builds the code's dots again from its position, keeping its content.
void RebuildCode(CObjBarCode& code) {
  code.Rebuild(code.Settings().position, 0, 0, 1);
  code.RecalcPath();
}

// Moves the code and, with it, its human-readable text.
void MoveCode(CObjBarCode& code, double dx, double dy) {
  code.Offset(dx, dy);
  BarCodeSettings& c = code.Code();
  c.textPosition.x += dx;
  c.textPosition.y += dy;
}

// The middle of the lower edge of dots that stand upright along the unit
// vector (ux, uy); false without dots.
bool LowerEdgeMiddle(const CPointList& dots, double ux, double uy, CDoublePoint& foot) {
  if (dots.GetSize() == 0) return false;
  double lowest = std::numeric_limits<double>::max();
  double leftmost = lowest;
  double rightmost = -lowest;
  for (int i = 0; i < dots.GetSize(); ++i) {
    const double along = dots[i].x * ux + dots[i].y * uy;
    const double across = dots[i].x * uy - dots[i].y * ux;
    lowest = std::min(lowest, along);
    leftmost = std::min(leftmost, across);
    rightmost = std::max(rightmost, across);
  }
  const double middle = (leftmost + rightmost) / 2;
  foot = CDoublePoint(lowest * ux + middle * uy, lowest * uy - middle * ux, 0);
  return true;
}

// Turns the code so that its upward direction points away from the centre
// at `facing` degrees, and moves it out along that direction until the
// middle of its lower edge lies on the circle.
void StandCodeOnArc(CObjBarCode& code, const CDoublePoint& centre, double radius, double facing) {
  code.Code().angle = static_cast<float>(facing - 90);
  RebuildCode(code);
  // Measured along the dots' own turn, so that the code faces the centre.
  const double up = code.Code().angle * DEG_TO_RAD + std::numbers::pi / 2;
  const double ux = std::cos(up);
  const double uy = std::sin(up);
  CDoublePoint foot;
  if (!LowerEdgeMiddle(code.GetPathData().second, ux, uy, foot)) return;
  MoveCode(code, centre.x + radius * ux - foot.x, centre.y + radius * uy - foot.y);
}

// Puts the code upright again about its centre, then moves it so that its
// lower-left corner lies where the turned code's bounds began.
void StraightenCode(CObjBarCode& code) {
  CDoubleRect turned;
  const bool hadDots = code.GetPathData().GetKind2BoundRect(turned);
  code.Code().angle = 0;
  RebuildCode(code);
  CDoubleRect upright;
  if (!hadDots || !code.GetPathData().GetKind2BoundRect(upright)) return;
  MoveCode(code, turned.left - upright.left, turned.bottom - upright.bottom);
}

}  // namespace

void CVendrikViewModel::RegisterArcAlignCommands() {
  AddCommand(cmd::ID_REFER_ARC_ALIGN, [this] { OnReferArcAlign(); }, [this] {
    return m_arcInfo.arcOn != 0 && m_arcInfo.arcBuilt != 0 && !m_selection.empty() && m_selectArcMode == 0;
  });
  AddCommand(cmd::ID_ALIGN_LINE, [this] { OnAlignLine(); }, [this] { return m_selection.size() == 1; });
}

CObjText* CVendrikViewModel::TakeArcText(CObjElement*& element) {
  // One text, and only while the reference arc is on.
  if (m_selection.size() != 1 || m_arcInfo.arcOn == 0) return nullptr;
  element = m_selection.front();
  CObjText* text = ArcTextOf(element);
  if (text == nullptr) return nullptr;
  PushHistory();
  text->GetPathData().SetOwner(element);
  return text;
}

void CVendrikViewModel::LayOutArcText(CObjElement& element, CObjText& text, const CDoublePoint& anchor, bool align) {
  text.SetText(text.GetText(), anchor, align);
  element.RefreshTypeObject();
  FinishTextChange(element);
}

void CVendrikViewModel::OnReferArcAlign() {
  CObjElement* element = nullptr;
  CObjText* text = TakeArcText(element);
  if (text == nullptr) return;
  if (auto* code = dynamic_cast<CObjBarCode*>(text)) {
    const CDoublePoint centre(m_arcInfo.centreX, m_arcInfo.centreY, 0);
    StandCodeOnArc(*code, centre, m_arcInfo.radius, AngleFromArcCentre(element->GetBoundRect(), 1));
    FinishCodeChange(*element);
    return;
  }
  TextSettings& s = text->Settings();
  s.arcRadius = m_arcInfo.radius;
  s.position = CDoublePoint(m_arcInfo.centreX, m_arcInfo.centreY, 0);
  s.deflection = static_cast<float>(AngleFromArcCentre(element->GetBoundRect(), 0));
  LayOutArcText(*element, *text, s.position, false);
}

void CVendrikViewModel::OnAlignLine() {
  CObjElement* element = nullptr;
  CObjText* text = TakeArcText(element);
  if (text == nullptr) return;
  if (auto* code = dynamic_cast<CObjBarCode*>(text)) {
    // Whatever arc its text carried goes too.
    code->Settings().arcRadius = 0;
    code->Settings().deflection = 0;
    StraightenCode(*code);
    FinishCodeChange(*element);
    return;
  }
  const CDoubleRect strokes = text->GetPathData().GetBoundRect();
  TextSettings& s = text->Settings();
  s.arcRadius = 0;
  s.deflection = 0;
  s.position = CDoublePoint(strokes.left, strokes.bottom, 0);
  // The straight text is held at its fixed corner where the arc's text began.
  LayOutArcText(*element, *text, s.position, true);
}
