// Arc object: generation of the dot path, the directed border path, handle
// resize, moving, rotating and mirroring (which must regenerate to the shape
// they leave), fill and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
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

const CPointList& Points(const CObjArc& arc) { return arc.GetPathData().points; }

void ExpectFlagsOfOneStroke(const CPointList& pts) {
  ASSERT_GT(pts.GetSize(), 0);
  EXPECT_EQ(pts[0].flag & PT_JOINED, 0);
  for (int i = 1; i < pts.GetSize(); ++i) EXPECT_EQ(pts[i].flag & PT_JOINED, PT_JOINED) << i;
}

TEST(ArcGeneration, FullQuarterAndWrappingArcsHaveTheirStepsAndEnds) {
  std::unique_ptr<CObjArc> full(Arc(0, 0, 10, 10, 0, 360));
  const CPointList& p = Points(*full);
  ASSERT_EQ(p.GetSize(), 131);  // 130 steps and the closing copy
  ExpectFlagsOfOneStroke(p);
  EXPECT_EQ(p[130].x, p[0].x);
  EXPECT_EQ(p[130].y, p[0].y);
  for (int i = 0; i < p.GetSize(); ++i) EXPECT_NEAR(std::hypot(p[i].x, p[i].y), 10, 1e-9) << i;
  std::unique_ptr<CObjArc> pointed(Arc(0, 0, 10, 10, 0, 360, 1));
  EXPECT_EQ(Points(*pointed).GetSize(), 130);
  // Start equal to end is a full turn too, closed on its first point.
  std::unique_ptr<CObjArc> fromNinety(Arc(0, 0, 10, 10, 90, 90));
  const CPointList& f = Points(*fromNinety);
  EXPECT_GE(f.GetSize(), 131);
  EXPECT_EQ(f[f.GetSize() - 1].x, f[0].x);
  EXPECT_EQ(f[f.GetSize() - 1].y, f[0].y);

  std::unique_ptr<CObjArc> quarter(Arc(5, -2, 10, 10, 0, 90));
  const CPointList& q = Points(*quarter);
  ASSERT_EQ(q.GetSize(), 34);  // the start, 32 steps and the exact end
  EXPECT_NEAR(q[0].x, 15, 1e-12);
  EXPECT_NEAR(q[33].x, 5, 1e-3);
  EXPECT_NEAR(q[33].y, 8, 1e-6);
  std::unique_ptr<CObjArc> quarterPointed(Arc(5, -2, 10, 10, 0, 90, 1));
  EXPECT_EQ(Points(*quarterPointed).GetSize(), 33);

  // 270 to 90 runs counter-clockwise through 0 degrees: the right half.
  std::unique_ptr<CObjArc> wrap(Arc(0, 0, 10, 10, 270, 90));
  const CPointList& w = Points(*wrap);
  ExpectFlagsOfOneStroke(w);
  EXPECT_NEAR(w[0].y, -10, 1e-6);
  EXPECT_NEAR(w[w.GetSize() - 1].y, 10, 1e-6);
  for (int i = 0; i < w.GetSize(); ++i) EXPECT_GT(w[i].x, -1e-3) << i;
  for (int i = 1; i < w.GetSize(); ++i) EXPECT_GT(w[i].y, w[i - 1].y) << i;
}

TEST(ArcGeneration, StepCountFollowsTheSizeWithinItsLimitsAndTinyRadiiAreReplaced) {
  std::unique_ptr<CObjArc> tiny(Arc(0, 0, 0.2, 0.3, 0, 360));
  EXPECT_EQ(tiny->GetXRadius(), 2.0);
  EXPECT_EQ(tiny->GetYRadius(), 2.0);
  EXPECT_EQ(Points(*tiny).GetSize(), 27);  // 6.5 * 4 = 26 steps

  std::unique_ptr<CObjArc> half(Arc(0, 0, 0.5, 0.5, 0, 360));
  EXPECT_EQ(Points(*half).GetSize(), 7);  // 6.5 * 1 gives 6 steps

  std::unique_ptr<CObjArc> huge(Arc(0, 0, 1000, 400, 0, 360));
  EXPECT_EQ(Points(*huge).GetSize(), 361);
  huge->BuildPathDirected(0);
  EXPECT_EQ(Points(*huge).GetSize(), 180);

  // A radius that is not a number is replaced like a tiny one.
  std::unique_ptr<CObjArc> bad(Arc(0, 0, NAN, 10, 0, 360));
  EXPECT_EQ(bad->GetXRadius(), 2.0);
  for (int i = 0; i < Points(*bad).GetSize(); ++i) EXPECT_TRUE(std::isfinite(Points(*bad)[i].x));
}

TEST(ArcGeneration, AnglesFarApartEndAfterAFewTurns) {
  // So far from zero that a step no longer changes the angle.
  std::unique_ptr<CObjArc> stuck(Arc(0, 0, 10, 10, -1e20f, 0));
  EXPECT_LE(Points(*stuck).GetSize(), 4 * 130 + 2);
  std::unique_ptr<CObjArc> spinning(Arc(0, 0, 10, 10, 0, 1e9f));
  EXPECT_LE(Points(*spinning).GetSize(), 4 * 130 + 2);
  stuck->BuildPathDirected(1);
  EXPECT_LE(Points(*stuck).GetSize(), 4 * 80 + 1);

  // Two turns are still drawn as asked.
  std::unique_ptr<CObjArc> twice(Arc(0, 0, 10, 10, 0, 720));
  EXPECT_EQ(Points(*twice).GetSize(), 261);
}

TEST(ArcGeneration, DirectedBorderRunsEitherWayWithoutClosing) {
  CObjArc clockwise(ArcImportRecord{CDoublePoint(0, 0), 1, 10, 90, 0});
  const CPointList& c = Points(clockwise);
  ExpectFlagsOfOneStroke(c);
  EXPECT_NEAR(c[0].x, 0, 1e-3);
  EXPECT_NEAR(c[0].y, 10, 1e-9);
  EXPECT_GE(c.GetSize(), 20);
  EXPECT_LE(c.GetSize(), 21);
  for (int i = 1; i < c.GetSize(); ++i) {
    EXPECT_GT(c[i].x, c[i - 1].x) << i;
    EXPECT_GE(c[i].y, 0) << i;
  }
  CObjArc counter(ArcImportRecord{CDoublePoint(0, 0), 0, 10, 0, 90});
  const CPointList& cc = Points(counter);
  EXPECT_EQ(cc[0].y, 0);
  for (int i = 1; i < cc.GetSize(); ++i) EXPECT_GT(cc[i].y, cc[i - 1].y) << i;
  // A full directed turn has no closing copy.
  CObjArc round(ArcImportRecord{CDoublePoint(0, 0), 0, 10, 0, 360});
  EXPECT_EQ(Points(round).GetSize(), 80);

  // The dialog record replaces a tiny radius and keeps the pointed flag.
  CObjArc drawn(ArcDialogRecord{1, CDoublePoint(1, 1), 0.1, 5, 1});
  EXPECT_EQ(drawn.GetXRadius(), 2.0);
  EXPECT_EQ(drawn.GetLockRatio(), 1);
  EXPECT_EQ(drawn.IsPointed(), 1);
  CObjArc ruler(ArcRulerRecord{0, CDoublePoint(0, 0), 10, 0, 90});
  EXPECT_EQ(Points(ruler).GetSize(), 34);
}

TEST(ArcTransform, HandleResizeScalesRadiiAndCentreOrMovesThinArcs) {
  auto* arc = Arc(0, 0, 10, 10, 0, 360);
  auto e = ElementOf(OBJ_ARC, arc);
  CDoubleRect old = e->boundRect;
  CDoubleRect bigger = old;
  bigger.right = old.left + 2 * old.Width();
  e->Resize(bigger, old, 2);  // right-top: anchored at the left-bottom corner
  EXPECT_NEAR(arc->GetXRadius(), 20, 1e-9);
  EXPECT_NEAR(arc->GetYRadius(), 10, 1e-9);
  EXPECT_NEAR(arc->GetCentre().x, 10, 1e-6);
  EXPECT_NEAR(e->boundRect.right, 30, 1e-6);
  EXPECT_EQ(e->boundRect, arc->GetPathData().GetBoundRect());

  old = e->boundRect;
  CDoubleRect taller = old;
  taller.top = old.bottom + 3 * old.Height();
  e->Resize(taller, old, 1);  // top middle: only the y radius
  EXPECT_NEAR(arc->GetXRadius(), 20, 1e-9);
  EXPECT_NEAR(arc->GetYRadius(), 30, 1e-9);
  ASSERT_EQ(arc->GetPathData().GetGroupCount(), 1);  // rebuilt after the new shape

  // A short arc near the top is too thin to scale by its height: it moves
  // with the centre of the new rectangle instead.
  auto* flat = Arc(0, 0, 10, 10, 88, 92);
  auto f = ElementOf(OBJ_ARC, flat);
  old = f->boundRect;
  ASSERT_LT(old.Height(), 0.2);
  CDoubleRect moved(old.left + 1, old.top + 7, old.right + 1, old.bottom + 3);
  f->Resize(moved, old, 1);
  EXPECT_NEAR(flat->GetCentre().x, 1, 1e-12);
  EXPECT_NEAR(flat->GetCentre().y, 5, 1e-12);
  EXPECT_DOUBLE_EQ(flat->GetYRadius(), 10);
}

TEST(ArcTransform, MovedRotatedAndMirroredArcsRegenerateWhereTheyAre) {
  auto* arc = Arc(2, 3, 10, 6, 20, 110);
  arc->SetRotation(15);
  arc->BuildPath();
  auto e = ElementOf(OBJ_ARC, arc);

  e->MoveBy(4, -1);
  EXPECT_DOUBLE_EQ(arc->GetCentre().x, 6);
  EXPECT_DOUBLE_EQ(arc->GetCentre().y, 2);
  auto moved = Snapshot(arc->GetPathData());
  arc->BuildPath();
  EXPECT_LT(MaxPointGap(*moved, arc->GetPathData().points), 1e-9);

  e->Rotate(CDoublePoint(-5, 7), 0.5);
  auto rotated = Snapshot(arc->GetPathData());
  arc->BuildPath();
  EXPECT_LT(MaxPointGap(*rotated, arc->GetPathData().points), 1e-4);

  // A partial arc mirrored about any axis, then resized or saved, must not
  // jump: it regenerates mirrored about its own centre.
  e->MirrorX(40);
  EXPECT_EQ(arc->GetMirrorFlags(), MIRROR_X);
  auto mirrored = Snapshot(arc->GetPathData());
  arc->BuildPath();
  EXPECT_LT(MaxPointGap(*mirrored, arc->GetPathData().points), 1e-4);

  // Turning a reflected arc turns its parameters the other way.
  e->Rotate(CDoublePoint(1, 1), 0.7);
  auto turnedMirror = Snapshot(arc->GetPathData());
  arc->BuildPath();
  EXPECT_LT(MaxPointGap(*turnedMirror, arc->GetPathData().points), 1e-4);

  // Mirrored both ways it is a half turn, which turns with the shape.
  e->MirrorY(-3);
  e->Rotate(CDoublePoint(0, 0), -1.1);
  auto both = Snapshot(arc->GetPathData());
  arc->BuildPath();
  EXPECT_LT(MaxPointGap(*both, arc->GetPathData().points), 1e-4);

  // Mirroring twice about the same axis gives the points back.
  auto before = Snapshot(arc->GetPathData());
  e->MirrorY(2.5);
  e->MirrorY(2.5);
  EXPECT_LT(MaxPointGap(*before, arc->GetPathData().points), 1e-12);

  // A mirrored arc stays mirrored after a handle resize.
  std::unique_ptr<CObjElement> q = ElementOf(OBJ_ARC, Arc(0, 0, 10, 10, 0, 90));
  q->MirrorX(0);
  CDoubleRect old = q->boundRect;
  CDoubleRect bigger(old.left - old.Width(), old.top + old.Height(), old.right, old.bottom);
  q->Resize(bigger, old, 0);
  const CPointList& pts = q->GetPath()->points;
  EXPECT_NEAR(pts[0].x, -20, 1e-3);  // the arc's start, mirrored to the left
  EXPECT_NEAR(pts[pts.GetSize() - 1].y, 20, 1e-3);
}

TEST(ArcTransform, RotationFieldStaysWithinATurnEitherWay) {
  CObjArc arc;
  const double twoDegrees = 2 / 57.295779;
  arc.SetRotation(359);
  arc.Rotate(CDoublePoint(), twoDegrees);
  EXPECT_NEAR(arc.GetRotation(), 1, 1e-4);
  arc.SetRotation(-359);
  arc.Rotate(CDoublePoint(), -twoDegrees);
  EXPECT_NEAR(arc.GetRotation(), -1, 1e-4);
  arc.SetRotation(359);
  arc.Rotate(CDoublePoint(), 0);
  EXPECT_FLOAT_EQ(arc.GetRotation(), 359);
  arc.SetRotation(-359);
  arc.Rotate(CDoublePoint(), 0);
  EXPECT_FLOAT_EQ(arc.GetRotation(), -359);
  arc.SetRotation(3.0e38f);  // from a damaged file
  arc.Rotate(CDoublePoint(), 0.1);
  EXPECT_GT(arc.GetRotation(), -360);
  EXPECT_LT(arc.GetRotation(), 360);
}

TEST(ArcFill, GroupsFollowTheOwnersFillSwitches) {
  CObjArc bare;
  bare.BuildPath();
  bare.RebuildFill();
  EXPECT_EQ(bare.GetPathData().GetGroupCount(), 0);  // no owner, no groups

  auto* arc = Arc(0, 0, 10, 10, 0, 360);
  auto e = ElementOf(OBJ_ARC, arc);
  ASSERT_EQ(arc->GetPathData().GetGroupCount(), 1);
  const CStrokeGroup* outline = arc->GetPathData().GetGroupAt(0);
  EXPECT_EQ(outline->GetCount(), 1);
  EXPECT_EQ(outline->GetAt(0)->points.GetSize(), 131);
  EXPECT_EQ(outline->fill.GetSize(), 0);

  e->fillSpacing = 1;
  e->SetFillOn(1);
  e->RefreshTypeObject();
  const CStrokeGroup* hatched = arc->GetPathData().GetGroupAt(0);
  EXPECT_EQ(hatched->GetCount(), 1);
  EXPECT_GE(hatched->fill.GetSize(), 2 * 18);  // about 19 strokes 1 mm apart
  e->SetDiscardBorder(1);
  e->RefreshTypeObject();
  EXPECT_EQ(arc->GetPathData().GetGroupAt(0)->GetCount(), 0);
  EXPECT_GT(arc->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);

  // Mirroring and resizing rebuild the fill of the new points.
  e->MirrorX(50);
  EXPECT_GT(arc->GetPathData().GetGroupAt(0)->fill[0].x, 80);
}

TEST(ArcCopy, DuplicateKeepsShapeFlagsAndRegeneratesInPlace) {
  auto* arc = Arc(1, 2, 8, 4, 30, 200, 1);
  arc->SetLockRatio(1);
  auto source = ElementOf(OBJ_ARC, arc);
  source->MirrorY(10);
  CObjElement copy;
  copy.CopyFrom(*source);
  auto* dup = copy.GetObjectAs<CObjArc>();
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(dup->GetPathData().GetOwner(), &copy);
  EXPECT_EQ(dup->GetMirrorFlags(), MIRROR_Y);
  EXPECT_EQ(dup->IsPointed(), 1);
  EXPECT_EQ(dup->GetLockRatio(), 1);
  EXPECT_EQ(dup->GetPathData().GetGroupCount(), 0);  // until the copy's fill is rebuilt
  copy.MoveBy(5, 0);
  auto moved = Snapshot(dup->GetPathData());
  dup->BuildPath();
  EXPECT_LT(MaxPointGap(*moved, dup->GetPathData().points), 1e-9);
  EXPECT_NEAR(dup->GetPathData().points[0].x, arc->GetPathData().points[0].x + 5, 1e-9);
}

}  // namespace
