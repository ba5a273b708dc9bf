// The view's selection handlers: adding, clearing, the rubber band, the
// object list's selection taken over, and applying a drag of the selection
// frame. The state itself lives in m_selection (CViewSelection).
#include <algorithm>
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "properties/framework/PropChange.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"

namespace {

bool IsLayerOn(const int (&layerOn)[4], const CObjElement& element) {
  return element.layer < 0 || element.layer > 3 || layerOn[element.layer] != 0;
}

}  // namespace

void CVendrikViewModel::AddToSelection(CObjElement* element) { m_selection.Add(element); }

void CVendrikViewModel::UpdateSelectionBounds() { m_selection.UpdateBounds(); }

void CVendrikViewModel::ClearSelection(bool keepFlags) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_selection.Clear(keepFlags);
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

void CVendrikViewModel::SelectElements(const std::vector<CObjElement*>& elements) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    m_selection.Set(elements);
  }
  m_selection.ShowInPane();
}

void CVendrikViewModel::UpdateGridFromSelection() {
  m_dotPitchX = g_distanceHor;
  m_dotPitchY = g_distanceVer;
  for (CObjElement* element : m_selection) {
    if (auto* dots = element->GetObjectAs<CObjDotCollect>()) {
      m_dotPitchX = static_cast<float>(dots->GetCellWidth());
      m_dotPitchY = static_cast<float>(dots->GetCellHeight());
      return;
    }
  }
}

void CVendrikViewModel::OnListSelected(const PROPCHANGE& change) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    m_selection.TakeListSelection(change.object);
  }
  UpdateGridFromSelection();
  // The needle goes to the selected object when it follows the selection.
  MoveNeedleToSelection(0, 0);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::ShowNoObject() { m_pPropView->SelectListIndex(0); }

void CVendrikViewModel::RefreshListItem(CObjElement* element) { m_pPropView->RefreshObject(element); }

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
  const bool withArc = lookArc != nullptr && m_selection.Contains(lookArc);
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
      // The pages never show the reference arc.
      if (element != lookArc) m_pPropView->RefreshSheet(element, count);
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

bool CVendrikViewModel::HasLayoutSelection() const { return !m_selection.empty() && !IsReferenceArcSelected(); }

bool CVendrikViewModel::IsMarkingBusy() { return (MarkStatusWord.load() & MSW_MARKING) != 0; }
