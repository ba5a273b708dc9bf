// The PLT list: loading plots into rows, picking a row and previewing.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "values/ShellValues.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/ObjectType.h"
#include "platform/Prompt.h"
#include "tests/text/exchange/hpgl/PltTestFiles.h"
#include "text/exchange/hpgl/PltDrawingLoader.h"
#include "text/exchange/hpgl_ui/CFileListCtrl.h"

namespace {

class ListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_hpgl_ui";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) app_ = new QApplication(argc, argv);
  }

  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    PixelsPerMmX = PixelsPerMmY = 10.0;
    list_ = std::make_unique<CFileListCtrl>();
    list_->resize(1000, 1200);
    list_->AddEmptyRows();
  }

  // Lays the rows out without painting the widget on screen.
  void Show() {
    list_->viewport()->resize(980, 1180);
    list_->doItemsLayout();
  }

  void Click(int row) {
    list_->clearSelection();
    list_->item(row)->setSelected(true);
    list_->OnClick();
  }

  static inline QApplication* app_ = nullptr;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::unique_ptr<CFileListCtrl> list_;
};

TEST_F(ListTest, FinishedPlotsBecomeCentredRowsOthersAddNothing) {
  EXPECT_EQ(list_->count(), 8);
  EXPECT_EQ(list_->GetDrawnRowCount(), 0);
  list_->LoadPltFile(PltFixture("square-r14.plt"));
  list_->LoadPltFile(PltFixture("triangle-corel.plt"));
  list_->LoadPltFile(PltFixture("truncated-r2000.plt"));  // no end command: refused quietly
  EXPECT_TRUE(prompt_->Texts().empty());
  list_->LoadPltFile(Dialect2File("onepoint.plt", "PA40,40;SP0;"));  // one point is no drawing
  list_->LoadPltFile(WritePltFile("letter.plt", std::string(300, 'a')));
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], kPltDialectMessage);

  ASSERT_EQ(list_->GetDrawingCount(), 2);
  EXPECT_EQ(list_->GetDrawnRowCount(), 2);
  const CObjElement* d = list_->GetDrawing(0);
  EXPECT_EQ(d->type, OBJ_HPGL);
  EXPECT_EQ(d->name, "Empty");
  const CPathData& path = d->GetObjectAs<CObjPolyLine>()->GetPathData();
  EXPECT_EQ(path.points.GetSize(), 6);
  EXPECT_NEAR(path.GetBoundRect().CenterX(), 0.0, 1e-9);
  EXPECT_NEAR(path.GetBoundRect().CenterY(), 0.0, 1e-9);
  EXPECT_NEAR(path.GetBoundRect().Width(), 100.0 - 1000 * kPltScaleDialect1And3, 1e-9);
}

TEST_F(ListTest, ClickingPicksADrawingRowOnlyAndHandsItsPoints) {
  CPointList points;
  points.Add(CDoublePoint(1, 1));
  EXPECT_FALSE(list_->GetSelectedPoints(points));  // nothing selected: emptied
  EXPECT_EQ(points.GetSize(), 0);

  list_->LoadPltFile(PltFixture("shapes-r2000.plt"));
  list_->LoadPltFile(PltFixture("square-r14.plt"));
  Click(1);
  EXPECT_EQ(list_->GetSelectedDrawing(), 1);
  Click(5);  // an empty row below the drawings
  EXPECT_EQ(list_->GetSelectedDrawing(), 1);
  ASSERT_TRUE(list_->GetSelectedPoints(points));
  ASSERT_EQ(points.GetSize(), 6);
  EXPECT_EQ(points[0].flag & PT_JOINED, 0);
  EXPECT_EQ(points[1].flag & PT_JOINED, PT_JOINED);
}

TEST_F(ListTest, PaintScalesIntoTheRowAndHighlightsTheSelection) {
  // 0.8 mm wide: under a hundredth of the row, drawn at 0.9 and not enlarged;
  // 2 mm wide: enlarged to nine tenths of the row.
  list_->LoadPltFile(Dialect3File("tiny.plt", "PU0 0;PD32 0;SP0;"));
  list_->LoadPltFile(Dialect3File("small.plt", "PU0 0;PD80 0;SP0;"));
  ASSERT_EQ(list_->GetDrawingCount(), 2);
  Show();
  Click(1);

  platform::RecordingDeviceContext dc;
  const platform::DcPen before{platform::PS_SOLID, 1, RGB(1, 2, 3)};
  dc.SelectPen(before);
  list_->PaintRows(dc);

  std::vector<platform::DcOp> lines, fills;
  for (const auto& op : dc.Ops()) {
    if (op.kind == platform::DcOp::LineTo) lines.push_back(op);
    if (op.kind == platform::DcOp::FillSolidRect) fills.push_back(op);
  }
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(fills.size(), 1u);
  const QRect row1 = list_->visualItemRect(list_->item(1));
  EXPECT_EQ(fills[0].args, (std::vector<int>{row1.left(), row1.top(), row1.width(), row1.height()}));
  EXPECT_EQ(fills[0].color, RGB(128, 128, 255));
  EXPECT_EQ(lines[0].pen, before);
  EXPECT_EQ(lines[1].pen.color, RGB(255, 255, 255));
  EXPECT_EQ(dc.CurrentPen(), before);  // restored after the selected row

  // The tiny drawing: 32 units = 0.796 mm, 10 px/mm, k = 0.9: about 7 px.
  const QRect row0 = list_->visualItemRect(list_->item(0));
  EXPECT_EQ(lines[0].args[0] - row0.left(), (row0.width() - 7) / 2 + 7);
  EXPECT_EQ(lines[0].args[1], row0.top() + row0.height() / 2);
  // The 2 mm drawing fills 90 % of its row's width, centred.
  const int width = static_cast<int>(row1.width() * 0.9);
  EXPECT_NEAR(lines[1].args[0] - row1.left(), (row1.width() - width) / 2 + width, 1);
}

}  // namespace
