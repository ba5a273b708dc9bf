// Rotate, mirror, matrix copy, fill, alignments, offset, and size and
// position on small layouts.
#include "document/objects/CObjElement.h"
#include "tests/app/views/ViewCommandsFixture.h"

namespace {

constexpr int ID_ALIGN_LEFT = 32805;
constexpr int ID_FILL_VECTOR_IMAGE = 32849;

}  // namespace

using TransformCommandsTest = ViewCommandsTest;

TEST_F(TransformCommandsTest, RotateByZeroChangesNothingAndQuarterTurnSwapsTheSides) {
  CObjElement* line = Line({0, 0}, {10, 0}, "l");
  Select({line});
  dialogs_.rotate = 0;
  model_->OnRotate();
  EXPECT_FALSE(document_.IsModified());
  dialogs_.rotate = 90;
  model_->OnRotate();
  const CDoubleRect b = line->GetBoundRect();
  EXPECT_NEAR(b.Width(), 0, 1e-3);
  EXPECT_NEAR(b.Height(), 10, 1e-3);
  EXPECT_NEAR(b.CenterX(), 5, 1e-3);
  EXPECT_EQ(model_->m_toolCode, 0);
  EXPECT_TRUE(document_.IsModified());
}

TEST_F(TransformCommandsTest, MirrorKeepsTheSelectionInPlace) {
  CObjElement* line = Line({0, 0}, {10, 4}, "l");
  Select({line});
  model_->OnMirror(true);
  const CDoubleRect b = line->GetBoundRect();
  EXPECT_NEAR(b.left, 0, kTol);
  EXPECT_NEAR(b.right, 10, kTol);
}

struct MatrixCase {
  int rows;
  int cols;
  int xPositive;
  int yPositive;
  int copies;
  double lastDx;
  double lastDy;
};

class MatrixCopyTest : public ViewCommandsTest, public ::testing::WithParamInterface<MatrixCase> {};

TEST_P(MatrixCopyTest, MakesOneCopyPerCellButTheFirst) {
  const MatrixCase c = GetParam();
  CObjElement* line = Line({0, 0}, {5, 0}, "l");
  Select({line});
  dialogs_.matrix = MatrixCopyValues{c.rows, c.cols, 10, 20, c.xPositive, c.yPositive};
  model_->OnMatrixCopy();
  ASSERT_EQ(Count(), 2 + c.copies);
  if (c.copies == 0) return;
  const CDoubleRect last = At(Count() - 1)->GetBoundRect();
  EXPECT_NEAR(last.left, c.lastDx, kTol);
  EXPECT_NEAR(last.CenterY(), c.lastDy, kTol);
  EXPECT_EQ(At(2)->name, "type1-1");
  EXPECT_EQ(model_->m_toolCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Grids, MatrixCopyTest,
                         ::testing::Values(MatrixCase{1, 1, 1, 1, 0, 0, 0}, MatrixCase{2, 3, 1, 1, 5, 40, -10},
                                           MatrixCase{2, 3, 0, 0, 5, -40, 10}, MatrixCase{1, 2, 1, 1, 1, 20, 0}));

TEST_F(TransformCommandsTest, MatrixCopyStopsAtALongNameKeepingTheCopiesMade) {
  CObjElement* a = Line({0, 0}, {5, 0}, "short");
  CObjElement* b = Line({0, 5}, {5, 5}, std::string(30, 'x'));
  Select({a, b});
  dialogs_.matrix = MatrixCopyValues{2, 2, 10, 10, 1, 1};
  model_->OnMatrixCopy();
  EXPECT_EQ(Count(), 4);
  EXPECT_TRUE(document_.IsModified());
}

TEST_F(TransformCommandsTest, AlignLeftNeedsTwoObjectsAndLinesUpTheirLeftEdges) {
  CObjElement* a = Line({0, 0}, {5, 0}, "a");
  CObjElement* b = Line({3, 5}, {9, 5}, "b");
  Select({a});
  EXPECT_FALSE(model_->RunCommand(ID_ALIGN_LEFT, false));
  Select({a, b});
  ASSERT_TRUE(model_->RunCommand(ID_ALIGN_LEFT, true));
  EXPECT_NEAR(b->GetBoundRect().left, 0, kTol);
  EXPECT_NEAR(a->GetBoundRect().left, 0, kTol);
}

TEST_F(TransformCommandsTest, AlignCenterPutsTheSelectionOnTheOrigin) {
  CObjElement* a = Line({10, 10}, {20, 10}, "a");
  CObjElement* b = Line({10, 20}, {20, 20}, "b");
  Select({a, b});
  model_->OnAlignCenter();
  CDoubleRect all;
  model_->GetSelectionBounds(all);
  EXPECT_NEAR(all.CenterX(), 0, kTol);
  EXPECT_NEAR(all.CenterY(), 0, kTol);
}

TEST_F(TransformCommandsTest, OffsetMovesUnlockedObjectsOnly) {
  CObjElement* a = Line({0, 0}, {5, 0}, "a");
  CObjElement* b = Line({0, 5}, {5, 5}, "b");
  b->lock = 1;
  Select({a, b});
  dialogs_.offsetX = 3;
  dialogs_.offsetY = -2;
  model_->OnOffset();
  EXPECT_NEAR(a->GetBoundRect().left, 3, kTol);
  EXPECT_NEAR(a->GetBoundRect().top, -2, kTol);
  EXPECT_NEAR(b->GetBoundRect().left, 0, kTol);
}

TEST_F(TransformCommandsTest, SizeDialogShowsTheSelectionAndMovesWithoutResizing) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  CObjElement* b = Line({0, 4}, {10, 4}, "b");
  Select({a, b});
  dialogs_.sizeTexts.left = "5";
  dialogs_.sizeTexts.top = "10";
  model_->OnObjectSize();
  EXPECT_EQ(dialogs_.shownSize.width, "10.000");
  EXPECT_EQ(dialogs_.shownSize.height, "4.000");
  EXPECT_EQ(dialogs_.shownSize.left, "0.000");
  EXPECT_EQ(dialogs_.shownSize.top, "4.000");
  CDoubleRect all;
  model_->GetSelectionBounds(all);
  EXPECT_NEAR(all.left, 5, kTol);
  EXPECT_NEAR(all.top, 10, kTol);
  EXPECT_NEAR(all.Width(), 10, kTol);
  EXPECT_NEAR(all.Height(), 4, kTol);
}

TEST_F(TransformCommandsTest, SizeDialogResizesToTheRequestedRectangle) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  CObjElement* b = Line({0, 4}, {10, 4}, "b");
  Select({a, b});
  dialogs_.sizeTexts.width = "20";
  dialogs_.sizeTexts.height = "8";
  model_->OnObjectSize();
  CDoubleRect all;
  model_->GetSelectionBounds(all);
  EXPECT_NEAR(all.left, 0, 1e-3);
  EXPECT_NEAR(all.top, 4, 1e-3);
  EXPECT_NEAR(all.Width(), 20, 1e-3);
  EXPECT_NEAR(all.Height(), 8, 1e-3);
}

TEST_F(TransformCommandsTest, SizeTextsThatAreNoNumbersLeaveTheSelectionAlone) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  CObjElement* b = Line({0, 4}, {10, 4}, "b");
  Select({a, b});
  for (const char* text : {"abc", "", "-3", "0", "nan", "inf"}) {
    SCOPED_TRACE(text);
    prompt_->Clear();
    dialogs_.sizeTexts = {};
    dialogs_.sizeTexts.width = text[0] != '\0' ? text : " ";
    model_->OnObjectSize();
    CDoubleRect all;
    model_->GetSelectionBounds(all);
    EXPECT_NEAR(all.Width(), 10, kTol);
    EXPECT_NEAR(all.Height(), 4, kTol);
    EXPECT_EQ(Messages().size(), 1u);
  }
}

TEST_F(TransformCommandsTest, SizeAndPositionDoesNothingWithALockedObject) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  CObjElement* b = Line({0, 4}, {10, 4}, "b");
  b->lock = 1;
  Select({a, b});
  dialogs_.sizeTexts.left = "5";
  model_->OnObjectSize();
  EXPECT_NEAR(a->GetBoundRect().left, 0, kTol);
}

TEST_F(TransformCommandsTest, FillIsOfferedForOneImportedDrawingOnly) {
  CObjElement* a = Line({0, 0}, {10, 0}, "a");
  Select({a});
  EXPECT_FALSE(model_->RunCommand(ID_FILL_VECTOR_IMAGE, false));
}
