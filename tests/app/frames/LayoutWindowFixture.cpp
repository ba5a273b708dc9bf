#include "tests/app/frames/LayoutWindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/core/CommandIds.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/views/CProperityPane.h"
#include "app/views/CVendrikView.h"
#include "app/views/model/ViewSettingsFiles.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedState.h"
#include "document/objects/CObjElement.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"
#include "properties/sheet/CObjProperitySheet.h"

void LayoutWindowTest::Settle() {
  // Each hop of a posted message (page, sheet, pane, layout view) is one
  // round: enough rounds for every chain the window has.
  for (int round = 0; round < 8; ++round) PumpQt();
}

void LayoutWindowTest::TearDown() {
  // Nothing of a test's job outlives it.
  MarkStatusWord = 0;
  FramesTest::TearDown();
}

void LayoutWindowTest::StartWithNewLayout(const QStringList& arguments) {
  ASSERT_TRUE(Start(arguments));
  CMainFrame* frame = app_->MainFrame();
  QApplication::setActiveWindow(frame);
  if (arguments.isEmpty()) Command(cmd::ID_FILE_NEW);
  View()->setFocus();
  Settle();
}

CChildFrame* LayoutWindowTest::Child() const { return app_->MainFrame()->ActiveChildFrame(); }

CVendrikView* LayoutWindowTest::View() const { return Child()->LayoutView(); }

CVendrikViewModel& LayoutWindowTest::Model() const { return View()->Model(); }

CVendrikDoc& LayoutWindowTest::Doc() const { return *Child()->Document(); }

CObjectListBox* LayoutWindowTest::List() const { return Child()->PropertyPane()->View()->GetObjectList(); }

int LayoutWindowTest::Count() const { return Doc().Objects().GetSize(); }

QPoint LayoutWindowTest::Px(double x, double y) const {
  const platform::DcPoint p = Model().MmToPixel(x, y);
  return {p.x, p.y};
}

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, buttons,
                    QApplication::keyboardModifiers());
  QApplication::sendEvent(target, &event);
}

}  // namespace

void LayoutWindowTest::Press(QPoint at, Qt::MouseButton button) {
  SendMouse(View()->viewport(), QEvent::MouseButtonPress, at, button, button);
  if (button == Qt::RightButton) {
    // The press asks for the context menu; none is wanted here.
    Settle();
  }
}

void LayoutWindowTest::Release(QPoint at, Qt::MouseButton button) {
  SendMouse(View()->viewport(), QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

void LayoutWindowTest::MoveTo(QPoint at, bool leftDown) {
  SendMouse(View()->viewport(), QEvent::MouseMove, at, Qt::NoButton, leftDown ? Qt::LeftButton : Qt::NoButton);
}

void LayoutWindowTest::Click(QPoint at) {
  MoveTo(at);
  Press(at);
  Release(at);
  Settle();
}

void LayoutWindowTest::Drag(QPoint from, QPoint to) {
  MoveTo(from);
  Press(from);
  MoveTo(to, true);
  Release(to);
  Settle();
}

void LayoutWindowTest::CtrlClick(QPoint at) {
  QTest::keyPress(View(), Qt::Key_Control, Qt::ControlModifier);
  Click(at);
  QTest::keyRelease(View(), Qt::Key_Control);
}

void LayoutWindowTest::RightClick(QPoint at) {
  MoveTo(at);
  Press(at, Qt::RightButton);
  Release(at, Qt::RightButton);
  Settle();
}

void LayoutWindowTest::Key(int key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(View(), static_cast<Qt::Key>(key), modifiers);
  // Qt Test lets go of Ctrl and Shift with the key still counted as held; the
  // window system would report them up, and the next mouse event says so.
  if (modifiers & Qt::ControlModifier) QTest::keyRelease(View(), Qt::Key_Control);
  if (modifiers & Qt::ShiftModifier) QTest::keyRelease(View(), Qt::Key_Shift);
  Settle();
}

QAction* LayoutWindowTest::Action(int id) const { return app_->MainFrame()->Action(id); }

void LayoutWindowTest::Command(int id) {
  CMainFrame* frame = app_->MainFrame();
  Settle();
  frame->UpdateCommandUI();  // as opening the menu does
  QAction* action = frame->Action(id);
  ASSERT_NE(action, nullptr) << id;
  ASSERT_TRUE(action->isEnabled()) << id;
  for (QToolBar* bar : frame->findChildren<QToolBar*>()) {
    if (auto* button = qobject_cast<QAbstractButton*>(bar->widgetForAction(action)); button != nullptr && bar->isVisible()) {
      QTest::mouseClick(button, Qt::LeftButton);
      Settle();
      return;
    }
  }
  action->trigger();
  Settle();
}

void LayoutWindowTest::DrawTwoPoint(int toolId, QPoint a, QPoint b) {
  Command(toolId);
  MoveTo(a);
  Press(a);
  Release(a);
  MoveTo(b);
  Press(b);
  Release(b);
  Settle();
}

void LayoutWindowTest::DrawThree() {
  DrawTwoPoint(cmd::ID_ADD_ARC, Px(-20, 10), Px(-15, 14));
  DrawTwoPoint(cmd::ID_ADD_LINE, Px(-5, -15), Px(5, -10));
  DrawTwoPoint(cmd::ID_ADD_RECTANGLE, Px(10, 5), Px(20, 12));
}

int LayoutWindowTest::RowOf(const CObjElement* element) const {
  return List()->FindObject(const_cast<CObjElement*>(element));
}

void LayoutWindowTest::ClickRow(int row, Qt::KeyboardModifiers modifiers) {
  CObjectListBox* list = List();
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
  // The keys are let go over the list.
  if (modifiers & Qt::ControlModifier) QTest::keyRelease(list, Qt::Key_Control);
  Settle();
}

void LayoutWindowTest::ChooseFromRowMenu(int row, Qt::Key mnemonic) {
  CObjectListBox* list = List();
  bool chosen = false;
  // The menu runs its own loop: the choice is made from inside it.
  QTimer::singleShot(0, list, [&chosen, mnemonic] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      QTest::keyClick(menu, mnemonic);
      chosen = !menu->isVisible();
      // A greyed entry leaves the menu open: close it, so the test fails
      // instead of waiting for ever.
      if (!chosen) menu->close();
    }
  });
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mousePress(list->viewport(), Qt::RightButton, Qt::NoModifier, rect.center());
  QTest::mouseRelease(list->viewport(), Qt::RightButton, Qt::NoModifier, rect.center());
  Settle();
  ASSERT_TRUE(chosen) << "no context menu, or its entry is greyed";
}

std::string LayoutWindowTest::RowText(int row) const { return List()->item(row)->text().toStdString(); }

void LayoutWindowTest::OpenPage(const QString& caption) {
  CObjProperitySheet* sheet = Child()->PropertyPane()->View()->GetSheet();
  for (int i = 0; i < sheet->count(); ++i) {
    if (sheet->tabText(i) != caption) continue;
    QTest::mouseClick(sheet->tabBar(), Qt::LeftButton, Qt::NoModifier, sheet->tabBar()->tabRect(i).center());
    Settle();
    return;
  }
  ADD_FAILURE() << "no page " << caption.toStdString();
}

void LayoutWindowTest::TypeIntoPage(const char* editName, const QString& text) {
  CObjProperitySheet* sheet = Child()->PropertyPane()->View()->GetSheet();
  auto* edit = sheet->currentWidget() != nullptr ? sheet->currentWidget()->findChild<QLineEdit*>(editName) : nullptr;
  ASSERT_NE(edit, nullptr) << editName;
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
  Settle();
}

void LayoutWindowTest::AnswerNextDialog(std::function<void(QDialog&)> act) {
  dialogAction_ = std::move(act);
  dialogAwaited_ = true;
  QTimer::singleShot(0, app_->MainFrame(), [this] { PollForDialog(0); });
}

void LayoutWindowTest::PollForDialog(int round) {
  if (!dialogAwaited_) return;
  auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (dialog == nullptr) {
    // Not open yet: look again on the next turn of the event loop, within a
    // bound that no command needs.
    constexpr int kRounds = 10000;
    if (round < kRounds) QTimer::singleShot(0, app_->MainFrame(), [this, round] { PollForDialog(round + 1); });
    return;
  }
  dialogAwaited_ = false;
  // Taken out first: the action may await the dialog that follows this one.
  const std::function<void(QDialog&)> act = std::move(dialogAction_);
  dialogAction_ = nullptr;
  if (act) act(*dialog);
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  QPushButton* ok = buttons != nullptr ? buttons->button(QDialogButtonBox::Ok) : nullptr;
  if (ok != nullptr) {
    QTest::mouseClick(ok, Qt::LeftButton);
  } else {
    dialog->accept();
  }
  // A dialog that refuses its OK stays open: cancel it, so the test fails
  // on what the dialog said instead of waiting for ever.
  if (dialog->isVisible()) {
    dialog->reject();
    return;
  }
  ++dialogsAnswered_;
}

void LayoutWindowTest::TypeIntoDialog(QDialog& dialog, const char* editName, const QString& text) {
  auto* edit = dialog.findChild<QLineEdit*>(editName);
  ASSERT_NE(edit, nullptr) << editName;
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

std::vector<std::string> LayoutWindowTest::SelectedNames() const {
  std::vector<std::string> names;
  for (const CObjElement* element : Model().m_selection) names.push_back(element->name);
  std::sort(names.begin(), names.end());
  return names;
}

CObjElement* LayoutWindowTest::Named(const std::string& name) const {
  for (CObjElement* element : Doc().Objects()) {
    if (element != nullptr && element->name == name) return element;
  }
  return nullptr;
}

void LayoutWindowTest::TeachReferenceArc() {
  ArcPointedInfo info;
  info.point1X = -15;
  info.point1Y = 0;
  info.point2X = 20;
  info.point2Y = -5;
  info.centreX = 0;
  info.centreY = -20;
  info.radius = 25;
  info.arcOn = 1;
  info.arcBuilt = 1;
  ASSERT_TRUE(SaveArcPointedInfo(folder_, info));
}
