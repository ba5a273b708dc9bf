// The selection: adding, clearing, the rubber band, applying a drag of the
// selection frame and deleting the selected objects.
#include <algorithm>
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"

namespace {

bool IsLayerOn(const int (&layerOn)[4], const CObjElement& element) {
  return element.layer < 0 || element.layer > 3 || layerOn[element.layer] != 0;
}

CObjBSpline* SplineOf(CObjElement* element) {
  return element != nullptr && element->type == OBJ_BSPLINE ? element->GetObjectAs<CObjBSpline>() : nullptr;
}

}  // namespace

void CVendrikViewModel::AddToSelection(CObjElement* element) {
  if (element == nullptr || m_pDocument == nullptr || element == m_pDocument->Objects().GetAt(0)) return;
  if (element->selected && std::find(m_selection.begin(), m_selection.end(), element) != m_selection.end()) return;
  element->selected = 1;
  // The bounds grow by this element alone, so selecting n objects stays linear.
  if (m_selection.empty()) {
    m_selBounds = element->boundRect;
  } else {
    m_selBounds.UnionRect(element->boundRect);
  }
  m_selection.push_back(element);
  m_selBoundsAtDown = m_selBounds;
  m_dragBounds = m_selBounds;
}

void CVendrikViewModel::UpdateSelectionBounds() {
  m_selBounds.SetRectEmpty();
  for (std::size_t i = 0; i < m_selection.size(); ++i) {
    if (i == 0) {
      m_selBounds = m_selection[i]->boundRect;
    } else {
      m_selBounds.UnionRect(m_selection[i]->boundRect);
    }
  }
  m_selBoundsAtDown = m_selBounds;
  m_dragBounds = m_selBounds;
}

void CVendrikViewModel::ClearSelectionKeep(bool keepFlags) {
  if (!keepFlags) {
    for (CObjElement* element : m_selection) {
      if (CObjBSpline* spline = SplineOf(element)) spline->SetEditIndex(-1);
    }
    ClearSelection();
  } else {
    m_selection.clear();
    m_selBounds.SetRectEmpty();
  }
  m_selBoundsAtDown = m_selBounds;
  m_dragBounds = m_selBounds;
}

void CVendrikViewModel::SelectInRect(const CDoubleRect& rect) {
  if (m_pDocument == nullptr) return;
  const CObjPtrArray& objects = m_pDocument->Objects();
  for (int i = 1; i < objects.GetSize(); ++i) {
    CObjElement* element = objects.GetAt(i);
    if (element != nullptr && IsLayerOn(m_layerOn, *element) && element->boundRect.IsWithin(rect)) {
      AddToSelection(element);
    }
  }
}

CDoubleRect CVendrikViewModel::DraggedBounds(const CDoubleRect& start, int hitCode, double dx, double dy) {
  CDoubleRect r = start;
  constexpr double kMinGap = 4.8;
  constexpr double kBounce = 0.8;
  const bool left = hitCode == 0 || hitCode == 6 || hitCode == 7;
  const bool right = hitCode == 2 || hitCode == 3 || hitCode == 4;
  const bool top = hitCode == 0 || hitCode == 1 || hitCode == 2;
  const bool bottom = hitCode == 4 || hitCode == 5 || hitCode == 6;
  if (!(left || right || top || bottom)) return r.OffsetRect(dx, dy);
  // An edge dragged onto the opposite one bounces outwards instead, so the
  // frame never collapses.
  if (left) r.left = start.left + dx + kMinGap > start.right ? start.left - std::fabs(dx) - kBounce : start.left + dx;
  if (right) {
    r.right = start.right + dx - kMinGap < start.left ? start.right + std::fabs(dx) + kBounce : start.right + dx;
  }
  if (top) r.top = start.top + dy - kMinGap < start.bottom ? start.top + std::fabs(dy) + kBounce : start.top + dy;
  if (bottom) {
    r.bottom = start.top < start.bottom + dy + kMinGap ? start.bottom - std::fabs(dy) - kBounce : start.bottom + dy;
  }
  return r;
}

void CVendrikViewModel::ApplyDrag(int hitCode) {
  for (const CObjElement* element : m_selection)
    if (element->lock != 0) return;
  const CDoubleRect old = m_selBoundsAtDown;
  CDoubleRect next = m_dragBounds;
  const bool corner = hitCode == 0 || hitCode == 2 || hitCode == 4 || hitCode == 6;
  // A flat or thin selection has no proportion to keep (it would divide by zero).
  if (corner && old.Height() > 1e-9) {
    const double width = next.Height() * old.Width() / old.Height();
    if (hitCode == 2 || hitCode == 4) {
      next.right = old.left + width;
    } else {
      next.left = old.right - width;
    }
  }
  if (!std::isfinite(next.left) || !std::isfinite(next.right) || !std::isfinite(next.top) ||
      !std::isfinite(next.bottom)) {
    return;
  }
  // The reference arc is no part of the layout: moving it alone changes
  // only its record.
  CObjElement* lookArc = m_lookArc.get();
  const bool withArc = lookArc != nullptr && std::find(m_selection.begin(), m_selection.end(), lookArc) != m_selection.end();
  const CDoublePoint arcCentre = withArc ? lookArc->GetBoundRect().CenterPoint() : CDoublePoint{};
  if (next != old) {
    if (!withArc || m_selection.size() > 1) {
      PushHistory();
      MarkModified(1);
    }
    const int count = static_cast<int>(m_selection.size());
    for (CObjElement* element : m_selection) {
      if (hitCode == 128) {
        element->MoveBy(next.left - old.left, next.top - old.top);
      } else {
        element->Resize(next, old, hitCode);
      }
      m_pPropView->RefreshSheet(element, count);
      element->UpdateBoundRect();
    }
    if (withArc) {
      const CDoublePoint moved = lookArc->GetBoundRect().CenterPoint();
      ShiftReferenceArc(moved.x - arcCentre.x, moved.y - arcCentre.y);
    }
  }
  m_selBounds = next;
  m_selBoundsAtDown = next;
  m_dragBounds = next;
}

bool CVendrikViewModel::IsMarkingBusy() { return (MarkStatusWord.load() & MSW_MARKING) != 0; }

void CVendrikViewModel::DeleteSelection() {
  if (m_selection.empty() || m_pDocument == nullptr || IsMarkingBusy()) return;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  for (CObjElement* element : m_selection) {
    if (CObjBSpline* spline = SplineOf(element)) spline->SetEditIndex(-1);
  }
  PushHistory();
  CObjPtrArray& objects = m_pDocument->Objects();
  const std::vector<CObjElement*> doomed = m_selection;
  // Nothing may point at the elements once they are gone.
  m_selection.clear();
  m_selBounds.SetRectEmpty();
  for (CObjElement* element : doomed) {
    for (int i = 1; i < objects.GetSize(); ++i) {
      if (objects.GetAt(i) != element) continue;
      element->SetFlag2(1);
      m_pPropView->RemoveObject(element);
      objects.RemoveAt(i);  // deleted here
      break;
    }
  }
  m_dragState = 0;
  m_dragShown = false;
  m_pointList.RemoveAll();
  m_pPropView->SelectListIndex(0);
  MarkModified(1);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}
