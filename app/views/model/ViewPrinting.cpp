// Printing: the printable objects fitted to the paper and centred on it.
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "values/ShellValues.h"

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kInchPerMm = 0.03937007874015748;

bool IsPrinted(const CObjElement* element) {
  return element != nullptr && element->type != OBJ_PICTURE && CVendrikViewModel::IsDrawnType(element->type);
}

}  // namespace

double CVendrikViewModel::PrintScale(const PrintPage& page, const CDoubleRect& drawing) const {
  const double dpi = page.dotsPerInch > 0 ? page.dotsPerInch : 300;
  const double paperW = page.widthPx / dpi * kMmPerInch - 2.0 * m_paperPrintSet.edgeX;
  const double paperH = page.heightPx / dpi * kMmPerInch - 2.0 * m_paperPrintSet.edgeY;
  // An extent under 0.1 mm does not limit the scale.
  const double unlimited = std::numeric_limits<double>::infinity();
  const double w = std::fabs(drawing.Width());
  const double h = std::fabs(drawing.Height());
  const double fitW = w < 0.1 ? unlimited : paperW / w;
  const double fitH = h < 0.1 ? unlimited : paperH / h;
  double fit = std::min(fitW, fitH);
  if (!std::isfinite(fit)) fit = 1.0;  // a point: actual size
  if (m_paperPrintSet.scaleMode == 1) fit = std::min(fit, 1.0);
  if (m_paperPrintSet.scaleMode == 2) fit = std::min(fit, m_paperPrintSet.customScale / 100.0);
  fit = std::max(fit, 0.001);
  return fit * dpi * kInchPerMm / g_pxPerMmX;
}

int CVendrikViewModel::PrintPenWidth() const {
  const int w = m_paperPrintSet.lineWidthIndex;
  return w > 9 ? 3 * w - 17 : w + 1;
}

void CVendrikViewModel::OnPrint(platform::DeviceContext& dc, const PrintPage& page) {
  if (m_pDocument == nullptr) return;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  const CObjPtrArray& objects = m_pDocument->Objects();
  CDoubleRect drawing;
  bool any = false;
  for (int i = 1; i < objects.GetSize(); ++i) {
    CObjElement* element = objects.GetAt(i);
    if (!IsPrinted(element)) continue;
    const CDoubleRect r = element->GetBoundRect();
    if (!any) {
      drawing = r;
      any = true;
    } else {
      drawing.UnionRect(r);
    }
  }
  if (!any) return;
  const double zoom = PrintScale(page, drawing);
  const int originX = static_cast<int>(page.widthPx / 2.0 - drawing.CenterX() * zoom * g_pxPerMmX);
  const int originY = static_cast<int>(page.heightPx / 2.0 + drawing.CenterY() * zoom * g_pxPerMmY);
  const int width = PrintPenWidth();
  for (int i = 1; i < objects.GetSize(); ++i) {
    CObjElement* element = objects.GetAt(i);
    if (!IsPrinted(element)) continue;
    const platform::DcPen pen{platform::PS_SOLID, width, static_cast<COLORREF>(element->color)};
    const platform::DcPen previous = dc.SelectPen(pen);
    element->Draw(dc, originX, originY, zoom, pen, pen, CDoublePoint{});
    dc.SelectPen(previous);
  }
}
