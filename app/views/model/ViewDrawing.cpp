// The layout as the view shows it: background, work area with its shadow,
// grid, border, origin marker, rotary line and axes, then the objects, the
// start and return paths and the head marker. Everything is computed in
// scroll-area pixels and drawn less the viewport's position, so only the
// visible part is ever drawn.
#include <algorithm>
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "app/views/model/ViewportDeviceContext.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/CMarkControlWnd.h"
#include "platform/Cp936.h"
#include "platform/NumberText.h"
#include "text/objects/CObjTextVin.h"
#include "values/ShellValues.h"

namespace {

using platform::DcBrush;
using platform::DcPen;
using platform::DcPoint;

constexpr COLORREF kBackground = RGB(242, 240, 246);
constexpr COLORREF kShadow = RGB(160, 160, 160);    // button shadow
constexpr COLORREF kGridColor = RGB(200, 200, 200);  // scroll bar
constexpr COLORREF kOriginMarker = RGB(0, 255, 0);
const DcPen kAxesPen{platform::PS_DASHDOT, 1, RGB(255, 0, 0)};
const DcPen kBorderPen{platform::PS_SOLID, 1, RGB(0, 0, 0)};
const DcPen kGridPen{platform::PS_SOLID, 1, kGridColor};
const DcPen kStartPathPen{platform::PS_DASHDOT, 1, RGB(0, 0, 255)};
const DcPen kReturnPathPen{platform::PS_DASHDOT, 1, RGB(255, 0, 0)};
const DcPen kRotaryPen{platform::PS_DASHDOT, 2, RGB(255, 255, 0)};
const DcPen kLookArcPen{platform::PS_SOLID, 2, RGB(128, 0, 255)};
const DcPen kArcPoint1Pen{platform::PS_SOLID, 2, RGB(255, 0, 0)};
const DcPen kArcPoint2Pen{platform::PS_SOLID, 2, RGB(0, 128, 240)};
const DcPen kHeadPen{platform::PS_SOLID, 1, RGB(0, 0, 255)};
const platform::DcFont kViewFont{"MS Sans Serif", 360, 400};
constexpr COLORREF kCheckDigitColor = RGB(255, 0, 128);
constexpr std::size_t kCheckDigitIndex = 8;  // the ninth character

constexpr std::uint8_t kOptionRotary = 0x04;      // bit 2
constexpr std::uint8_t kOptionRotaryLine = 0x80;  // bit 7
constexpr std::uint8_t kOptionHorizontal = 0x10;  // bit 4

int Pixel(double v) {
  constexpr double kLimit = 1.0e9;
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

// Grid lines at centre -/+ k x pitch (k from 0, k x spacing < half range)
// that fall inside [0, extent) of the viewport. A spacing of 0 or less, or
// one that is not a number, draws no grid.
template <class DrawLine>
void ForEachGridLine(double centre, double pitchPx, double spacingMm, double halfRangeMm, int extent,
                     DrawLine draw) {
  if (!(spacingMm > 0) || !(pitchPx > 0) || !std::isfinite(pitchPx) || !(halfRangeMm > 0)) return;
  const double kLimit = std::ceil(halfRangeMm / spacingMm);  // k < kLimit (checked exactly below)
  // Less than a pixel apart: every line that lands on a new pixel is enough.
  const long step = pitchPx >= 1.0 ? 1 : static_cast<long>(std::ceil(1.0 / pitchPx));
  for (const int sign : {-1, 1}) {
    // Visible k: 0 <= centre + sign k pitch < extent.
    double lo = sign < 0 ? (centre - extent) / pitchPx : -centre / pitchPx;
    double hi = sign < 0 ? centre / pitchPx : (extent - centre) / pitchPx;
    long first = static_cast<long>(std::max(0.0, std::floor(lo)));
    if (sign > 0 && first < 1) first = 1;
    const long last = static_cast<long>(std::min(kLimit, std::ceil(hi) + 1));
    first = (first + step - 1) / step * step;
    for (long k = first; k <= last; k += step) {
      if (!(k * spacingMm < halfRangeMm)) break;
      const int at = Pixel(centre + sign * k * pitchPx);
      if (at < 0 || at >= extent) continue;
      draw(at);
    }
  }
}

void DrawCross(platform::DeviceContext& dc, const DcPoint& p, int half) {
  dc.MoveTo(p.x - half, p.y);
  dc.LineTo(p.x + half + 1, p.y);
  dc.MoveTo(p.x, p.y - half);
  dc.LineTo(p.x, p.y + half + 1);
}

}  // namespace

bool CVendrikViewModel::IsDrawnType(int type) {
  switch (type) {
    case OBJ_ELLIPSE:
    case OBJ_OLDBARCODE:
    case OBJ_RESERVED12:
    case OBJ_RESERVED13:
    case OBJ_RESERVED14:
    case OBJ_RESERVED18:
    case OBJ_RESERVED20:
      return false;
    default:
      return true;
  }
}

void CVendrikViewModel::OnEraseBkgnd(platform::DeviceContext& dc, int left, int top, int width, int height) const {
  dc.FillSolidRect(left, top, width, height, kBackground);
}

void CVendrikViewModel::OnDraw(platform::DeviceContext& target, const DcPoint& viewport, int width, int height) {
  // In countdown mode the window has put its saved picture up already: only
  // the seconds are written over it.
  if (m_bCountdown.load() != 0) {
    DrawCountdown(target, width, height);
    return;
  }
  DrawLayout(target, viewport, width, height);
}

void CVendrikViewModel::DrawCountdown(platform::DeviceContext& dc, int width, int height) const {
  const std::string text = CountdownText();
  const platform::DcFont previousFont = dc.SelectFont(kViewFont);
  const COLORREF previousColor = dc.SetTextColor(RGB(255, 0, 0));
  const UINT previousAlign = dc.SetTextAlign(platform::TA_BASELINE);
  const platform::DcSize extent = dc.GetTextExtent(text);
  dc.TextOut(width / 2 - extent.cx / 4, height / 2 + extent.cy / 2, text);
  dc.SetTextAlign(previousAlign);
  dc.SetTextColor(previousColor);
  dc.SelectFont(previousFont);
}

void CVendrikViewModel::DrawLayout(platform::DeviceContext& target, const DcPoint& viewport, int width, int height) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  ViewportDeviceContext dc(target, width, height);
  OnEraseBkgnd(dc, 0, 0, width, height);
  DrawWorkArea(dc, viewport, width, height);
  DrawObjects(dc, viewport, dc.Visible());
  DrawEnlargedVins(dc, viewport, height);
  DrawStartBackPaths(dc, viewport);
  m_bMemValid = true;
}

void CVendrikViewModel::DrawWorkArea(platform::DeviceContext& dc, const DcPoint& viewport, int width, int height) {
  const double z = DrawZoom();
  const double rangeX = g_machineSet.rangeX;
  const double rangeY = g_machineSet.rangeY;
  const long hx = static_cast<long>(z * rangeX * g_pxPerMmX * 0.5);
  const long hy = static_cast<long>(z * rangeY * g_pxPerMmY * 0.5);
  // Viewport pixels from here on.
  const int cx = m_centreX - viewport.x;
  const int cy = m_centreY - viewport.y;
  const int left = Pixel(static_cast<double>(cx) - hx);
  const int right = Pixel(static_cast<double>(cx) + hx);
  const int top = Pixel(static_cast<double>(cy) - hy);
  const int bottom = Pixel(static_cast<double>(cy) + hy);

  // Shadow along the right and the bottom.
  const int s = static_cast<int>(z * 5);
  dc.FillSolidRect(right, top + s, s, bottom - top, kShadow);
  dc.FillSolidRect(left + s, bottom, right - left, s, kShadow);

  dc.FillSolidRect(left, top, right - left, bottom - top, kBackground);
  const DcPen previousPen = dc.SelectPen(kGridPen);
  const int gridLeft = std::max(left + 1, -1);
  const int gridRight = std::min(right - 1, width + 1);
  const int gridTop = std::max(top + 1, -1);
  const int gridBottom = std::min(bottom - 1, height + 1);
  ForEachGridLine(cy, z * g_pxPerMmY * g_distanceVer, g_distanceVer, rangeY / 2, height, [&](int y) {
    dc.MoveTo(gridLeft, y);
    dc.LineTo(gridRight, y);
  });
  ForEachGridLine(cx, z * g_pxPerMmX * g_distanceHor, g_distanceHor, rangeX / 2, width, [&](int x) {
    dc.MoveTo(x, gridTop);
    dc.LineTo(x, gridBottom);
  });
  dc.SelectPen(kBorderPen);
  const DcBrush previousBrush = dc.SelectBrush(DcBrush{true, 0});
  dc.Rectangle(left, top, right, bottom);
  dc.SelectBrush(previousBrush);

  // Origin marker at the corner the machine starts from.
  const int corner = g_machineSet.originCorner;
  const int markerRight = (corner == 0 || corner == 1 ? left : right) + 5;
  const int markerMid = corner == 0 || corner == 2 ? top : bottom;
  dc.FillSolidRect(markerRight - 10, markerMid - 5, 10, 10, kOriginMarker);

  // Rotary line.
  const std::uint8_t option = g_machineSet.optionByte;
  if ((option & kOptionRotary) && (option & kOptionRotaryLine)) {
    dc.SelectPen(kRotaryPen);
    const double r = g_machineSet.machineDouble1;
    if (option & kOptionHorizontal) {
      const int y = Pixel(cy - r * z * g_pxPerMmY);
      dc.MoveTo(left, y);
      dc.LineTo(right, y);
    } else {
      const int x = Pixel(cx + r * z * g_pxPerMmX);
      dc.MoveTo(x, top);
      dc.LineTo(x, bottom);
    }
  }

  // Axes across the whole scroll area (its visible part).
  dc.SelectPen(kAxesPen);
  dc.MoveTo(cx, std::max(-viewport.y, -1));
  dc.LineTo(cx, std::min(m_scrollHeight - viewport.y, height + 1));
  dc.MoveTo(std::max(-viewport.x, -1), cy);
  dc.LineTo(std::min(m_scrollWidth - viewport.x, width + 1), cy);
  dc.SelectPen(previousPen);
}

void CVendrikViewModel::DrawObjects(platform::DeviceContext& dc, const DcPoint& viewport,
                                     const platform::DcRect& visible) {
  const DcPoint origin{m_centreX - viewport.x, m_centreY - viewport.y};
  const double z = DrawZoom();
  auto drawElement = [&](CObjElement& element, const DcPen& pen) {
    element.Draw(dc, origin.x, origin.y, z, pen, pen, CDoublePoint{}, &visible);
  };
  if (m_pDocument != nullptr) {
    const CObjPtrArray& objects = m_pDocument->Objects();
    for (int i = 1; i < objects.GetSize(); ++i) {
      CObjElement* element = objects.GetAt(i);
      if (element != nullptr && element->type == OBJ_PICTURE) {
        drawElement(*element, DcPen{platform::PS_SOLID, 1, static_cast<COLORREF>(element->color)});
      }
    }
  }
  if (m_arcInfo.arcOn && m_arcInfo.arcBuilt) {
    const DcPen previous = dc.SelectPen(kLookArcPen);
    if (m_lookArc) drawElement(*m_lookArc, kLookArcPen);
    dc.SelectPen(kArcPoint1Pen);
    DrawCross(dc, MmToScreen(m_arcInfo.point1X, m_arcInfo.point1Y, origin), 5);
    dc.SelectPen(kArcPoint2Pen);
    DrawCross(dc, MmToScreen(m_arcInfo.point2X, m_arcInfo.point2Y, origin), 5);
    dc.SelectPen(previous);
  }
  if (m_pDocument != nullptr) {
    const CObjPtrArray& objects = m_pDocument->Objects();
    for (int i = 1; i < objects.GetSize(); ++i) {
      CObjElement* element = objects.GetAt(i);
      if (element == nullptr || element->type == OBJ_PICTURE || !IsDrawnType(element->type)) continue;
      if (element->layer < 0 || element->layer > 3 || !m_layerOn[element->layer]) continue;
      const DcPen pen{platform::PS_SOLID, 1, static_cast<COLORREF>(element->color)};
      const DcPen previous = dc.SelectPen(pen);
      drawElement(*element, pen);
      dc.SelectPen(previous);
    }
  }
  // The head at its work position.
  if (m_pMarkControl != nullptr && m_pMarkControl->atWorkPosition.load()) {
    const DcPoint p = MmToScreen(m_pMarkControl->workPosition.x, m_pMarkControl->workPosition.y, origin);
    const DcPen previousPen = dc.SelectPen(kHeadPen);
    const DcBrush previousBrush = dc.SelectBrush(DcBrush{true, 0});
    dc.Ellipse(p.x - 5, p.y - 5, p.x + 5, p.y + 5);
    DrawCross(dc, p, 5);
    dc.SelectBrush(previousBrush);
    dc.SelectPen(previousPen);
  }
}

void CVendrikViewModel::DrawEnlargedVins(platform::DeviceContext& dc, const DcPoint& viewport, int height) {
  if (m_pDocument == nullptr) return;
  const int originX = m_centreX - viewport.x;
  const CObjPtrArray& objects = m_pDocument->Objects();
  for (int i = 1; i < objects.GetSize(); ++i) {
    const CObjElement* element = objects.GetAt(i);
    if (element == nullptr || element->type != OBJ_VIN) continue;
    if (element->layer < 0 || element->layer > 3 || !m_layerOn[element->layer]) continue;
    const auto* vin = element->GetObjectAs<CObjTextVin>();
    if (vin == nullptr || vin->GetEnlarged() == 0) continue;
    const std::string text = platform::Cp936ToUtf8(vin->GetText());
    const platform::DcFont previousFont = dc.SelectFont(kViewFont);
    const platform::DcSize size = dc.GetTextExtent(text);
    const int left = originX - size.cx / 2;
    const int top = height / 2 - size.cy;
    const COLORREF previousColor = dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(left, top, text);
    if (text.size() > kCheckDigitIndex) {
      // The check digit once more over itself, so it stands out.
      const int before = dc.GetTextExtent(text.substr(0, kCheckDigitIndex)).cx;
      dc.SetTextColor(kCheckDigitColor);
      dc.TextOut(left + before, top, text.substr(kCheckDigitIndex, 1));
    }
    dc.SetTextColor(previousColor);
    dc.SelectFont(previousFont);
  }
}

void CVendrikViewModel::DrawStartBackPaths(platform::DeviceContext& dc, const DcPoint& viewport) {
  if (m_pDocument == nullptr) return;
  const CObjPtrArray& objects = m_pDocument->Objects();
  const CObjElement* first = objects.GetAt(0);
  const CDrawProperity* record = first != nullptr ? first->GetObjectAs<CDrawProperity>() : nullptr;
  if (record == nullptr || !record->IsStartBackRoad() || objects.GetSize() <= 1) return;
  const CObjElement* firstObject = nullptr;
  const CObjElement* lastObject = nullptr;
  for (int i = 1; i < objects.GetSize(); ++i) {
    const CObjElement* element = objects.GetAt(i);
    if (element == nullptr || element->GetFlag2()) continue;
    if (firstObject == nullptr) firstObject = element;
    lastObject = element;
  }
  if (firstObject == nullptr) return;
  const CDoublePoint corner(-record->GetRangeX() / 2, record->GetRangeY() / 2);
  auto segment = [&](const CDoublePoint& a, const CDoublePoint& b) {
    if (a.x != b.x || a.y != b.y) DrawMmLine(dc, a, b, viewport);
  };
  const DcPen previous = dc.SelectPen(kStartPathPen);
  segment(corner, record->GetStartPath(0));
  segment(record->GetStartPath(0), record->GetStartPath(1));
  segment(record->GetStartPath(1), firstObject->GetStartPoint());
  dc.SelectPen(kReturnPathPen);
  segment(lastObject->GetEndPoint(), record->GetResetPath(1));
  segment(record->GetResetPath(1), record->GetResetPath(0));
  segment(record->GetResetPath(0), corner);
  dc.SelectPen(previous);
}
