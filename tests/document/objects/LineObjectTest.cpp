// Line object: the shared handle-resize rule, mirroring and the class block.
#include <gtest/gtest.h>

#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjLine.h"
#include "document/objects/HandleResize.h"

namespace {

CDoubleRect BoundsOf(const CObjLine& line) { return line.GetPathData().GetBoundRect(); }

const CDoublePoint& P(const CObjLine& line, int i) { return line.GetPathData().points[i]; }

TEST(HandleResizeRule, AnchorIsTheOppositeHandleAndFactorsFollowTheHandleKind) {
  const CDoubleRect oldRect(0, 10, 20, 0);  // left, top, right, bottom
  const CDoubleRect newRect(-20, 30, 20, 0);
  HandleResizePlan corner = PlanHandleResize(oldRect, newRect, 0);
  ASSERT_TRUE(corner.scale);
  EXPECT_DOUBLE_EQ(corner.anchor.x, 20);  // right-bottom
  EXPECT_DOUBLE_EQ(corner.anchor.y, 0);
  EXPECT_DOUBLE_EQ(corner.sx, 2);
  EXPECT_DOUBLE_EQ(corner.sy, 3);

  HandleResizePlan top = PlanHandleResize(oldRect, newRect, 1);
  ASSERT_TRUE(top.scale);
  EXPECT_DOUBLE_EQ(top.sx, 1);
  EXPECT_DOUBLE_EQ(top.sy, 3);
  EXPECT_DOUBLE_EQ(top.anchor.x, 10);  // bottom middle
  EXPECT_DOUBLE_EQ(top.anchor.y, 0);

  HandleResizePlan left = PlanHandleResize(oldRect, newRect, 7);
  ASSERT_TRUE(left.scale);
  EXPECT_DOUBLE_EQ(left.sx, 2);
  EXPECT_DOUBLE_EQ(left.sy, 1);
  EXPECT_DOUBLE_EQ(left.anchor.x, 20);  // right middle

  HandleResizePlan move = PlanHandleResize(oldRect, newRect, HANDLE_MOVE_ONLY);
  EXPECT_FALSE(move.scale);
  EXPECT_DOUBLE_EQ(move.dx, -10);
  EXPECT_DOUBLE_EQ(move.dy, 10);

  // A side of 0.2 mm is too thin to scale; unknown codes and NaN never scale.
  EXPECT_FALSE(PlanHandleResize(CDoubleRect(0, 0.2, 10, 0), newRect, 4).scale);
  EXPECT_TRUE(PlanHandleResize(CDoubleRect(0, 0.2, 10, 0), newRect, 3).scale);
  EXPECT_FALSE(PlanHandleResize(oldRect, newRect, 9).scale);
  HandleResizePlan bad = PlanHandleResize(oldRect, CDoubleRect(0, NAN, 1, 0), 4);
  EXPECT_FALSE(bad.scale);
  EXPECT_EQ(bad.dx, 0);
  EXPECT_EQ(bad.dy, 0);
}

TEST(LineResize, FlatLinesMoveInsteadOfStretchingExceptAlongTheirLength) {
  for (int handle : {0, 1, 2, 4, 5, 6}) {
    CObjLine line(CDoublePoint(0, 5, 0), CDoublePoint(10, 5, 1));
    CDoubleRect oldRect = BoundsOf(line);
    CDoubleRect newRect(2, 9, 22, 1);  // centre (12, 5)
    line.Resize(oldRect, newRect, handle);
    EXPECT_DOUBLE_EQ(P(line, 0).x, 7) << handle;
    EXPECT_DOUBLE_EQ(P(line, 1).x, 17) << handle;
    EXPECT_DOUBLE_EQ(P(line, 0).y, 5) << handle;
    EXPECT_EQ(newRect, BoundsOf(line)) << handle;
    EXPECT_EQ(oldRect, BoundsOf(line)) << handle;
  }
  CObjLine line(CDoublePoint(0, 5, 0), CDoublePoint(10, 5, 1));
  CDoubleRect oldRect = BoundsOf(line);
  CDoubleRect newRect(0, 5, 30, 5);
  line.Resize(oldRect, newRect, 3);  // right middle: stretched about the left end
  EXPECT_DOUBLE_EQ(P(line, 0).x, 0);
  EXPECT_DOUBLE_EQ(P(line, 1).x, 30);
  EXPECT_EQ(P(line, 1).flag, 1);

  CObjLine vertical(CDoublePoint(3, 0, 0), CDoublePoint(3, 10, 1));
  oldRect = BoundsOf(vertical);
  newRect = CDoubleRect(3, 20, 3, 0);
  vertical.Resize(oldRect, newRect, 1);  // top middle: stretched about the bottom
  EXPECT_DOUBLE_EQ(P(vertical, 1).y, 20);
  oldRect = BoundsOf(vertical);
  newRect = CDoubleRect(10, 20, 30, 0);
  vertical.Resize(oldRect, newRect, 3);  // width 0 cannot scale: centre follows
  EXPECT_DOUBLE_EQ(P(vertical, 0).x, 20);
  EXPECT_DOUBLE_EQ(P(vertical, 1).y, 20);
}

TEST(LineResize, TopHandleOfSlopedLineChangesOnlyY) {
  CObjLine line(CDoublePoint(1, 2, 0), CDoublePoint(11, 12, 1));
  CDoubleRect oldRect = BoundsOf(line);  // (1, 12, 11, 2)
  CDoubleRect newRect(1, 22, 11, 2);
  line.Resize(oldRect, newRect, 1);
  EXPECT_DOUBLE_EQ(P(line, 0).x, 1);
  EXPECT_DOUBLE_EQ(P(line, 1).x, 11);
  EXPECT_DOUBLE_EQ(P(line, 0).y, 2);
  EXPECT_DOUBLE_EQ(P(line, 1).y, 22);
  // The stroke group follows the points.
  ASSERT_EQ(line.GetPathData().GetGroupCount(), 1);
  EXPECT_DOUBLE_EQ(line.GetPathData().GetGroupAt(0)->GetAt(0)->points[1].y, 22);
}

TEST(LineGeometry, MirrorTwiceRestoresAndLengthOfPointLineIsZero) {
  // Values whose doubles are exact, so mirroring back gives the same bits.
  CObjLine line(CDoublePoint(1.25, -2.75, 0), CDoublePoint(4.5, 9.875, 1));
  line.MirrorX(3.5);
  EXPECT_EQ(P(line, 0).x, 5.75);
  line.MirrorX(3.5);
  line.MirrorY(-1.25);
  EXPECT_EQ(P(line, 1).y, -12.375);
  line.MirrorY(-1.25);
  EXPECT_EQ(P(line, 0).x, 1.25);
  EXPECT_EQ(P(line, 0).y, -2.75);
  EXPECT_EQ(P(line, 1).x, 4.5);
  EXPECT_EQ(P(line, 1).y, 9.875);
  EXPECT_EQ(P(line, 1).flag, 1);
  EXPECT_EQ(line.GetPathData().GetGroupAt(0)->GetAt(0)->points[1].y, 9.875);  // rebuilt
  EXPECT_DOUBLE_EQ(line.GetLength(), PointDistance(P(line, 0), P(line, 1)));

  CObjLine dot(CDoublePoint(5, 5, 0), CDoublePoint(5, 5, 1));
  EXPECT_EQ(dot.GetLength(), 0);
  CObjLine empty;  // default: two points at the origin, no group yet
  EXPECT_EQ(empty.GetPathData().points.GetSize(), 2);
  EXPECT_EQ(empty.GetPathData().GetGroupCount(), 0);
}

TEST(LineFileKeys, BlockRoundTripsThroughTheSetterWithBothFlags) {
  CObjLine line(CDoublePoint(1.5, -2.25, 0), CDoublePoint(100.125, 7, 1));
  std::string text;
  MrkLineWriter out(text);
  line.Write(out);
  EXPECT_EQ(text,
            "202;\xb6\xd4\xcf\xf3\xb5\xc4\xc0\xe0\xc3\xfb\r\nCObjLine\r\n"
            "10;LS-X\r\n1.5000\r\n20;LS-Y\r\n-2.2500\r\n190;S-Flag\r\n0\r\n"
            "11;LE-Y\r\n100.1250\r\n21;LE-Y\r\n7.0000\r\n191;S-Flag\r\n1\r\n"
            "202;\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8\r\nCLASS_END\r\n");

  CObjLine read;
  read.SetField(10, MrkValue::Parse(10, "1.5000"));
  read.SetField(20, MrkValue::Parse(20, "-2.2500"));
  read.SetField(190, MrkValue::Parse(190, "0"));
  read.SetField(11, MrkValue::Parse(11, "100.1250"));
  read.SetField(21, MrkValue::Parse(21, "7.0000"));
  read.SetField(191, MrkValue::Parse(191, "257"));  // low byte
  read.SetField(12, MrkValue::Parse(12, "55"));     // not a line key
  read.SetField(10, MrkValue::OfDouble(NAN));       // never poisons a coordinate
  EXPECT_EQ(P(read, 0).x, 1.5);
  EXPECT_EQ(P(read, 0).y, -2.25);
  EXPECT_EQ(P(read, 1).x, 100.125);
  EXPECT_EQ(P(read, 1).y, 7);
  EXPECT_EQ(P(read, 0).flag, 0);
  EXPECT_EQ(P(read, 1).flag, 1);
}

}  // namespace
