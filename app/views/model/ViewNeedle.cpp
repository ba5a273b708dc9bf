// Bringing the marking needle to places of the layout while the head stands
// at its work position, and the reference arc taught from two needle
// positions and a radius.
#include <cmath>

#include "app/core/MachineSetFile.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/CSegment2D.h"
#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/NumberText.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_MOUSE_POSITION = 32881;
constexpr int ID_NEEDLE_DRAG = 32882;
constexpr int ID_SELECTED_TRACKING = 32886;
constexpr int ID_LOCK_ARC_POINT1 = 32733;
constexpr int ID_LOCK_ARC_POINT2 = 32734;
constexpr int ID_TWO_POINT_ARC = 32887;
constexpr int ID_SELECT_REFER_ARC = 32889;

constexpr char kOnOneLine[] = "Two point can't on the horizon or vertical!";
constexpr char kRadiusTooSmall[] =
    "The radius must be greater than the min radius %.3f (half the distance of the two points)!";
constexpr char kOutOfArea[] = "The point out of the work area!";
constexpr char kNeedleOutOfArea[] = "Needle out of work area";
constexpr int kHitInside = 128;
constexpr char kLookArcName[] = "LookArc";

bool IsTextKind(int type) {
  return type == OBJ_TEXT || type == OBJ_DATE || type == OBJ_SERIAL || type == OBJ_VIN || type == OBJ_BARCODE ||
         type == OBJ_RULER;
}

// Within 1 degree of the angle, whole turns aside.
bool NearAngle(double degrees, double target) {
  double d = std::fmod(degrees - target, 360.0);
  if (d < 0) d += 360.0;
  return d <= 1.0 || d >= 359.0;
}

}  // namespace

bool CVendrikViewModel::IsAtWorkPosition() const {
  return m_pMarkControl != nullptr && m_pMarkControl->atWorkPosition.load() != 0;
}

void CVendrikViewModel::RegisterNeedleCommands() {
  // Whatever clears the selection ends the reference arc's selection mode.
  m_selection.AddClearedHook([this] { m_selectArcMode = 0; });
  const auto atWork = [this] { return IsAtWorkPosition(); };
  AddCommand(
      ID_MOUSE_POSITION,
      [this] {
        m_needleMode = m_needleMode == 1 ? 0 : 1;
        if (m_needleMode == 1) m_trackMode = 0;
      },
      atWork, [this] { return m_needleMode == 1; });
  AddCommand(
      ID_NEEDLE_DRAG, [this] { m_needleMode = m_needleMode == 2 ? 0 : 2; },
      [this] { return IsAtWorkPosition() && !m_selection.empty(); }, [this] { return m_needleMode == 2; });
  AddCommand(
      ID_SELECTED_TRACKING,
      [this] {
        if (m_trackMode == 3) {
          m_trackMode = 0;
          return;
        }
        m_needleMode = 0;
        m_trackMode = 3;
        if (MoveNeedleToSelection(0, 0) != 0 && m_pWindow != nullptr) m_pWindow->Invalidate();
      },
      atWork,
      [this] {
        if (!IsAtWorkPosition()) m_trackMode = 0;
        return m_trackMode == 3;
      });
  const auto arcPointsEnabled = [this] { return IsAtWorkPosition() && m_arcInfo.arcOn != 0 && m_needleMode == 1; };
  AddCommand(
      ID_LOCK_ARC_POINT1,
      [this] {
        m_arcInfo.point1X = static_cast<float>(m_pMarkControl->workPosition.x);
        m_arcInfo.point1Y = static_cast<float>(m_pMarkControl->workPosition.y);
        m_arcPoint1Locked = 1;
        SaveArcPointedInfo();
        if (m_pWindow != nullptr) m_pWindow->Invalidate();
      },
      arcPointsEnabled, [this] { return m_arcPoint1Locked != 0; });
  AddCommand(
      ID_LOCK_ARC_POINT2,
      [this] {
        m_arcInfo.point2X = static_cast<float>(m_pMarkControl->workPosition.x);
        m_arcInfo.point2Y = static_cast<float>(m_pMarkControl->workPosition.y);
        m_needleMode = 0;
        if (m_pWindow != nullptr) m_pWindow->Invalidate();
        ReferenceArcDialog(1);
        SaveArcPointedInfo();
        m_arcPoint1Locked = 0;
      },
      arcPointsEnabled);
  AddCommand(
      ID_TWO_POINT_ARC,
      [this] {
        m_arcInfo.arcOn = m_arcInfo.arcOn ? 0 : 1;
        if (m_arcInfo.arcOn == 0) {
          if (m_pWindow != nullptr) m_pWindow->Invalidate();
        } else if (m_arcInfo.arcBuilt != 0) {
          ReferenceArcDialog(0);
        }
        SaveArcPointedInfo();
      },
      {}, [this] { return m_arcInfo.arcOn != 0; });
  AddCommand(
      ID_SELECT_REFER_ARC,
      [this] {
        // Clearing the selection ends the mode: switched on, the reference
        // arc alone becomes the selection, to be dragged (the needle following
        // it in needle drag mode) until something else is selected.
        const bool on = m_selectArcMode == 0;
        ClearSelection();
        if (on) {
          m_selectArcMode = 1;
          AddToSelection(m_lookArc.get());
        }
        // Quietly: a list that reported its own choice back would end the
        // mode. The arc has no entry and no pages: no object's pages show, so
        // no page edit reaches the object selected before.
        m_selection.ShowInPane();
        m_bMemValid = false;
        if (m_pWindow != nullptr) m_pWindow->Invalidate();
      },
      [this] { return m_lookArc != nullptr && m_arcInfo.arcOn != 0; }, [this] { return m_selectArcMode != 0; });
  RegisterArcAlignCommands();
}

int CVendrikViewModel::MoveNeedleToSelection(double dx, double dy) {
  if (m_selection.size() != 1 || m_pMarkControl == nullptr) return 0;
  const CObjElement* element = m_selection.front();
  if (m_trackMode != 3 && element != m_lookArc.get()) return 0;
  CDoublePoint target;
  if (dx != 0 || dy != 0) {
    target = CDoublePoint(m_pMarkControl->workPosition.x + dx, m_pMarkControl->workPosition.y + dy, 0);
  } else {
    CDoubleRect r;
    GetSelectionBounds(r);
    target = CDoublePoint(r.left, r.CenterY(), 0);
    if (IsTextKind(element->type)) {
      if (NearAngle(element->rotation, 90)) target = CDoublePoint(r.CenterX(), r.bottom, 0);
      if (NearAngle(element->rotation, 270)) target = CDoublePoint(r.CenterX(), r.top, 0);
    }
  }
  if (!(std::fabs(target.x) <= g_machineSet.rangeX / 2 - 0.5) || !(std::fabs(target.y) <= g_machineSet.rangeY / 2 - 0.5)) {
    platform::MessageBox(kOutOfArea);
    return 0;
  }
  return m_pMarkControl->MoveToPosition(MarkDocument(), m_pMarkDisplay, this, target);
}

bool CVendrikViewModel::ArcCentre(const CDoublePoint& p1, const CDoublePoint& p2, double radius, CDoublePoint& centre) {
  const double dx = p2.x - p1.x;
  const double dy = p2.y - p1.y;
  if (!(std::fabs(dx) > 0.001) || !(std::fabs(dy) > 0.001)) return false;
  const double d2 = dx * dx + dy * dy;
  const double h2 = radius * radius - d2 / 4;
  // A radius below half the chord has no centre: refuse it rather than give NaN.
  if (!(h2 >= 0) || !std::isfinite(h2)) return false;
  const double mx = (p1.x + p2.x) / 2;
  const double my = (p1.y + p2.y) / 2;
  const double e1 = dx * dx / (dy * dy) + 1;
  const double e2 = dy * dy / (dx * dx) + 1;
  const double ox = std::sqrt(h2 / e1);
  const double oy = std::sqrt(h2 / e2);
  centre.x = p1.x < p2.x ? mx + ox : mx - ox;
  centre.y = p1.y < p2.y ? my - oy : my + oy;
  return true;
}

bool CVendrikViewModel::BuildReferenceArc(int noRepaint, int useStoredCentre) {
  CDoublePoint centre(m_arcInfo.centreX, m_arcInfo.centreY, 0);
  if (!useStoredCentre) {
    const CDoublePoint p1(m_arcInfo.point1X, m_arcInfo.point1Y, 0);
    const CDoublePoint p2(m_arcInfo.point2X, m_arcInfo.point2Y, 0);
    if (!ArcCentre(p1, p2, m_arcInfo.radius, centre)) {
      platform::MessageBox(kOnOneLine);
      return false;
    }
    m_arcInfo.centreX = static_cast<float>(centre.x);
    m_arcInfo.centreY = static_cast<float>(centre.y);
  }
  ArcDialogRecord record;
  record.pointed = 1;
  record.centre = centre;
  record.xRadius = m_arcInfo.radius;
  record.yRadius = m_arcInfo.radius;
  // The arc is rebuilt in its element: the selection may hold the element.
  auto* arc = m_lookArc ? m_lookArc->GetObjectAs<CObjArc>() : nullptr;
  if (arc == nullptr) {
    arc = new CObjArc(record);
    m_lookArc = std::make_unique<CObjElement>(
        CObjCreateRecord{kLookArcName, OBJ_ARC, arc, static_cast<int>(sizeof(CObjArc)), {}});
  } else {
    arc->Copy(CObjArc(record));
  }
  arc->BuildPath();
  // The strokes the view paints are made from the path.
  m_lookArc->RefreshTypeObject();
  m_lookArc->UpdateBoundRect();
  m_arcInfo.arcBuilt = 1;
  if (!noRepaint && m_pWindow != nullptr) m_pWindow->Invalidate();
  return true;
}

void CVendrikViewModel::ReferenceArcDialog(int forceRadius) {
  const CDoublePoint p1(m_arcInfo.point1X, m_arcInfo.point1Y, 0);
  const CDoublePoint p2(m_arcInfo.point2X, m_arcInfo.point2Y, 0);
  const double half = std::hypot(p2.x - p1.x, p2.y - p1.y) / 2;
  if (forceRadius || !(m_arcInfo.radius > half)) m_arcInfo.radius = static_cast<float>(half + 0.2);
  CDoublePoint centre;
  if (!ArcCentre(p1, p2, m_arcInfo.radius, centre)) {
    platform::MessageBox(kOnOneLine);
    return;
  }
  ReferenceArcValues values;
  values.point1X = m_arcInfo.point1X;
  values.point1Y = m_arcInfo.point1Y;
  values.point2X = m_arcInfo.point2X;
  values.point2Y = m_arcInfo.point2Y;
  values.radius = m_arcInfo.radius;
  values.minRadius = static_cast<float>(half);
  values.centreX = static_cast<float>(centre.x);
  values.centreY = static_cast<float>(centre.y);
  // The values are checked before any is taken: a refused arc would leave
  // the record describing an arc other than the one drawn. The operator is
  // told what is wrong and asked again with what was typed.
  for (;;) {
    if (m_pDialogs == nullptr || !m_pDialogs->AskReferenceArc(values)) {
      m_arcInfo.arcOn = 0;
      return;
    }
    const CDoublePoint q1(values.point1X, values.point1Y, 0);
    const CDoublePoint q2(values.point2X, values.point2Y, 0);
    const double typedHalf = std::hypot(q2.x - q1.x, q2.y - q1.y) / 2;
    values.minRadius = static_cast<float>(typedHalf);
    if (ArcCentre(q1, q2, values.radius, centre) && values.radius > typedHalf) break;
    if (!(std::fabs(q2.x - q1.x) > 0.001) || !(std::fabs(q2.y - q1.y) > 0.001)) {
      platform::MessageBox(kOnOneLine);
    } else {
      platform::MessageBox(platform::FormatC(kRadiusTooSmall, typedHalf));
    }
  }
  m_arcInfo.point1X = values.point1X;
  m_arcInfo.point1Y = values.point1Y;
  m_arcInfo.point2X = values.point2X;
  m_arcInfo.point2Y = values.point2Y;
  m_arcInfo.radius = values.radius;
  m_arcInfo.centreX = static_cast<float>(centre.x);
  m_arcInfo.centreY = static_cast<float>(centre.y);
  BuildReferenceArc(0, 0);
}

void CVendrikViewModel::SaveArcPointedInfo() {
  if (!::SaveArcPointedInfo(g_installDir, m_arcInfo)) platform::MessageBox(kSaveParameterError);
}

double CVendrikViewModel::AngleFromArcCentre(const CDoubleRect& rect, int mode) const {
  const CDoublePoint centre(m_arcInfo.centreX, m_arcInfo.centreY, 0);
  const CDoublePoint zero(centre.x + m_arcInfo.radius, centre.y, 0);
  CDoublePoint at = rect.CenterPoint();
  if (mode == 0) at = CDoublePoint(rect.left, rect.bottom, 0);
  if (mode == 1) at = CDoublePoint(rect.CenterX(), rect.bottom, 0);
  const double angle = CSegment2D(centre, zero).AngleDeg(CSegment2D(centre, at));
  // The angle between the segments has no sign: a point below the centre
  // would be taken for its mirror image above it.
  return at.y < centre.y ? 360.0 - angle : angle;
}

bool CVendrikViewModel::IsReferenceArcSelected() const {
  return m_lookArc != nullptr && m_selection.size() == 1 && m_selection.front() == m_lookArc.get();
}

void CVendrikViewModel::ShiftReferenceArc(double dx, double dy) {
  m_arcInfo.point1X += static_cast<float>(dx);
  m_arcInfo.point1Y += static_cast<float>(dy);
  m_arcInfo.point2X += static_cast<float>(dx);
  m_arcInfo.point2Y += static_cast<float>(dy);
  m_arcInfo.centreX += static_cast<float>(dx);
  m_arcInfo.centreY += static_cast<float>(dy);
  BuildReferenceArc(1, 1);
  SaveArcPointedInfo();
}

bool CVendrikViewModel::MoveNeedleToClick(const platform::DcPoint& point) {
  if (m_pMarkControl == nullptr) return false;
  // The needle's tip lies a little right of and below the pointer's.
  const CDoublePoint at = PixelToMm(point);
  double x = at.x + 0.1;
  double y = at.y - 0.1;
  RoundDouble3(x);
  RoundDouble3(y);
  if (std::fabs(x) > g_machineSet.rangeX / 2 - 0.5 || std::fabs(y) > g_machineSet.rangeY / 2 - 0.5) {
    platform::MessageBox(kOutOfArea);
    return false;
  }
  if (m_pMarkControl->MoveToPosition(MarkDocument(), m_pMarkDisplay, this, CDoublePoint(x, y, 0)) == 0) return false;
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  return true;
}

CVendrikViewModel::NeedleDragStart CVendrikViewModel::BeginNeedleDrag() const {
  NeedleDragStart start;
  start.arc = m_arcInfo;
  start.bounds = m_selBoundsAtDown;
  if (IsAtWorkPosition() && m_hitCode == kHitInside) {
    const CDoublePoint needle = m_pMarkControl->workPosition;
    start.needleInside = m_selBoundsAtDown.PtInRectTol(needle.x, needle.y);
  }
  return start;
}

void CVendrikViewModel::FollowDragWithNeedle(const NeedleDragStart& start) {
  const bool referenceArc = IsReferenceArcSelected();
  if (!(start.needleInside || referenceArc) || !IsAtWorkPosition() || m_needleMode != 2 || m_hitCode != kHitInside) {
    return;
  }
  // The needle keeps its place on what it stood on.
  const double dx = referenceArc ? m_arcInfo.point1X - start.arc.point1X : m_selBounds.CenterX() - start.bounds.CenterX();
  const double dy = referenceArc ? m_arcInfo.point1Y - start.arc.point1Y : m_selBounds.CenterY() - start.bounds.CenterY();
  const CDoublePoint needle = m_pMarkControl->workPosition;
  const CDoublePoint target(needle.x + dx, needle.y + dy, 0);
  if (!(std::fabs(target.x) < g_machineSet.rangeX / 2) || !(std::fabs(target.y) < g_machineSet.rangeY / 2)) {
    if (referenceArc) {
      // The arc goes back to where the needle can follow it.
      m_arcInfo = start.arc;
      BuildReferenceArc(1, 1);
      SaveArcPointedInfo();
      UpdateSelectionBounds();
    }
    platform::MessageBox(kNeedleOutOfArea);
    return;
  }
  m_pMarkControl->MoveToPosition(MarkDocument(), m_pMarkDisplay, this, target);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}
