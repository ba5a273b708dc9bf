// The dot collection: whole-cell moves on the dot grid, handles that only
// move, dots made from strokes, and its class block in project files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/HandleResize.h"
#include "document/objects/ObjTypeOps.h"
#include "document/path/CStrokeGroup.h"

namespace {

std::string Pair(const std::string& key, const std::string& value) { return key + "\r\n" + value + "\r\n"; }

const std::string kX = "10;\xb6\xa5\xb5\xe3" "X\xd7\xf8\xb1\xea";  // 顶点X坐标
const std::string kY = "20;\xb6\xa5\xb5\xe3" "Y\xd7\xf8\xb1\xea";  // 顶点Y坐标
const std::string kFlag = "102;\xb1\xea\xd6\xbe";                  // 标志

std::string DotRecord(const std::string& x, const std::string& y, const std::string& flag) {
  return Pair(kX, x) + Pair(kY, y) + Pair(kFlag, flag);
}

std::string FileWithDots(const std::string& count, const std::string& records) {
  const std::string block = Pair(kMrkClassName, "CObjDotCollect") + Pair("50;size", "0.500") +
                            Pair("51;size", "0.250") + Pair("55;ignored", "9.0") + Pair("160;Num", count) + records +
                            Pair(kMrkClassEnd, "CLASS_END");
  return Pair(kMrkKeyTitle, "hand-made") + Pair(kMrkKeyVersion, "Ver2008") + Pair(kMrkObjectStart, kMrkObjectStartValue) +
         Pair("201;name", "Dots-1") + Pair("160;type", "5") + block + Pair(kMrkObjectEnd, kMrkObjectEndValue) +
         Pair(kMrkFileEnd, kMrkFileEndValue);
}

// An element owning a dot collection with 1 mm cells and the given dots.
std::unique_ptr<CObjElement> DotElement(std::initializer_list<CDoublePoint> dots) {
  RegisterObjTypeOps(ObjClassId::DotCollect, &DotCollectTypeOps());
  CPointList list;
  for (const CDoublePoint& p : dots) list.Add(p);
  auto* obj = new CObjDotCollect(list);
  obj->SetCellSize(1.0, 1.0);
  auto e = std::make_unique<CObjElement>(CObjCreateRecord{"Dots-1", OBJ_DOTIMAGE, obj, sizeof(CObjDotCollect), {}});
  e->RefreshTypeObject();
  e->UpdateBoundRect();
  return e;
}

const CPointList& DotsOf(const CObjElement& e) { return e.GetObjectAs<CObjDotCollect>()->GetPathData().points; }

TEST(DotCollectMove, MovesGoByWholeCellsAndLandOnCellCentres) {
  auto e = DotElement({{0.5, 0.5}, {2.5, 1.5}});
  e->MoveBy(0.004, -0.004);  // too short to be a move
  EXPECT_DOUBLE_EQ(DotsOf(*e)[0].x, 0.5);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[0].y, 0.5);

  e->MoveBy(0.3, -2.7);  // shorter than a cell: one cell; -2.7: two cells
  EXPECT_DOUBLE_EQ(DotsOf(*e)[0].x, 1.5);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[0].y, -1.5);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[1].x, 3.5);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[1].y, -0.5);
  // The cached bounds and the width the object keeps follow the dots.
  EXPECT_DOUBLE_EQ(e->boundRect.left, 1.5);
  EXPECT_DOUBLE_EQ(e->boundRect.right, 3.5);
  EXPECT_FLOAT_EQ(e->GetObjectAs<CObjDotCollect>()->GetWidth(), 2.0f);

  // Dots off the grid are put onto cell centres by any move, even a null one
  // after a resize.
  auto off = DotElement({{0.2, 0.9}});
  off->Resize(off->boundRect, off->boundRect, 4);
  EXPECT_DOUBLE_EQ(DotsOf(*off)[0].x, 0.5);
  EXPECT_DOUBLE_EQ(DotsOf(*off)[0].y, 0.5);

  // A cell of 0 from a damaged file: the move is taken as it is, not as NaN.
  auto bad = DotElement({{0.5, 0.5}});
  bad->GetObjectAs<CObjDotCollect>()->SetCellSize(0, -1);
  bad->MoveBy(0.25, 1.25);
  EXPECT_DOUBLE_EQ(DotsOf(*bad)[0].x, 0.75);
  EXPECT_DOUBLE_EQ(DotsOf(*bad)[0].y, 1.75);
}

TEST(DotCollectMove, StretchHandlesChangeNothingAndTheMoveHandleMovesByCells) {
  auto e = DotElement({{0.5, 0.5}, {4.5, 2.5}});
  const CDoubleRect before = e->boundRect;
  for (int handle = 0; handle < 8; ++handle) {
    CDoubleRect stretched = before;
    stretched.right += 10;
    stretched.top += 5;
    e->Resize(stretched, before, handle);
    EXPECT_DOUBLE_EQ(DotsOf(*e)[1].x, 4.5) << handle;
    EXPECT_DOUBLE_EQ(DotsOf(*e)[1].y, 2.5) << handle;
  }
  CDoubleRect moved = before;
  moved.left += 2.2;
  moved.right += 2.2;
  CDoubleRect oldRect = before;
  e->GetObjectAs<CObjDotCollect>()->Resize(oldRect, moved, HANDLE_MOVE_ONLY);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[0].x, 2.5);
  // Both rectangles come back as the bounds after the move.
  EXPECT_DOUBLE_EQ(oldRect.left, 2.5);
  EXPECT_DOUBLE_EQ(moved.right, 6.5);
}

TEST(DotCollectShape, StrokesBecomeSingleDotsDrawnAsOneDotGroupAndMirrored) {
  auto e = DotElement({{0.5, 0.5, 0}, {1.5, 0.5, 1}, {2.5, 1.5, 0x41}});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(DotsOf(*e)[i].flag & 1, 0) << i;
  EXPECT_EQ(DotsOf(*e)[2].flag, 0x40);  // other bits stay
  const CPathData& path = e->GetObjectAs<CObjDotCollect>()->GetPathData();
  ASSERT_EQ(path.GetGroupCount(), 1);
  EXPECT_EQ(path.GetGroupAt(0)->kind, GROUP_KIND_DOTS);
  EXPECT_EQ(path.GetGroupAt(0)->GetAt(0)->points.GetSize(), 3);

  e->MirrorX(1.0);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[0].x, 1.5);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[2].x, -0.5);
  e->MirrorY(0);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[2].y, -1.5);
  // The drawn group follows the mirrored dots, and the cached bounds too.
  EXPECT_DOUBLE_EQ(path.GetGroupAt(0)->GetAt(0)->points[2].y, -1.5);
  EXPECT_DOUBLE_EQ(e->boundRect.bottom, -1.5);

  // Rotation leaves dots upright; a copy carries cells and dots.
  e->Rotate(CDoublePoint(0, 0), 1.0);
  EXPECT_DOUBLE_EQ(DotsOf(*e)[2].y, -1.5);
  CObjElement copy;
  copy.CopyFrom(*e);
  ASSERT_NE(copy.GetObjectAs<CObjDotCollect>(), nullptr);
  EXPECT_EQ(copy.GetObjectAs<CObjDotCollect>()->GetDotCount(), 3);
  EXPECT_DOUBLE_EQ(copy.GetObjectAs<CObjDotCollect>()->GetCellWidth(), 1.0);
  EXPECT_DOUBLE_EQ(copy.boundRect.left, -0.5);
}

TEST(DotCollectFile, CountComesFirstAndRecordsBeyondItAreIgnored) {
  RegisterObjTypeOps(ObjClassId::DotCollect, &DotCollectTypeOps());
  CObjPtrArray objects;
  const std::string file = FileWithDots("2", DotRecord("1.250000", "-0.750000", "0") +
                                                 DotRecord("2.250000", "0.250000", "64") +
                                                 DotRecord("9.000000", "9.000000", "0"));
  ASSERT_EQ(ReadMrkBytes(file, objects), 1);
  ASSERT_EQ(objects.GetSize(), 1);
  const auto* dots = objects[0]->GetObjectAs<CObjDotCollect>();
  ASSERT_NE(dots, nullptr);
  ASSERT_EQ(dots->GetDotCount(), 2);
  EXPECT_DOUBLE_EQ(dots->GetPathData().points[1].x, 2.25);
  EXPECT_EQ(dots->GetPathData().points[1].flag, 64);
  EXPECT_DOUBLE_EQ(dots->GetCellWidth(), 0.5);
  EXPECT_DOUBLE_EQ(dots->GetCellHeight(), 0.25);
  // Read objects are drawable at once and bounded by their dots.
  EXPECT_EQ(dots->GetPathData().GetGroupCount(), 1);
  EXPECT_DOUBLE_EQ(objects[0]->boundRect.right, 2.25);

  // A count the records do not reach adds no dots at the origin, and a
  // damaged count allocates nothing.
  CObjPtrArray fewer;
  ASSERT_EQ(ReadMrkBytes(FileWithDots("5", DotRecord("3.000000", "4.000000", "0")), fewer), 1);
  EXPECT_EQ(fewer[0]->GetObjectAs<CObjDotCollect>()->GetDotCount(), 1);
  CObjPtrArray huge;
  ASSERT_EQ(ReadMrkBytes(FileWithDots("2147483647", DotRecord("3.000000", "4.000000", "0")), huge), 1);
  EXPECT_EQ(huge[0]->GetObjectAs<CObjDotCollect>()->GetDotCount(), 1);
  CObjPtrArray none;
  ASSERT_EQ(ReadMrkBytes(FileWithDots("-3", DotRecord("3.000000", "4.000000", "0")), none), 1);
  EXPECT_EQ(none[0]->GetObjectAs<CObjDotCollect>()->GetDotCount(), 0);
}

TEST(DotCollectFile, WrittenBlockHasItsKeysAndReadsBackTheSame) {
  auto e = DotElement({{0.5, 0.5}, {-1.5, 2.5, 0x20}});
  std::string text;
  MrkLineWriter out(text);
  e->WriteClassBlock(out);
  const std::string expected = Pair(kMrkClassName, "CObjDotCollect") + Pair("50;size", "1.000") +
                               Pair("51;size", "1.000") + Pair("160;Num", "2") +
                               DotRecord("0.500000", "0.500000", "0") + DotRecord("-1.500000", "2.500000", "32") +
                               Pair(kMrkClassEnd, "CLASS_END");
  EXPECT_EQ(text, expected);

  CObjPtrArray written;
  written.Add(std::move(e));
  CObjPtrArray back;
  ASSERT_EQ(ReadMrkBytes(FormatMrkFile(written, {}), back), 1);
  ASSERT_EQ(back.GetSize(), 1);
  const auto* dots = back[0]->GetObjectAs<CObjDotCollect>();
  ASSERT_NE(dots, nullptr);
  ASSERT_EQ(dots->GetDotCount(), 2);
  EXPECT_DOUBLE_EQ(dots->GetPathData().points[1].x, -1.5);
  EXPECT_EQ(dots->GetPathData().points[1].flag, 0x20);
  EXPECT_EQ(back[0]->name, "Dots-1");
}

}  // namespace
