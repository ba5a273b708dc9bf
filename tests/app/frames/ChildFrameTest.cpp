#include <QMdiArea>
#include <QScrollBar>
#include <QSplitter>

#include "app/core/CommandIds.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CRulerBars.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "marking/controller/CMarkControlWnd.h"
#include "properties/link/CProperityView.h"
#include "tests/app/frames/FramesFixture.h"

namespace {
CChildFrame* ActiveChild(CVendrikApp& app) { return app.MainFrame()->ActiveChildFrame(); }
}  // namespace

TEST_F(FramesTest, SplitterStartsAtSixtyFourPercentAndResizesToSixtyOneThirtyNine) {
  ASSERT_TRUE(Start());
  auto document = std::make_shared<CVendrikDoc>();
  CChildFrame frame(app_->MainFrame(), document);
  ASSERT_TRUE(frame.OnCreate());
  ASSERT_TRUE(frame.OnCreateClient(1000));
  EXPECT_TRUE(frame.IsSplitterCreated());
  EXPECT_EQ(frame.InitialLayoutWidth(), 640);
  EXPECT_EQ(frame.Splitter()->widget(0), frame.LayoutView());
  EXPECT_EQ(frame.Splitter()->widget(1), static_cast<QWidget*>(frame.PropertyPane()));
  frame.OnSize(1000);
  EXPECT_EQ(frame.IdealWidths().layout, 610);
  EXPECT_EQ(frame.IdealWidths().property, 390);
  EXPECT_EQ(frame.TopRuler()->Id(), 1126);
  EXPECT_EQ(frame.LeftRuler()->Id(), 1125);
}

TEST_F(FramesTest, ShownLayoutWindowKeepsThePropertyPaneAtThirtyNinePercent) {
  ASSERT_TRUE(Start());
  CChildFrame* child = ActiveChild(*app_);
  ASSERT_NE(child, nullptr);
  child->widget()->resize(1000, 600);
  PumpQt();
  const QList<int> sizes = child->Splitter()->sizes();
  ASSERT_EQ(sizes.size(), 2);
  ASSERT_GT(sizes[0] + sizes[1], 0);
  EXPECT_NEAR(static_cast<double>(sizes[1]) / (sizes[0] + sizes[1]), 0.39, 0.01);
}

TEST_F(FramesTest, PropertyPaneLinkIsBoundToTheLayoutView) {
  ASSERT_TRUE(Start());
  CChildFrame* child = ActiveChild(*app_);
  ASSERT_NE(child->PropertyPane()->View(), nullptr);
  EXPECT_EQ(child->PropertyPane()->View()->GetLayoutView(), &child->LayoutView()->Target());
  EXPECT_EQ(child->PropertyPane()->View()->GetSelfTarget(), &child->PropertyPane()->Target());
  // Port board: the USB link stays closed and nothing is asked.
  EXPECT_EQ(child->PropertyPane()->View()->GetProtocolVariant(), -1);
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(FramesTest, RulersTakeOriginScaleAndMarks) {
  ASSERT_TRUE(Start());
  CChildFrame* child = ActiveChild(*app_);
  child->SetRulerOrigin(30, 40);
  EXPECT_EQ(child->TopRuler()->OriginX(), 30);
  EXPECT_EQ(child->LeftRuler()->OriginY(), 40);
  child->InvalidateRulers(2.5f);
  EXPECT_FLOAT_EQ(child->TopRuler()->Scale(), 2.5f);
  EXPECT_FLOAT_EQ(child->LeftRuler()->Scale(), 2.5f);
  child->NotifyRuler(3);
  PumpQt();
  EXPECT_EQ(child->LeftRuler()->LastMark(), 3);
  child->NotifyRuler(0);
  PumpQt();
  EXPECT_EQ(child->TopRuler()->LastMark(), 0);
  // A scroll bar moves the zero of its own ruler only.
  child->widget()->resize(1000, 600);
  PumpQt();
  CVendrikView* view = child->LayoutView();
  struct Case {
    QScrollBar* bar;
    CRulerBar* own;
    CRulerBar* other;
    int mark;
  };
  for (const Case& c : {Case{view->horizontalScrollBar(), child->TopRuler(), child->LeftRuler(), 0},
                        Case{view->verticalScrollBar(), child->LeftRuler(), child->TopRuler(), 1}}) {
    QScrollBar* bar = c.bar;
    CRulerBar* own = c.own;
    CRulerBar* other = c.other;
    ASSERT_GT(bar->maximum(), bar->value());
    const int ownMarks = own->MarkCount();
    const int otherMarks = other->MarkCount();
    const int zero = own->ZeroPosition();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    PumpQt();
    EXPECT_EQ(own->MarkCount(), ownMarks + 1);
    EXPECT_EQ(own->LastMark(), c.mark);
    EXPECT_EQ(other->MarkCount(), otherMarks);
    EXPECT_EQ(own->ZeroPosition(), zero - bar->singleStep());
  }
}

TEST_F(FramesTest, SyncDisplayIsMadeOnceOverThePropertyPane) {
  ASSERT_TRUE(Start());
  CChildFrame* child = ActiveChild(*app_);
  child->widget()->resize(1000, 600);
  PumpQt();
  child->ShowSyncDisplay(child->Document(), 0);
  CDisMarkFrame* display = child->DisplayFrame();
  ASSERT_NE(display, nullptr);
  EXPECT_FALSE(display->isVisible());
  EXPECT_EQ(display->windowTitle(), QString::fromUtf8("同步显示窗口"));
  EXPECT_EQ(app_->MainFrame()->MarkControl()->DisplayWindow(), display->FormView());
  EXPECT_EQ(display->FormView()->windowTitle(), QString("marking..."));

  const QPoint origin = child->GetPropPaneOrigin();
  const QSize pane = child->PropertyPane()->size();
  EXPECT_EQ(display->geometry().left(), origin.x());
  EXPECT_EQ(display->geometry().width(), pane.width());
  EXPECT_EQ(display->geometry().height(), pane.height() * 7 / 10);
  EXPECT_EQ(display->geometry().top() + display->geometry().height(), origin.y() + pane.height());

  child->ShowSyncDisplay(child->Document(), 1);
  EXPECT_EQ(child->DisplayFrame(), display);
  EXPECT_TRUE(display->isVisible());
  child->ShowSyncDisplay(child->Document(), 0);
  EXPECT_FALSE(display->isVisible());
}

TEST_F(FramesTest, ClosingTheDisplayByHandDropsEveryPointerToIt) {
  ASSERT_TRUE(Start());
  CChildFrame* first = ActiveChild(*app_);
  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);
  CChildFrame* second = ActiveChild(*app_);
  ASSERT_NE(first, second);
  first->ShowSyncDisplay(first->Document(), 0);
  second->ShowSyncDisplay(second->Document(), 1);
  CDisMarkFrame* firstDisplay = first->DisplayFrame();
  ASSERT_NE(second->DisplayFrame(), nullptr);

  // The second layout's display is closed: its own frame forgets it, the
  // first layout keeps its display.
  second->DisplayFrame()->close();
  PumpQt();
  EXPECT_EQ(second->DisplayFrame(), nullptr);
  EXPECT_EQ(first->DisplayFrame(), firstDisplay);
  EXPECT_EQ(app_->MainFrame()->MarkControl()->DisplayWindow(), nullptr);

  // The next demand makes a new one.
  second->ShowSyncDisplay(second->Document(), 1);
  ASSERT_NE(second->DisplayFrame(), nullptr);
  EXPECT_TRUE(second->DisplayFrame()->isVisible());
}

TEST_F(FramesTest, ClosingALayoutWindowTakesItsDisplayAlong) {
  ASSERT_TRUE(Start());
  CChildFrame* child = ActiveChild(*app_);
  child->ShowSyncDisplay(child->Document(), 1);
  QPointer<CDisMarkFrame> display = child->DisplayFrame();
  ASSERT_FALSE(display.isNull());
  child->close();
  PumpQt();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(display.isNull());
  EXPECT_EQ(app_->MainFrame()->MarkControl()->DisplayWindow(), nullptr);
  EXPECT_EQ(app_->FindFirstLayoutView(), nullptr);
}
