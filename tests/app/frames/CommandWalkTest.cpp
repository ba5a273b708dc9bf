// No dead command: every entry of the command table, and every action of the
// menu bar and the tool bars, reaches a handler on the route of the active
// layout window. The Edit and Align tool bars carry their buttons and act.
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidgetAction>

#include "app/core/CommandIds.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CVendrikView.h"
#include "document/objects/CObjElement.h"
#include "tests/app/frames/LayoutWindowFixture.h"

namespace {

// Every command action of the menu, its sub-menus included.
void CollectMenuActions(QMenu* menu, std::vector<QAction*>& out) {
  for (QAction* action : menu->actions()) {
    if (action->menu() != nullptr) {
      CollectMenuActions(action->menu(), out);
    } else if (!action->isSeparator()) {
      out.push_back(action);
    }
  }
}

}  // namespace

TEST_F(LayoutWindowTest, EveryCommandAndEveryMenuAndToolBarActionReachesAHandler) {
  StartWithNewLayout();
  CMainFrame* frame = app_->MainFrame();
  for (const cmd::CommandInfo& info : cmd::CommandTable()) {
    EXPECT_TRUE(app_->HasCommandHandler(info.id)) << info.id << " " << info.menuText;
    EXPECT_NE(frame->Action(info.id), nullptr) << info.id;
  }
  std::vector<QAction*> actions;
  for (QAction* top : frame->menuBar()->actions()) {
    if (top->menu() != nullptr) CollectMenuActions(top->menu(), actions);
  }
  const std::size_t menuActions = actions.size();
  for (QToolBar* bar : frame->findChildren<QToolBar*>()) {
    for (QAction* action : bar->actions()) {
      // The record bar's edit is a widget of its own, not a command.
      if (!action->isSeparator() && qobject_cast<QWidgetAction*>(action) == nullptr) actions.push_back(action);
    }
  }
  ASSERT_GT(menuActions, 100u);
  ASSERT_GT(actions.size(), menuActions);
  for (QAction* action : actions) {
    bool isId = false;
    const int id = action->data().toInt(&isId);
    ASSERT_TRUE(isId) << action->text().toStdString();
    EXPECT_NE(cmd::FindCommand(id), nullptr) << id;
    EXPECT_TRUE(app_->HasCommandHandler(id)) << id << " " << action->text().toStdString();
  }
}

TEST_F(LayoutWindowTest, EditAndAlignToolBarsCarryTheirCommandsWithIcons) {
  StartWithNewLayout();
  CMainFrame* frame = app_->MainFrame();
  const std::pair<int, std::vector<int>> bars[] = {
      {ID_EDIT_TOOLBAR,
       {cmd::ID_EDIT_UNDO, cmd::ID_EDIT_REDO, cmd::ID_EDIT_CUT, cmd::ID_EDIT_COPY, cmd::ID_EDIT_PASTE,
        cmd::ID_DELETE_SELECTION, cmd::ID_SELECT_ALL, cmd::ID_CLEAR_ALL, cmd::ID_CHANGE_MARK_ORDER, cmd::ID_LOCK,
        cmd::ID_UNLOCK, cmd::ID_LOCK_ALL, cmd::ID_REMOVE_LOCK}},
      {ID_ALIGN_TOOLBAR,
       {cmd::ID_ALIGN_CENTER, cmd::ID_ALIGN_LEFT, cmd::ID_ALIGN_RIGHT, cmd::ID_ALIGN_TOP, cmd::ID_ALIGN_BOTTOM}}};
  for (const auto& [barId, ids] : bars) {
    QToolBar* bar = frame->ToolBar(barId);
    ASSERT_NE(bar, nullptr);
    std::vector<int> shown;
    for (QAction* action : bar->actions()) {
      if (action->isSeparator()) continue;
      shown.push_back(action->data().toInt());
      EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
    }
    EXPECT_EQ(shown, ids) << barId;
  }
}

TEST_F(LayoutWindowTest, AlignAndEditButtonsActOnTheSelection) {
  StartWithNewLayout();
  DrawThree();
  Key(Qt::Key_A, Qt::ControlModifier);
  ASSERT_EQ(Model().m_selection.size(), 3u);
  // Command() presses the button of a shown tool bar.
  Command(cmd::ID_ALIGN_LEFT);
  const double left = Named("arc-1")->GetBoundRect().left;
  EXPECT_NEAR(Named("line-1")->GetBoundRect().left, left, 1e-3);
  EXPECT_NEAR(Named("rectangle-1")->GetBoundRect().left, left, 1e-3);
  Command(cmd::ID_EDIT_UNDO);
  EXPECT_GT(Named("rectangle-1")->GetBoundRect().left, left + 1);
}
