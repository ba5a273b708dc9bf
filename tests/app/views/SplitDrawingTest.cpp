// The split page's requests as the layout view carries them out.
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "properties/framework/PropChange.h"
#include "tests/app/views/ViewCommandsFixture.h"
#include "values/PropertyMessages.h"

namespace {

CObjElement* TwoStrokeDrawing(CVendrikDoc& document) {
  CPointList list;
  list.Add(CDoublePoint(0, 0, 0));
  list.Add(CDoublePoint(10, 0, PT_JOINED));
  list.Add(CDoublePoint(0, 20, 0));
  list.Add(CDoublePoint(10, 20, PT_JOINED));
  auto element = std::make_unique<CObjElement>(
      CObjCreateRecord{"PLT file-1", OBJ_HPGL, new CObjPolyLine(list, 0, 1), static_cast<int>(sizeof(CObjPolyLine)), {}});
  element->RefreshTypeObject();
  element->UpdateBoundRect();
  CObjElement* raw = element.get();
  document.Objects().Add(std::move(element));
  return raw;
}

platform::Message SplitRequest(CObjElement* element, int id) {
  auto change = std::make_shared<PROPCHANGE>();
  change->id = id;
  change->object = element;
  // As the sheet wraps a change: the record rides in wParam and the payload.
  return platform::Message{WM_UPDATE_PLTDIVIDE, reinterpret_cast<WPARAM>(change.get()), 0, change};
}

}  // namespace

using SplitDrawingTest = ViewCommandsTest;

TEST_F(SplitDrawingTest, SplitMovesTheChosenStrokesIntoANewDrawing) {
  CObjElement* drawing = TwoStrokeDrawing(document_);
  ASSERT_GT(drawing->SplitSelectByRect(CDoubleRect(-1, 21, 11, 19), 1, {}), 0);
  ASSERT_TRUE(drawing->HasSplitUnselected());
  drawing->activePage = 3;  // the split page, where the operator asked
  ASSERT_TRUE(model_->OnMessage(SplitRequest(drawing, 1167)));
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(At(2)->type, OBJ_HPGL);
  EXPECT_EQ(At(2)->activePage, 3) << "the new part opens on the page of its source";
  EXPECT_NEAR(At(2)->GetBoundRect().bottom, 20, kTol);
  EXPECT_NEAR(drawing->GetBoundRect().top, 0, kTol);
  EXPECT_TRUE(document_.IsModified());
}

TEST_F(SplitDrawingTest, DeleteDropsTheChosenStrokes) {
  CObjElement* drawing = TwoStrokeDrawing(document_);
  drawing->SplitSelectByRect(CDoubleRect(-1, 1, 11, -1), 1, {});
  model_->OnMessage(SplitRequest(drawing, 1168));
  ASSERT_EQ(Count(), 2);
  EXPECT_NEAR(drawing->GetBoundRect().bottom, 20, kTol);
}

TEST_F(SplitDrawingTest, RequestsWithNothingChosenOrForAGoneObjectChangeNothing) {
  CObjElement* drawing = TwoStrokeDrawing(document_);
  model_->OnMessage(SplitRequest(drawing, 1167));  // nothing chosen
  CObjElement stranger;
  model_->OnMessage(SplitRequest(&stranger, 1168));
  EXPECT_EQ(Count(), 2);
  EXPECT_FALSE(document_.IsModified());
}
