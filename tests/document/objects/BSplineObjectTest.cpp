// B-spline object: the curve regenerated through the control points, control
// point editing, the element's transforms, the control point squares and the
// project file (today's and old files).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "values/ShellValues.h"
#include "document/curves/CInterpCurve.h"
#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjElement.h"
#include "document/path/CStrokeGroup.h"
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
const CPointList& ControlsOf(const CObjElement& e) { return SplineOf(e).GetPathData().points; }
const CPointList& CurveOf(const CObjElement& e) { return SplineOf(e).GetPathData().GetGroupAt(0)->GetAt(0)->points; }

// The curve must be the one made afresh from the control points.
void ExpectCurveFollowsControls(const CObjElement& e, const std::vector<CDoublePoint>& controls, double tol = 1e-9) {
  CPointList expected;
  CInterpCurve(MakeList(controls)).BuildPolyline(expected);
  const CPointList& curve = CurveOf(e);
  ASSERT_EQ(curve.GetSize(), expected.GetSize());
  for (int i = 0; i < curve.GetSize(); ++i) {
    EXPECT_NEAR(curve[i].x, expected[i].x, tol);
    EXPECT_NEAR(curve[i].y, expected[i].y, tol);
  }
}

std::vector<CDoublePoint> Points(const CPointList& list) {
  return std::vector<CDoublePoint>(list.GetData(), list.GetData() + list.GetSize());
}

TEST_F(BSplineTest, CurveFollowsTheControlPointsAndTheFillSettings) {
  CPointList list = MakeList(kControls);
  CObjBSpline loose(list);
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(loose.GetEditIndex(), -1);
  loose.RebuildCurve();  // without an owner: no curve
  EXPECT_EQ(loose.GetPathData().GetGroupCount(), 0);

  auto e = MakeElement();
  ExpectCurveFollowsControls(*e, kControls);
  e->SetFillOn(1);
  e->fillSpacing = 1.0f;
  e->SetDiscardBorder(1);
  e->RefreshTypeObject();
  const CStrokeGroup* group = SplineOf(*e).GetPathData().GetGroupAt(0);
  EXPECT_GT(group->GetFillList().GetSize(), 0);
  EXPECT_EQ(group->GetCount(), 0);

  // A single control point gives no curve and keeps its own bounds.
  auto single = MakeElement({{50, 40, 0}});
  EXPECT_EQ(CurveOf(*single).GetSize(), 0);
  EXPECT_EQ(single->boundRect.left, 50);
  EXPECT_EQ(single->boundRect.bottom, 40);
  // Control points hundreds of metres apart (a damaged project) would name
  // millions of curve points: no curve.
  auto far = MakeElement({{0, 0, 0}, {0, 800000, 1}, {4, 6, 1}, {900000, 0, 1}});
  EXPECT_EQ(CurveOf(*far).GetSize(), 0);

  // A point placed twice stays stored, and the curve stays finite through every point.
  auto twice = MakeElement({{0, 0, 0}, {10, 5, 1}, {10, 5, 1}, {20, 0, 1}});
  EXPECT_EQ(ControlsOf(*twice).GetSize(), 4);
  ExpectCurveFollowsControls(*twice, {{0, 0, 0}, {10, 5, 1}, {20, 0, 1}});
}

TEST_F(BSplineTest, EditingMirroringResizingAndCopyingRegenerateTheCurve) {
  auto e = MakeElement();
  CObjBSpline& spline = SplineOf(*e);
  spline.SetEditIndex(1);
  spline.MoveEditedPoint(0, 5);
  EXPECT_EQ(spline.GetEditIndex(), -1);
  EXPECT_EQ(ControlsOf(*e)[1].y, 10);
  ExpectCurveFollowsControls(*e, Points(ControlsOf(*e)));
  spline.SetEditIndex(9);  // no such point: nothing moves
  spline.MoveEditedPoint(1, 1);
  EXPECT_EQ(spline.GetEditIndex(), -1);

  const std::vector<CDoublePoint> before = Points(ControlsOf(*e));
  e->MirrorX(50);
  EXPECT_EQ(ControlsOf(*e)[3].x, 70);
  ExpectCurveFollowsControls(*e, Points(ControlsOf(*e)));
  e->MirrorX(50);
  ExpectCurveFollowsControls(*e, before);

  // Right-bottom handle to double the width: scaled about the left-top corner.
  const CDoubleRect old = e->boundRect;
  CDoubleRect wider = old;
  wider.right = old.left + 2 * (old.right - old.left);
  e->Resize(wider, old, 4);
  EXPECT_NEAR(ControlsOf(*e)[3].x, old.left + 2 * (30 - old.left), 1e-9);
  ExpectCurveFollowsControls(*e, Points(ControlsOf(*e)));

  CObjElement copy;
  copy.CopyFrom(*e);
  ASSERT_NE(copy.GetObjectAs<CObjBSpline>(), nullptr);
  ExpectCurveFollowsControls(copy, Points(ControlsOf(*e)));
}

TEST_F(BSplineTest, MoveAndRotateCarryControlPointsAndCurveTogether) {
  auto e = MakeElement();
  const CPointList before(CurveOf(*e));
  e->MoveBy(3, -2);
  EXPECT_EQ(ControlsOf(*e)[1].x, 13);
  EXPECT_NEAR(CurveOf(*e)[5].y, before[5].y - 2, 1e-12);
  // A quarter turn about the origin: (x, y) to (-y, x), nothing regenerated.
  const CPointList moved(CurveOf(*e));
  e->Rotate(CDoublePoint(0, 0), 1.5707963267948966);
  ASSERT_EQ(CurveOf(*e).GetSize(), moved.GetSize());
  EXPECT_NEAR(CurveOf(*e)[7].x, -moved[7].y, 1e-6);
  EXPECT_NEAR(ControlsOf(*e)[1].y, 13, 1e-6);
}

TEST_F(BSplineTest, ControlPointSquaresAreDrawnOnlyWhileEditingIsOn) {
  PixelsPerMmX = PixelsPerMmY = 2;
  auto e = MakeElement();
  platform::RecordingDeviceContext dc;
  const platform::DcPen pen;
  auto squares = [&dc] {
    std::vector<std::vector<int>> out;
    for (const auto& op : dc.Ops()) {
      if (op.kind == platform::DcOp::Rectangle) out.push_back(op.args);
    }
    return out;
  };
  e->Draw(dc, 100, 200, 1.5, pen, pen, CDoublePoint());
  EXPECT_TRUE(squares().empty());
  e->selected = 1;
  e->Draw(dc, 100, 200, 1.5, pen, pen, CDoublePoint());
  ASSERT_EQ(squares().size(), 4u);
  EXPECT_EQ(squares()[1], (std::vector<int>{126, 181, 134, 189}));  // (10, 5) at (130, 185)
  PixelsPerMmX = PixelsPerMmY = 96.0 / 25.4;
}

TEST_F(BSplineTest, ProjectFilesOfBothVersionsGiveTheSameSpline) {
  CObjPtrArray doc;
  doc.Add(MakeElement());
  const std::string bytes = FormatMrkFile(doc, "");
  CObjPtrArray back;
  ASSERT_EQ(ReadMrkBytes(bytes, back), 1);
  ASSERT_NE(back[0]->GetObjectAs<CObjBSpline>(), nullptr);
  ExpectCurveFollowsControls(*back[0], kControls, 1e-5);
  EXPECT_EQ(FormatMrkFile(back, ""), bytes);

  // An old file read directly, and the same file kept by a build without the
  // spline's table and saved: both get the closing vertex and the pen-up start.
  const std::string fixture = ReadBytes(FixturePath("unbuilt2004.mrk"));
  CObjPtrArray direct;
  ASSERT_EQ(ReadMrkBytes(fixture, direct), 1);
  const CPointList& v = ControlsOf(*direct[1]);
  ASSERT_EQ(v.GetSize(), 4);
  EXPECT_EQ(v[0].flag, 0);
  EXPECT_TRUE(v[3].x == v[0].x && v[3].y == v[0].y && v[3].flag == 1);
  EXPECT_EQ(SplineOf(*direct[1]).GetPathData().GetGroupCount(), 1);

  RegisterObjTypeOps(ObjClassId::BSpline, nullptr);
  CObjPtrArray kept;
  ASSERT_EQ(ReadMrkBytes(fixture, kept), 1);
  const std::string saved = FormatMrkFile(kept, "");
  RegisterObjTypeOps(ObjClassId::BSpline, &BSplineTypeOps());
  EXPECT_EQ(FormatMrkFile(direct, ""), saved);
}

}  // namespace
