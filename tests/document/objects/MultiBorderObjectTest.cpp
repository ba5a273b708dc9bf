// Multi-border object: the regular polygon's vertices, side counts from
// damaged files, handle resize, turns and mirrors that must regenerate to the
// shape they leave, fill and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/mrk/MrkKeys.h"
#include "document/path/CStrokeGroup.h"
#include "tests/document/objects/ParametricTestSupport.h"

namespace {

CObjMultiBorder* Polygon(double cx, double cy, double radius, double start, int sides) {
  return new CObjMultiBorder(MultiBorderDialogRecord{CDoublePoint(cx, cy), radius, start, sides});
}

TEST(MultiBorderGeneration, VerticesStartAtTheStartAngleAndCloseWhateverTheCount) {
  CObjMultiBorder hexagon;
  hexagon.BuildPath();
  const CPointList& p = hexagon.GetPathData().points;
  ASSERT_EQ(p.GetSize(), 7);
  for (int i = 0; i < 6; ++i) {
    const double a = (60 + 60 * i) * M_PI / 180;
    EXPECT_NEAR(p[i].x, 10 * std::cos(a), 1e-4) << i;
    EXPECT_NEAR(p[i].y, 10 * std::sin(a), 1e-4) << i;
    EXPECT_EQ(p[i].flag, i == 0 ? 0 : PT_JOINED) << i;
  }
  EXPECT_TRUE(p[6].x == p[0].x && p[6].y == p[0].y && p[6].flag == PT_JOINED);

  std::unique_ptr<CObjMultiBorder> two(Polygon(1, 1, 5, 0, 2));
  EXPECT_EQ(two->GetSides(), 3);
  EXPECT_EQ(two->GetPathData().points.GetSize(), 4);

  // From a damaged file: no side would leave no vertex to close on, millions
  // would only make a circle of millions of points; no numbers are not taken.
  CObjMultiBorder fromFile;
  fromFile.SetField(100, MrkValue::OfInt(0));
  fromFile.BuildPath();
  EXPECT_EQ(fromFile.GetPathData().points.GetSize(), 4);
  fromFile.SetField(100, MrkValue::OfInt(2000000000));
  fromFile.BuildPath();
  EXPECT_EQ(fromFile.GetPathData().points.GetSize(), CObjMultiBorder::kMaxSides + 1);
  fromFile.SetField(50, MrkValue::OfDouble(INFINITY));
  fromFile.SetField(10, MrkValue::OfDouble(NAN));
  EXPECT_TRUE(fromFile.GetRadius() == 10 && fromFile.GetCentre().x == 0);
}

TEST(MultiBorderTransform, ResizeKeepsItRegularAndTurnsAndMirrorsRegenerateInPlace) {
  auto* hexagon = Polygon(0, 0, 10, 60, 6);
  auto e = ElementOf(OBJ_MULTIBORDER, hexagon);
  CDoubleRect old = e->boundRect;
  CDoubleRect taller = old;
  taller.top = old.bottom + 2 * old.Height();
  e->Resize(taller, old, 1);  // top middle: sx 1, sy 2, the radius takes the mean
  EXPECT_NEAR(hexagon->GetRadius(), 15, 1e-9);
  EXPECT_NEAR(hexagon->GetCentre().y, 5 * std::sqrt(3.0), 1e-3);
  EXPECT_EQ(e->boundRect, hexagon->GetPathData().GetBoundRect());
  old = e->boundRect;
  CDoubleRect shifted = old;
  shifted.OffsetRect(3, -2);
  e->Resize(shifted, old, HANDLE_MOVE_ONLY);
  EXPECT_NEAR(hexagon->GetCentre().x, 3, 1e-9);
  EXPECT_NEAR(hexagon->GetRadius(), 15, 1e-9);

  // Twelve turns of 30 degrees come back to the start angle, never leaving
  // [0, 360) on the way.
  for (int i = 0; i < 12; ++i) {
    e->Rotate(CDoublePoint(4, -1), 0.5235988);
    EXPECT_TRUE(hexagon->GetStartAngle() >= 0 && hexagon->GetStartAngle() < 360) << i;
  }
  EXPECT_NEAR(hexagon->GetStartAngle(), 60, 1e-3);
  EXPECT_LT(RegenerationGap(*hexagon), 1e-4);

  // A triangle's bounds are not centred on its centre, and a mirrored polygon
  // is regenerated about the centre of its bounds: mirrored, it must still
  // regenerate where it is drawn, not jump.
  auto* triangle = Polygon(0, 0, 10, 90, 3);
  auto t = ElementOf(OBJ_MULTIBORDER, triangle);
  t->MirrorY(7);
  EXPECT_EQ(triangle->GetMirrorFlags(), MIRROR_Y);
  EXPECT_NEAR(triangle->GetPathData().points[0].y, 4, 1e-9);  // the top vertex is now the bottom one
  EXPECT_LT(RegenerationGap(*triangle), 1e-9);
  // Turning a reflection turns its start angle the other way; mirrored both
  // ways it is a half turn again.
  t->Rotate(CDoublePoint(1, 2), 0.4);
  EXPECT_LT(RegenerationGap(*triangle), 1e-4);
  t->MirrorX(-2);
  t->Rotate(CDoublePoint(0, 0), -0.9);
  EXPECT_LT(RegenerationGap(*triangle), 1e-4);

  // Mirrored, turned and resized from a corner, it grows about the opposite
  // corner into the dragged rectangle and stays there.
  const CDoubleRect before = t->boundRect;
  CPointList expected(triangle->GetPathData().points);
  for (int i = 0; i < expected.GetSize(); ++i) {
    expected[i].x = before.left + (expected[i].x - before.left) * 2;
    expected[i].y = before.top + (expected[i].y - before.top) * 2;
  }
  t->Resize(CDoubleRect(before.left, before.top, before.right + before.Width(), before.bottom - before.Height()),
            before, 4);
  EXPECT_NEAR(triangle->GetRadius(), 20, 1e-9);
  EXPECT_LT(MaxPointGap(triangle->GetPathData().points, expected), 1e-4);
  EXPECT_LT(RegenerationGap(*triangle), 1e-9);
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
  copy.MoveBy(0, 5);
  EXPECT_LT(RegenerationGap(*dup), 1e-9);
  EXPECT_NEAR(dup->GetPathData().points[2].y, pentagon->GetPathData().points[2].y + 5, 1e-9);
}

}  // namespace
