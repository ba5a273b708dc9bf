#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "document/path/PointOrdering.h"

namespace {

std::vector<std::pair<double, double>> Coords(const CPointList& list) {
  std::vector<std::pair<double, double>> out;
  for (int i = 0; i < list.GetSize(); ++i) out.emplace_back(list[i].x, list[i].y);
  return out;
}

CPointList Grid3x3() {
  CPointList list;
  const int order[9][2] = {{2, 0}, {0, 1}, {1, 2}, {0, 0}, {2, 2}, {1, 0}, {0, 2}, {2, 1}, {1, 1}};
  for (auto& p : order) list.Add(CDoublePoint(p[0], p[1], 1));
  return list;
}

}  // namespace

TEST(PointArrays, CopySortsAndEmptiesTheList) {
  CPointList list;
  for (double x : {3.0, -1.0, 2.0, 2.0, 0.5}) list.Add(CDoublePoint(x, -x));
  CDoublePoint* array = nullptr;
  int count = 0;
  CopyPointsToArray(list, array, count);
  EXPECT_EQ(list.GetSize(), 0);
  ASSERT_EQ(count, 5);
  for (int i = 1; i < count; ++i) EXPECT_LE(array[i - 1].x, array[i].x);
  FreePointArray(array);

  for (double y : {3.0, -1.0, 2.0}) list.Add(CDoublePoint(0, y));
  CopyPointsToArray2(list, array, count);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(array[0].y, -1);
  EXPECT_EQ(array[2].y, 3);
  FreePointArray(array);

  CopyPointsToArray(list, array, count);  // now empty
  EXPECT_EQ(array, nullptr);
  EXPECT_EQ(count, 0);
}

TEST(PointArrays, QuicksortHandlesDuplicatesAndSortedRuns) {
  std::mt19937 rng(7);
  for (int n : {2, 3, 17, 1000, 5000}) {
    std::vector<CDoublePoint> pts;
    for (int i = 0; i < n; ++i) pts.emplace_back(static_cast<double>(rng() % 13), i);
    if (n == 5000) std::sort(pts.begin(), pts.end(), [](auto& a, auto& b) { return a.x < b.x; });
    std::vector<double> keys;
    for (auto& p : pts) keys.push_back(p.x);
    std::sort(keys.begin(), keys.end());
    SortPointArray(pts.data(), 0, n - 1);
    for (int i = 0; i < n; ++i) ASSERT_EQ(pts[i].x, keys[i]) << n;
  }
}

TEST(BandOrdering, ColumnsAlternateFromTheTop) {
  CPointList list = Grid3x3();
  OrderPointsByColumns(list, 0.5f);
  std::vector<std::pair<double, double>> expected = {{0, 2}, {0, 1}, {0, 0}, {1, 0}, {1, 1},
                                                     {1, 2}, {2, 2}, {2, 1}, {2, 0}};
  EXPECT_EQ(Coords(list), expected);
  EXPECT_EQ(list[0].flag, 1);
}

TEST(BandOrdering, RowsAlternateFromTheLeft) {
  CPointList list = Grid3x3();
  OrderPointsByRows(list, 0.5f);
  std::vector<std::pair<double, double>> expected = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1},
                                                     {0, 1}, {0, 2}, {1, 2}, {2, 2}};
  EXPECT_EQ(Coords(list), expected);
}

TEST(BandOrdering, BandsOpenByDistanceToTheirFirstDot) {
  CPointList close;
  close.Add(CDoublePoint(0, 0));
  close.Add(CDoublePoint(0.2, 1));
  OrderPointsByColumns(close, 0.5f);
  // One column, emitted from the highest y down.
  EXPECT_EQ(Coords(close), (std::vector<std::pair<double, double>>{{0.2, 1}, {0, 0}}));

  CPointList drift;  // x creeps by 0.2: columns break once 0.25 from the first dot is passed
  for (int i = 0; i < 4; ++i) drift.Add(CDoublePoint(i * 0.2, i));
  OrderPointsByColumns(drift, 0.5f);
  EXPECT_EQ(Coords(drift), (std::vector<std::pair<double, double>>{{0.2, 1}, {0, 0}, {0.4, 2}, {3 * 0.2, 3}}));

  CPointList empty;
  OrderPointsByRows(empty, 1.0f);
  EXPECT_EQ(empty.GetSize(), 0);
}

TEST(NearestFirst, GreedyFromTheStartWithFirstTieKept) {
  CDoublePoint start(0, 0);
  CPointList list;
  list.Add(CDoublePoint(5, 0));
  list.Add(CDoublePoint(-1, 0));
  list.Add(CDoublePoint(1, 0));  // ties with (-1, 0): the earlier one wins
  list.Add(CDoublePoint(2, 0));
  SortPointsNearestFirst(start, list);
  EXPECT_EQ(Coords(list), (std::vector<std::pair<double, double>>{{-1, 0}, {1, 0}, {2, 0}, {5, 0}}));
  EXPECT_EQ(start.x, 5);

  CDoublePoint s2(3, 3, 1);
  CPointList empty;
  SortPointsNearestFirst(s2, empty);
  EXPECT_EQ(s2.x, 3);
  EXPECT_EQ(empty.GetSize(), 0);

  CPointList one;
  one.Add(CDoublePoint(7, 8, 1));
  SortPointsNearestFirst(s2, one);
  EXPECT_EQ(s2.x, 7);
  EXPECT_EQ(s2.flag, 1);
  EXPECT_EQ(one.GetSize(), 1);
}

// The indexed search must give exactly the plain scan's order, ties included.
TEST(NearestFirst, IndexedOrderMatchesThePlainScan) {
  std::mt19937 rng(12345);
  for (int trial = 0; trial < 60; ++trial) {
    int n = 65 + static_cast<int>(rng() % 1500);
    int kind = trial % 5;
    CPointList a;
    for (int i = 0; i < n; ++i) {
      double x, y;
      switch (kind) {
        case 0:  // small lattice: many equal distances and duplicates
          x = rng() % 12;
          y = rng() % 12;
          break;
        case 1:  // uniform reals
          x = std::uniform_real_distribution<double>(-50, 50)(rng);
          y = std::uniform_real_distribution<double>(-50, 50)(rng);
          break;
        case 2:  // a single row
          x = (rng() % 400) * 0.25;
          y = 3;
          break;
        case 3:  // two far clusters
          x = (i % 2 ? 1000 : 0) + (rng() % 20) * 0.1;
          y = (rng() % 20) * 0.1;
          break;
        default:  // clustered with outliers
          x = (i % 50 == 0) ? std::uniform_real_distribution<double>(-1e4, 1e4)(rng) : (rng() % 30) * 0.5;
          y = (i % 50 == 0) ? std::uniform_real_distribution<double>(-1e4, 1e4)(rng) : (rng() % 30) * 0.5;
      }
      a.Add(CDoublePoint(x, y, static_cast<std::uint8_t>(i & 0x81)));
    }
    CPointList b(a);
    CDoublePoint sa(rng() % 7 - 30.0, rng() % 7 + 0.0), sb = sa;
    SortPointsNearestFirst(sa, a);
    SortPointsNearestFirstPlain(sb, b);
    ASSERT_EQ(a.GetSize(), b.GetSize());
    for (int i = 0; i < a.GetSize(); ++i) {
      ASSERT_EQ(a[i].x, b[i].x) << "trial " << trial << " index " << i;
      ASSERT_EQ(a[i].y, b[i].y) << "trial " << trial << " index " << i;
      ASSERT_EQ(a[i].flag, b[i].flag) << "trial " << trial << " index " << i;
    }
    EXPECT_EQ(sa.x, sb.x);
    EXPECT_EQ(sa.y, sb.y);
  }
}

TEST(NearestFirst, NonFiniteDotsDoNotBreakTheOrdering) {
  CPointList list;
  for (int i = 0; i < 100; ++i) list.Add(CDoublePoint(i, 0));
  list.Add(CDoublePoint(NAN, 0));
  list.Add(CDoublePoint(INFINITY, 1));
  CPointList plain(list);
  CDoublePoint s(0, 0), t(0, 0);
  SortPointsNearestFirst(s, list);
  SortPointsNearestFirstPlain(t, plain);
  ASSERT_EQ(list.GetSize(), 102);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(list[i].x, i);
}
