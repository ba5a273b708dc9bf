// Arc and multi-border class blocks in project files: a hand-made file read
// through the project reader, written back byte for byte, and blocks with
// values no drawing could have.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjMultiBorder.h"
#include "document/path/CStrokeGroup.h"
#include "tests/document/objects/ParametricTestSupport.h"

namespace {

std::string Pair(const std::string& key, const std::string& value) { return key + "\r\n" + value + "\r\n"; }

std::string ArcBlock(const std::string& rx, const std::string& start) {
  return Pair(kMrkClassName, "CObjArc") + Pair("10;Center(x)", "30.000000") + Pair("20;Center(y)", "-4.500000") +
         Pair("40;X\xb7\xbd\xcf\xf2\xb5\xc4\xb0\xeb\xbe\xb6", rx) +          // X方向的半径
         Pair("50;Y\xb7\xbd\xcf\xf2\xb5\xc4\xb0\xeb\xbe\xb6", "6.250000") +  // Y方向的半径
         Pair("60;\xd4\xb2\xbb\xa1\xb5\xc4\xc6\xf0\xbd\xc7", start) +        // 圆弧的起角
         Pair("61;\xd4\xb2\xbb\xa1\xb5\xc4\xd6\xd5\xbd\xc7", "90.000000") +  // 圆弧的终角
         Pair("62;\xd0\xfd\xd7\xaa\xbd\xc7\xb6\xc8", "15.000000") +          // 旋转角度
         Pair("100;\xcb\xf8\xb6\xa8\xb1\xc8\xc0\xfd\xcd\xac\xb2\xbd", "1") +  // 锁定比例同步
         Pair("190;MFlag", "8") + Pair(kMrkClassEnd, "CLASS_END");
}

std::string PolygonBlock(const std::string& sides) {
  return Pair(kMrkClassName, "CObjMultiBorder") + Pair("10;\xd4\xb2\xd0\xc4X", "-12.500000") +  // 圆心X
         Pair("20;\xd4\xb2\xd0\xc4Y", "3.000000") +                                             // 圆心Y
         Pair("100;\xb6\xe0\xb1\xdf\xd0\xd0\xb5\xc4\xb1\xdf\xca\xfd", sides) +                  // 多边行的边数
         Pair("40;\xb6\xe0\xb1\xdf\xd0\xd0\xb5\xc4\xbf\xaa\xca\xbc\xb5\xc4\xbd\xc7\xb6\xc8",
              "18.000000") +                                                                    // 多边行的开始的角度
         Pair("50;\xb6\xe0\xb1\xdf\xd0\xd0\xb5\xc4\xb0\xeb\xbe\xb6", "7.500000") +              // 多边行的半径
         Pair("190;MFlag", "16") + Pair(kMrkClassEnd, "CLASS_END");
}

// An element block around a class block: marked and filled at 1 mm.
std::string ElementBlock(const std::string& name, int type, const std::string& classBlock) {
  return Pair(kMrkObjectStart, kMrkObjectStartValue) + Pair("201;name", name) + Pair("190;attr", "9") +
         Pair("160;type", std::to_string(type)) + Pair("61;fill angle", "0.0000") + Pair("62;fill spacing", "1.0000") +
         classBlock + Pair(kMrkObjectEnd, kMrkObjectEndValue);
}

std::string FileOf(const std::string& elements) {
  return Pair(kMrkKeyTitle, "hand-made") + Pair(kMrkKeyVersion, "Ver2008") + elements +
         Pair(kMrkFileEnd, kMrkFileEndValue);
}

// The class block of the n-th element of a file.
std::string ClassBlockAt(const std::string& file, int n) {
  std::size_t at = 0;
  for (int i = 0; i <= n; ++i) at = file.find(kMrkClassName, at + 1);
  if (at == std::string::npos) return "<none>";
  const std::size_t end = file.find(kMrkObjectEnd, at);
  return file.substr(at, end - at);
}

TEST(ParametricFileKeys, HandMadeBlocksAreReadBuiltFilledAndWrittenBackAsTheyStand) {
  RegisterParametricClasses();
  const std::string arcBlock = ArcBlock("10.000000", "270.000000");
  const std::string polygonBlock = PolygonBlock("5");
  const std::string file =
      FileOf(ElementBlock("Arc-7", OBJ_ARC, arcBlock) + ElementBlock("Poly-2", OBJ_MULTIBORDER, polygonBlock));
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkBytes(file, objects), 1);
  ASSERT_EQ(objects.GetSize(), 2);

  const CObjElement& arcElement = *objects[0];
  const auto* arc = arcElement.GetObjectAs<CObjArc>();
  ASSERT_NE(arc, nullptr);
  EXPECT_FLOAT_EQ(arcElement.rotation, 0);  // key 60 inside the block is the arc's
  EXPECT_TRUE(arc->GetCentre().x == 30 && arc->GetCentre().y == -4.5);
  EXPECT_TRUE(arc->GetXRadius() == 10 && arc->GetYRadius() == 6.25);
  EXPECT_TRUE(arc->GetStartAngle() == 270 && arc->GetEndAngle() == 90 && arc->GetRotation() == 15);
  EXPECT_TRUE(arc->GetLockRatio() == 1 && arc->GetMirrorFlags() == MIRROR_X);
  // Built at the end of the block: the point at 270 degrees, turned by 15
  // and mirrored in x about the centre; filled for its element.
  const CPointList& pts = arc->GetPathData().points;
  ASSERT_GT(pts.GetSize(), 30);
  const double a = 15 * M_PI / 180;
  EXPECT_NEAR(pts[0].x, 30 - 6.25 * std::sin(a), 1e-3);
  EXPECT_NEAR(pts[0].y, -4.5 - 6.25 * std::cos(a), 1e-3);
  ASSERT_EQ(arc->GetPathData().GetGroupCount(), 1);
  EXPECT_GT(arc->GetPathData().GetGroupAt(0)->fill.GetSize(), 0);
  EXPECT_EQ(arcElement.boundRect, arc->GetPathData().GetPointsBoundRect());

  const auto* polygon = objects[1]->GetObjectAs<CObjMultiBorder>();
  ASSERT_NE(polygon, nullptr);
  EXPECT_TRUE(polygon->GetSides() == 5 && polygon->GetStartAngle() == 18 && polygon->GetRadius() == 7.5);
  EXPECT_EQ(polygon->GetMirrorFlags(), MIRROR_Y);
  ASSERT_EQ(polygon->GetPathData().points.GetSize(), 6);
  EXPECT_NEAR(polygon->GetPathData().points[0].y, 3 - 7.5 * std::sin(18 * M_PI / 180), 1e-4);
  EXPECT_EQ(polygon->GetPathData().GetGroupCount(), 1);

  const std::string saved = FormatMrkFile(objects, "");
  EXPECT_EQ(ClassBlockAt(saved, 0), arcBlock);
  EXPECT_EQ(ClassBlockAt(saved, 1), polygonBlock);

  // An undo snapshot of the layout gives the same points back.
  CObjPtrArray again;
  ASSERT_EQ(ReadMrkBytes(saved, again), 1);
  ASSERT_EQ(again.GetSize(), 2);
  EXPECT_LT(MaxPointGap(again[0]->GetPath()->points, pts), 1e-12);
  EXPECT_LT(MaxPointGap(again[1]->GetPath()->points, polygon->GetPathData().points), 1e-12);
}

TEST(ParametricFileKeys, ValuesNoDrawingCouldHaveLeaveAUsableShapeThatIsSavedAsDrawn) {
  RegisterParametricClasses();
  const std::string file = FileOf(ElementBlock("Arc-bad", OBJ_ARC, ArcBlock("1e999", "nan")) +
                                  ElementBlock("Poly-bad", OBJ_MULTIBORDER, PolygonBlock("-4")) +
                                  ElementBlock("Poly-big", OBJ_MULTIBORDER, PolygonBlock("99999999999")));
  CObjPtrArray objects;
  ASSERT_EQ(ReadMrkBytes(file, objects), 1);
  ASSERT_EQ(objects.GetSize(), 3);
  const auto* arc = objects[0]->GetObjectAs<CObjArc>();
  ASSERT_NE(arc, nullptr);
  EXPECT_TRUE(arc->GetXRadius() == 10 && arc->GetStartAngle() == 0);  // no infinite radius taken
  EXPECT_EQ(objects[1]->GetPath()->points.GetSize(), 4);
  EXPECT_EQ(objects[2]->GetObjectAs<CObjMultiBorder>()->GetSides(), CObjMultiBorder::kMaxSides);
  EXPECT_EQ(ClassBlockAt(FormatMrkFile(objects, ""), 1), PolygonBlock("3"));
}

}  // namespace
