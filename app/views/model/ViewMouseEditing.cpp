// The mouse and keys on the layout: presses, moves and releases by tool,
// the hover hit test over the selection frame, the live feedback of a drag
// or of an object under construction, the right button and the keys.
// Points are the viewport's pixels.
#include <cmath>
#include <cstdlib>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "values/ShellValues.h"

namespace {

constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F8 = 0x77;
constexpr int ID_START_MARK = 32822;
constexpr UINT kWmMouseMove = 0x0200;

constexpr int kHitInside = 128;
constexpr int kHitNothing = 255;
constexpr int kFeedbackThreshold = 2;  // pixels a drag must exceed before it shows
constexpr int kDragThreshold = 3;      // pixels a release must be away to move
constexpr int kBandThreshold = 6;      // pixels both sides of a rubber band need
constexpr double kHandleHalf = 0.8;    // mm
constexpr double kPi = 3.14159265358979323846;

bool IsHandleOrInside(int hit) { return (hit >= 0 && hit <= 7) || hit == kHitInside; }

bool MakesOnRelease(int tool) { return tool == 1 || (tool >= 7 && tool <= 10) || tool == 13 || tool == 14; }

bool TwoPressTool(int tool) { return tool == 2 || tool == 3 || tool == 4 || tool == 6 || tool == 17 || tool == 19; }

bool IsLayerOn(const int (&layerOn)[4], const CObjElement& element) {
  return element.layer < 0 || element.layer > 3 || layerOn[element.layer] != 0;
}

}  // namespace

platform::DcPoint CVendrikViewModel::MmToPixel(double x, double y) const {
  const platform::DcPoint scroll = m_pWindow != nullptr ? m_pWindow->GetScrollPosition() : platform::DcPoint{};
  return MmToScreen(x, y, {m_centreX - scroll.x, m_centreY - scroll.y});
}

CDoublePoint CVendrikViewModel::PixelToMm(const platform::DcPoint& point) const {
  return ScreenToMm(point.x, point.y, Origin());
}

namespace {

// The single selected B-spline showing its control points, or null.
CObjBSpline* EditedSpline(const std::vector<CObjElement*>& selection) {
  if (selection.size() != 1) return nullptr;
  CObjElement* element = selection.front();
  if (element->type != OBJ_BSPLINE || !element->selected) return nullptr;
  return element->GetObjectAs<CObjBSpline>();
}

}  // namespace

void CVendrikViewModel::OnLButtonDown(const platform::DcPoint& point) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_leftDown = true;
  if (m_shiftKey == 16 || m_needleMode == 1) return;
  if (m_moveView) {
    m_lastPoint = point;
    return;
  }
  auto begin = [this, &point] {
    m_dragStart = point;
    m_lastPoint = point;
    m_pointList.RemoveAll();
    m_pointList.Add(PixelToMm(point));
    m_dragState = 1;
    m_dragShown = false;
  };
  const int tool = m_toolCode;
  if (tool == 0) {
    begin();
    m_selBoundsAtDown = m_selBounds;
    m_dragBounds = m_selBounds;
    CObjBSpline* spline = EditedSpline(m_selection.GetElements());
    const bool onFrame = !m_selection.empty() && (IsHandleOrInside(m_hitCode) || (spline && spline->GetEditIndex() >= 0));
    if (!onFrame) {
      const CDoublePoint at = PixelToMm(point);
      CObjElement* hit = nullptr;
      int index = 0;
      if (!m_pPropView->HitTest(at, hit, index) && m_pDocument != nullptr) {
        // Without a pane the layout's own order stands in for the list's.
        for (int i = 1; i < m_pDocument->Objects().GetSize() && hit == nullptr; ++i) {
          CObjElement* element = m_pDocument->Objects().GetAt(i);
          if (element->type != OBJ_PICTURE && element->PtInBoundRect(at)) {
            hit = element;
            index = i;
          }
        }
      }
      if (hit != nullptr && m_ctrlKey == 17) {
        // The reference arc is no part of the layout: it is never selected
        // together with the layout's objects.
        if (IsReferenceArcSelected()) ClearSelection();
        if (IsLayerOn(m_layerOn, *hit)) AddToSelection(hit);
        m_selection.ShowInPane();
      } else if (hit != nullptr) {
        ClearSelection();
        if (IsLayerOn(m_layerOn, *hit)) {
          AddToSelection(hit);
          m_pPropView->SelectObject(hit, index);
        }
      } else {
        ClearSelection();
        ShowNoObject();
      }
      m_selBoundsAtDown = m_selBounds;
      m_dragBounds = m_selBounds;
      UpdateGridFromSelection();
    }
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
    return;
  }
  if (TwoPressTool(tool)) {
    if (m_dragState == 0) {
      begin();
    } else if (m_dragState == 2) {
      CreateObjectForTool(tool == 2 ? m_snappedPoint : point, false);
    }
  } else if (tool == 5 || tool == 18) {
    if (m_dragState == 0) {
      begin();
    } else if (m_dragState == 2) {
      CDoublePoint p = PixelToMm(point);
      p.flag = PT_JOINED;
      m_pointList.Add(p);
    }
  }
}

platform::DcPoint CVendrikViewModel::AngleSnapped(const platform::DcPoint& point) const {
  const int dx = point.x - m_dragStart.x;
  const int dy = point.y - m_dragStart.y;
  double degrees = 0;
  switch (m_angleKey) {
    case VK_F3: degrees = 30; break;
    case VK_F4: degrees = 45; break;
    case VK_F5: degrees = 60; break;
    case VK_F8:
      if (std::abs(dy) < std::abs(dx)) return {point.x, m_dragStart.y};
      return {m_dragStart.x, point.y};
    default: return point;
  }
  const int rise = static_cast<int>(std::tan(degrees * kPi / 180.0) * std::abs(dx));
  return {point.x, dy < 0 ? m_dragStart.y - rise : m_dragStart.y + rise};
}

int CVendrikViewModel::HoverHitTest(const platform::DcPoint& point) {
  if (CObjBSpline* spline = EditedSpline(m_selection.GetElements())) {
    spline->SetEditIndex(-1);
    const CPointList& controls = spline->GetPathData().points;
    const double half = 4.0 / g_pxPerMmX;
    for (int i = 0; i < controls.GetSize(); ++i) {
      const platform::DcPoint a = MmToPixel(controls[i].x - half, controls[i].y + half);
      const platform::DcPoint b = MmToPixel(controls[i].x + half, controls[i].y - half);
      if (point.x >= a.x && point.x <= b.x && point.y >= a.y && point.y <= b.y) {
        spline->SetEditIndex(i);
        return m_hitCode = kHitInside;
      }
    }
  }
  CDoubleRect frame = m_selBounds;
  frame.InflateRect(2);
  const platform::DcPoint a = MmToPixel(frame.left, frame.top);
  const platform::DcPoint b = MmToPixel(frame.right, frame.bottom);
  if (point.x >= a.x && point.x <= b.x && point.y >= a.y && point.y <= b.y) return m_hitCode = kHitInside;
  for (int i = 0; i < 8; ++i) {
    const CDoublePoint c = frame.GetHandlePoint(i);
    m_handleRects[i] = CDoubleRect(c.x - kHandleHalf, c.y + kHandleHalf, c.x + kHandleHalf, c.y - kHandleHalf);
    const platform::DcPoint p = MmToPixel(m_handleRects[i].left, m_handleRects[i].top);
    const platform::DcPoint q = MmToPixel(m_handleRects[i].right, m_handleRects[i].bottom);
    if (point.x >= p.x && point.x <= q.x && point.y >= p.y && point.y <= q.y) return m_hitCode = i;
  }
  return m_hitCode = kHitNothing;
}

void CVendrikViewModel::OnMouseMove(const platform::DcPoint& point, bool leftDown) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_leftDown = leftDown;
  if (m_shiftKey == 16 || m_needleMode == 1) return;
  if (m_moveView) {
    if (leftDown && m_pWindow != nullptr) {
      const platform::DcPoint scroll = m_pWindow->GetScrollPosition();
      m_pWindow->ScrollToPosition(std::max(0, m_lastPoint.x + scroll.x - point.x),
                                  std::max(0, m_lastPoint.y + scroll.y - point.y));
    }
    m_lastPoint = point;
    return;
  }
  m_lastPoint = point;
  const int tool = m_toolCode;
  bool repaint = false;
  if (tool == 0 && m_selection.empty()) {
    if (m_dragState >= 1) {
      m_hitCode = kHitNothing;
      m_dragState = 2;
      repaint = true;
    }
  } else if (tool == 0) {
    if (leftDown && m_dragState >= 1) {
      const int dx = point.x - m_dragStart.x;
      const int dy = point.y - m_dragStart.y;
      if (std::abs(dx) > kFeedbackThreshold || std::abs(dy) > kFeedbackThreshold) {
        CObjBSpline* spline = EditedSpline(m_selection.GetElements());
        if (!(spline && spline->GetEditIndex() >= 0)) {
          if (!IsHandleOrInside(m_hitCode)) m_hitCode = kHitInside;
          const double scale = m_zoom;
          m_dragBounds = DraggedBounds(m_selBoundsAtDown, m_hitCode, dx / (scale * g_pxPerMmX),
                                       -dy / (scale * g_pxPerMmY));
        }
        m_dragShown = true;
        m_dragState = 2;
        repaint = true;
      }
    } else if (!leftDown) {
      HoverHitTest(point);
    }
  } else if (((tool >= 2 && tool <= 6) || (tool >= 17 && tool <= 19)) && m_dragState >= 1) {
    if (tool == 2) m_snappedPoint = AngleSnapped(point);
    m_dragState = 2;
    repaint = true;
  }
  if (!repaint) return;
  if (m_updateOverlay) {
    m_updateOverlay();
  } else if (m_pWindow != nullptr) {
    m_pWindow->Invalidate();
  }
}

void CVendrikViewModel::OnLButtonUp(const platform::DcPoint& point) {
  EndLeftDrag(point);
  // A drag that stretched or turned a filled shape may have lost its fill.
  TellCutFills();
}

void CVendrikViewModel::EndLeftDrag(const platform::DcPoint& point) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_leftDown = false;
  if (CObjBSpline* spline = EditedSpline(m_selection.GetElements()); spline && spline->GetEditIndex() >= 0 && m_toolCode == 0) {
    const double dx = (point.x - m_dragStart.x) / (m_zoom * g_pxPerMmX);
    const double dy = -(point.y - m_dragStart.y) / (m_zoom * g_pxPerMmY);
    if (m_dragState > 0 && (dx != 0 || dy != 0)) {
      PushHistory();
      spline->MoveEditedPoint(dx, dy);
      m_selection.front()->UpdateBoundRect();
      MarkModified(1);
    }
    spline->SetEditIndex(-1);
    UpdateSelectionBounds();
    EndConstruction();
    return;
  }
  const int tool = m_toolCode;
  if (m_shiftKey == 16 || m_needleMode == 1) {
    if (!IsAtWorkPosition()) return;
    MoveNeedleToClick(point);
    // A text tool still makes its text where it was clicked.
    if (!MakesOnRelease(tool) || tool == 1) return;
    m_needleMode = 0;
  }
  if (tool == 0 && m_dragState > 0) {
    EndConstruction();
    const int dx = std::abs(point.x - m_dragStart.x);
    const int dy = std::abs(point.y - m_dragStart.y);
    if (!m_selection.empty()) {
      if ((dx >= kDragThreshold || dy >= kDragThreshold) && IsHandleOrInside(m_hitCode)) {
        const double scale = m_zoom;
        m_dragBounds = DraggedBounds(m_selBoundsAtDown, m_hitCode, (point.x - m_dragStart.x) / (scale * g_pxPerMmX),
                                     -(point.y - m_dragStart.y) / (scale * g_pxPerMmY));
        const NeedleDragStart start = BeginNeedleDrag();
        ApplyDrag(m_hitCode);
        UpdateSelectionBounds();
        FollowDragWithNeedle(start);
      }
    } else if (dx < kBandThreshold || dy < kBandThreshold) {
      const CDoublePoint at = PixelToMm(point);
      CObjElement* hit = nullptr;
      int index = 0;
      if (!m_pPropView->HitTest(at, hit, index) && m_pDocument != nullptr) {
        for (int i = 1; i < m_pDocument->Objects().GetSize() && hit == nullptr; ++i) {
          CObjElement* element = m_pDocument->Objects().GetAt(i);
          if (element->type != OBJ_PICTURE && element->PtInBoundRect(at)) {
            hit = element;
            index = i;
          }
        }
      }
      ClearSelection();
      if (hit != nullptr && IsLayerOn(m_layerOn, *hit)) {
        AddToSelection(hit);
        m_pPropView->SelectObject(hit, index);
      } else {
        ShowNoObject();
      }
    } else {
      const CDoublePoint a = PixelToMm(m_dragStart);
      const CDoublePoint b = PixelToMm(point);
      CDoubleRect band;
      band.SetFromCorners(a.x, a.y, b.x, b.y);
      SelectInRect(band);
      if (m_selection.empty()) {
        ShowNoObject();
      } else {
        // The list and the pages show what the band took; one object is also
        // reported, as a click on its entry would be.
        m_selection.ShowInPane();
        if (m_selection.size() == 1) m_pPropView->ShowObject(m_selection.front());
      }
    }
    UpdateGridFromSelection();
    m_bMemValid = false;
    if (m_pWindow != nullptr) m_pWindow->Invalidate();
    return;
  }
  if (MakesOnRelease(tool)) {
    m_needleMode = 2;
    m_pointList.RemoveAll();
    CreateObjectForTool(point, false);
  }
}

bool CVendrikViewModel::OnRButtonDown(const platform::DcPoint& point) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_moveView = 0;
  const int tool = m_toolCode;
  if (tool == 0) {
    if (m_pDocument == nullptr || m_pDocument->Objects().GetSize() < 2) return false;
    const auto* record = m_pDocument->Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
    return record == nullptr || record->IsRotateMark() == 0;
  }
  if (tool == 11 || tool == 15 || tool == 16) return false;
  if ((tool == 5 || tool == 18) && m_dragState > 0) {
    CreateObjectForTool(point, true);
  } else {
    EndConstruction();
  }
  return false;
}

void CVendrikViewModel::OnKeyDown(int key) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  switch (key) {
    case VK_RETURN:
      if (m_postCommand) m_postCommand(ID_START_MARK);
      break;
    case VK_SHIFT:
      if (m_pMarkControl != nullptr && m_pMarkControl->atWorkPosition.load() != 0) m_shiftKey = 16;
      break;
    case VK_CONTROL: m_ctrlKey = 17; break;
    case VK_ESCAPE:
      m_escapeKey = 27;
      m_angleKey = 0;
      if (m_pTarget != nullptr) m_pTarget->PostMessage(kWmMouseMove, 0, 0);
      break;
    case VK_DELETE: DeleteSelection(); break;
    case VK_F3:
    case VK_F4:
    case VK_F5:
    case VK_F8: m_angleKey = m_angleKey == key ? 0 : key; break;
    default: break;
  }
}

void CVendrikViewModel::OnKeyUp(int key) {
  if (key == VK_SHIFT) m_shiftKey = 0;
  if (key == VK_CONTROL) m_ctrlKey = 0;
}

void CVendrikViewModel::SetModifierKeys(bool shift, bool ctrl) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_shiftKey = shift && IsAtWorkPosition() ? 16 : 0;
  m_ctrlKey = ctrl ? 17 : 0;
}

int CVendrikViewModel::CursorFor(bool pressed) const {
  if (m_moveView) return 154;
  switch (m_toolCode) {
    case 0:
      if (m_selection.empty()) return 0;
      switch (m_hitCode) {
        case 0: case 4: return 152;
        case 1: case 5: return 151;
        case 2: case 6: return 150;
        case 3: case 7: return 153;
        case kHitInside: return pressed ? 146 : 147;
        default: return 0;
      }
    case 1: return 141;
    case 3: return 149;
    case 7: case 8: case 9: case 10: case 13: case 14: return 144;
    case 19: return 145;
    case 2: case 4: case 5: case 6: case 17: case 18: return 139;
    default: return 0;
  }
}
