#include "document/path/HatchFill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "document/geometry/CArchive.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CLine2D.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/NearestEndGrid.h"
#include "document/path/PathListHelpers.h"
#include "document/path/ScanLineEnds.h"

namespace {


template <typename Key>
void StableSortPoints(CPointList& list, bool ascending, Key key) {
  CDoublePoint* begin = list.GetData();
  CDoublePoint* end = begin + list.GetSize();
  if (ascending)
    std::stable_sort(begin, end, [&](const CDoublePoint& a, const CDoublePoint& b) { return key(a) < key(b); });
  else
    std::stable_sort(begin, end, [&](const CDoublePoint& a, const CDoublePoint& b) { return key(a) > key(b); });
}

// Number of scan lines a family would run, for the refusal of absurd fills.
bool ScanLineCountAcceptable(double count) { return std::isfinite(count) && count <= kMaxHatchScanLines; }

// Far enough from the origin, adding the spacing to a scan position leaves it
// unchanged and the sweep would never end. Positions closer to the origin
// resolve finer, so the end of larger magnitude decides.
bool SweepAdvances(double from, double to, double step) {
  const double far = std::max(std::fabs(from), std::fabs(to));
  return far + step != far && far - step != far;
}

}  // namespace

int CHatchSegmentArray::Add(const HatchSegment& s) {
  items_.push_back(s);
  return GetSize() - 1;
}

void CHatchSegmentArray::RemoveAt(int i) {
  if (i < 0 || i >= GetSize()) return;
  items_.erase(items_.begin() + i);
}

void CHatchSegmentArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(items_.size());
    if (!items_.empty()) ar.Write(items_.data(), items_.size() * sizeof(HatchSegment));
    return;
  }
  const std::size_t n = ar.ReadCount();
  if (n > ar.Remaining() / sizeof(HatchSegment)) throw CArchiveException("segment array: count exceeds the data");
  items_.resize(n);
  if (n > 0) ar.Read(items_.data(), n * sizeof(HatchSegment));
}

void SortPointsByX(CPointList& list, bool ascending) {
  StableSortPoints(list, ascending, [](const CDoublePoint& p) { return p.x; });
}

void SortPointsByY(CPointList& list, bool ascending) {
  StableSortPoints(list, ascending, [](const CDoublePoint& p) { return p.y; });
}

double OrderSegmentFrom(HatchSegment& segment, const CDoublePoint& p) {
  const double a = PointDistance(p, segment.first);
  const double b = PointDistance(p, segment.second);
  if (b < a) std::swap(segment.first, segment.second);
  segment.first.flag = static_cast<std::uint8_t>(segment.first.flag & ~PT_JOINED);
  segment.second.flag = static_cast<std::uint8_t>(segment.second.flag | PT_JOINED);
  return std::min(a, b);
}

bool TakeNearestSegment(CHatchSegmentArray& segments, CDoublePoint& reference, HatchSegment& out) {
  if (segments.GetSize() == 0) return false;
  double best = 4e298;  // farther than anything
  int bestIndex = 0;
  HatchSegment bestCopy = segments.GetAt(0);
  OrderSegmentFrom(bestCopy, reference);
  for (int i = 0; i < segments.GetSize(); ++i) {
    HatchSegment copy = segments.GetAt(i);
    const double d = OrderSegmentFrom(copy, reference);
    if (d < best) {
      best = d;
      bestIndex = i;
      bestCopy = copy;
    }
  }
  segments.RemoveAt(bestIndex);
  reference = bestCopy.first;
  out = bestCopy;
  return true;
}

void AppendSegmentsNearestFirst(CHatchSegmentArray& segments, CDoublePoint start, CPointList& out) {
  std::vector<HatchSegment> segs(static_cast<std::size_t>(segments.GetSize()));
  for (int i = 0; i < segments.GetSize(); ++i) segs[static_cast<std::size_t>(i)] = segments.GetAt(i);
  segments.RemoveAll();
  NearestEndGrid grid(segs);
  CDoublePoint reference = start;
  while (!grid.Empty()) {
    const long i = grid.Nearest(reference);
    HatchSegment chosen = segs[static_cast<std::size_t>(i)];
    OrderSegmentFrom(chosen, reference);
    grid.Remove(i);
    reference = chosen.first;
    out.Add(chosen.first);
    out.Add(chosen.second);
  }
}

bool ScanHatchStrokes(const CStrokeGroup& group, float angle, float spacing, HatchScan& scan) {
  CPointList& strokes = scan.strokes;
  strokes.RemoveAt(0, strokes.GetSize());  // keeps the storage for a scan reused
  scan.lineStart.clear();
  scan.alongX = 1.0;  // horizontal lines, unless the family says otherwise
  scan.alongY = 0.0;
  if (!group.IsNotEmpty()) return true;
  const CDoubleRect box = group.GetBoundRect();
  const double L = box.left, T = box.top, R = box.right, Bo = box.bottom;

  float theta = angle;
  if (!(theta >= -90.0f && theta <= 90.0f) || (theta >= -5.0f && theta <= 5.0f)) theta = 0.0f;
  float sf = spacing;
  if (!(sf >= 0.03f && sf <= 10.0f)) sf = 0.03f;
  const double s = sf;
  const double th = theta;

  // The edges of every contour (closed: the last point joins the first),
  // built once for all scan lines.
  std::vector<CLine2D> edges;
  for (int c = 0; c < group.GetCount(); ++c) {
    const CPointList& pts = group.GetAt(c)->points;
    const int n = pts.GetSize();
    for (int i = 0; i < n; ++i) edges.emplace_back(pts[i], pts[i + 1 < n ? i + 1 : 0]);
  }

  enum class Family { Vertical, Horizontal, Rising, Falling } family;
  double k = 0, d = 0, J = 0, lines = 0;
  bool advances = true;
  if (th >= 85 || th <= -85) {
    family = Family::Vertical;
    lines = L < R ? (R - L) / s : 0;
    advances = SweepAdvances(L, R, s);
  } else if (th == 0) {
    family = Family::Horizontal;
    lines = Bo < T ? (T - Bo) / s : 0;
    advances = SweepAdvances(Bo, T, s);
  } else if (th > 5 && th < 85) {
    family = Family::Rising;
    k = std::tan((th - 90) * DEG_TO_RAD);
    d = s / std::cos(th * DEG_TO_RAD);
    J = R + (Bo - T) / k;
    lines = (J - L) / d + 1;
    advances = SweepAdvances(L, J, d);
  } else {
    family = Family::Falling;
    k = std::tan((th + 90) * DEG_TO_RAD);
    d = std::fabs(s / std::cos(th * DEG_TO_RAD + 3.1415926));
    J = L + (Bo - T) / k;
    lines = (R - J) / d + 1;
    advances = SweepAdvances(R, J, d);
  }
  // Stray far points or broken bounds would run billions of lines, and a
  // shape too far out would never finish its sweep: refuse.
  if (!std::isfinite(L) || !std::isfinite(R) || !std::isfinite(T) || !std::isfinite(Bo) ||
      !ScanLineCountAcceptable(lines) || !advances)
    return false;

  // Sweep: every family's scan key (x, y, or the intercept of a sloped line)
  // never decreases, so each edge is active over one interval of keys. A
  // crossing counts only strictly inside the edge's box, which for the axis
  // families means the key strictly inside the box's span; for the sloped
  // families the interval of y - k x over the box, widened far beyond
  // rounding, is a safe superset. Active edges are kept in edge order, the
  // order the hits would be found in.
  const bool strict = family == Family::Vertical || family == Family::Horizontal;
  std::vector<double> lo(edges.size()), hi(edges.size());
  std::vector<int> order;
  for (std::size_t e = 0; e < edges.size(); ++e) {
    const CDoubleRect& b = edges[e].bounds;
    if (family == Family::Vertical) {
      lo[e] = b.left;
      hi[e] = b.right;
    } else if (family == Family::Horizontal) {
      lo[e] = b.bottom;
      hi[e] = b.top;
    } else {
      const double v[4] = {b.bottom - k * b.left, b.top - k * b.left, b.bottom - k * b.right, b.top - k * b.right};
      const double mn = std::min(std::min(v[0], v[1]), std::min(v[2], v[3]));
      const double mx = std::max(std::max(v[0], v[1]), std::max(v[2], v[3]));
      const double margin =
          1e-9 * (std::fabs(mn) + std::fabs(mx) + std::fabs(k) * (std::fabs(b.left) + std::fabs(b.right))) + 1e-12;
      lo[e] = mn - margin;
      hi[e] = mx + margin;
    }
    if (!std::isnan(lo[e]) && !std::isnan(hi[e])) order.push_back(static_cast<int>(e));
  }
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lo[static_cast<std::size_t>(a)] < lo[static_cast<std::size_t>(b)]; });
  std::size_t nextEdge = 0;
  std::vector<int> active;

  CPointList hits;
  bool ascending = true;
  bool tooMany = false;  // the sweep stops at the stroke limit
  const bool byY = family == Family::Vertical;
  auto scanLine = [&](const CLine2D& line, bool vertical, double x, double key) {
    const std::size_t before = active.size();
    while (nextEdge < order.size()) {
      const int e = order[nextEdge];
      const double l = lo[static_cast<std::size_t>(e)];
      if (strict ? !(l < key) : !(l <= key)) break;
      active.push_back(e);
      ++nextEdge;
    }
    if (active.size() != before) {
      std::sort(active.begin() + static_cast<std::ptrdiff_t>(before), active.end());
      std::inplace_merge(active.begin(), active.begin() + static_cast<std::ptrdiff_t>(before), active.end());
    }
    std::erase_if(active, [&](int e) {
      const double h = hi[static_cast<std::size_t>(e)];
      return strict ? !(key < h) : !(key <= h);
    });
    hits.RemoveAt(0, hits.GetSize());
    CDoublePoint hit;
    for (int e : active) {
      if (edges[static_cast<std::size_t>(e)].Intersect(line, hit, vertical, x)) hits.Add(CDoublePoint(hit.x, hit.y, 0));
    }
    if (hits.GetSize() <= 1) return;
    if (strokes.GetSize() / 2 + hits.GetSize() / 2 > kMaxHatchStrokes) {
      tooMany = true;
      return;
    }
    if (byY)
      SortPointsByY(hits, ascending);
    else
      SortPointsByX(hits, ascending);
    ascending = !ascending;
    scan.lineStart.push_back(strokes.GetSize() / 2);
    for (int i = 0; i + 1 < hits.GetSize(); i += 2) {
      CDoublePoint a = hits[i], b = hits[i + 1];
      a.flag = static_cast<std::uint8_t>(a.flag & ~PT_JOINED);
      b.flag = static_cast<std::uint8_t>(b.flag | PT_JOINED);
      strokes.Add(a);
      strokes.Add(b);
    }
  };

  switch (family) {
    case Family::Vertical:
      scan.alongX = 0.0;
      scan.alongY = 1.0;
      if (L < R)
        for (double x = L; x < R && !tooMany; x += s) scanLine(CLine2D(VerticalSlope, VerticalSlope), true, x, x);
      break;
    case Family::Horizontal:
      if (Bo < T)
        for (double y = Bo; y < T && !tooMany; y += s) scanLine(CLine2D(0.0, y), false, 0, y);
      break;
    case Family::Rising:
    case Family::Falling:
      scan.alongX = 1.0 / std::sqrt(1.0 + k * k);
      scan.alongY = k * scan.alongX;
      if (family == Family::Rising)
        for (double w = L; w <= J && !tooMany; w += d) scanLine(CLine2D(k, Bo - w * k), false, 0, Bo - w * k);
      else
        for (double w = R; w >= J && !tooMany; w -= d) scanLine(CLine2D(k, Bo - w * k), false, 0, Bo - w * k);
      break;
  }
  // Half a fill would mark a part wrongly without showing why: all or nothing.
  if (tooMany) {
    strokes.RemoveAll();
    scan.lineStart.clear();
  }
  return !tooMany;
}

void AppendScanStrokesNearestFirst(const HatchScan& scan, CPointList& out) {
  const CPointList& strokes = scan.strokes;
  const std::size_t n = static_cast<std::size_t>(strokes.GetSize() / 2);
  if (n == 0) return;
  const CDoublePoint* ends = strokes.GetData();
  // One index per thread, its storage kept from one fill to the next (a
  // layout fills many objects): no more than the largest fill's, a few
  // megabytes at the stroke limit.
  static thread_local ScanLineEnds index;
  index.Build(ends, n, scan.lineStart, scan.alongX, scan.alongY);
  if (!index.Usable()) {
    CHatchSegmentArray segments;
    for (int i = 0; i + 1 < strokes.GetSize(); i += 2) segments.Add(HatchSegment{strokes[i], strokes[i + 1]});
    AppendSegmentsNearestFirst(segments, strokes[0], out);
    return;
  }
  // Written in place: the list grows once for all the strokes.
  int at = out.GetSize();
  out.SetSize(at + 2 * static_cast<int>(n));
  // The reference is always an end of a stroke: the first stroke's first
  // end, then the nearer end of each stroke taken (as OrderSegmentFrom turns it).
  std::size_t reference = 0;
  while (!index.Empty()) {
    reference = index.NearestEnd(reference);
    if (reference == ScanLineEnds::kNoEnd) break;  // not while strokes are left
    index.Remove(reference / 2);
    CDoublePoint a = ends[reference], b = ends[reference ^ 1];
    a.flag = static_cast<std::uint8_t>(a.flag & ~PT_JOINED);
    b.flag = static_cast<std::uint8_t>(b.flag | PT_JOINED);
    out[at++] = a;
    out[at++] = b;
  }
}

bool CStrokeGroup::HatchFill(float angle, float spacing) {
  // The scan is only the way to the fill: its storage is kept from one fill
  // to the next on each thread, as the index's is (no more than the largest
  // fill's, ten megabytes at the stroke limit).
  static thread_local HatchScan scan;
  if (!ScanHatchStrokes(*this, angle, spacing, scan)) {
    fillCut = true;
    return false;
  }
  AppendScanStrokesNearestFirst(scan, fill);
  return true;
}
