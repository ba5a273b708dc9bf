// B-spline object: the curve regenerated through the control points, control
// point editing, the element's transforms, drawing of the control points and
// the project file (today's and old files).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/ShellValues.h"
#include "document/curves/CInterpCurve.h"
#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"
#include "document/path/CStrokeGroup.h"
#include "platform/DeviceContext.h"
#include "tests/document/mrk/MrkTestSupport.h"

const CObjTypeOps& BSplineTypeOps();

namespace {

class BSplineTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterObjTypeOps(ObjClassId::BSpline, &BSplineTypeOps()); }
  void TearDown() override { RegisterObjTypeOps(ObjClassId::BSpline, nullptr); }
};

CPointList MakeList(const std::vector<CDoublePoint>& pts) {
  CPointList list;
  for (const auto& p : pts) list.Add(p);
  return list;
}

const std::vector<CDoublePoint> kControls = {{0, 0, 0}, {10, 5, 1}, {20, 0, 1}, {30, 8, 1}};

// An element owning a spline through the points, curve built, bounds set.
std::unique_ptr<CObjElement> MakeElement(const std::vector<CDoublePoint>& pts = kControls) {
  CPointList list = MakeList(pts);
  auto* spline = new CObjBSpline(list);
  auto element = std::make_unique<CObjElement>(
      CObjCreateRecord{"spline-1", OBJ_BSPLINE, spline, static_cast<int>(sizeof(CObjBSpline)), {}});
  spline->RebuildCurve();
  element->UpdateBoundRect();
  return element;
}

CObjBSpline& SplineOf(const CObjElement& e) { return *e.GetObjectAs<CObjBSpline>(); }

const CPointList& CurveOf(const CObjElement& e) {
  return SplineOf(e).GetPathData().GetGroupAt(0)->GetAt(0)->points;
}

// The curve CInterpCurve gives for the points.
CPointList ExpectedCurve(const CPointList& controls) {
  CPointList out;
  CInterpCurve(controls).BuildPolyline(out);
  return out;
}

void ExpectSameCurve(const CPointList& a, const CPointList& b, double tol = 1e-9) {
  ASSERT_EQ(a.GetSize(), b.GetSize());
  for (int i = 0; i < a.GetSize(); ++i) {
    EXPECT_NEAR(a[i].x, b[i].x, tol) << i;
    EXPECT_NEAR(a[i].y, b[i].y, tol) << i;
  }
}

TEST_F(BSplineTest, CurveIsRegeneratedThroughTheControlPointsWithTheFillSettings) {
  CPointList list = MakeList(kControls);
  CObjBSpline loose(list);
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(loose.GetVertexCount(), 4);
  EXPECT_EQ(loose.GetEditIndex(), -1);
  EXPECT_EQ(loose.IsClosed(), 0);
  EXPECT_EQ(loose.GetPathData().GetGroupCount(), 0);  // no curve until asked
  loose.RebuildCurve();                               // no owner: no curve
  EXPECT_EQ(loose.GetPathData().GetGroupCount(), 0);

  auto e = MakeElement();
  CObjBSpline& spline = SplineOf(*e);
  ASSERT_EQ(spline.GetPathData().GetGroupCount(), 1);
  ExpectSameCurve(CurveOf(*e), ExpectedCurve(spline.GetPathData().points));
  EXPECT_NEAR(e->boundRect.right, 30, 1e-9);

  e->SetFillOn(1);
  e->fillSpacing = 1.0f;
  e->RefreshTypeObject();
  CStrokeGroup* group = spline.GetPathData().GetGroupAt(0);
  EXPECT_GT(group->GetFillList().GetSize(), 0);
  EXPECT_EQ(group->GetCount(), 1);
  e->SetDiscardBorder(1);
  e->RefreshTypeObject();
  EXPECT_EQ(spline.GetPathData().GetGroupAt(0)->GetCount(), 0);
  EXPECT_GT(spline.GetPathData().GetGroupAt(0)->GetFillList().GetSize(), 0);
}

TEST_F(BSplineTest, DoubleClickedControlPointsStillGiveAFiniteCurveThroughEveryPoint) {
  auto e = MakeElement({{0, 0, 0}, {10, 5, 1}, {10, 5, 1}, {20, 0, 1}});
  EXPECT_EQ(SplineOf(*e).GetVertexCount(), 4);  // the stored points stay as placed
  const CPointList& curve = CurveOf(*e);
  ExpectSameCurve(curve, ExpectedCurve(MakeList({{0, 0, 0}, {10, 5, 1}, {20, 0, 1}})));
  for (int i = 0; i < curve.GetSize(); ++i) ASSERT_TRUE(std::isfinite(curve[i].x) && std::isfinite(curve[i].y));
}

TEST_F(BSplineTest, DraggingAControlPointMovesItAndEndsTheEdit) {
  auto e = MakeElement();
  CObjBSpline& spline = SplineOf(*e);
  spline.SetEditIndex(1);
  spline.MoveEditedPoint(0, 5);
  EXPECT_EQ(spline.GetEditIndex(), -1);
  EXPECT_EQ(spline.GetPathData().points[1].y, 10);
  ExpectSameCurve(CurveOf(*e), ExpectedCurve(spline.GetPathData().points));

  spline.SetEditIndex(9);  // no such point
  spline.MoveEditedPoint(1, 1);
  EXPECT_EQ(spline.GetEditIndex(), -1);
  EXPECT_EQ(spline.GetPathData().points[3].x, 30);
}

TEST_F(BSplineTest, MirrorResizeMoveAndRotateThroughTheElement) {
  auto e = MakeElement();
  CObjBSpline& spline = SplineOf(*e);
  CPointList before(CurveOf(*e));
  e->MirrorX(50);
  EXPECT_EQ(spline.GetPathData().points[3].x, 70);
  ExpectSameCurve(CurveOf(*e), ExpectedCurve(spline.GetPathData().points));
  e->MirrorX(50);
  EXPECT_EQ(spline.GetPathData().points[3].x, 30);
  ExpectSameCurve(CurveOf(*e), before);
  e->MirrorY(0);
  e->MirrorY(0);
  ExpectSameCurve(CurveOf(*e), before);

  // Dragging the right-bottom handle to double the width: the control points
  // scale about the left-top corner and the curve is made anew.
  const CDoubleRect old = e->boundRect;
  CDoubleRect wider = old;
  wider.right = old.left + 2 * (old.right - old.left);
  e->Resize(wider, old, 4);
  EXPECT_NEAR(spline.GetPathData().points[3].x, old.left + 2 * (30 - old.left), 1e-9);
  ExpectSameCurve(CurveOf(*e), ExpectedCurve(spline.GetPathData().points));

  // A move carries the control points and the curve together.
  CPointList beforeMove(CurveOf(*e));
  const double x0 = spline.GetPathData().points[0].x;
  e->MoveBy(3, -2);
  EXPECT_NEAR(spline.GetPathData().points[0].x, x0 + 3, 1e-12);
  EXPECT_NEAR(CurveOf(*e)[5].y, beforeMove[5].y - 2, 1e-12);

  // A rotation turns both, nothing is regenerated: a quarter turn about the
  // origin maps every curve point (x, y) to (-y, x).
  CPointList beforeTurn(CurveOf(*e));
  e->Rotate(CDoublePoint(0, 0), 1.5707963267948966);
  ASSERT_EQ(CurveOf(*e).GetSize(), beforeTurn.GetSize());
  EXPECT_NEAR(CurveOf(*e)[7].x, -beforeTurn[7].y, 1e-6);
  EXPECT_NEAR(CurveOf(*e)[7].y, beforeTurn[7].x, 1e-6);
}

TEST_F(BSplineTest, ControlPointsAreDrawnOnlyWhileEditingIsOn) {
  PixelsPerMmX = 2;
  PixelsPerMmY = 2;
  auto e = MakeElement();
  platform::RecordingDeviceContext dc;
  const platform::DcPen pen;
  auto rectangles = [&dc] {
    std::vector<std::vector<int>> out;
    for (const auto& op : dc.Ops()) {
      if (op.kind == platform::DcOp::Rectangle) out.push_back(op.args);
    }
    return out;
  };
  e->Draw(dc, 100, 200, 1.5, pen, pen, CDoublePoint());
  EXPECT_TRUE(rectangles().empty());
  EXPECT_FALSE(dc.Ops().empty());  // the curve itself

  dc.Clear();
  e->selected = 1;
  e->Draw(dc, 100, 200, 1.5, pen, pen, CDoublePoint());
  const auto r = rectangles();
  ASSERT_EQ(r.size(), 4u);
  // (10, 5) at zoom 1.5 and 2 pixels per mm: (130, 185).
  EXPECT_EQ(r[1], (std::vector<int>{126, 181, 134, 189}));
  PixelsPerMmX = 96.0 / 25.4;
  PixelsPerMmY = 96.0 / 25.4;
}

TEST_F(BSplineTest, DuplicateHasItsOwnControlPointsAndCurve) {
  auto e = MakeElement();
  CObjElement copy;
  copy.CopyFrom(*e);
  CObjBSpline* dup = copy.GetObjectAs<CObjBSpline>();
  ASSERT_NE(dup, nullptr);
  ASSERT_NE(dup, &SplineOf(*e));
  ASSERT_EQ(dup->GetPathData().GetGroupCount(), 1);
  ExpectSameCurve(CurveOf(copy), CurveOf(*e));
  copy.MoveBy(5, 0);
  EXPECT_EQ(SplineOf(*e).GetPathData().points[0].x, 0);
}

TEST_F(BSplineTest, ProjectFileKeepsTheControlPointsAndRebuildsTheCurve) {
  CObjPtrArray doc;
  doc.Add(MakeElement());
  SplineOf(*doc[0]).GetPathData().points[2].flag = 0x41;  // flags are kept as they are
  const std::string bytes = FormatMrkFile(doc, "");
  EXPECT_NE(bytes.find("CObjBSpline"), std::string::npos);

  CObjPtrArray back;
  ASSERT_EQ(ReadMrkBytes(bytes, back), 1);
  ASSERT_EQ(back.GetSize(), 1);
  const CObjBSpline* spline = back[0]->GetObjectAs<CObjBSpline>();
  ASSERT_NE(spline, nullptr);
  EXPECT_TRUE(back[0]->keptClassBlock.empty());
  const CPointList& v = spline->GetPathData().points;
  ASSERT_EQ(v.GetSize(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v[i].x, kControls[static_cast<std::size_t>(i)].x);
    EXPECT_EQ(v[i].y, kControls[static_cast<std::size_t>(i)].y);
  }
  EXPECT_EQ(v[2].flag, 0x41);
  ExpectSameCurve(CurveOf(*back[0]), CurveOf(*doc[0]), 1e-5);
  EXPECT_EQ(FormatMrkFile(back, ""), bytes);
}

TEST_F(BSplineTest, OldFilesGetTheSameCorrectionsWhetherReadDirectlyOrAfterKeeping) {
  const std::string fixture = ReadBytes(FixturePath("unbuilt2004.mrk"));
  CObjPtrArray direct;
  ASSERT_EQ(ReadMrkBytes(fixture, direct), 1);
  ASSERT_EQ(direct.GetSize(), 3);
  const CObjBSpline* spline = direct[1]->GetObjectAs<CObjBSpline>();
  ASSERT_NE(spline, nullptr);
  const CPointList& v = spline->GetPathData().points;
  ASSERT_EQ(v.GetSize(), 4);  // the old file's closing vertex is added
  EXPECT_EQ(v[0].flag, 0);    // and its first vertex starts with a pen-up
  EXPECT_TRUE(v[3].x == v[0].x && v[3].y == v[0].y && v[3].flag == 1);
  EXPECT_EQ(spline->GetPathData().GetGroupCount(), 1);

  // A build without the spline table keeps the block and saves it in today's
  // form; reading that gives the same spline.
  RegisterObjTypeOps(ObjClassId::BSpline, nullptr);
  CObjPtrArray kept;
  ASSERT_EQ(ReadMrkBytes(fixture, kept), 1);
  const std::string saved = FormatMrkFile(kept, "");
  RegisterObjTypeOps(ObjClassId::BSpline, &BSplineTypeOps());
  CObjPtrArray again;
  ASSERT_EQ(ReadMrkBytes(saved, again), 1);
  const CObjBSpline* fromSaved = again[1]->GetObjectAs<CObjBSpline>();
  ASSERT_NE(fromSaved, nullptr);
  const CPointList& w = fromSaved->GetPathData().points;
  ASSERT_EQ(w.GetSize(), v.GetSize());
  for (int i = 0; i < v.GetSize(); ++i) {
    EXPECT_EQ(w[i].x, v[i].x);
    EXPECT_EQ(w[i].y, v[i].y);
    EXPECT_EQ(w[i].flag, v[i].flag);
  }
  EXPECT_EQ(FormatMrkFile(direct, ""), saved);
}

}  // namespace
