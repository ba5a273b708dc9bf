// Zoom, scrolling, keyboard nudging and object locks.
#include <algorithm>
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "marking/link/ILinkHost.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_ORING_VIEW = 32868;
constexpr int ID_ZOOM_IN = 32869;
constexpr int ID_ZOOM_OUT = 32870;
constexpr int ID_WINDOW_VIEW = 32871;
constexpr int ID_LOCAL_ZOOM = 32783;
constexpr int ID_MOVE_VIEW = 32812;
constexpr int ID_LOCK = 32902;
constexpr int ID_UNLOCK = 32903;
constexpr int ID_REMOVE_LOCK = 32906;
constexpr int ID_LOCK_ALL = 32907;

constexpr int kLocalZoomToolCode = 19;
constexpr float kMaxZoom = 24.0f;
constexpr float kLowestMenuZoom = 0.5f;
constexpr float kWindowViewMinZoom = 0.25f;
constexpr double kWindowMarginMm = 20.0;

int Trunc(double v) { return std::isfinite(v) ? static_cast<int>(std::clamp(v, -1.0e9, 1.0e9)) : 0; }

}  // namespace

void CVendrikViewModel::RegisterZoomCommands() {
  AddCommand(ID_ORING_VIEW, [this] { OnOringView(); }, [this] { return m_zoom != 1.0f; });
  AddCommand(ID_ZOOM_IN, [this] { OnZoomIn(); }, [this] { return m_zoom < kMaxZoom; });
  AddCommand(ID_ZOOM_OUT, [this] { OnZoomOut(); }, [this] { return m_zoom >= 1.0f; });
  AddCommand(ID_WINDOW_VIEW, [this] { OnWindowView(); });
  AddCommand(
      ID_LOCAL_ZOOM,
      [this] {
        EndPendingConstruction();
        m_toolCode = kLocalZoomToolCode;
        m_moveView = 0;
        ClearSelection();
        ShowNoObject();
      },
      {}, [this] { return m_toolCode == kLocalZoomToolCode; });
  AddCommand(ID_MOVE_VIEW, [this] { m_moveView = m_moveView ? 0 : 1; }, {}, [this] { return m_moveView != 0; });
  const auto anySelected = [this](int locked) {
    // The reference arc is never locked: a lock would stop its drags.
    return HasLayoutSelection() &&
           std::any_of(m_selection.begin(), m_selection.end(),
                       [locked](const CObjElement* e) { return (e->lock != 0) == (locked != 0); });
  };
  const auto anyInDocument = [this](int locked) {
    if (m_pDocument == nullptr || DrawingObjectCount() < 2) return false;
    const CObjPtrArray& objects = m_pDocument->Objects();
    for (int i = 1; i < objects.GetSize(); ++i) {
      if ((objects.GetAt(i)->lock != 0) == (locked != 0)) return true;
    }
    return false;
  };
  AddCommand(ID_LOCK, [this] { SetLocks(true, 1); }, [anySelected] { return anySelected(0); });
  AddCommand(ID_UNLOCK, [this] { SetLocks(true, 0); }, [anySelected] { return anySelected(1); });
  AddCommand(ID_REMOVE_LOCK, [this] { SetLocks(false, 0); }, [anyInDocument] { return anyInDocument(1); });
  AddCommand(ID_LOCK_ALL, [this] { SetLocks(false, 1); }, [anyInDocument] { return anyInDocument(0); });
}

platform::DcPoint CVendrikViewModel::RulerOffsets() const {
  if (m_pWindow == nullptr) return {};
  const platform::DcPoint scroll = m_pWindow->GetScrollPosition();
  return {scroll.x + m_pWindow->ClientWidth() / 2 - m_centreX, scroll.y + m_pWindow->ClientHeight() / 2 - m_centreY};
}

void CVendrikViewModel::SetZoomExtents() {
  const int clientW = m_pWindow != nullptr ? m_pWindow->ClientWidth() : 0;
  const int clientH = m_pWindow != nullptr ? m_pWindow->ClientHeight() : 0;
  m_scrollWidth = ScrollExtent(g_machineSet.rangeX, g_pxPerMmX, m_zoom, clientW);
  m_scrollHeight = ScrollExtent(g_machineSet.rangeY, g_pxPerMmY, m_zoom, clientH);
  m_centreX = m_scrollWidth / 2;
  m_centreY = m_scrollHeight / 2;
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->SetScrollSizes(m_scrollWidth, m_scrollHeight);
  if (m_pChildFrame != nullptr) {
    m_pChildFrame->SetRulerOrigin(m_centreX, m_centreY);
    m_pChildFrame->InvalidateRulers(m_zoom);
  }
}

void CVendrikViewModel::CentreView() {
  if (m_pWindow == nullptr) return;
  m_pWindow->ScrollToPosition((m_scrollWidth - m_pWindow->ClientWidth()) / 2,
                              (m_scrollHeight - m_pWindow->ClientHeight()) / 2);
  m_centreX = m_scrollWidth / 2;
  m_centreY = m_scrollHeight / 2;
  if (m_pChildFrame != nullptr) {
    m_pChildFrame->SetRulerOrigin(m_centreX, m_centreY);
    m_pChildFrame->InvalidateRulers(m_zoom);
  }
}

void CVendrikViewModel::OnOringView() {
  EndPendingConstruction();
  m_zoom = 1.0f;
  SetZoomExtents();
  CentreView();
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

namespace {

// Keeps the view's middle where it was while the extents grow or shrink.
void ScrollByHalfGrowth(IViewWindow* window, int oldW, int oldH, int newW, int newH) {
  if (window == nullptr) return;
  const platform::DcPoint scroll = window->GetScrollPosition();
  window->ScrollToPosition(scroll.x + (newW - oldW) / 2, scroll.y + (newH - oldH) / 2);
}

}  // namespace

void CVendrikViewModel::OnZoomIn() {
  if (m_zoom > kMaxZoom) return;
  EndPendingConstruction();
  const int oldW = m_scrollWidth;
  const int oldH = m_scrollHeight;
  m_zoom = std::min(m_zoom + 2.0f, kMaxZoom);
  SetZoomExtents();
  ScrollByHalfGrowth(m_pWindow, oldW, oldH, m_scrollWidth, m_scrollHeight);
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnZoomOut() {
  if (m_zoom < 0.6f) return;
  EndPendingConstruction();
  const int oldW = m_scrollWidth;
  const int oldH = m_scrollHeight;
  m_zoom = m_zoom >= 2.0f ? m_zoom - 2.0f : m_zoom - 0.1f;
  m_zoom = std::max(m_zoom, kLowestMenuZoom);
  SetZoomExtents();
  ScrollByHalfGrowth(m_pWindow, oldW, oldH, m_scrollWidth, m_scrollHeight);
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnWindowView() {
  EndPendingConstruction();
  if (m_pWindow == nullptr) return;
  const int usableW = m_pWindow->ClientWidth() - Trunc(kWindowMarginMm * g_pxPerMmX);
  const int usableH = m_pWindow->ClientHeight() - Trunc(kWindowMarginMm * g_pxPerMmY);
  if (usableW > 0 && usableH > 0 && g_machineSet.rangeX > 0 && g_machineSet.rangeY > 0) {
    const double zoom = std::min(usableW / (g_pxPerMmX * g_machineSet.rangeX), usableH / (g_pxPerMmY * g_machineSet.rangeY));
    if (std::isfinite(zoom)) m_zoom = static_cast<float>(std::clamp(zoom, double{kWindowViewMinZoom}, double{kMaxZoom}));
  }
  SetZoomExtents();
  CentreView();
  m_pWindow->Invalidate();
}

void CVendrikViewModel::OnWindowSize() {
  if (m_initialUpdateDone) OnWindowView();
}

void CVendrikViewModel::OnScroll(int bar) {
  // Each bar moves the zero of one ruler only: 0 the top, 1 the left.
  if (m_pChildFrame != nullptr) m_pChildFrame->NotifyRuler(bar);
}

bool CVendrikViewModel::OnMouseWheel(int delta, const platform::DcPoint& cursor) {
  if (m_dragState != 0 || delta == 0) return false;
  const platform::DcPoint scroll = m_pWindow != nullptr ? m_pWindow->GetScrollPosition() : platform::DcPoint{};
  // The millimetre point under the cursor, before the zoom changes.
  const double oldZoom = m_zoom;
  const double mx = (cursor.x + scroll.x - m_centreX) / (oldZoom * g_pxPerMmX);
  const double my = (m_centreY - cursor.y - scroll.y) / (oldZoom * g_pxPerMmY);
  if (delta < 0) {
    if (m_zoom > 0.8f) m_zoom -= 0.2f;
    m_zoom = std::max(m_zoom, kLowestMenuZoom);
  } else {
    if (m_zoom < kMaxZoom) m_zoom += 0.2f;
    m_zoom = std::min(m_zoom, kMaxZoom);
  }
  SetZoomExtents();
  if (m_pWindow != nullptr) {
    // That point stays under the cursor.
    m_pWindow->ScrollToPosition(Trunc(m_centreX + m_zoom * g_pxPerMmX * mx - cursor.x),
                                Trunc(m_centreY - m_zoom * g_pxPerMmY * my - cursor.y));
    m_pWindow->Invalidate();
  }
  return true;
}

void CVendrikViewModel::OnLocalZoom(const CDoubleRect& rect) {
  const double w = std::fabs(rect.Width());
  const double h = std::fabs(rect.Height());
  // A click instead of a rectangle asks for no zoom.
  if (!(w > 0) || !(h > 0) || m_pWindow == nullptr) return;
  const double cx = rect.CenterX();
  const double cy = rect.CenterY();
  const platform::DcPoint scroll = m_pWindow->GetScrollPosition();
  const int oldCentreX = m_centreX;
  const int oldCentreY = m_centreY;
  const double oldZoom = m_zoom;
  const double growth = std::min(m_pWindow->ClientWidth() / (w * g_pxPerMmX), m_pWindow->ClientHeight() / (h * g_pxPerMmY));
  m_zoom = static_cast<float>(std::min(m_zoom + growth, double{kMaxZoom}));
  SetZoomExtents();
  const int x = Trunc(m_centreX + m_zoom * g_pxPerMmX * cx - (oldCentreX + oldZoom * g_pxPerMmX * cx) + scroll.x);
  const int y = Trunc(m_centreY - m_zoom * g_pxPerMmY * cy - (oldCentreY - oldZoom * g_pxPerMmY * cy) + scroll.y);
  m_pWindow->ScrollToPosition(x, y);
  m_pWindow->Invalidate();
}

void CVendrikViewModel::NudgeSelection(NudgeKey key) {
  if (m_selection.empty()) return;
  double dx = 0;
  double dy = 0;
  switch (key) {
    case NudgeKey::PageUp: dy = 1; break;
    case NudgeKey::PageDown: dy = -1; break;
    case NudgeKey::End: dx = 1; break;
    case NudgeKey::Home: dx = -1; break;
    case NudgeKey::Left: dx = -0.1; break;
    case NudgeKey::Up: dy = 0.1; break;
    case NudgeKey::Right: dx = 0.1; break;
    case NudgeKey::Down: dy = -0.1; break;
  }
  // The reference arc is no part of the layout: nudging it moves its record,
  // and the arc is built again from there.
  const bool referenceArc = IsReferenceArcSelected();
  if (referenceArc) {
    ShiftReferenceArc(dx, dy);
  } else {
    PushHistory();
    const int count = static_cast<int>(m_selection.size());
    for (CObjElement* element : m_selection) {
      element->MoveBy(dx, dy);
      m_pPropView->RefreshSheet(element, count);
      element->UpdateBoundRect();
    }
  }
  UpdateSelectionBounds();
  m_selection.ShowInPane();
  ILinkHost* link = GetPropertyView();
  if (link != nullptr && link->IsLinkOpen() && m_needleMode == 2) MoveNeedleToSelection(dx, dy);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  // A nudged object is moved as surely as a dragged one.
  if (!referenceArc) SetLayoutModified();
}

void CVendrikViewModel::SetLocks(bool selectionOnly, int lock) {
  if (selectionOnly) {
    if (HasLayoutSelection()) {
      for (CObjElement* element : m_selection) element->lock = lock;
    }
    return;
  }
  if (m_pDocument == nullptr) return;
  const CObjPtrArray& objects = m_pDocument->Objects();
  for (int i = 1; i < objects.GetSize(); ++i) objects.GetAt(i)->lock = lock;
}
