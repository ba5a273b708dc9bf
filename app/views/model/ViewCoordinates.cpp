// Millimetres (y up) to scroll-area pixels and back.
#include <cmath>

#include "app/views/model/CVendrikViewModel.h"
#include "document/geometry/SharedHelpers.h"
#include "values/ShellValues.h"

namespace {

// Truncation towards zero; far-off or non-finite values are pinned rather
// than overflowing the int.
int TruncPixel(double v) {
  constexpr double kLimit = 1.0e9;
  if (std::isnan(v)) return 0;
  if (v > kLimit) return static_cast<int>(kLimit);
  if (v < -kLimit) return -static_cast<int>(kLimit);
  return static_cast<int>(v);
}

}  // namespace

float CVendrikViewModel::DrawZoom() {
  if (!(m_zoom >= kMinZoom)) m_zoom = kMinZoom;
  return m_zoom;
}

platform::DcPoint CVendrikViewModel::MmToScreen(double x, double y, const platform::DcPoint& origin) const {
  const double z = m_zoom;
  return {TruncPixel(z * g_pxPerMmX * x + origin.x), origin.y - TruncPixel(z * g_pxPerMmY * y)};
}

CDoublePoint CVendrikViewModel::ScreenToMm(int clientX, int clientY, const platform::DcPoint& origin) const {
  const platform::DcPoint scroll = m_pWindow != nullptr ? m_pWindow->GetScrollPosition() : platform::DcPoint{};
  const double z = m_zoom;
  CDoublePoint p((clientX + scroll.x - origin.x) / (z * g_pxPerMmX), (origin.y - clientY - scroll.y) / (z * g_pxPerMmY),
                 0);
  if (m_toolCode == 1) SnapPointToGrid(p, m_dotPitchX, m_dotPitchY);
  p.flag = 0;
  return p;
}

void CVendrikViewModel::DrawMmLine(platform::DeviceContext& dc, const CDoublePoint& a, const CDoublePoint& b,
                                   const platform::DcPoint& viewport) const {
  const platform::DcPoint origin{m_centreX - viewport.x, m_centreY - viewport.y};
  const platform::DcPoint p = MmToScreen(a.x, a.y, origin);
  const platform::DcPoint q = MmToScreen(b.x, b.y, origin);
  dc.MoveTo(p.x, p.y);
  dc.LineTo(q.x, q.y);
}
