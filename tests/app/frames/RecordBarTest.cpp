#include <QFocusEvent>
#include <QKeyEvent>

#include "values/ShellMessages.h"
#include "app/core/CommandIds.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/CMarkToolBar.h"
#include "widgets/CNotifyEdit.h"
#include "app/views/CVendrikView.h"
#include "document/geometry/SharedState.h"
#include "tests/app/frames/FramesFixture.h"

namespace {

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

}  // namespace

TEST_F(FramesTest, RecordEditRequestsTheTypedRecordOnEnterArrowsAndFocusLoss) {
  ASSERT_TRUE(Start());
  MessageLog view;
  app_->FindFirstLayoutView()->SetMessageHandler(view.Handler());
  CMarkToolBar* bar = app_->MainFrame()->RecordBar();
  CNotifyEdit* edit = bar->Edit();
  bar->EnableRecordEdit(true);  // as while a sheet is open
  EXPECT_EQ(edit->text(), QString("1"));
  EXPECT_EQ(bar->CurrentRecord(), 1);

  edit->setText("abc");
  PressKey(edit, Qt::Key_Return);
  edit->setText("25");
  PressKey(edit, Qt::Key_Up);
  edit->setText("26");
  PressKey(edit, Qt::Key_Down);
  edit->setText("27");
  QFocusEvent focusOut(QEvent::FocusOut);
  QCoreApplication::sendEvent(edit, &focusOut);
  edit->setText("28");
  PressKey(edit, Qt::Key_A);  // an ordinary key requests nothing
  PumpQt();

  std::vector<WPARAM> records;
  for (const auto& m : view.messages) {
    EXPECT_EQ(m.msg, WM_NEXT_RECORD);
    records.push_back(m.wParam);
  }
  EXPECT_EQ(records, (std::vector<WPARAM>{0, 25, 26, 27}));
  EXPECT_EQ(bar->CurrentRecord(), 27);
}

TEST_F(FramesTest, EnterDuringMarkingStopsInsteadOfRequesting) {
  ASSERT_TRUE(Start());
  MessageLog view;
  app_->FindFirstLayoutView()->SetMessageHandler(view.Handler());
  CNotifyEdit* edit = app_->MainFrame()->RecordBar()->Edit();
  edit->setEnabled(true);  // as while a sheet is open
  MarkStatusWord = MSW_MARKING;
  PressKey(edit, Qt::Key_Return);
  PumpQt();
  EXPECT_TRUE(MarkStatusWord.load() & MSW_STOP_REQUEST);
  EXPECT_TRUE(view.messages.empty());
  MarkStatusWord = 0;
}

TEST_F(FramesTest, FrameSetsTheRecordTextAndItsEnabling) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  frame->SetRecordText(12);
  EXPECT_EQ(frame->RecordBar()->Edit()->text(), QString("12"));
  frame->EnableRecordEdit(false);
  EXPECT_FALSE(frame->RecordBar()->Edit()->isEnabled());
  frame->EnableRecordEdit(true);
  EXPECT_TRUE(frame->RecordBar()->Edit()->isEnabled());
}

TEST_F(FramesTest, RecordEditStaysDisabledWithoutAnOpenSheet) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  EXPECT_FALSE(frame->RecordBar()->Edit()->isEnabled());
  // Neither a new layout window nor a menu opened changes that.
  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);
  PumpQt();
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->Action(cmd::ID_NEXT_RECORD)->isEnabled());
  EXPECT_FALSE(frame->RecordBar()->Edit()->isEnabled());
}
