// What follows the mouse: the rubber band, the object under construction,
// the dragged selection frame, and the frame with its eight handles around
// the selection. Drawn in viewport pixels over the layout's picture.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"
#include "values/ShellValues.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
const platform::DcPen kFeedbackPen{platform::PS_DOT, 1, RGB(0, 0, 0)};
const platform::DcPen kSelectionPen{platform::PS_DOT, 1, RGB(0, 0, 255)};
const platform::DcBrush kHandleBrush{false, RGB(0, 0, 255)};
const platform::DcBrush kHollow{true, 0};

void DrawBox(platform::DeviceContext& dc, const platform::DcPoint& a, const platform::DcPoint& b) {
  const platform::DcPoint corners[5] = {{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}, {a.x, a.y}};
  dc.Polyline(corners, 5);
}

}  // namespace

void CVendrikViewModel::DrawMmPolyline(platform::DeviceContext& dc, const CPointList& points) const {
  std::vector<platform::DcPoint> pts;
  pts.reserve(static_cast<std::size_t>(points.GetSize()));
  for (int i = 0; i < points.GetSize(); ++i) pts.push_back(MmToPixel(points[i].x, points[i].y));
  if (pts.size() > 1) dc.Polyline(pts.data(), static_cast<int>(pts.size()));
}

void CVendrikViewModel::DrawSelectionHandles(platform::DeviceContext& dc, const CDoubleRect& rect) {
  const platform::DcPen oldPen = dc.SelectPen(kSelectionPen);
  DrawBox(dc, MmToPixel(rect.left, rect.top), MmToPixel(rect.right, rect.bottom));
  const platform::DcBrush oldBrush = dc.SelectBrush(kHandleBrush);
  for (int i = 0; i < 8; ++i) {
    const CDoublePoint c = rect.GetHandlePoint(i);
    m_handleRects[i] = CDoubleRect(c.x - 0.8, c.y + 0.8, c.x + 0.8, c.y - 0.8);
    const platform::DcPoint a = MmToPixel(m_handleRects[i].left, m_handleRects[i].top);
    const platform::DcPoint b = MmToPixel(m_handleRects[i].right, m_handleRects[i].bottom);
    dc.Rectangle(a.x, a.y, b.x + 1, b.y + 1);
  }
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

void CVendrikViewModel::DrawFeedback(platform::DeviceContext& dc) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  if (!m_selection.empty()) {
    CDoubleRect frame = m_dragShown && m_toolCode == 0 ? m_dragBounds : m_selBounds;
    frame.InflateRect(2);
    DrawSelectionHandles(dc, frame);
    if (m_selection.size() == 1 && m_selection.front()->type == OBJ_BSPLINE) {
      if (const auto* spline = m_selection.front()->GetObjectAs<CObjBSpline>()) {
        const platform::DcPoint scroll = m_pWindow != nullptr ? m_pWindow->GetScrollPosition() : platform::DcPoint{};
        spline->DrawControlPoints(dc, m_centreX - scroll.x, m_centreY - scroll.y, m_zoom);
        // A control point being dragged: the curve as the release will make it.
        if (m_dragShown && m_toolCode == 0 && spline->GetEditIndex() >= 0) {
          const double scale = m_zoom;
          CPointList curve;
          spline->PreviewEditedPoint((m_lastPoint.x - m_dragStart.x) / (scale * g_pxPerMmX),
                                     -(m_lastPoint.y - m_dragStart.y) / (scale * g_pxPerMmY), curve);
          const platform::DcPen oldPen = dc.SelectPen(kFeedbackPen);
          DrawMmPolyline(dc, curve);
          dc.SelectPen(oldPen);
        }
      }
    }
  }
  if (m_dragState != 2 || m_pointList.GetSize() == 0) return;
  const platform::DcPen oldPen = dc.SelectPen(kFeedbackPen);
  const platform::DcBrush oldBrush = dc.SelectBrush(kHollow);
  const platform::DcPoint start = m_dragStart;
  const platform::DcPoint now = m_lastPoint;
  const CDoublePoint startMm = m_pointList[0];
  const CDoublePoint nowMm = PixelToMm(now);
  switch (m_toolCode) {
    case 0:
      if (m_selection.empty()) DrawBox(dc, start, now);
      break;
    case 4:
    case 17:
    case 19: DrawBox(dc, start, now); break;
    case 2:
      dc.MoveTo(start.x, start.y);
      dc.LineTo(m_snappedPoint.x, m_snappedPoint.y);
      break;
    case 3: {
      const double radius = PointDistance(startMm, nowMm);
      std::vector<platform::DcPoint> pts;
      for (int i = 0; i <= 6; ++i) {
        const double a = (60.0 + 60.0 * i) * kPi / 180.0;
        pts.push_back(MmToPixel(startMm.x + radius * std::cos(a), startMm.y + radius * std::sin(a)));
      }
      dc.Polyline(pts.data(), static_cast<int>(pts.size()));
      break;
    }
    case 6: {
      const double rx = std::fabs(nowMm.x - startMm.x);
      const double ry = std::fabs(nowMm.y - startMm.y);
      const int segments = std::clamp(static_cast<int>((rx + ry) * m_zoom * g_pxPerMmX / 4), 6, 360);
      std::vector<platform::DcPoint> pts;
      for (int i = 0; i <= segments; ++i) {
        const double a = 2 * kPi * i / segments;
        pts.push_back(MmToPixel(startMm.x + rx * std::cos(a), startMm.y + ry * std::sin(a)));
      }
      dc.Polyline(pts.data(), static_cast<int>(pts.size()));
      break;
    }
    case 5: {
      std::vector<platform::DcPoint> pts;
      for (int i = 0; i < m_pointList.GetSize(); ++i) pts.push_back(MmToPixel(m_pointList[i].x, m_pointList[i].y));
      pts.push_back(now);
      dc.Polyline(pts.data(), static_cast<int>(pts.size()));
      break;
    }
    case 18: {
      // The curve through the points so far and the pointer, as it will be made.
      CPointList points(m_pointList);
      points.Add(nowMm);
      CPointList curve;
      CObjBSpline::CurveThrough(points, curve);
      DrawMmPolyline(dc, curve);
      break;
    }
    default: break;
  }
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}
