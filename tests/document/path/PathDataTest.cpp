// Bounds, transforms, owning arrays and hit tests of paths and stroke groups.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/path/CPathData.h"
#include "document/path/PathListHelpers.h"

namespace {

CPointList MakeList(std::initializer_list<CDoublePoint> pts) {
  CPointList list;
  for (const CDoublePoint& p : pts) list.Add(p);
  return list;
}

void ExpectRect(const CDoubleRect& r, double l, double t, double rt, double b) {
  EXPECT_DOUBLE_EQ(r.left, l);
  EXPECT_DOUBLE_EQ(r.top, t);
  EXPECT_DOUBLE_EQ(r.right, rt);
  EXPECT_DOUBLE_EQ(r.bottom, b);
}

std::unique_ptr<CStrokeGroup> Group(std::initializer_list<CDoublePoint> pts, int kind = GROUP_KIND_LINES) {
  auto g = std::make_unique<CStrokeGroup>(MakeList(pts));
  g->kind = kind;
  return g;
}

}  // namespace

TEST(PathBounds, ListBoundsAndDrawnBounds) {
  ExpectRect(GetPointArrayBoundRect(CPointList()), 0, 0, 0, 0);
  const CPointList list = MakeList({{5, 5, 0}, {1, 2, 0}, {3, 8, 1}, {-4, 1, 0}});
  ExpectRect(GetPointArrayBoundRect(list), -4, 8, 5, 1);

  // Only joined points and their predecessors count: the isolated start at
  // (-4, 1) and the stroke start (5, 5) without a joined successor do not.
  ExpectRect(GetDrawnBoundRect(list), 1, 8, 3, 2);
  // Nothing joined: zero rectangle even far from the origin.
  ExpectRect(GetDrawnBoundRect(MakeList({{10, 10, 0}, {20, 20, 0}})), 0, 0, 0, 0);
  // A joined point at index 0 counts alone.
  ExpectRect(GetDrawnBoundRect(MakeList({{7, 9, 1}, {30, 30, 0}})), 7, 9, 7, 9);
}

TEST(PathBounds, PointBoundsStartFromSecondListWhenMainIsEmpty) {
  CPathData path;
  ExpectRect(path.GetPointsBoundRect(), 0, 0, 0, 0);
  path.second.Add({10, 20});
  path.second.Add({12, 18});
  ExpectRect(path.GetPointsBoundRect(), 10, 20, 12, 18);
  path.points.Add({-1, 19});
  ExpectRect(path.GetPointsBoundRect(), -1, 20, 12, 18);
  const CDoublePoint c = path.GetCenterPoint();
  EXPECT_DOUBLE_EQ(c.x, 5.5);
  EXPECT_DOUBLE_EQ(c.y, 19);
  EXPECT_EQ(c.flag, 0);
}

TEST(PathBounds, GroupBoundsSkipHiddenAndEmptyGroups) {
  CPathData path;
  CDoubleRect r(1, 2, 3, 4);
  EXPECT_FALSE(path.GetGroupsBoundRect(r));
  ExpectRect(r, 1, 2, 3, 4);  // untouched

  // A group built from an empty list has one empty contour and zero bounds.
  auto empty = Group({});
  EXPECT_EQ(empty->GetCount(), 1);
  ExpectRect(empty->GetBoundRect(), 0, 0, 0, 0);

  path.GetGroupArray().Add(Group({{50, 60}, {55, 65, 1}}, GROUP_KIND_HIDDEN));
  auto noContours = Group({{-100, -100}});
  noContours->RemoveAllLists();
  noContours->fill.Add({-100, -100});
  path.GetGroupArray().Add(std::move(noContours));
  EXPECT_FALSE(path.GetGroupsBoundRect(r));

  ASSERT_TRUE(path.GetKind2BoundRect(r));
  ExpectRect(r, 50, 65, 55, 60);

  path.GetGroupArray().Add(Group({{10, 10}, {12, 11, 1}}, GROUP_KIND_DOTS));
  path.GetGroupArray().Add(Group({{20, 30}, {21, 31, 1}}));
  ASSERT_TRUE(path.GetGroupsBoundRect(r));
  ExpectRect(r, 10, 31, 21, 10);
}

TEST(PathBounds, PathBoundsJoinPointsAndGroupsWithoutDraggingToOrigin) {
  CPathData path;
  path.GetGroupArray().Add(Group({{10, 10}, {12, 11, 1}}));
  // No own points: the bounds are the groups', not stretched to (0, 0).
  ExpectRect(path.GetBoundRect(), 10, 11, 12, 10);
  path.points.Add({30, 5});
  ExpectRect(path.GetBoundRect(), 10, 11, 30, 5);
  ExpectRect(path.GetBoundRectEx(), 10, 11, 30, 5);

  // An empty contour next to a real one does not stretch the group either.
  CStrokeGroup g(MakeList({{40, 40}, {41, 42, 1}}));
  g.AddPointList(CPointList());
  ExpectRect(g.GetBoundRect(), 40, 42, 41, 40);
  ExpectRect(g.GetListsBoundRect(), 40, 42, 41, 40);
  g.AddPointList(MakeList({{90, 90, 0}}));  // a lone stroke start draws nothing
  ExpectRect(g.GetListsBoundRect(), 40, 42, 41, 40);
  ExpectRect(g.GetBoundRect(), 40, 90, 90, 40);
}

TEST(PathTransforms, DegreeRotationUsesTheStoredFactor) {
  CPointList list = MakeList({{1, 0, 1}});
  RotatePointsDeg(list, CDoublePoint(0, 0), 90.0);
  EXPECT_NEAR(list[0].x, std::cos(90 * 0.0174532), 1e-15);
  EXPECT_GT(list[0].x, 8e-6);  // not the exact quarter turn
  EXPECT_NEAR(list[0].y, 1.0, 1e-9);
  EXPECT_EQ(list[0].flag, 1);

  CPointList f = MakeList({{1, 0}});
  RotatePointsDegF(f, CDoublePoint(0, 0), 90.0f);
  EXPECT_DOUBLE_EQ(f[0].x, list[0].x);

  // Rotation about a point of the list itself keeps the centre fixed.
  CPointList self = MakeList({{2, 2}, {3, 2}});
  RotatePointsRad(self, self[0], 3.1415926 / 2);
  EXPECT_DOUBLE_EQ(self[0].x, 2);
  EXPECT_NEAR(self[1].x, 2, 1e-6);
  EXPECT_NEAR(self[1].y, 3, 1e-6);
}

TEST(PathTransforms, WhichListsEachTransformMoves) {
  CPathData path;
  path.points.Add({1, 0});
  path.second.Add({2, 0});
  auto g = Group({{3, 0}});
  g->fill.Add({4, 0});
  path.GetGroupArray().Add(std::move(g));
  CStrokeGroup* grp = path.GetGroupAt(0);

  path.Rotate(CDoublePoint(0, 0), 3.1415926);
  EXPECT_NEAR(path.points[0].x, -1, 1e-6);
  EXPECT_DOUBLE_EQ(path.second[0].x, 2);  // the second list stays
  EXPECT_NEAR(grp->GetAt(0)->points[0].x, -3, 1e-6);
  EXPECT_NEAR(grp->fill[0].x, -4, 1e-6);

  path.Offset(10, 1);
  EXPECT_NEAR(path.points[0].x, 9, 1e-6);
  EXPECT_DOUBLE_EQ(path.second[0].x, 12);
  EXPECT_DOUBLE_EQ(path.second[0].y, 1);
  EXPECT_NEAR(grp->GetAt(0)->points[0].x, 7, 1e-6);
  EXPECT_NEAR(grp->fill[0].x, 6, 1e-6);

  // The float-degree rotation of a group leaves its fill strokes alone.
  const double fillX = grp->fill[0].x;
  grp->RotateDeg(CDoublePoint(0, 0), 180.0f);
  EXPECT_DOUBLE_EQ(grp->fill[0].x, fillX);
  EXPECT_NEAR(grp->GetAt(0)->points[0].x, -7, 1e-4);

  path.ScaleAbout(CDoublePoint(1, 1), 2, 3);
  EXPECT_NEAR(path.points[0].x, 17, 1e-6);
  EXPECT_NEAR(path.points[0].y, 1, 1e-6);
  EXPECT_DOUBLE_EQ(path.second[0].x, 12);  // main list only
  EXPECT_NEAR(grp->fill[0].x, 6, 1e-6);
}

TEST(PathTransforms, SnapAndSelectionMarks) {
  CPathData path;
  path.points.Add({0.3, 1.2, 1});
  path.second.Add({0.3, 0.3});
  auto g = Group({{0.9, -0.3}});
  g->fill.Add({1.0, 0.0});
  path.GetGroupArray().Add(std::move(g));
  path.SnapToGrid(1, 1);
  EXPECT_DOUBLE_EQ(path.points[0].x, 0.5);
  EXPECT_DOUBLE_EQ(path.second[0].x, 0.3);  // the second list is not snapped
  EXPECT_DOUBLE_EQ(path.GetGroupAt(0)->GetAt(0)->points[0].y, -0.5);
  EXPECT_DOUBLE_EQ(path.GetGroupAt(0)->fill[0].x, 1.5);

  path.SetHighFlagAll();
  EXPECT_EQ(path.flag, 1);
  EXPECT_EQ(path.points[0].flag, 0x81);
  CStrokePath sp(MakeList({{1, 1}}));
  sp.flag = 1;
  sp.SetHighFlagAll();
  EXPECT_EQ(sp.flag, 0);  // a stroke path's highlight flag is cleared, not set
  EXPECT_EQ(sp.points[0].flag, 0x80);
}

TEST(PathArrays, DeleteDetachAndGather) {
  CStrokeGroup g(MakeList({{1, 1}}));
  g.AddPointList(MakeList({{2, 2}, {3, 3, 1}}));
  EXPECT_EQ(g.AddPointList(MakeList({{4, 4}})), 2);
  g.DeleteAt(3);
  g.DeleteAt(-1);
  EXPECT_EQ(g.GetCount(), 3);
  g.DeleteAt(0);
  ASSERT_EQ(g.GetCount(), 2);
  EXPECT_DOUBLE_EQ(g.GetAt(0)->points[0].x, 2);
  g.fill.Add({9, 9});
  g.RemoveAllLists();
  EXPECT_FALSE(g.IsNotEmpty());
  EXPECT_EQ(g.GetFillList().GetSize(), 1);

  CPathData path;
  EXPECT_EQ(path.GetLastGroup(), nullptr);
  auto a = Group({{1, 0}, {2, 0, 1}});
  a->fill.Add({3, 0});
  path.GetGroupArray().Add(std::move(a));
  path.GetGroupArray().Add(Group({{4, 0}}));
  CPointList all = MakeList({{0, 0}});
  EXPECT_EQ(path.GatherGroupPoints(all), 2);
  ASSERT_EQ(all.GetSize(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(all[i].x, i);

  // Detached groups belong to the caller and survive the array.
  CStrokeGroup* last = path.GetLastGroup();
  CStrokeGroup* first = path.GetGroupAt(0);
  path.GetGroupArray().DetachAll();
  EXPECT_EQ(path.GetGroupCount(), 0);
  EXPECT_DOUBLE_EQ(last->GetAt(0)->points[0].x, 4);
  std::unique_ptr<CStrokeGroup> own1(first), own2(last);

}

TEST(PathHitTest, IntersectsRect) {
  const CDoubleRect rect(0, 10, 10, 0);
  CPathData path;
  path.points.Add({5, 5});
  EXPECT_FALSE(path.IntersectsRect(rect, 0, 0));  // a single point has no segment

  // A segment straight across the rectangle with both ends far outside.
  CPathData across;
  across.points.Add({-50, 4});
  across.points.Add({30, 6});  // midpoint (-10, 5) is outside too
  EXPECT_TRUE(across.IntersectsRect(rect, 0, 0));
  EXPECT_FALSE(across.IntersectsRect(rect, 0, 20));  // shifted above it

  // Within the 0.1 mm tolerance at an end point, beyond it not.
  CPathData near;
  near.points.Add({10.05, 5});
  near.points.Add({20, 5});
  EXPECT_TRUE(near.IntersectsRect(rect, 0, 0));
  EXPECT_FALSE(near.IntersectsRect(rect, 0.1, 0));

  // The polyline is open: no closing edge from the last point to the first.
  CPathData open;
  open.points.Add({-5, -5});
  open.points.Add({-5, 15});
  open.points.Add({15, 15});
  open.points.Add({15, -5});
  EXPECT_FALSE(open.IntersectsRect(rect, 0, 0));
  open.points.Add({-5, -5});
  EXPECT_FALSE(open.IntersectsRect(rect, 0, 0));  // the frame goes around, never across
  open.points.Add({16, 16});                      // the diagonal crosses
  EXPECT_TRUE(open.IntersectsRect(rect, 0, 0));
}

TEST(PathArrays, GatherNearestFirstOrdersTheWholeOutList) {
  CStrokeGroup g(MakeList({{5, 0}, {1, 0, 1}}));
  g.AddPointList(MakeList({{3, 0}}));
  g.fill.Add({-1, 0});  // fill strokes are not gathered
  CPointList out = MakeList({{10, 0}});
  CDoublePoint start(0, 0);
  g.GatherNearestFirst(out, start);
  ASSERT_EQ(out.GetSize(), 4);
  const double expected[] = {1, 3, 5, 10};
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(out[i].x, expected[i]);
  EXPECT_DOUBLE_EQ(start.x, 10);
}

TEST(PathArrays, NewHatchGroupHatchesThenDropsContours) {
  const CPointList square = MakeList({{0, 0}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}, {0, 0, 1}});
  auto plain = NewHatchGroup(square, true, false, 0, 1);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->GetCount(), 0);
  EXPECT_EQ(plain->fill.GetSize(), 0);

  auto kept = NewHatchGroup(square, false, true, 0, 1);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->GetCount(), 1);
  EXPECT_EQ(kept->fill.GetSize(), 18);  // 9 strokes: the line on the bottom edge finds no hits

  auto fillOnly = NewHatchGroup(square, true, true, 0, 1);
  ASSERT_TRUE(fillOnly);
  EXPECT_EQ(fillOnly->GetCount(), 0);
  EXPECT_EQ(fillOnly->fill.GetSize(), 18);
  EXPECT_FLOAT_EQ(fillOnly->dotSize, 0.5f);
  EXPECT_EQ(fillOnly->kind, GROUP_KIND_LINES);
}
