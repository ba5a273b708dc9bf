// Drawing tools, selection, dragging, undo and redo, renaming, File New and
// File Open of the layout view's model, driven by pixel events at 4 pixels
// per mm (the work area's centre at viewport pixel (300, 250)).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/views/model/CVendrikViewModel.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"
#include "tests/app/views/ViewModelFixture.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjBSpline.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjMultiBorder.h"
#include "text/objects/CObjBarCode.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextAutoUpdate.h"
#include "text/objects/CObjTextDate.h"
#include "text/objects/CObjTextRuler.h"
#include "text/objects/CObjTextVin.h"


const CObjTypeOps& BSplineTypeOps();

namespace {

using platform::DcPoint;

class ViewEditingTest : public ViewModelTest {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    for (auto [id, ops] : Classes()) RegisterObjTypeOps(id, ops);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    dialog_ = std::make_shared<platform::ScriptedFileDialog>();
    platform::SetFileDialog(dialog_);
    model_->UpdateScrollExtents();
    model_->EnsureParameterRecord();
  }
  void TearDown() override {
    platform::SetPrompt(nullptr);
    platform::SetFileDialog(nullptr);
    for (auto [id, ops] : Classes()) RegisterObjTypeOps(id, nullptr);
    ViewModelTest::TearDown();
  }
  static std::vector<std::pair<ObjClassId, const CObjTypeOps*>> Classes() {
    return {{ObjClassId::Arc, &ArcTypeOps()},
            {ObjClassId::MultiBorder, &MultiBorderTypeOps()},
            {ObjClassId::DotCollect, &DotCollectTypeOps()},
            {ObjClassId::BSpline, &BSplineTypeOps()},
            {ObjClassId::Text, &TextTypeOps()},
            {ObjClassId::TextAutoUpdate, &TextAutoUpdateTypeOps()},
            {ObjClassId::TextDate, &TextDateTypeOps()},
            {ObjClassId::TextVin, &TextVinTypeOps()},
            {ObjClassId::BarCode, &BarCodeTypeOps()},
            {ObjClassId::TextRuler, &TextRulerTypeOps()}};
  }
  DcPoint Px(double x, double y) const { return model_->MmToPixel(x, y); }
  void Click(DcPoint p) {
    model_->OnLButtonDown(p);
    model_->OnLButtonUp(p);
  }
  void Drag(DcPoint from, DcPoint to) {
    model_->OnMouseMove(from, false);
    model_->OnLButtonDown(from);
    model_->OnMouseMove(to, true);
    model_->OnLButtonUp(to);
  }
  // Press, move and press again: a two-point tool's object.
  void TwoPress(int tool, DcPoint a, DcPoint b) {
    model_->SetTool(tool);
    model_->OnLButtonDown(a);
    model_->OnLButtonUp(a);
    model_->OnMouseMove(b, false);
    model_->OnLButtonDown(b);
    model_->OnLButtonUp(b);
  }
  int Count() const { return document_.Objects().GetSize(); }
  CObjElement* Last() const { return document_.Objects().GetAt(Count() - 1); }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::shared_ptr<platform::ScriptedFileDialog> dialog_;
};

struct ToolCase {
  const char* label;
  int tool;
  int type;
  const char* name;
  bool pointsByPress;  // left presses then a right click; else two presses
  bool onRelease;      // one click
};

class ToolCreationTest : public ViewEditingTest, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(ToolCreationTest, MakesOneNamedObjectAndReturnsToSelection) {
  const ToolCase& c = GetParam();
  const int before = Count();
  if (c.onRelease) {
    model_->SetTool(c.tool);
    Click(Px(5, 5));
  } else if (c.pointsByPress) {
    model_->SetTool(c.tool);
    model_->OnLButtonDown(Px(0, 0));
    model_->OnMouseMove(Px(10, 0), true);
    model_->OnLButtonDown(Px(10, 0));
    model_->OnMouseMove(Px(10, 10), false);
    model_->OnLButtonDown(Px(10, 10));
    model_->OnRButtonDown(Px(12, 12));
  } else {
    TwoPress(c.tool, Px(0, 0), Px(10, 8));
  }
  ASSERT_EQ(Count(), before + 1);
  EXPECT_EQ(Last()->type, c.type);
  EXPECT_EQ(Last()->name, c.name);
  EXPECT_EQ(model_->m_toolCode, 0);
  EXPECT_EQ(model_->m_dragState, 0);
  EXPECT_EQ(model_->m_pointList.GetSize(), 0);
  EXPECT_EQ(document_.GetSavedState(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolCreationTest,
    ::testing::Values(ToolCase{"point", 1, OBJ_DOTIMAGE, "Dot image-1", false, true},
                      ToolCase{"line", 2, OBJ_LINE, "line-1", false, false},
                      ToolCase{"polygon", 3, OBJ_MULTIBORDER, "multiborder-1", false, false},
                      ToolCase{"rectangle", 4, OBJ_RECTANGLE, "rectangle-1", false, false},
                      ToolCase{"polyline", 5, OBJ_POLYLINE, "polyline-1", true, false},
                      ToolCase{"arc", 6, OBJ_ARC, "arc-1", false, false},
                      ToolCase{"text", 7, OBJ_TEXT, "text-1", false, true},
                      ToolCase{"serial", 8, OBJ_SERIAL, "auto-1", false, true},
                      ToolCase{"date", 9, OBJ_DATE, "system date-1", false, true},
                      ToolCase{"vin", 10, OBJ_VIN, "VIN-1", false, true},
                      ToolCase{"ruler", 13, OBJ_RULER, "Ruler-1", false, true},
                      ToolCase{"barcode", 14, OBJ_BARCODE, "Barcode-1", false, true},
                      ToolCase{"spline", 18, OBJ_BSPLINE, "spline-1", true, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ViewEditingTest, PolylineOfOnePointMakesNothing) {
  model_->SetTool(5);
  model_->OnLButtonDown(Px(0, 0));
  model_->OnRButtonDown(Px(0, 0));
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(model_->m_toolCode, 0);
}

TEST_F(ViewEditingTest, DefaultNameSkipsNumbersAnEntryBeginsWith) {
  AddLine({30, 30}, {31, 31}, 0)->name = "line-12";
  TwoPress(2, Px(0, 0), Px(10, 0));
  EXPECT_EQ(Last()->name, "line-2");
}

TEST_F(ViewEditingTest, HorizontalArcGetsTheSmallestVerticalRadius) {
  TwoPress(6, Px(0, 0), Px(10, 0));
  ASSERT_EQ(Last()->type, OBJ_ARC);
  EXPECT_NEAR(Last()->boundRect.Height(), 4.0, 0.1);
  EXPECT_NEAR(Last()->boundRect.Width(), 20.0, 0.1);
}

TEST_F(ViewEditingTest, LineAngleSnapF4PutsTheEndAt45Degrees) {
  model_->OnKeyDown(0x73);
  model_->SetTool(2);
  model_->OnLButtonDown(Px(0, 0));
  model_->OnMouseMove(Px(10, 3), false);
  model_->OnLButtonDown(Px(10, 3));
  const CDoubleRect b = Last()->boundRect;
  EXPECT_NEAR(b.Width(), b.Height(), 0.3);
  model_->OnKeyDown(0x73);
  EXPECT_EQ(model_->m_angleKey, 0);
}

TEST_F(ViewEditingTest, UndoRedoAndAnEditAfterUndoCutsTheRedoBranch) {
  TwoPress(2, Px(0, 0), Px(10, 0));
  TwoPress(2, Px(0, 5), Px(10, 5));
  TwoPress(2, Px(0, 10), Px(10, 10));
  ASSERT_EQ(Count(), 4);
  document_.SetFilePath("/layouts/kept.mrk");
  EXPECT_FALSE(model_->RunCommand(CVendrikViewModel::ID_EDIT_REDO, false));
  ASSERT_TRUE(model_->RunCommand(CVendrikViewModel::ID_EDIT_UNDO, true));
  EXPECT_EQ(Count(), 3);
  model_->UndoHistory();
  EXPECT_EQ(Count(), 2);
  model_->RedoHistory();
  EXPECT_EQ(Count(), 3);
  EXPECT_EQ(document_.GetPathName(), "/layouts/kept.mrk") << "a job still saves the project after each item";
  // A new edit here: the third line can no longer come back.
  TwoPress(4, Px(-20, -20), Px(-10, -10));
  EXPECT_EQ(Count(), 4);
  EXPECT_FALSE(model_->CanRedo());
  model_->UndoHistory();
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(Last()->name, "line-2");
  model_->RedoHistory();
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Last()->type, OBJ_RECTANGLE);
}

TEST_F(ViewEditingTest, TwelveChangesKeepNineSnapshots) {
  for (int i = 0; i < 12; ++i) model_->PushHistory();
  for (int n = 0; n <= 8; ++n) EXPECT_TRUE(std::filesystem::exists(model_->HistoryFilePath(n))) << n;
  EXPECT_FALSE(std::filesystem::exists(model_->HistoryFilePath(9)));
  EXPECT_EQ(model_->m_historyTop, 9);
  EXPECT_EQ(model_->m_historyCur, 9);
}

TEST_F(ViewEditingTest, UndoOfAMissingOrDamagedSnapshotKeepsTheLayout) {
  TwoPress(2, Px(0, 0), Px(10, 0));
  TwoPress(2, Px(0, 5), Px(10, 5));
  for (const char* content : {"", "garbage\r\n"}) {
    std::filesystem::remove(model_->HistoryFilePath(1));
    if (*content) std::ofstream(model_->HistoryFilePath(1), std::ios::binary) << content;
    CObjElement* kept = Last();
    model_->UndoHistory();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Last(), kept);
    EXPECT_EQ(model_->m_historyCur, 2);
  }
}

TEST_F(ViewEditingTest, RenameChecksOtherNamesExactly) {
  CObjElement* a = AddLine({0, 0}, {1, 1}, 0);
  a->name = "alpha";
  CObjElement* b = AddLine({2, 2}, {3, 3}, 0);
  b->name = "beta";
  EXPECT_TRUE(model_->RenameObject(a, "alpha"));
  EXPECT_TRUE(model_->RenameObject(a, "Beta"));
  EXPECT_FALSE(model_->RenameObject(a, "beta"));
  EXPECT_EQ(a->name, "Beta");
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], "beta \r\n\nSame object name is exist!");
}

TEST_F(ViewEditingTest, DefaultColourGoesToEveryObjectAndTheRegistry) {
  CObjElement* a = AddLine({0, 0}, {1, 1}, 5);
  model_->SetDefaultColor(0x00FF00);
  EXPECT_EQ(a->color, 0x00FF00);
  int stored = 0;
  ReadRegDword("DefaultColor", stored);
  EXPECT_EQ(stored, 0x00FF00);
}

TEST_F(ViewEditingTest, ClickCtrlClickAndBandSelect) {
  CObjElement* a = AddLine({0, 0}, {10, 0}, 0);
  CObjElement* b = AddLine({0, 20}, {10, 20}, 0);
  CObjElement* off = AddLine({0, -20}, {10, -20}, 0, 2);
  model_->m_layerOn[2] = 0;
  Click(Px(5, 0));
  ASSERT_EQ(model_->m_selection.size(), 1u);
  EXPECT_EQ(model_->m_selection[0], a);
  model_->OnKeyDown(0x11);
  Click(Px(5, 20));
  model_->OnKeyUp(0x11);
  EXPECT_EQ(model_->m_selection.size(), 2u);
  EXPECT_TRUE(b->selected);
  Click(Px(40, -30));
  EXPECT_TRUE(model_->m_selection.empty());
  EXPECT_FALSE(a->selected);
  Click(Px(5, -20));
  EXPECT_TRUE(model_->m_selection.empty()) << "a disabled layer is never selected";
  Drag(Px(-5, 25), Px(15, -25));
  EXPECT_EQ(model_->m_selection.size(), 2u);
  EXPECT_FALSE(off->selected);
}

TEST_F(ViewEditingTest, ThinBandCountsAsAClick) {
  AddLine({0, 0}, {10, 0}, 0);
  const DcPoint from = Px(-20, 0);
  Drag(from, {from.x + 200, from.y + 5});
  EXPECT_TRUE(model_->m_selection.empty());
}

TEST_F(ViewEditingTest, MoveNeedsThreePixelsAndIsUndone) {
  CObjElement* a = AddLine({0, 0}, {10, 0}, 0);
  Click(Px(5, 0));
  const DcPoint at = Px(5, 0);
  model_->OnMouseMove(at, false);
  Drag(at, {at.x + 2, at.y + 2});
  EXPECT_DOUBLE_EQ(a->boundRect.left, 0.0);
  model_->OnMouseMove(at, false);
  Drag(at, {at.x + 10, at.y});
  EXPECT_NEAR(a->boundRect.left, 2.5, 1e-9);
  model_->UndoHistory();
  EXPECT_NEAR(document_.Objects().GetAt(1)->boundRect.left, 0.0, 1e-9);
}

struct DragCase {
  const char* label;
  int handle;
  double dx, dy;  // mm
  CDoubleRect expected;
};

class DraggedBoundsTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(DraggedBoundsTest, EdgesFollowOrBounce) {
  const DragCase& c = GetParam();
  const CDoubleRect r = CVendrikViewModel::DraggedBounds(CDoubleRect(0, 10, 20, 0), c.handle, c.dx, c.dy);
  EXPECT_NEAR(r.left, c.expected.left, 1e-9);
  EXPECT_NEAR(r.top, c.expected.top, 1e-9);
  EXPECT_NEAR(r.right, c.expected.right, 1e-9);
  EXPECT_NEAR(r.bottom, c.expected.bottom, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, DraggedBoundsTest,
    ::testing::Values(DragCase{"move", 128, 3, -2, {3, 8, 23, -2}},
                      DragCase{"right", 3, 5, 1, {0, 10, 25, 0}},
                      DragCase{"top", 1, 2, 3, {0, 13, 20, 0}},
                      DragCase{"leftAcrossRight", 7, 30, 0, {-30.8, 10, 20, 0}},
                      DragCase{"bottomAcrossTop", 5, 0, 8, {0, 10, 20, -8.8}},
                      DragCase{"corner", 4, 4, -2, {0, 10, 24, -2}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ViewEditingTest, CornerDragKeepsTheRatioAndAFlatSelectionStaysFinite) {
  CObjElement* line = AddLine({0, 0}, {20, 0}, 0);
  model_->AddToSelection(line);
  model_->m_selBoundsAtDown = model_->m_selBounds;
  model_->m_dragBounds = CVendrikViewModel::DraggedBounds(model_->m_selBounds, 4, 5, -5);
  model_->ApplyDrag(4);
  EXPECT_TRUE(std::isfinite(line->boundRect.left) && std::isfinite(line->boundRect.right));
  EXPECT_TRUE(std::isfinite(line->boundRect.top) && std::isfinite(line->boundRect.bottom));

  CObjElement* box = AddLine({40, 0}, {60, 10}, 0);
  model_->ClearSelection();
  model_->AddToSelection(box);
  model_->m_dragBounds = CVendrikViewModel::DraggedBounds(model_->m_selBounds, 4, 0, -10);
  model_->ApplyDrag(4);
  EXPECT_NEAR(box->boundRect.Width() / box->boundRect.Height(), 2.0, 1e-6);
}

TEST_F(ViewEditingTest, DeleteKeyRemovesTheSelectionAndEmptyDeleteTakesNoSnapshot) {
  model_->OnKeyDown(0x2E);
  EXPECT_EQ(model_->m_historyTop, 0);
  AddLine({0, 0}, {10, 0}, 0);
  Click(Px(5, 0));
  model_->OnKeyDown(0x2E);
  EXPECT_EQ(Count(), 1);
  EXPECT_TRUE(model_->m_selection.empty());
  model_->UndoHistory();
  EXPECT_EQ(Count(), 2);
}

TEST_F(ViewEditingTest, ToolCommandClearsTheSelectionAndIsTicked) {
  AddLine({0, 0}, {10, 0}, 0);
  Click(Px(5, 0));
  ASSERT_FALSE(model_->m_selection.empty());
  model_->RunCommand(32775, true);
  EXPECT_TRUE(model_->m_selection.empty());
  EXPECT_TRUE(model_->IsCommandChecked(32775));
  model_->RunCommand(32775, true);
  EXPECT_TRUE(model_->IsCommandChecked(32775));
  model_->RunCommand(32774, true);
  EXPECT_FALSE(model_->IsCommandChecked(32775));
  EXPECT_TRUE(model_->IsCommandChecked(32774));
}

TEST_F(ViewEditingTest, FileNewAsksOnlyWhenChanged) {
  AddLine({0, 0}, {10, 0}, 0);
  EXPECT_TRUE(model_->OnFileNew());
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(document_.Objects().GetAt(0)->type, OBJ_PROPERITY);
  EXPECT_EQ(document_.GetTitle(), "NoneName");

  TwoPress(2, Px(0, 0), Px(10, 0));
  prompt_->QueueAnswer(IDCANCEL);
  EXPECT_FALSE(model_->OnFileNew());
  EXPECT_EQ(Count(), 2);
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], "Mark data is repared !,Save data?");
  prompt_->QueueAnswer(IDNO);
  EXPECT_TRUE(model_->OnFileNew());
  EXPECT_EQ(Count(), 1);
}

TEST_F(ViewEditingTest, FileOpenReadsGoodFilesAndLeavesTheLayoutForDamagedOnes) {
  TwoPress(2, Px(0, 0), Px(10, 0));
  const std::string good = folder_ + "/good.mrk";
  ASSERT_EQ(WriteMrkFile(good, document_.Objects()), 1);
  const std::string bad = folder_ + "/bad.mrk";
  std::ofstream(bad, std::ios::binary) << "not a project\r\n";
  document_.SetSavedState(0);
  model_->OnFileNew();
  TwoPress(4, Px(0, 0), Px(10, 10));
  document_.SetSavedState(0);
  document_.SetTitle("kept");

  dialog_->QueuePath(bad);
  EXPECT_FALSE(model_->OnFileOpen());
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Last()->type, OBJ_RECTANGLE);
  EXPECT_EQ(document_.GetTitle(), "kept");
  EXPECT_EQ(dialog_->Requests().back().filter, kMrkFilter);

  dialog_->QueuePath(good);
  EXPECT_TRUE(model_->OnFileOpen());
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Last()->type, OBJ_LINE);
  EXPECT_EQ(document_.GetPathName(), good);
  EXPECT_EQ(document_.GetSavedState(), 0);
}

TEST_F(ViewEditingTest, OpeningOverAChangedLayoutOffersToSave) {
  TwoPress(2, Px(0, 0), Px(10, 0));
  const std::string good = folder_ + "/good.mrk";
  ASSERT_EQ(WriteMrkFile(good, document_.Objects()), 1);
  dialog_->QueuePath(good);
  prompt_->QueueAnswer(IDCANCEL);
  EXPECT_FALSE(model_->OnFileOpen());
  EXPECT_EQ(prompt_->Texts().size(), 1u);
}

TEST_F(ViewEditingTest, NothingDeletesElementsWhileAJobMarksThem) {
  TwoPress(2, Px(0, 0), Px(10, 0));
  Click(Px(5, 0));
  ASSERT_EQ(model_->m_selection.size(), 1u);
  MarkStatusWord |= MSW_MARKING;
  model_->OnKeyDown(0x2E);
  model_->UndoHistory();
  EXPECT_FALSE(model_->OnFileNew());
  MarkStatusWord &= ~MSW_MARKING;
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(model_->m_selection.size(), 1u);
}

TEST_F(ViewEditingTest, DraggingASplineControlPointMovesOnlyThatPoint) {
  model_->SetTool(18);
  model_->OnLButtonDown(Px(0, 0));
  model_->OnMouseMove(Px(10, 10), true);
  model_->OnLButtonDown(Px(10, 10));
  model_->OnMouseMove(Px(20, 0), false);
  model_->OnLButtonDown(Px(20, 0));
  model_->OnRButtonDown(Px(20, 0));
  ASSERT_EQ(Last()->type, OBJ_BSPLINE);
  auto* spline = Last()->GetObjectAs<CObjBSpline>();
  Click(Px(10, 10));
  ASSERT_EQ(model_->m_selection.size(), 1u);
  model_->OnMouseMove(Px(10, 10), false);
  EXPECT_EQ(spline->GetEditIndex(), 1);
  model_->OnLButtonDown(Px(10, 10));
  model_->OnMouseMove(Px(10, 20), true);
  model_->OnLButtonUp(Px(10, 20));
  const CPointList& controls = spline->GetPathData().points;
  EXPECT_NEAR(controls[1].y, 20.0, 1e-9);
  EXPECT_NEAR(controls[0].y, 0.0, 1e-9);
  EXPECT_EQ(spline->GetEditIndex(), -1);
  model_->UndoHistory();
  EXPECT_NEAR(Last()->GetObjectAs<CObjBSpline>()->GetPathData().points[1].y, 10.0, 1e-9);
}

TEST_F(ViewEditingTest, RightButtonOffersTheMenuOnlyWithObjectsAndEndsATool) {
  EXPECT_FALSE(model_->OnRButtonDown(Px(0, 0)));
  AddLine({0, 0}, {10, 0}, 0);
  EXPECT_TRUE(model_->OnRButtonDown(Px(0, 0)));
  model_->SetTool(4);
  model_->OnLButtonDown(Px(0, 0));
  EXPECT_FALSE(model_->OnRButtonDown(Px(0, 0)));
  EXPECT_EQ(model_->m_toolCode, 0);
  EXPECT_EQ(model_->m_dragState, 0);
  EXPECT_EQ(Count(), 2);
}

TEST_F(ViewEditingTest, CursorFollowsTheToolAndTheHandleUnderThePointer) {
  EXPECT_EQ(model_->CursorFor(false), 0);
  model_->SetTool(7);
  EXPECT_EQ(model_->CursorFor(false), 144);
  model_->SetTool(0);
  CObjElement* a = AddLine({0, 0}, {10, 10}, 0);
  Click(Px(5, 5));
  ASSERT_TRUE(a->selected);
  model_->OnMouseMove(Px(5, 5), false);
  EXPECT_EQ(model_->CursorFor(false), 147);
  EXPECT_EQ(model_->CursorFor(true), 146);
  // Just outside the frame (2 mm out) at the right-middle handle.
  model_->OnMouseMove(Px(12.6, 5), false);
  EXPECT_EQ(model_->m_hitCode, 3);
  EXPECT_EQ(model_->CursorFor(false), 153);
}

}  // namespace
