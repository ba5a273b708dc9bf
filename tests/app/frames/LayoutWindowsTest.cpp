// Several layout windows: the board link is opened once for the program, and
// cascading keeps every window usable.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "properties/link/CProperityView.h"
#include "tests/app/frames/FramesFixture.h"
#include "values/ShellValues.h"

namespace {

int CountText(const std::vector<std::string>& texts, const std::string& text) {
  int n = 0;
  for (const std::string& t : texts) n += t == text ? 1 : 0;
  return n;
}

}  // namespace

TEST_F(FramesTest, ASecondLayoutWindowDoesNotProbeTheLinkAgain) {
  // USB board, and no adapter to be found: the first window says so once.
  ASSERT_TRUE(WriteSoftTypeFile(ZephyneFilePath(folder_), SOFT_TYPE_USB));
  ASSERT_TRUE(Start());
  CChildFrame* first = app_->MainFrame()->ActiveChildFrame();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(CountText(prompt_->Texts(), "Please install usb driver!"), 1);
  EXPECT_EQ(CProperityView::LinkOwner(), first->PropertyPane()->View());

  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);
  PumpQt();
  CChildFrame* second = app_->MainFrame()->ActiveChildFrame();
  ASSERT_NE(second, first);
  EXPECT_EQ(CountText(prompt_->Texts(), "Please install usb driver!"), 1);
  EXPECT_EQ(CProperityView::LinkOwner(), first->PropertyPane()->View());
  // The second window's marking reaches the program's link.
  EXPECT_EQ(second->LayoutView()->Model().GetPropertyView(), first->PropertyPane()->View());

  // When the holder closes, the window still open takes the link up (and
  // looks for the adapter once more); a window opened after it does not.
  delete first;
  PumpQt();
  EXPECT_EQ(CProperityView::LinkOwner(), second->PropertyPane()->View());
  EXPECT_EQ(second->LayoutView()->Model().GetPropertyView(), second->PropertyPane()->View());
  EXPECT_EQ(CountText(prompt_->Texts(), "Please install usb driver!"), 2);
  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);
  PumpQt();
  EXPECT_EQ(CountText(prompt_->Texts(), "Please install usb driver!"), 2);
  // Closing the program hands nothing over.
  Stop();
  EXPECT_EQ(CProperityView::LinkOwner(), nullptr);
  EXPECT_EQ(CountText(prompt_->Texts(), "Please install usb driver!"), 2);
}

TEST_F(FramesTest, CascadedLayoutWindowsKeepAUsableSize) {
  ASSERT_TRUE(Start());
  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);
  app_->OnCmdMsg(cmd::ID_NEW_LAYOUT, true);
  PumpQt();
  app_->MainFrame()->OnCmdMsg(cmd::ID_WINDOW_CASCADE, true);
  PumpQt();
  const QList<QMdiSubWindow*> windows = app_->MainFrame()->MdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 3);
  for (QMdiSubWindow* window : windows) {
    EXPECT_GE(window->width(), 400) << window->windowTitle().toStdString();
    EXPECT_GE(window->height(), 300) << window->windowTitle().toStdString();
  }
}
