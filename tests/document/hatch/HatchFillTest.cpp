#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "document/geometry/CArchive.h"
#include "document/geometry/CLine2D.h"
#include "document/geometry/CPointList.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/CStrokePath.h"
#include "document/path/HatchFill.h"
#include "document/path/NearestEndGrid.h"
#include "document/path/ScanLineEnds.h"
#include "tests/document/hatch/CombOutline.h"

namespace {

CPointList Polygon(std::initializer_list<std::pair<double, double>> pts) {
  CPointList list;
  bool first = true;
  for (auto [x, y] : pts) {
    list.Add(CDoublePoint(x, y, first ? 0 : PT_JOINED));
    first = false;
  }
  return list;
}

CPointList Square(double x0, double y0, double size) {
  return Polygon({{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}});
}

// A U open at the top: two arms joined by a bottom bar.
CPointList UShape() { return Polygon({{0, 0}, {10, 0}, {10, 10}, {7, 10}, {7, 3}, {3, 3}, {3, 10}, {0, 10}}); }

bool InsidePolygon(const CPointList& poly, double x, double y) {
  bool inside = false;
  for (int i = 0, j = poly.GetSize() - 1; i < poly.GetSize(); j = i++) {
    const CDoublePoint& a = poly[i];
    const CDoublePoint& b = poly[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

struct Stroke {
  CDoublePoint a, b;
};

std::vector<Stroke> Strokes(const CStrokeGroup& g) {
  std::vector<Stroke> out;
  const CPointList& fill = g.GetFillList();
  for (int i = 0; i + 1 < fill.GetSize(); i += 2) out.push_back({fill[i], fill[i + 1]});
  return out;
}

std::vector<Stroke> Hatch(const CPointList& contour, float angle, float spacing) {
  CStrokeGroup g(contour);
  g.HatchFill(angle, spacing);
  return Strokes(g);
}

// The strokes taken one by one by the plain nearest-first scan from start.
CPointList PlainNearestFirst(CHatchSegmentArray& segments, CDoublePoint start) {
  CPointList out;
  HatchSegment seg;
  while (TakeNearestSegment(segments, start, seg)) {
    out.Add(seg.first);
    out.Add(seg.second);
  }
  return out;
}

// The same points with the same flags, in the same order.
testing::AssertionResult SamePoints(const CPointList& got, const CPointList& expected) {
  if (got.GetSize() != expected.GetSize())
    return testing::AssertionFailure() << got.GetSize() << " points, not " << expected.GetSize();
  for (int i = 0; i < got.GetSize(); ++i)
    if (got[i].x != expected[i].x || got[i].y != expected[i].y || got[i].flag != expected[i].flag)
      return testing::AssertionFailure() << "point " << i << " is (" << got[i].x << ", " << got[i].y << ", "
                                         << int(got[i].flag) << "), not (" << expected[i].x << ", " << expected[i].y
                                         << ", " << int(expected[i].flag) << ")";
  return testing::AssertionSuccess();
}

}  // namespace

TEST(HatchFill, HorizontalStrokesOfASquareAndTheAngleAndSpacingClamps) {
  const auto strokes = Hatch(Square(0, 0, 10), 0, 1);
  // The line on the bottom edge finds nothing; y = 1 .. 9 give one stroke each.
  ASSERT_EQ(strokes.size(), 9u);
  std::vector<double> ys;
  for (const Stroke& s : strokes) {
    EXPECT_EQ(s.a.flag & PT_JOINED, 0);
    EXPECT_EQ(s.b.flag & PT_JOINED, PT_JOINED);
    EXPECT_NEAR(s.a.y, s.b.y, 1e-12);
    EXPECT_NEAR(std::fabs(s.b.x - s.a.x), 10, 1e-9);
    ys.push_back(s.a.y);
  }
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(ys[static_cast<std::size_t>(i)], i + 1, 1e-9);
  // Each next stroke is searched from where the previous one starts, so all
  // start on the same side.
  for (std::size_t i = 1; i < strokes.size(); ++i) EXPECT_NEAR(strokes[i].a.x, strokes[0].a.x, 1e-9);

  // 3 and 120 degrees are taken as 0.
  EXPECT_EQ(Hatch(Square(0, 0, 10), 3, 1).size(), 9u);
  EXPECT_EQ(Hatch(Square(0, 0, 10), 120, 1).size(), 9u);
  // Spacings outside 0.03 .. 10 become 0.03.
  const std::size_t fine = Hatch(Square(0, 0, 3), 0, 0.03f).size();
  EXPECT_GT(fine, 90u);
  EXPECT_EQ(Hatch(Square(0, 0, 3), 0, 0.01f).size(), fine);
  EXPECT_EQ(Hatch(Square(0, 0, 3), 0, 20.0f).size(), fine);

  // A second call appends; a group without contours gets nothing.
  CStrokeGroup g(Square(0, 0, 10));
  g.HatchFill(0, 1);
  g.HatchFill(0, 1);
  EXPECT_EQ(g.GetFillList().GetSize(), 36);
  g.RemoveAllLists();
  g.GetFillList().RemoveAll();
  g.HatchFill(0, 1);
  EXPECT_EQ(g.GetFillList().GetSize(), 0);
}

TEST(HatchFill, VerticalAndSlopedFamilies) {
  for (float angle : {85.0f, -85.0f}) {
    const auto strokes = Hatch(Square(0, 0, 10), angle, 1);
    ASSERT_EQ(strokes.size(), 9u) << angle;
    EXPECT_NEAR(strokes[0].a.x, strokes[0].b.x, 1e-12);
  }
  // Positive angles run the strokes at angle - 90, negative ones at angle + 90.
  for (auto [angle, slope] : {std::pair{45.0f, -1.0}, std::pair{-45.0f, 1.0}, std::pair{30.0f, -std::sqrt(3.0)}}) {
    const auto strokes = Hatch(Square(0, 0, 10), angle, 0.5f);
    ASSERT_GT(strokes.size(), 20u) << angle;
    for (const Stroke& s : strokes) EXPECT_NEAR((s.b.y - s.a.y) / (s.b.x - s.a.x), slope, 1e-3) << angle;
  }
}

TEST(HatchFill, ConcaveContoursAndRingsPairHitsInOrder) {
  const CPointList u = UShape();
  for (float angle : {0.0f, 90.0f, 30.0f, -60.0f}) {
    const auto strokes = Hatch(u, angle, 0.37f);
    ASSERT_FALSE(strokes.empty()) << angle;
    int twoArmLines = 0;
    for (const Stroke& s : strokes) {
      // Every stroke runs inside the U, never across its gap.
      for (double t : {0.1, 0.5, 0.9}) {
        const double x = s.a.x + t * (s.b.x - s.a.x), y = s.a.y + t * (s.b.y - s.a.y);
        EXPECT_TRUE(InsidePolygon(u, x, y)) << angle << " at " << x << "," << y;
      }
      if (angle == 0.0f && s.a.y > 3.5) ++twoArmLines;
    }
    if (angle == 0.0f) {
      EXPECT_GT(twoArmLines, 20);  // lines through both arms give two strokes each
    }
  }

  // A square with a square hole: strokes only between the two.
  CStrokeGroup ring(Square(0, 0, 10));
  ring.AddPointList(Square(3, 3, 4));
  ring.HatchFill(0, 0.5f);
  const auto strokes = Strokes(ring);
  ASSERT_FALSE(strokes.empty());
  for (const Stroke& s : strokes) {
    const double mx = (s.a.x + s.b.x) / 2, my = (s.a.y + s.b.y) / 2;
    EXPECT_FALSE(mx > 3 && mx < 7 && my > 3 && my < 7) << mx << "," << my;
  }
}

TEST(HatchFill, AbsurdOrBrokenBoundsAreRefused) {
  for (float angle : {0.0f, 90.0f, 45.0f, -45.0f}) {
    CPointList stray = Square(0, 0, 10);
    stray.Add(CDoublePoint(1e9, 1e9, PT_JOINED));  // one stray point a thousand km away
    CStrokeGroup refused(stray);
    EXPECT_FALSE(refused.HatchFill(angle, 0.03f)) << angle;
    EXPECT_TRUE(refused.fillCut) << "the operator is told";
    EXPECT_EQ(refused.GetFillList().GetSize(), 0) << angle;

    // A point that is not a number gives no hits of its own; the rest is filled sanely.
    CPointList broken = Square(0, 0, 10);
    broken.Add(CDoublePoint(std::nan(""), 5, PT_JOINED));
    const auto strokes = Hatch(broken, angle, 0.5f);
    EXPECT_LT(strokes.size(), 100u) << angle;
    for (const Stroke& s : strokes)
      EXPECT_TRUE(std::isfinite(s.a.x) && std::isfinite(s.a.y) && std::isfinite(s.b.x) && std::isfinite(s.b.y));

    CPointList infinite = Square(0, 0, 10);
    infinite.Add(CDoublePoint(5, INFINITY, PT_JOINED));
    EXPECT_TRUE(Hatch(infinite, angle, 0.5f).empty()) << angle;

    // A small shape so far out that adding the spacing no longer moves the
    // scan position: few lines by count, but the sweep would never advance.
    EXPECT_TRUE(Hatch(Square(1e16, 1e16, 10), angle, 0.03f).empty()) << angle;
    EXPECT_TRUE(Hatch(Square(-1e16, -1e16, 10), angle, 0.03f).empty()) << angle;
  }
  // A non-number angle or spacing falls back to the defaults instead of looping.
  EXPECT_EQ(Hatch(Square(0, 0, 10), std::nanf(""), 1).size(), 9u);
  EXPECT_FALSE(Hatch(Square(0, 0, 10), 0, std::nanf("")).empty());
}

// The scan lines of a comb are few, but each crosses every tooth: 200 teeth
// 200 mm tall at 0.03 mm would make 1.3 million strokes. Such a fill is
// refused whole and says so; the same comb at 0.5 mm is filled as before.
TEST(HatchFill, AFillBeyondTheStrokeLimitIsRefusedAndSaysSo) {
  for (float angle : {0.0f, 30.0f}) {
    CStrokeGroup comb(CombOutline(200));
    EXPECT_FALSE(comb.HatchFill(angle, 0.03f)) << angle;
    EXPECT_TRUE(comb.fillCut) << angle;
    EXPECT_EQ(comb.GetFillList().GetSize(), 0) << angle;
  }

  // y = -0.5 crosses the spine only; y = 0 meets the teeth's corners, which
  // give no hits; y = 0.5 .. 199.5 cross all 200 teeth.
  CStrokeGroup coarse(CombOutline(200));
  EXPECT_TRUE(coarse.HatchFill(0, 0.5f));
  EXPECT_FALSE(coarse.fillCut);
  const auto strokes = Strokes(coarse);
  EXPECT_EQ(strokes.size(), 1u + 399u * 200u);
  ASSERT_LE(strokes.size(), static_cast<std::size_t>(kMaxHatchStrokes));
  for (const Stroke& s : strokes) {
    if (s.a.y < 0) continue;
    EXPECT_NEAR(std::fabs(s.b.x - s.a.x), 0.5, 1e-9) << "one tooth: " << s.a.x << "," << s.a.y;
  }
}

// Strokes on a coarse lattice (many equal distances), spread out, dots with
// both ends in one place, lattices in clusters far apart, and nine in ten on
// a fine lattice crowded in one corner of a coarse one (the index holds
// those in its tree); every fifth round a few thousand of them. The index
// must take them as the plain scan does, also when items are taken out of
// its order in between. The last round crowds one in eight as dots in a
// corner, over a few cells at first; with the spread ones taken the cells
// are laid anew and would hold the crowd in one: the tree takes over there.
TEST(HatchSegments, NearestFirstOrderingMatchesThePlainScan) {
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    const int layout = round < 40 ? round % 4 : 4;
    const bool fewCrowded = round == 49;
    const int n = fewCrowded          ? 4000
                  : round % 5 == 4    ? 2000 + static_cast<int>(rng() % 1000)
                                      : (layout == 4 ? 400 : 1) + static_cast<int>(rng() % 600);
    const bool coarse = layout != 1;
    std::uniform_real_distribution<double> real(-50, 50);
    std::uniform_int_distribution<int> whole(-6, 6);
    auto lattice = [&](double offsetX, double offsetY) { return CDoublePoint(offsetX + whole(rng), offsetY + whole(rng)); };
    CHatchSegmentArray a, b;
    std::vector<HatchSegment> items;
    for (int i = 0; i < n; ++i) {
      HatchSegment s;
      if (layout == 0) {
        s.first = lattice(0, 0);
        s.second = lattice(0, 0);
      } else if (layout == 1) {
        s.first = CDoublePoint(real(rng), real(rng));
        s.second = CDoublePoint(s.first.x + real(rng) / 10, s.first.y + real(rng) / 10);
      } else if (layout == 2) {
        s.first = s.second = lattice(0, 0);
      } else if (fewCrowded) {
        std::uniform_int_distribution<int> mm(-48, 48), quarter(0, 15);
        if (i % 8 == 0) {
          s.first = s.second = CDoublePoint(-50 + quarter(rng) / 4.0, -50 + quarter(rng) / 4.0);
        } else {
          s.first = CDoublePoint(mm(rng), mm(rng));
          s.second = CDoublePoint(mm(rng), mm(rng));
        }
      } else if (layout == 4) {
        // Sixteenths of a millimetre, exact, so that distances tie as on the coarse lattice.
        auto crowded = [&] { return CDoublePoint(-50 + (whole(rng) + 6) / 16.0, -50 + (whole(rng) + 6) / 16.0); };
        auto spread = [&] { return CDoublePoint(whole(rng) * 8, whole(rng) * 8); };
        s.first = i % 10 == 0 ? spread() : crowded();
        s.second = i % 10 == 0 ? spread() : crowded();
      } else {
        // Three clusters 1e5 apart; now and then a stroke from one to another.
        const double far[3][2] = {{0, 0}, {1e5, 0}, {0, -1e5}};
        const auto* c = far[rng() % 3];
        const auto* d = i % 7 == 0 ? far[rng() % 3] : c;
        s.first = lattice(c[0], c[1]);
        s.second = lattice(d[0], d[1]);
      }
      s.second.flag = PT_JOINED;
      a.Add(s);
      b.Add(s);
      items.push_back(s);
    }
    const CDoublePoint start(coarse ? 0.0 : real(rng), 0.0);
    CPointList fast;
    AppendSegmentsNearestFirst(a, start, fast);
    EXPECT_EQ(a.GetSize(), 0);
    ASSERT_TRUE(SamePoints(fast, PlainNearestFirst(b, start))) << "round " << round;
    if (round % 2 == 0) continue;
    // The index itself, with every third take an item taken out of its
    // order, against the scan in index order over the items left.
    NearestEndGrid grid(items);
    std::vector<char> left(items.size(), 1);
    if (fewCrowded)
      for (std::size_t i = 0; i < items.size(); ++i)
        if (i % 8 != 0 && i % 100 != 1) {
          grid.Remove(static_cast<long>(i));
          left[i] = 0;
        }
    CDoublePoint at = start;
    for (int k = 0; !grid.Empty(); ++k) {
      if (k % 3 == 2) {
        std::size_t drop = rng() % items.size();
        while (!left[drop]) drop = (drop + 1) % items.size();
        grid.Remove(static_cast<long>(drop));
        left[drop] = 0;
        continue;
      }
      long expected = -1;
      double best = 0;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (!left[i]) continue;
        const double d = std::min(PointDistance(at, items[i].first), PointDistance(at, items[i].second));
        if (expected < 0 || d < best) {
          best = d;
          expected = static_cast<long>(i);
        }
      }
      const long got = grid.Nearest(at);
      ASSERT_EQ(got, expected) << "round " << round << " take " << k;
      grid.Remove(got);
      left[static_cast<std::size_t>(got)] = 0;
      const HatchSegment& s = items[static_cast<std::size_t>(got)];
      at = PointDistance(at, s.second) < PointDistance(at, s.first) ? s.first : s.second;
    }
  }
  // Scans whose lines are not all in order exactly: an end nudged back past
  // the one before it by far less than the index tolerates (a vertex met by
  // two edges rounds so), on lines running either way along, sloped or
  // level; and now and then by far more, which the index refuses. Coarse
  // steps make many equal distances.
  for (int round = 0; round < 24; ++round) {
    const double angle = round % 3 == 0 ? 0.0 : 0.3 * round;
    HatchScan scan;
    scan.alongX = std::cos(angle);
    scan.alongY = std::sin(angle);
    std::uniform_int_distribution<int> gaps(1, 3);
    std::uniform_int_distribution<int> chance(0, 9);
    const int lineCount = 2 + static_cast<int>(rng() % 30);
    for (int line = 0; line < lineCount; ++line) {
      scan.lineStart.push_back(scan.strokes.GetSize() / 2);
      std::vector<double> along;
      for (double t = gaps(rng); along.size() < 2 * (1 + rng() % 6); t += gaps(rng)) along.push_back(t);
      if (line % 2 == 1) std::reverse(along.begin(), along.end());
      for (std::size_t i = 1; i < along.size(); ++i) {
        const int c = chance(rng);
        if (c < 3) along[i] = along[i - 1] - (along[i] - along[i - 1]) * (c == 0 && round % 4 == 3 ? 1e-3 : 1e-14);
      }
      for (std::size_t i = 0; i < along.size(); ++i) {
        const double x = along[i] * scan.alongX - line * scan.alongY;
        const double y = along[i] * scan.alongY + line * scan.alongX;
        scan.strokes.Add(CDoublePoint(x, y, i % 2 == 0 ? 0 : PT_JOINED));
      }
    }
    CPointList fast;
    AppendScanStrokesNearestFirst(scan, fast);
    CHatchSegmentArray segments;
    for (int i = 0; i + 1 < scan.strokes.GetSize(); i += 2) segments.Add({scan.strokes[i], scan.strokes[i + 1]});
    ASSERT_TRUE(SamePoints(fast, PlainNearestFirst(segments, scan.strokes[0]))) << "round " << round;
  }
}

TEST(HatchSegments, OrientationStableSortAndArchive) {
  HatchSegment s{CDoublePoint(10, 0, PT_JOINED), CDoublePoint(0, 0, 0x80)};
  EXPECT_DOUBLE_EQ(OrderSegmentFrom(s, CDoublePoint(-1, 0)), 1.0);
  EXPECT_EQ(s.first.x, 0);
  EXPECT_EQ(s.first.flag, 0x80);  // other bits stay
  EXPECT_EQ(s.second.flag, PT_JOINED);

  CPointList pts;
  for (auto [x, tag] : {std::pair{2.0, 1}, {1.0, 2}, {2.0, 3}, {0.0, 4}}) pts.Add(CDoublePoint(x, 0, tag));
  SortPointsByX(pts, false);
  EXPECT_EQ(pts[0].flag, 1);  // equal keys keep their order
  EXPECT_EQ(pts[1].flag, 3);

  CHatchSegmentArray arr;
  arr.Add(s);
  arr.Add(HatchSegment{CDoublePoint(1, 2), CDoublePoint(3, 4, 1)});
  CArchive store;
  arr.Serialize(store);
  EXPECT_EQ(store.Bytes().size(), 2u + 2 * 48);
  CArchive load(store.Bytes());
  CHatchSegmentArray back;
  back.Serialize(load);
  ASSERT_EQ(back.GetSize(), 2);
  EXPECT_EQ(back.GetAt(1).second.y, 4);
}

namespace {

// The fill computed the plain way: every contour intersected with every scan
// line, then strokes taken nearest-first one by one.
CPointList ReferenceHatch(const CStrokeGroup& g, float angle, float spacing) {
  const CDoubleRect B = g.GetBoundRect();
  const double L = B.left, T = B.top, R = B.right, Bo = B.bottom;
  float th = angle;
  if (th < -90 || th > 90 || (th >= -5 && th <= 5)) th = 0;
  float sf = spacing;
  if (sf < 0.03f || sf > 10) sf = 0.03f;
  const double s = sf, t = th;
  CPointList hits, strokes;
  bool asc = true;
  bool byY = false;
  auto scan = [&](const CLine2D& line, bool vertical, double x) {
    hits.RemoveAll();
    for (int c = 0; c < g.GetCount(); ++c) g.GetAt(c)->points.IntersectLine(line, hits, vertical, x);
    if (hits.GetSize() <= 1) return;
    if (byY)
      SortPointsByY(hits, asc);
    else
      SortPointsByX(hits, asc);
    asc = !asc;
    for (int i = 0; i + 1 < hits.GetSize(); i += 2) {
      strokes.Add(CDoublePoint(hits[i].x, hits[i].y, 0));
      strokes.Add(CDoublePoint(hits[i + 1].x, hits[i + 1].y, PT_JOINED));
    }
  };
  if (t >= 85 || t <= -85) {
    byY = true;
    for (double x = L; L < R && x < R; x += s) scan(CLine2D(4e298, 4e298), true, x);
  } else if (t == 0) {
    for (double y = Bo; Bo < T && y < T; y += s) scan(CLine2D(0.0, y), false, 0);
  } else if (t > 5) {
    const double k = std::tan((t - 90) * 0.0174532), d = s / std::cos(t * 0.0174532), J = R + (Bo - T) / k;
    for (double w = L; w <= J; w += d) scan(CLine2D(k, Bo - w * k), false, 0);
  } else {
    const double k = std::tan((t + 90) * 0.0174532), d = std::fabs(s / std::cos(t * 0.0174532 + 3.1415926));
    const double J = L + (Bo - T) / k;
    for (double w = R; w >= J; w -= d) scan(CLine2D(k, Bo - w * k), false, 0);
  }
  if (strokes.GetSize() == 0) return CPointList();
  CHatchSegmentArray segs;
  for (int i = 0; i + 1 < strokes.GetSize(); i += 2) segs.Add(HatchSegment{strokes[i], strokes[i + 1]});
  return PlainNearestFirst(segs, strokes[0]);
}

CPointList RandomStar(std::mt19937& rng, double cx, double cy, double r, int n) {
  std::uniform_real_distribution<double> radius(0.3 * r, r);
  CPointList list;
  for (int i = 0; i < n; ++i) {
    const double a = 6.2831852 * i / n;
    list.Add(CDoublePoint(cx + radius(rng) * std::cos(a), cy + radius(rng) * std::sin(a), i ? PT_JOINED : 0));
  }
  return list;
}

}  // namespace

TEST(HatchFill, MatchesThePlainScanOfEveryContourOnRandomShapes) {
  std::mt19937 rng(5);
  const float angles[] = {0, 90, -85, 85, 30, -30, 60, -72.5f, 7, -7.5f, 45};
  for (int round = 0; round < 12; ++round) {
    CStrokeGroup g(RandomStar(rng, 0, 0, 10, 7 + round));
    for (int extra = 0; extra < round % 4; ++extra) g.AddPointList(RandomStar(rng, 12.0 * (extra + 1), 3, 6, 9));
    if (round % 3 == 0) g.AddPointList(Square(-2, -2, 4));  // a hole with axis-parallel edges
    for (float angle : angles) {
      CStrokeGroup copy(CPointList{});
      copy.RemoveAllLists();
      for (int c = 0; c < g.GetCount(); ++c) copy.AddPointList(g.GetAt(c)->points);
      copy.HatchFill(angle, 0.37f);
      const CPointList expected = ReferenceHatch(g, angle, 0.37f);
      const CPointList& got = copy.GetFillList();
      ASSERT_EQ(got.GetSize(), expected.GetSize()) << "round " << round << " angle " << angle;
      for (int i = 0; i < got.GetSize(); ++i) {
        ASSERT_EQ(got[i].x, expected[i].x) << "round " << round << " angle " << angle << " point " << i;
        ASSERT_EQ(got[i].y, expected[i].y);
        ASSERT_EQ(got[i].flag, expected[i].flag);
      }
    }
  }
}

// The shapes a fill's ordering meets, where the scan lines cross many
// contours or touch the same spot twice: rows of letters (rings and bars), a
// comb, squares sharing an edge, a contour given twice (strokes of no
// length, every distance tied) and a thin sloped sliver.
TEST(HatchFill, MatchesThePlainScanOnLettersCombsAndTouchingShapes) {
  auto ellipse = [](double cx, double cy, double rx, double ry, int n) {
    CPointList list;
    for (int i = 0; i < n; ++i) {
      const double a = 6.2831852 * i / n;
      list.Add(CDoublePoint(cx + rx * std::cos(a), cy + ry * std::sin(a), i ? PT_JOINED : 0));
    }
    return list;
  };
  auto group = [](std::initializer_list<CPointList> contours) {
    auto g = std::make_unique<CStrokeGroup>(CPointList{});
    g->RemoveAllLists();
    for (const CPointList& c : contours) g->AddPointList(c);
    return g;
  };
  struct Case {
    const char* name;
    std::unique_ptr<CStrokeGroup> shape;
    float spacing;
  };
  std::vector<Case> cases;
  auto letters = group({});
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 3; ++col) {
      const double x = col * 5.0, y = row * 8.0;
      letters->AddPointList(ellipse(x + 1.5, y + 3, 1.5, 3, 48));
      letters->AddPointList(ellipse(x + 1.5, y + 3, 0.9, 2.2, 40));
      letters->AddPointList(Polygon({{x + 3.3, y}, {x + 4, y}, {x + 4, y + 6}, {x + 3.3, y + 6}}));
    }
  cases.push_back({"letters", std::move(letters), 0.06f});
  cases.push_back({"comb", group({CombOutline(12, 0.5, 1.0, 8.0)}), 0.1f});
  cases.push_back({"touching squares", group({Square(0, 0, 4), Square(4, 0, 4), Square(2, 4, 4)}), 0.07f});
  cases.push_back({"contour twice", group({Square(0, 0, 5), Square(0, 0, 5)}), 0.1f});
  cases.push_back({"sloped sliver", group({Polygon({{0, 0}, {40, 9}, {40, 9.3}, {0, 0.4}})}), 0.03f});
  // More strokes on a line than a word of bits holds, taken tooth by tooth.
  cases.push_back({"wide comb", group({CombOutline(70, 0.5, 1.0, 3.0)}), 0.1f});
  // One scan kept from fill to fill, as the fills of a layout keep theirs:
  // every one of them is ordered through the scan lines' index.
  HatchScan scan;
  auto sameAsPlainScan = [&scan](const char* name, const CStrokeGroup& shape, float angle, float spacing) {
    ASSERT_TRUE(ScanHatchStrokes(shape, angle, spacing, scan));
    ScanLineEnds index;
    index.Build(scan.strokes.GetData(), static_cast<std::size_t>(scan.strokes.GetSize() / 2), scan.lineStart,
                scan.alongX, scan.alongY);
    EXPECT_TRUE(index.Usable()) << name << " angle " << angle;
    CStrokeGroup copy(CPointList{});
    copy.RemoveAllLists();
    for (int k = 0; k < shape.GetCount(); ++k) copy.AddPointList(shape.GetAt(k)->points);
    copy.HatchFill(angle, spacing);
    const CPointList expected = ReferenceHatch(shape, angle, spacing);
    const CPointList& got = copy.GetFillList();
    ASSERT_EQ(got.GetSize(), expected.GetSize()) << name << " angle " << angle;
    ASSERT_GT(got.GetSize(), 100) << name << " angle " << angle;
    for (int i = 0; i < got.GetSize(); ++i) {
      ASSERT_EQ(got[i].x, expected[i].x) << name << " angle " << angle << " point " << i;
      ASSERT_EQ(got[i].y, expected[i].y) << name << " angle " << angle << " point " << i;
      ASSERT_EQ(got[i].flag, expected[i].flag) << name << " angle " << angle << " point " << i;
    }
  };
  for (const Case& c : cases)
    for (float angle : {0.0f, 90.0f, 30.0f, -60.0f, 85.0f, 7.0f}) sameAsPlainScan(c.name, *c.shape, angle, c.spacing);
  // Over 4096 strokes along the lines: more words of bits than one word of
  // their summary covers.
  sameAsPlainScan("long comb", *group({CombOutline(100, 0.5, 1.0, 4.5)}), 0.0f, 0.1f);
}

// A long thin fill once took its strokes' nearest-first ordering quadratic:
// the index laid sqrt(n) by sqrt(n) cells over the box whatever its shape,
// slivers every search had to cross. The cells are near-square, about one per
// stroke, in a square box and in a strip alike. (The time itself is measured
// by BM_HatchFill_Strip3000x2mm_Spacing003 against a square of as many
// strokes.)
TEST(HatchSegments, TheIndexLaysNearSquareCellsOverAStripAsOverASquare) {
  for (const auto& [width, height] : {std::pair{2000.0, 2000.0}, {2000.0, 0.5}}) {
    CStrokeGroup g(Polygon({{0, 0}, {width, 0}, {width, height}, {0, height}}));
    g.HatchFill(90, 0.05f);
    const std::vector<Stroke> strokes = Strokes(g);
    ASSERT_GT(strokes.size(), 39000u) << width << " x " << height;
    std::vector<HatchSegment> segments;
    for (const Stroke& s : strokes) segments.push_back({s.a, s.b});
    const NearestEndGrid grid(segments);
    ASSERT_GT(grid.Columns(), 0) << "indexed";
    const double cells = static_cast<double>(grid.Columns()) * grid.Rows();
    EXPECT_LE(cells, 2.0 * strokes.size()) << width << " x " << height;
    EXPECT_GE(cells, 0.25 * strokes.size()) << width << " x " << height;
    const double aspect = grid.CellWidth() / grid.CellHeight();
    EXPECT_GT(aspect, 0.5) << width << " x " << height;
    EXPECT_LT(aspect, 2.0) << width << " x " << height;
  }
}

TEST(HatchSegments, NearestFirstOrderingOfThinFillsMatchesThePlainScan) {
  for (const float angle : {90.0f, 45.0f, 30.0f}) {
    CStrokeGroup g(Polygon({{0, 0}, {300, 0}, {300, 0.2}, {150, 0.7}, {0, 0.2}}));
    g.HatchFill(angle, 0.1f);
    const std::vector<Stroke> fast = Strokes(g);
    ASSERT_GT(fast.size(), 1000u);
    // The strokes again, last first, through the index and through the plain scan.
    CHatchSegmentArray indexedIn, reversed;
    for (std::size_t i = fast.size(); i-- > 0;) {
      indexedIn.Add({fast[i].a, fast[i].b});
      reversed.Add({fast[i].a, fast[i].b});
    }
    CPointList indexed;
    AppendSegmentsNearestFirst(indexedIn, CDoublePoint(150, -5), indexed);
    ASSERT_TRUE(SamePoints(indexed, PlainNearestFirst(reversed, CDoublePoint(150, -5)))) << angle;
  }
}
