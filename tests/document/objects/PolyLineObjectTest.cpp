// Polyline object: closing, fill rebuild, the vertex keys of the project file
// and the divide-page selection and extraction of imported drawings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"

namespace {

CPointList MakeList(const std::vector<CDoublePoint>& pts) {
  CPointList list;
  for (const auto& p : pts) list.Add(p);
  return list;
}

// An element owning a fresh polyline built from the points.
CObjElement* MakeElement(int type, const std::vector<CDoublePoint>& pts, int closed, int imported) {
  CPointList list = MakeList(pts);
  auto* poly = new CObjPolyLine(list, closed, imported);
  auto* element = new CObjElement(CObjCreateRecord{"p", type, poly, static_cast<int>(sizeof(CObjPolyLine)), {}});
  poly->RebuildFill();
  element->UpdateBoundRect();
  return element;
}

// Three pen-up runs: (0,0)-(1,0), (10,10)-(11,10)-(11,11), (20,0)-(21,0).
std::vector<CDoublePoint> ThreeRuns() {
  return {{0, 0, 0}, {1, 0, 1}, {10, 10, 0}, {11, 10, 1}, {11, 11, 1}, {20, 0, 0}, {21, 0, 1}};
}

TEST(PolyLineClosing, ClosingVertexIsAddedAndDroppedOnlyOnARealChange) {
  CPointList list = MakeList({{0, 0, 0}, {10, 0, 1}, {10, 5, 1}});
  CObjPolyLine poly(list, 1, 0);
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.GetData(), nullptr);  // the caller's list is consumed
  ASSERT_EQ(poly.GetVertexCount(), 4);
  const CDoublePoint last = poly.GetPathData().points[3];
  EXPECT_EQ(last.x, 0);
  EXPECT_EQ(last.y, 0);
  EXPECT_EQ(last.flag & PT_JOINED, PT_JOINED);

  poly.SetClosed(1);  // already closed: no second closing vertex
  EXPECT_EQ(poly.GetVertexCount(), 4);
  poly.SetClosed(0);
  EXPECT_EQ(poly.GetVertexCount(), 3);
  poly.SetClosed(0);  // already open: the real last vertex stays
  EXPECT_EQ(poly.GetVertexCount(), 3);
  EXPECT_EQ(poly.GetPathData().points[2].y, 5);
  poly.SetClosed(1);
  EXPECT_EQ(poly.GetVertexCount(), 4);
  EXPECT_TRUE(poly.IsClosed());

  // Imported drawings never get a closing vertex from an old file.
  CPointList runs = MakeList(ThreeRuns());
  CObjPolyLine imported(runs, 0, 1);
  imported.SetField(100, MrkValue::OfInt(1));
  imported.CloseOldFormat(1);
  EXPECT_EQ(imported.GetVertexCount(), 7);
}

TEST(PolyLineFill, GroupsFollowTheOwnerAndTheImportedFlag) {
  CPointList list = MakeList({{0, 0, 0}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}});
  CObjPolyLine orphan(list, 1, 0);
  orphan.RebuildFill();
  EXPECT_EQ(orphan.GetPathData().GetGroupCount(), 0);  // no owner, no groups

  std::unique_ptr<CObjElement> drawn(MakeElement(OBJ_POLYLINE, {{0, 0, 0}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}}, 1, 0));
  auto* poly = drawn->GetObjectAs<CObjPolyLine>();
  ASSERT_NE(poly, nullptr);
  ASSERT_EQ(poly->GetPathData().GetGroupCount(), 1);
  EXPECT_EQ(poly->GetPathData().GetGroupAt(0)->GetCount(), 1);
  EXPECT_EQ(poly->GetPathData().GetGroupAt(0)->GetAt(0)->points.GetSize(), 5);
  EXPECT_EQ(poly->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);

  drawn->ToggleFill(0, 1.0f);  // fill on: hatch strokes appear
  EXPECT_GT(poly->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);
  drawn->SetDiscardBorder(1);
  poly->RebuildFill();
  EXPECT_EQ(poly->GetPathData().GetGroupAt(0)->GetCount(), 0);
  EXPECT_GT(poly->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);

  std::unique_ptr<CObjElement> hpgl(MakeElement(OBJ_HPGL, ThreeRuns(), 0, 1));
  const CPathData& path = hpgl->GetObjectAs<CObjPolyLine>()->GetPathData();
  ASSERT_EQ(path.GetGroupCount(), 1);
  ASSERT_EQ(path.GetGroupAt(0)->GetCount(), 3);
  EXPECT_EQ(path.GetGroupAt(0)->GetAt(0)->points.GetSize(), 2);
  EXPECT_EQ(path.GetGroupAt(0)->GetAt(1)->points.GetSize(), 3);
  EXPECT_EQ(path.GetGroupAt(0)->GetAt(2)->points[0].x, 20);
}

TEST(PolyLineFileKeys, VertexKeysNeedTheCountAndHostileCountsAreHarmless) {
  CObjPolyLine poly;
  poly.SetField(10, MrkValue::OfDouble(5));  // before the count: ignored
  poly.SetField(102, MrkValue::OfInt(1));
  EXPECT_EQ(poly.GetVertexCount(), 0);
  poly.SetField(160, MrkValue::OfInt(2));
  for (int i = 0; i < 3; ++i) {  // one triple more than announced
    poly.SetField(10, MrkValue::OfDouble(i + 0.5));
    poly.SetField(20, MrkValue::OfDouble(-i));
    poly.SetField(102, MrkValue::OfInt(0x181));  // low byte 0x81
  }
  ASSERT_EQ(poly.GetVertexCount(), 2);
  EXPECT_EQ(poly.GetPathData().points[1].x, 1.5);
  EXPECT_EQ(poly.GetPathData().points[1].y, -1);
  EXPECT_EQ(poly.GetPathData().points[1].flag, 0x81);

  CObjPolyLine negative;
  negative.SetField(160, MrkValue::OfInt(-5));
  negative.SetField(10, MrkValue::OfDouble(1));
  EXPECT_EQ(negative.GetVertexCount(), 0);

  // A count far beyond the data allocates nothing and invents no vertices.
  CObjPolyLine huge;
  huge.SetField(160, MrkValue::OfInt(2000000000));
  huge.SetField(10, MrkValue::OfDouble(3));
  huge.SetField(20, MrkValue::OfDouble(4));
  huge.SetField(102, MrkValue::OfInt(0));
  EXPECT_EQ(huge.GetVertexCount(), 1);
  EXPECT_LT(huge.GetPathData().points.GetCapacity(), 1000);
}

TEST(PolyLineFileKeys, BodyIsWrittenWithGbkLabelsAndTheClosingVertexCounted) {
  CPointList list = MakeList({{1, 2, 0}, {3.25, -4, 1}});
  CObjPolyLine poly(list, 1, 0);
  std::string text;
  MrkLineWriter out(text);
  poly.Write(out);
  const std::string vertex = "10;\xb6\xa5\xb5\xe3X\xd7\xf8\xb1\xea\r\n";
  EXPECT_EQ(text,
            "202;\xb6\xd4\xcf\xf3\xb5\xc4\xc0\xe0\xc3\xfb\r\nCObjPolyLine\r\n"
            "100;\xd5\xdb\xcf\xdf\xca\xc7\xb7\xf1\xca\xd7\xce\xb2\xb1\xd5\xba\xcf\r\n1\r\n"
            "101;\xd5\xdb\xcf\xdf\xca\xc7\xb7\xf1\xcd\xe2\xb2\xbf\xb5\xbc\xc8\xeb\xb5\xc4\xcd\xbc\xd0\xce\xca\xfd\xbe\xdd\r\n0\r\n"
            "160;\xb6\xa5\xb5\xe3\xb5\xc4\xb8\xf6\xca\xfd\r\n3\r\n" +
                vertex + "1.000000\r\n20;\xb6\xa5\xb5\xe3Y\xd7\xf8\xb1\xea\r\n2.000000\r\n102;\xb1\xea\xd6\xbe\r\n0\r\n" +
                vertex + "3.250000\r\n20;\xb6\xa5\xb5\xe3Y\xd7\xf8\xb1\xea\r\n-4.000000\r\n102;\xb1\xea\xd6\xbe\r\n1\r\n" +
                vertex + "1.000000\r\n20;\xb6\xa5\xb5\xe3Y\xd7\xf8\xb1\xea\r\n2.000000\r\n102;\xb1\xea\xd6\xbe\r\n1\r\n" +
                "202;\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8\r\nCLASS_END\r\n");
}

TEST(PolyLineTransform, CornerResizeScalesAboutTheOppositeCornerAndMirrorRebuilds) {
  std::unique_ptr<CObjElement> rect(MakeElement(OBJ_RECTANGLE, {{0, 0, 0}, {10, 0, 1}, {10, 5, 1}, {0, 5, 1}}, 1, 0));
  auto* poly = rect->GetObjectAs<CObjPolyLine>();
  // Element order: new bounds, then old.
  rect->Resize(CDoubleRect(0, 5, 30, -5), CDoubleRect(0, 5, 10, 0), 4);  // drag right-bottom
  const CPointList& v = poly->GetPathData().points;
  EXPECT_DOUBLE_EQ(v[2].x, 30);
  EXPECT_DOUBLE_EQ(v[2].y, 5);
  EXPECT_DOUBLE_EQ(v[0].x, 0);
  EXPECT_DOUBLE_EQ(v[0].y, -5);
  EXPECT_EQ(rect->boundRect, CDoubleRect(0, 5, 30, -5));
  EXPECT_DOUBLE_EQ(poly->GetPathData().GetGroupAt(0)->GetAt(0)->points[2].x, 30);

  rect->MirrorY(0);
  EXPECT_DOUBLE_EQ(v[0].y, 5);
  EXPECT_EQ(rect->boundRect, CDoubleRect(0, 5, 30, -5));
  rect->MirrorX(100);
  EXPECT_DOUBLE_EQ(v[2].x, 170);
  EXPECT_DOUBLE_EQ(poly->GetPathData().GetGroupAt(0)->GetAt(0)->points[2].x, 170);
  EXPECT_EQ(rect->boundRect, CDoubleRect(170, 5, 200, -5));
}

TEST(PolyLineSplit, SelectionExtractionAndDeletionOfImportedStrokes) {
  std::unique_ptr<CObjElement> hpgl(MakeElement(OBJ_HPGL, ThreeRuns(), 0, 1));
  auto* poly = hpgl->GetObjectAs<CObjPolyLine>();
  EXPECT_EQ(hpgl->HasSplitSelected(), 0);
  EXPECT_EQ(hpgl->HasSplitUnselected(), 1);

  // Nothing selected: the target stays empty and the vertices are the strokes.
  CPointList target;
  poly->ExtractSplitStrokes(target);
  EXPECT_EQ(target.GetSize(), 0);
  EXPECT_EQ(poly->GetVertexCount(), 7);

  // Inside test with an offset: stroke 2 lies in (9..12, 9..12) once moved by (-1, -1).
  EXPECT_EQ(hpgl->SplitSelectByPoint(CDoubleRect(8, 11, 11, 8), 1.0, CDoublePoint(-1, -1)), 1);
  EXPECT_EQ(hpgl->HasSplitSelected(), 1);
  // Touching test: a box across the last stroke.
  EXPECT_EQ(hpgl->SplitSelectByRect(CDoubleRect(20.4, 1, 20.6, -1), 1.0, CDoublePoint()), 1);
  poly->ExtractSplitStrokes(target);
  ASSERT_EQ(target.GetSize(), 5);
  EXPECT_EQ(target[0].x, 10);
  EXPECT_EQ(target[0].flag & PT_SELECTED, PT_SELECTED);
  EXPECT_EQ(target[3].x, 20);
  ASSERT_EQ(poly->GetVertexCount(), 2);
  EXPECT_EQ(poly->GetPathData().points[1].x, 1);
  ASSERT_EQ(poly->GetPathData().GetGroupAt(0)->GetCount(), 1);

  std::unique_ptr<CObjElement> dxf(MakeElement(OBJ_DXF, ThreeRuns(), 0, 1));
  auto* other = dxf->GetObjectAs<CObjPolyLine>();
  dxf->SplitSelectByRect(CDoubleRect(-1, 1, 0.5, -1), 1.0, CDoublePoint());
  other->DeleteSplitStrokes();
  EXPECT_EQ(other->GetVertexCount(), 5);
  EXPECT_EQ(other->GetPathData().points[0].x, 10);
  EXPECT_EQ(other->GetPathData().GetGroupAt(0)->GetCount(), 2);

  EXPECT_EQ(dxf->SplitSelectAll(), 1);
  EXPECT_EQ(dxf->HasSplitUnselected(), 0);
  EXPECT_EQ(dxf->HasSplitSelected(), 1);

  // A drawn polyline has no split operations.
  std::unique_ptr<CObjElement> drawn(MakeElement(OBJ_POLYLINE, ThreeRuns(), 0, 0));
  EXPECT_EQ(drawn->SplitSelectAll(), 0);
  EXPECT_EQ(drawn->HasSplitUnselected(), 0);
}

}  // namespace
