// Arc object: generation of the dot path and of the directed border path,
// handle resize, and moves, turns and mirrors that must regenerate to the
// shape they leave; fill and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/path/CStrokeGroup.h"
#include "tests/document/objects/ParametricTestSupport.h"

namespace {

CObjArc* Arc(double cx, double cy, double rx, double ry, float start, float end, int pointed = 0) {
  auto* arc = new CObjArc();
  arc->SetCentre(CDoublePoint(cx, cy));
  arc->SetRadii(rx, ry);
  arc->SetAngles(start, end);
  arc->SetPointed(pointed);
  arc->BuildPath();
  return arc;
}

int CountOf(double cx, double cy, double rx, double ry, float start, float end, int pointed = 0) {
  std::unique_ptr<CObjArc> arc(Arc(cx, cy, rx, ry, start, end, pointed));
  return arc->GetPathData().points.GetSize();
}

TEST(ArcGeneration, StepsEndsAndClosingFollowTheAnglesAndThePointedFlag) {
  std::unique_ptr<CObjArc> full(Arc(0, 0, 10, 10, 0, 360));
  const CPointList& p = full->GetPathData().points;
  ASSERT_EQ(p.GetSize(), 131);  // 130 steps and the closing copy
  EXPECT_EQ(p[0].flag, 0);
  for (int i = 1; i < p.GetSize(); ++i) EXPECT_EQ(p[i].flag, PT_JOINED) << i;
  EXPECT_TRUE(p[130].x == p[0].x && p[130].y == p[0].y);
  for (int i = 0; i < p.GetSize(); ++i) EXPECT_NEAR(std::hypot(p[i].x, p[i].y), 10, 1e-9) << i;
  EXPECT_EQ(CountOf(0, 0, 10, 10, 0, 360, 1), 130);
  EXPECT_EQ(CountOf(5, -2, 10, 10, 0, 90), 34);  // start, 32 steps, exact end
  EXPECT_EQ(CountOf(5, -2, 10, 10, 0, 90, 1), 33);

  // 270 to 90 runs counter-clockwise through 0: the right half, ending exactly.
  std::unique_ptr<CObjArc> wrap(Arc(0, 0, 10, 10, 270, 90));
  const CPointList& w = wrap->GetPathData().points;
  EXPECT_NEAR(w[0].y, -10, 1e-6);
  EXPECT_NEAR(w[w.GetSize() - 1].y, 10, 1e-6);
  for (int i = 1; i < w.GetSize(); ++i) {
    EXPECT_GT(w[i].y, w[i - 1].y) << i;
    EXPECT_GT(w[i].x, -1e-3) << i;
  }

  // Steps per turn grow with the size, 6 to 360; tiny radii become 2 mm.
  std::unique_ptr<CObjArc> tiny(Arc(0, 0, 0.2, 0.3, 0, 360));
  EXPECT_EQ(tiny->GetXRadius(), 2.0);
  EXPECT_EQ(tiny->GetPathData().points.GetSize(), 27);
  EXPECT_EQ(CountOf(0, 0, 0.5, 0.5, 0, 360), 7);
  EXPECT_EQ(CountOf(0, 0, 1000, 400, 0, 360), 361);
  EXPECT_EQ(CountOf(0, 0, NAN, 10, 0, 360), 79);  // a radius that is no number counts as tiny: 2 mm

  // Angles far apart (a damaged file) end after a few turns, also when a step
  // no longer changes the angle; ten turns are still drawn as asked.
  EXPECT_LE(CountOf(0, 0, 10, 10, -1e20f, 0), 100 * 130 + 2);
  EXPECT_LE(CountOf(0, 0, 10, 10, 0, 1e9f), 100 * 130 + 2);
  EXPECT_EQ(CountOf(0, 0, 10, 10, 0, 720), 261);
  EXPECT_EQ(CountOf(0, 0, 10, 10, 0, 3600), 1301);
}

TEST(ArcGeneration, DirectedBorderRunsEitherWayWithoutClosing) {
  CObjArc clockwise(ArcImportRecord{CDoublePoint(0, 0), 1, 10, 90, 0});
  const CPointList& c = clockwise.GetPathData().points;
  EXPECT_NEAR(c[0].y, 10, 1e-9);
  EXPECT_EQ(c.GetSize(), 20);  // 80 steps a turn
  for (int i = 1; i < c.GetSize(); ++i) EXPECT_TRUE(c[i].x > c[i - 1].x && c[i].y >= 0) << i;

  CObjArc counter(ArcImportRecord{CDoublePoint(0, 0), 0, 10, 0, 360});
  EXPECT_EQ(counter.GetPathData().points.GetSize(), 80);
  EXPECT_GT(counter.GetPathData().points[1].y, 0);
  counter.SetRadii(1000, 400);
  counter.BuildPathDirected(0);
  EXPECT_EQ(counter.GetPathData().points.GetSize(), 180);
}

TEST(ArcTransform, HandleResizeScalesRadiiAndCentreOrMovesThinArcs) {
  auto* arc = Arc(0, 0, 10, 10, 0, 360);
  auto e = ElementOf(OBJ_ARC, arc);
  CDoubleRect old = e->boundRect;
  CDoubleRect wider = old;
  wider.right = old.left + 2 * old.Width();
  e->Resize(wider, old, 2);  // right-top: anchored at the left-bottom corner
  EXPECT_NEAR(arc->GetXRadius(), 20, 1e-9);
  EXPECT_NEAR(arc->GetYRadius(), 10, 1e-9);
  EXPECT_NEAR(arc->GetCentre().x, 10, 1e-6);
  EXPECT_EQ(e->boundRect, arc->GetPathData().GetBoundRect());

  old = e->boundRect;
  CDoubleRect taller = old;
  taller.top = old.bottom + 3 * old.Height();
  e->Resize(taller, old, 1);  // top middle: only the y radius
  EXPECT_NEAR(arc->GetXRadius(), 20, 1e-9);
  EXPECT_NEAR(arc->GetYRadius(), 30, 1e-9);
  EXPECT_EQ(arc->GetPathData().GetGroupCount(), 1);

  // A short arc at the top is too thin to scale by its height: it follows
  // the centre of the new rectangle instead.
  auto* flat = Arc(0, 0, 10, 10, 88, 92);
  auto f = ElementOf(OBJ_ARC, flat);
  old = f->boundRect;
  f->Resize(CDoubleRect(old.left + 1, old.top + 7, old.right + 1, old.bottom + 3), old, 1);
  EXPECT_NEAR(flat->GetCentre().x, 1, 1e-12);
  EXPECT_NEAR(flat->GetCentre().y, 5, 1e-12);
  EXPECT_EQ(flat->GetYRadius(), 10);
}

TEST(ArcTransform, MovedTurnedAndMirroredArcsRegenerateWhereTheyAre) {
  auto* arc = Arc(2, 3, 10, 6, 20, 110);
  arc->SetRotation(15);
  arc->BuildPath();
  auto e = ElementOf(OBJ_ARC, arc);
  e->MoveBy(4, -1);
  EXPECT_TRUE(arc->GetCentre().x == 6 && arc->GetCentre().y == 2);
  EXPECT_LT(RegenerationGap(*arc), 1e-9);
  e->Rotate(CDoublePoint(-5, 7), 0.5);
  EXPECT_LT(RegenerationGap(*arc), 1e-4);
  // A partial arc's bounds are not centred on its centre, and a mirrored arc
  // is regenerated about the centre of its bounds: mirrored, it must still
  // regenerate where it is drawn, not jump.
  e->MirrorX(40);
  EXPECT_EQ(arc->GetMirrorFlags(), MIRROR_X);
  EXPECT_LT(RegenerationGap(*arc), 1e-4);
  // Turning a reflection turns its parameters the other way; mirrored both
  // ways it is a half turn again.
  e->Rotate(CDoublePoint(1, 1), 0.7);
  EXPECT_LT(RegenerationGap(*arc), 1e-4);
  e->MirrorY(-3);
  e->Rotate(CDoublePoint(0, 0), -1.1);
  EXPECT_LT(RegenerationGap(*arc), 1e-4);

  // A mirrored quarter arc stays mirrored and in place through a handle
  // resize: scaled about the opposite corner into the dragged rectangle.
  auto* quarterArc = Arc(0, 0, 10, 10, 0, 90);
  auto quarter = ElementOf(OBJ_ARC, quarterArc);
  quarter->MirrorX(0);
  EXPECT_LT(RegenerationGap(*quarterArc), 1e-9);
  const CDoubleRect old = quarter->boundRect;
  const CDoubleRect dragged(old.left - old.Width(), old.top + old.Height(), old.right, old.bottom);
  quarter->Resize(dragged, old, 0);
  const CPointList& q = quarter->GetPath()->points;
  EXPECT_NEAR(q[0].x, -20, 1e-3);
  EXPECT_NEAR(q[0].y, 0, 1e-9);
  EXPECT_NEAR(q[q.GetSize() - 1].x, 0, 1e-3);
  EXPECT_NEAR(q[q.GetSize() - 1].y, 20, 1e-9);
  EXPECT_NEAR(quarter->boundRect.left, dragged.left, 1e-3);
  EXPECT_NEAR(quarter->boundRect.top, dragged.top, 1e-9);
  EXPECT_LT(RegenerationGap(*quarterArc), 1e-9);

  // The rotation field stays within a turn either way.
  const double twoDegrees = 2 / 57.295779;
  for (float start : {359.0f, -359.0f}) {
    arc->SetRotation(start);
    arc->Rotate(CDoublePoint(), 0);
    EXPECT_EQ(arc->GetRotation(), start);
    arc->SetMirrorFlags(0);
    arc->Rotate(CDoublePoint(), start > 0 ? twoDegrees : -twoDegrees);
    EXPECT_NEAR(arc->GetRotation(), start > 0 ? 1 : -1, 1e-4);
  }
}

TEST(ArcFillAndCopy, FillFollowsTheOwnerAndDuplicatesKeepTheirShape) {
  CObjArc bare;
  bare.BuildPath();
  bare.RebuildFill();
  EXPECT_EQ(bare.GetPathData().GetGroupCount(), 0);  // no owner, no groups

  auto* arc = Arc(0, 0, 10, 10, 0, 360);
  auto e = ElementOf(OBJ_ARC, arc);
  const CPathData& path = arc->GetPathData();
  ASSERT_EQ(path.GetGroupCount(), 1);
  EXPECT_EQ(path.GetGroupAt(0)->GetAt(0)->points.GetSize(), 131);
  EXPECT_EQ(path.GetGroupAt(0)->fill.GetSize(), 0);
  e->fillSpacing = 1;
  e->SetFillOn(1);
  e->SetDiscardBorder(1);
  e->RefreshTypeObject();
  EXPECT_EQ(path.GetGroupAt(0)->GetCount(), 0);
  EXPECT_GE(path.GetGroupAt(0)->fill.GetSize(), 2 * 18);  // about 19 strokes 1 mm apart
  e->MirrorX(50);
  EXPECT_GT(path.GetGroupAt(0)->fill[0].x, 80);  // rebuilt on the mirrored points

  // A duplicate keeps the mirror and pointed flags of the points it copies.
  auto source = ElementOf(OBJ_ARC, Arc(1, 2, 8, 4, 30, 200, 1));
  source->MirrorY(10);
  CObjElement copy;
  copy.CopyFrom(*source);
  auto* dup = copy.GetObjectAs<CObjArc>();
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(dup->GetPathData().GetOwner(), &copy);
  copy.MoveBy(5, 0);
  EXPECT_LT(RegenerationGap(*dup), 1e-9);
  EXPECT_NEAR(dup->GetPathData().points[0].x, source->GetPath()->points[0].x + 5, 1e-9);
}

}  // namespace
