#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QToolBar>

#include "app/core/CommandIds.h"
#include "values/ShellMessages.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CVendrikView.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/widgets/CColorProgressCtrl.h"
#include "platform/InstallDir.h"
#include "tests/app/frames/FramesFixture.h"

TEST_F(FramesTest, StatusBarHasItsSixteenPanes) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  PumpQt();
  // The first layout's initial update has shown the head position and the
  // marked total; the locks, which cannot be read here, show nothing; every
  // other pane keeps its initial text.
  for (const StatusPane& pane : StatusPanes()) {
    ASSERT_NE(frame->Pane(pane.id), nullptr) << pane.id;
    if (pane.id == 61363) {
      EXPECT_EQ(frame->PaneText(pane.id), QString("x:0.00,y=0.00"));
    } else if (pane.id == 61364) {
      EXPECT_EQ(frame->PaneText(pane.id).trimmed(), QString("0")) << pane.id;
    } else if (pane.id == ID_INDICATOR_CAPS || pane.id == ID_INDICATOR_NUM || pane.id == ID_INDICATOR_SCRL) {
      EXPECT_EQ(frame->PaneText(pane.id), QString()) << pane.id;
    } else {
      EXPECT_EQ(frame->PaneText(pane.id), QString(pane.initialText)) << pane.id;
    }
  }
  // Wider initial texts give wider panes.
  EXPECT_GT(frame->Pane(ID_PANE_PROGRESS_TOTAL)->width(), frame->Pane(ID_PANE_TIME)->width());
}

// Each lock indicator shows its word while its lock is on. The locks are
// read again after a lock key and when the program becomes active again.
TEST_F(FramesTest, LockIndicatorsFollowTheKeyboardLocks) {
  locks_->Set({true, false, std::nullopt});
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  auto shown = [frame] {
    return std::vector<QString>{frame->PaneText(ID_INDICATOR_CAPS), frame->PaneText(ID_INDICATOR_NUM),
                                frame->PaneText(ID_INDICATOR_SCRL)};
  };
  EXPECT_EQ(shown(), (std::vector<QString>{"Caps", "", ""})) << "an unreadable lock shows nothing";

  locks_->Set({false, true, true});
  QApplication::setActiveWindow(frame);
  QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : frame;
  QTest::keyClick(focus, Qt::Key_NumLock);
  PumpQt();
  EXPECT_EQ(shown(), (std::vector<QString>{"", "Nums", "Scroll"}));

  // Changed while another program was active.
  locks_->Set({true, true, false});
  QApplicationStateChangeEvent active(Qt::ApplicationActive);
  QCoreApplication::sendEvent(qApp, &active);
  PumpQt();
  EXPECT_EQ(shown(), (std::vector<QString>{"Caps", "Nums", ""}));
}

TEST_F(FramesTest, MarkingMessagesReachTheirPanesAndTheController) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  platform::MessageTarget& target = frame->Target();
  target.PostMessage(WM_SHOW_MARK_STATUS, 10, 3);
  target.PostMessage(WM_SHOW_MARK_TIME, 1500, 0);
  target.PostMessage(WM_SHOW_MARK_COUNT, 7, 0);
  target.PostMessage(WM_MARK_FINISHED, 1, 2);
  PumpQt();
  EXPECT_EQ(frame->PaneText(ID_PANE_MARK_COUNT), QString::fromUtf8("3/10次"));
  EXPECT_EQ(frame->PaneText(ID_PANE_TIME), QString::fromUtf8("1.50秒"));
  EXPECT_EQ(frame->PaneText(ID_PANE_TOTAL_COUNT), QString("7"));
  EXPECT_EQ(frame->MarkControl()->EndMarkingCalls(), 1);

  frame->ShowCursorPos(1.234, -5.0);
  EXPECT_EQ(frame->PaneText(ID_PANE_CURSOR_POS), QString("x:1.23,y=-5.00"));
  frame->ShowMousePos(12.34, 0.05);
  EXPECT_EQ(frame->PaneText(ID_PANE_MOUSE_X), QString("12.3"));
  EXPECT_EQ(frame->PaneText(ID_PANE_MOUSE_Y), QString("0.1"));
}

TEST_F(FramesTest, NextRecordIsPassedToTheFirstLayoutView) {
  ASSERT_TRUE(Start());
  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);  // a second layout must not get it
  MessageLog first;
  app_->FindFirstLayoutView()->SetMessageHandler(first.Handler());
  app_->MainFrame()->Target().PostMessage(WM_NEXT_RECORD, 12, 34);
  PumpQt();
  ASSERT_EQ(first.messages.size(), 1u);
  EXPECT_EQ(first.messages[0].msg, WM_NEXT_RECORD);
  EXPECT_EQ(first.messages[0].wParam, 12u);
  EXPECT_EQ(first.messages[0].lParam, 34);
}

TEST_F(FramesTest, CreatePaneControlPutsTheControlIntoThePane) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  EXPECT_EQ(frame->CreatePaneControl(nullptr, ID_PANE_PROGRESS_TOTAL, 1134, -1), 0);
  auto* unknownPane = new QProgressBar;
  EXPECT_EQ(frame->CreatePaneControl(unknownPane, 4711, 1134, -1), 0);
  delete unknownPane;

  auto* total = new QProgressBar;
  EXPECT_NE(frame->CreatePaneControl(total, ID_PANE_PROGRESS_TOTAL, 1134, 0, -1), 0);
  auto* local = new QProgressBar;
  EXPECT_NE(frame->CreatePaneControl(local, ID_PANE_PROGRESS_LOCAL, 1135, 50), 0);
  PumpQt();
  EXPECT_EQ(total->parentWidget(), frame->Pane(ID_PANE_PROGRESS_TOTAL));
  EXPECT_EQ(local->parentWidget(), frame->Pane(ID_PANE_PROGRESS_LOCAL));
  EXPECT_EQ(local->property("controlId").toInt(), 1135);
  EXPECT_TRUE(total->isVisible());
  EXPECT_LE(local->width(), 50);
  EXPECT_LE(total->width(), frame->Pane(ID_PANE_PROGRESS_TOTAL)->width());
  EXPECT_GT(total->width(), 50);
}

TEST_F(FramesTest, MarkingControllerGetsItsProgressBarsFromTheFrame) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  IMarkFrame& services = *frame;
  EXPECT_EQ(services.GetFrameTarget(), &frame->Target());
  EXPECT_EQ(services.CreatePaneControl(4711, 1134), nullptr);
  auto bar = services.CreatePaneControl(ID_PANE_PROGRESS_TOTAL, 1134);
  ASSERT_NE(bar, nullptr);
  auto* control = frame->Pane(ID_PANE_PROGRESS_TOTAL)->findChild<CColorProgressCtrl*>();
  ASSERT_NE(control, nullptr);
  bar->SetRange(0, 100);
  PumpQt();
  // The bar covers its pane, and a position shows at once.
  const QLabel* pane = frame->Pane(ID_PANE_PROGRESS_TOTAL);
  EXPECT_GE(control->width(), pane->width() - 2 * pane->frameWidth() - 2);
  EXPECT_GE(control->height(), pane->height() - 2 * pane->frameWidth() - 2);
  bar->SetPos(40);
  EXPECT_EQ(control->GetPos(), 40);
  EXPECT_EQ(control->LastBarWidth(), control->width() * 40 / 100);
  // The next job makes new bars: the old one leaves the pane.
  bar.reset();
  PumpQt();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame->Pane(ID_PANE_PROGRESS_TOTAL)->findChild<CColorProgressCtrl*>(), nullptr);
}

TEST_F(FramesTest, ToolBarCommandsToggleTheBarsAndTheirChecks) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  QToolBar* edit = frame->ToolBar(ID_EDIT_TOOLBAR);
  EXPECT_FALSE(edit->isHidden());
  EXPECT_TRUE(frame->Action(cmd::ID_VIEW_EDIT_TOOLBAR)->isChecked());
  frame->Action(cmd::ID_VIEW_EDIT_TOOLBAR)->trigger();
  EXPECT_TRUE(edit->isHidden());
  EXPECT_FALSE(frame->Action(cmd::ID_VIEW_EDIT_TOOLBAR)->isChecked());
  EXPECT_FALSE(frame->ToolBar(ID_ALIGN_TOOLBAR)->isHidden());
  app_->OnCmdMsg(cmd::ID_VIEW_ALIGN_TOOLBAR, true);
  EXPECT_TRUE(frame->ToolBar(ID_ALIGN_TOOLBAR)->isHidden());
}

TEST_F(FramesTest, BarStateIsKeptUnderItsSection) {
  ASSERT_TRUE(Start());
  app_->OnCmdMsg(cmd::ID_VIEW_ALIGN_TOOLBAR, true);
  ASSERT_TRUE(app_->MainFrame()->ToolBar(ID_ALIGN_TOOLBAR)->isHidden());
  Stop();
  QSettings profile(QString::fromStdString(platform::DefaultConfigFolder() + "/Vendrik.ini"), QSettings::IniFormat);
  EXPECT_FALSE(profile.value(QString(kBarStateSection) + "/BarState").toByteArray().isEmpty());

  ASSERT_TRUE(Start());
  EXPECT_TRUE(app_->MainFrame()->ToolBar(ID_ALIGN_TOOLBAR)->isHidden());
  EXPECT_FALSE(app_->MainFrame()->ToolBar(ID_EDIT_TOOLBAR)->isHidden());
}
