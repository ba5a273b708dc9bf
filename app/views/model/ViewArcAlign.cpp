// Laying the selected text along the reference arc and back on a straight
// line. A text on an arc stands on the circle about its position, starting
// at its deflection angle: the arc's record gives the centre and the radius,
// the text's lower-left corner the start angle.
#include "app/core/CommandIds.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjElement.h"
#include "text/objects/CObjText.h"

namespace {

// The texts, dates, serial numbers and VINs; the other kinds have no arc.
CObjText* ArcTextOf(CObjElement* element) {
  if (element == nullptr) return nullptr;
  const int type = element->type;
  if (type != OBJ_TEXT && type != OBJ_DATE && type != OBJ_SERIAL && type != OBJ_VIN) return nullptr;
  return element->GetObjectAs<CObjText>();
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
  const CDoubleRect strokes = text->GetPathData().GetBoundRect();
  TextSettings& s = text->Settings();
  s.arcRadius = 0;
  s.deflection = 0;
  s.position = CDoublePoint(strokes.left, strokes.bottom, 0);
  // The straight text is held at its fixed corner where the arc's text began.
  LayOutArcText(*element, *text, s.position, true);
}
