#include "document/curves/CInterpCurve.h"

#include <cmath>

CInterpCurve::CInterpCurve(const CPointList& pts) : n(pts.GetSize()) {
  points.Append(pts);
  const auto size = static_cast<std::size_t>(n);
  chords.assign(size, CVector2D());
  tangents.SetSize(n);
  endTangents.SetSize(n);
  ratios.assign(size, 0.0);
  lower.assign(size, 0.0);
  diagonal.assign(size, 0.0);
  upper.assign(size, 0.0);
}

CInterpCurve::~CInterpCurve() = default;

void CInterpCurve::Prepare() {
  if (n < 2) return;
  for (int i = 0; i + 1 < n; ++i) chords[i] = CVector2D::FromPoints(points[i], points[i + 1]);

  for (int j = 0; j + 2 < n; ++j) {
    const double b = chords[j].Length();
    const double c = chords[j + 1].Length();
    if (std::fabs(c) > 1e-8) {
      ratios[j] = b / c;
    } else {
      ratios[j] = b >= 1e-8 ? 4e298 : 1.0;
    }
  }
  ratios[n - 2] = 1.0;

  diagonal[0] = 2.0;
  upper[0] = ratios[0];
  for (int k = 1; k + 1 < n; ++k) {
    const double r = ratios[k - 1];
    lower[k] = 1.0;
    diagonal[k] = 2 * r * (1 + r);
    upper[k] = r * r * ratios[k];
  }
  lower[n - 1] = 1.0;
  diagonal[n - 1] = 2 * ratios[n - 2];

  tangents[0] = CDoublePoint(3 * chords[0].dx, 3 * chords[0].dy);
  for (int k = 1; k + 1 < n; ++k) {
    const double r2 = ratios[k - 1] * ratios[k - 1];
    tangents[k] = CDoublePoint(3 * (r2 * chords[k].dx + chords[k - 1].dx), 3 * (r2 * chords[k].dy + chords[k - 1].dy));
  }
  tangents[n - 1] = CDoublePoint(3 * chords[n - 2].dx, 3 * chords[n - 2].dy);

  SolveTridiagonal(tangents);

  for (int i = 0; i + 1 < n; ++i) {
    endTangents[i] = CDoublePoint(ratios[i] * tangents[i + 1].x, ratios[i] * tangents[i + 1].y);
  }
}

void CInterpCurve::SolveTridiagonal(CPointList& rhs) const {
  if (n < 1 || rhs.GetSize() < n) return;
  std::vector<double> rx(static_cast<std::size_t>(n));
  std::vector<double> ry(static_cast<std::size_t>(n));
  std::vector<double> tx(static_cast<std::size_t>(n));
  std::vector<double> ty(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    rx[k] = rhs[k].x;
    ry[k] = rhs[k].y;
    tx[k] = rx[k] / diagonal[k];
    ty[k] = ry[k] / diagonal[k];
  }
  std::vector<double> nx(tx.size());
  std::vector<double> ny(ty.size());
  for (int sweep = 0; sweep < 10; ++sweep) {
    for (int k = 0; k < n; ++k) {
      double sx = rx[k];
      double sy = ry[k];
      if (k > 0) {
        sx -= lower[k] * tx[k - 1];
        sy -= lower[k] * ty[k - 1];
      }
      if (k + 1 < n) {
        sx -= upper[k] * tx[k + 1];
        sy -= upper[k] * ty[k + 1];
      }
      nx[k] = sx / diagonal[k];
      ny[k] = sy / diagonal[k];
    }
    tx.swap(nx);
    ty.swap(ny);
  }
  for (int k = 0; k < n; ++k) {
    rhs[k].x = tx[k];
    rhs[k].y = ty[k];
  }
}

void CInterpCurve::BuildPolyline(CPointList& out) {
  if (n < 2) return;
  Prepare();
  for (int i = 0; i + 1 < n; ++i) {
    double e = std::fmax(std::fabs(chords[i].dx), std::fabs(chords[i].dy));
    if (e <= 0.0001) e = 0.5;
    std::uint8_t flag = points[i].flag;
    flag = out.GetSize() == 0 ? static_cast<std::uint8_t>(flag & ~PT_JOINED) : static_cast<std::uint8_t>(flag | PT_JOINED);
    out.Add(CDoublePoint(points[i].x, points[i].y, flag));
    if (!(e <= kMaxCurvePieceExtent)) continue;
    const std::uint8_t joined = static_cast<std::uint8_t>(points[i].flag | PT_JOINED);
    const CVector2D& d = chords[i];
    const CDoublePoint& t = tangents[i];
    const CDoublePoint& et = endTangents[i];
    for (long k = 1; 0.5 * k <= e; ++k) {
      const double u = 0.5 * k / e;
      const double u2 = u * u;
      const double u3 = u2 * u;
      const double h01 = 3 * u2 - 2 * u3;
      const double h10 = u3 - 2 * u2 + u;
      const double h11 = u3 - u2;
      const double x = points[i].x + h01 * d.dx + h10 * t.x + h11 * et.x;
      const double y = points[i].y + h01 * d.dy + h10 * t.y + h11 * et.y;
      // A point the tangents could not give is left out rather than stored.
      if (std::isfinite(x) && std::isfinite(y)) out.Add(CDoublePoint(x, y, joined));
    }
  }
}

double CInterpCurve::SampledPointsAtMost(const CPointList& pts) {
  double total = 0;
  for (int i = 0; i + 1 < pts.GetSize(); ++i) {
    const CVector2D d = CVector2D::FromPoints(pts[i], pts[i + 1]);
    const double e = std::fmax(std::fabs(d.dx), std::fabs(d.dy));
    total += 1;
    if (e <= kMaxCurvePieceExtent) total += 2 * e + 1;
  }
  return total;
}

void CInterpCurve::DropRepeatedPoints(const CPointList& pts, CPointList& out) {
  out.RemoveAll();
  for (int i = 0; i < pts.GetSize(); ++i) {
    if (out.GetSize() > 0 && CVector2D::FromPoints(out[out.GetSize() - 1], pts[i]).Length() <= 1e-8) continue;
    out.Add(pts[i]);
  }
}
