// The Mark and Setting menus of the main frame: their commands reach the
// active layout view and the check marks follow the view's marking state.
#include <QMenu>
#include <QMenuBar>

#include "app/core/CommandIds.h"
#include "app/frames/CMainFrame.h"
#include "app/views/model/ViewMarkDialogs.h"
#include "document/geometry/SharedState.h"
#include "tests/app/frames/FramesFixture.h"

namespace {

QMenu* MenuNamed(CMainFrame* frame, const QString& title) {
  for (QAction* action : frame->menuBar()->actions()) {
    if (action->text() == title) return action->menu();
  }
  return nullptr;
}

}  // namespace

TEST_F(FramesTest, MarkMenuChecksFollowTheMarkingState) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  PumpQt();
  QMenu* mark = MenuNamed(frame, "Mark(&M)");
  ASSERT_NE(mark, nullptr);
  EXPECT_TRUE(mark->actions().contains(frame->Action(cmd::ID_START_MARK)));
  EXPECT_TRUE(mark->actions().contains(frame->Action(cmd::ID_TEST_HARDWARE)));

  const std::tuple<std::uint32_t, bool, bool> cases[] = {
      {MSW_MARKING | MSW_AIR_ON, true, false}, {MSW_MARKING, false, true}, {0, false, false}};
  for (const auto& [bits, withAir, withoutAir] : cases) {
    MarkStatusWord = bits;
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->Action(cmd::ID_START_MARK)->isChecked(), withAir) << bits;
    EXPECT_EQ(frame->Action(cmd::ID_MARK_NO_GAS)->isChecked(), withoutAir) << bits;
  }
  g_jogWindowOpen = 1;
  frame->UpdateCommandUI();
  EXPECT_TRUE(frame->Action(cmd::ID_ORIGIN_BY_HAND)->isChecked());
  g_jogWindowOpen = 0;
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->Action(cmd::ID_ORIGIN_BY_HAND)->isChecked());
  EXPECT_FALSE(frame->Action(cmd::ID_START_MARK)->isEnabled()) << "an empty layout has nothing to mark";
}

TEST_F(FramesTest, SettingsAndMachineCommandsAreTheLayoutViews) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = app_->MainFrame();
  PumpQt();
  QMenu* setting = MenuNamed(frame, "Setting(&T)");
  ASSERT_NE(setting, nullptr);
  EXPECT_EQ(setting->actions().size(), 3);
  frame->UpdateCommandUI();
  for (int id : {cmd::ID_SOFT_TYPE, cmd::ID_RS232_SETTING, cmd::ID_SCREEN_SIZE, cmd::ID_PRINT_EDGE_SETTING,
                 cmd::ID_LOOK_DATABASE, cmd::ID_CLEAR_DATABASE, cmd::ID_SYNC_PAPER_PRINT, cmd::ID_TEST_HARDWARE,
                 cmd::ID_MACHINE_ORIGIN, cmd::ID_CONFIG_MACHINE_ORIGIN, cmd::ID_PAUSE_MARK}) {
    EXPECT_TRUE(frame->Action(id)->isEnabled()) << id;
  }
}
