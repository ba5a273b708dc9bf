// Multi-border object: the regular polygon's vertices, its handle resize,
// rotation and mirroring (which must regenerate to the shape they leave),
// fill, copies and side counts from damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/mrk/MrkKeys.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/path/CStrokeGroup.h"
#include "tests/document/objects/ParametricTestSupport.h"

namespace {

CObjMultiBorder* Polygon(double cx, double cy, double radius, double start, int sides) {
  return new CObjMultiBorder(MultiBorderDialogRecord{CDoublePoint(cx, cy), radius, start, sides});
}

const CPointList& Points(const CObjMultiBorder& polygon) { return polygon.GetPathData().points; }

TEST(MultiBorderGeneration, VerticesLieOnTheCircleFromTheStartAngleAndClose) {
  CObjMultiBorder hexagon;
  EXPECT_EQ(Points(hexagon).GetSize(), 0);  // nothing until built
  hexagon.BuildPath();
  const CPointList& p = Points(hexagon);
  ASSERT_EQ(p.GetSize(), 7);
  for (int i = 0; i < 6; ++i) {
    const double a = (60 + 60 * i) * M_PI / 180;
    EXPECT_NEAR(p[i].x, 10 * std::cos(a), 1e-4) << i;
    EXPECT_NEAR(p[i].y, 10 * std::sin(a), 1e-4) << i;
    EXPECT_EQ(p[i].flag, i == 0 ? 0 : PT_JOINED) << i;
  }
  EXPECT_EQ(p[6].x, p[0].x);
  EXPECT_EQ(p[6].y, p[0].y);
  EXPECT_EQ(p[6].flag, PT_JOINED);

  std::unique_ptr<CObjMultiBorder> two(Polygon(1, 1, 5, 0, 2));
  EXPECT_EQ(two->GetSides(), 3);
  EXPECT_EQ(Points(*two).GetSize(), 4);
  EXPECT_NEAR(Points(*two)[0].x, 6, 1e-12);

  // Counts from a damaged file: too few sides would leave no vertex to close
  // on, too many would only make a circle of millions of points.
  CObjMultiBorder fromFile;
  fromFile.SetField(100, MrkValue::OfInt(0));
  fromFile.BuildPath();
  EXPECT_EQ(fromFile.GetSides(), 3);
  EXPECT_EQ(Points(fromFile).GetSize(), 4);
  fromFile.SetField(100, MrkValue::OfInt(-7));
  EXPECT_EQ(fromFile.GetSides(), 3);
  fromFile.SetField(100, MrkValue::OfInt(2000000000));
  fromFile.BuildPath();
  EXPECT_EQ(Points(fromFile).GetSize(), CObjMultiBorder::kMaxSides + 1);
  fromFile.SetField(50, MrkValue::OfDouble(INFINITY));
  fromFile.SetField(10, MrkValue::OfDouble(NAN));
  EXPECT_EQ(fromFile.GetRadius(), 10);
  EXPECT_EQ(fromFile.GetCentre().x, 0);
}

TEST(MultiBorderTransform, HandleResizeKeepsThePolygonRegular) {
  auto* hexagon = Polygon(0, 0, 10, 60, 6);
  auto e = ElementOf(OBJ_MULTIBORDER, hexagon);
  CDoubleRect old = e->boundRect;
  EXPECT_NEAR(old.Height(), 10 * std::sqrt(3.0), 1e-3);
  CDoubleRect taller = old;
  taller.top = old.bottom + 2 * old.Height();
  e->Resize(taller, old, 1);  // top middle: sx 1, sy 2
  EXPECT_NEAR(hexagon->GetRadius(), 15, 1e-9);
  EXPECT_NEAR(hexagon->GetCentre().x, 0, 1e-9);
  EXPECT_NEAR(hexagon->GetCentre().y, 5 * std::sqrt(3.0), 1e-3);
  EXPECT_EQ(e->boundRect, hexagon->GetPathData().GetBoundRect());
  for (int i = 0; i < 6; ++i) {
    const CDoublePoint& v = Points(*hexagon)[i];
    EXPECT_NEAR(std::hypot(v.x - hexagon->GetCentre().x, v.y - hexagon->GetCentre().y), 15, 1e-9) << i;
  }

  // Moving only: the centre follows the rectangle and nothing is rebuilt.
  old = e->boundRect;
  CDoubleRect shifted = old;
  shifted.OffsetRect(3, -2);
  e->Resize(shifted, old, HANDLE_MOVE_ONLY);
  EXPECT_NEAR(hexagon->GetCentre().x, 3, 1e-9);
  EXPECT_NEAR(hexagon->GetRadius(), 15, 1e-9);
}

TEST(MultiBorderTransform, RotatedAndMirroredPolygonsRegenerateWhereTheyAre) {
  auto* hexagon = Polygon(4, -1, 10, 60, 6);
  auto e = ElementOf(OBJ_MULTIBORDER, hexagon);
  // Twelve turns of 30 degrees come back to the first start angle, never
  // leaving [0, 360) on the way.
  for (int i = 0; i < 12; ++i) {
    e->Rotate(CDoublePoint(4, -1), 0.5235988);
    EXPECT_GE(hexagon->GetStartAngle(), 0) << i;
    EXPECT_LT(hexagon->GetStartAngle(), 360) << i;
  }
  EXPECT_NEAR(hexagon->GetStartAngle(), 60, 1e-3);

  e->Rotate(CDoublePoint(-20, 3), 1.3);
  auto rotated = Snapshot(hexagon->GetPathData());
  hexagon->BuildPath();
  EXPECT_LT(MaxPointGap(*rotated, hexagon->GetPathData().points), 1e-4);

  // A triangle's bounds are not centred on its centre; mirrored and then
  // resized or saved, it must not jump.
  auto* triangle = Polygon(0, 0, 10, 90, 3);
  auto t = ElementOf(OBJ_MULTIBORDER, triangle);
  t->MirrorY(7);
  EXPECT_EQ(triangle->GetMirrorFlags(), MIRROR_Y);
  EXPECT_DOUBLE_EQ(triangle->GetCentre().y, 14);
  auto mirrored = Snapshot(triangle->GetPathData());
  EXPECT_NEAR((*mirrored)[0].y, 4, 1e-9);  // the top vertex is now the bottom one
  triangle->BuildPath();
  EXPECT_LT(MaxPointGap(*mirrored, triangle->GetPathData().points), 1e-9);

  // Turning a reflected polygon turns its start angle the other way.
  t->Rotate(CDoublePoint(1, 2), 0.4);
  auto turned = Snapshot(triangle->GetPathData());
  triangle->BuildPath();
  EXPECT_LT(MaxPointGap(*turned, triangle->GetPathData().points), 1e-4);

  // Mirrored in x too it is a half turn again.
  t->MirrorX(-2);
  t->Rotate(CDoublePoint(0, 0), -0.9);
  auto both = Snapshot(triangle->GetPathData());
  triangle->BuildPath();
  EXPECT_LT(MaxPointGap(*both, triangle->GetPathData().points), 1e-4);
}

TEST(MultiBorderFillAndCopy, FillFollowsTheOwnerAndDuplicatesRegenerateInPlace) {
  auto* pentagon = Polygon(0, 0, 10, 18, 5);
  auto source = ElementOf(OBJ_MULTIBORDER, pentagon, ATTR_MARK | ATTR_FILL | ATTR_DISCARD_BORDER);
  ASSERT_EQ(pentagon->GetPathData().GetGroupCount(), 1);
  EXPECT_EQ(pentagon->GetPathData().GetGroupAt(0)->GetCount(), 0);  // hatch only
  EXPECT_GT(pentagon->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);

  source->MirrorX(3);
  CObjElement copy;
  copy.CopyFrom(*source);
  auto* dup = copy.GetObjectAs<CObjMultiBorder>();
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(dup->GetSides(), 5);
  EXPECT_EQ(dup->GetMirrorFlags(), MIRROR_X);
  copy.MoveBy(0, 5);
  auto moved = Snapshot(dup->GetPathData());
  dup->BuildPath();
  EXPECT_LT(MaxPointGap(*moved, dup->GetPathData().points), 1e-9);
  EXPECT_NEAR(Points(*dup)[2].y, Points(*pentagon)[2].y + 5, 1e-9);
  copy.RefreshTypeObject();
  EXPECT_EQ(dup->GetPathData().GetGroupCount(), 1);
}

}  // namespace
