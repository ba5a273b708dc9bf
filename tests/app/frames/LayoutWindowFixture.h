#pragma once
// The started program with its layout window, driven the way an operator
// drives it: mouse and keys on the layout view, the menu bar's and tool bars'
// own actions, clicks and context menus in the object list, typing into the
// property pages.
#include <QPoint>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/frames/FramesFixture.h"

class CChildFrame;
class CObjElement;
class CObjectListBox;
class CVendrikDoc;
class CVendrikView;
class CVendrikViewModel;
class QAction;
class QDialog;

class LayoutWindowTest : public FramesTest {
 protected:
  void TearDown() override;
  // Delivers what was posted, and what that posted in turn.
  void Settle();
  // The program up with one layout window, made new by File > New, and
  // active with the layout view focused.
  void StartWithNewLayout(const QStringList& arguments = {});

  CChildFrame* Child() const;
  CVendrikView* View() const;
  CVendrikViewModel& Model() const;
  CVendrikDoc& Doc() const;
  CObjectListBox* List() const;
  int Count() const;

  // The viewport pixel of a point in mm.
  QPoint Px(double x, double y) const;
  void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton);
  void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton);
  void MoveTo(QPoint at, bool leftDown = false);
  void Click(QPoint at);
  // A press at `from`, the mouse moved with the button down, let go at `to`.
  void Drag(QPoint from, QPoint to);
  // A click with Ctrl held on the layout view.
  void CtrlClick(QPoint at);
  void RightClick(QPoint at);
  // A key on the layout view (the frame's shortcuts included).
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

  QAction* Action(int id) const;
  // The command as the operator gives it: its tool-bar button when a bar
  // shows it, else its menu entry. Fails when it is disabled.
  void Command(int id);
  // A two-press tool: pick it, press at a, move to b, press at b.
  void DrawTwoPoint(int toolId, QPoint a, QPoint b);
  // "arc-1", "line-1" and "rectangle-1", each clear of the origin.
  void DrawThree();

  // The object list: its row of an element, a click on a row (with Ctrl to
  // add to the selection) and a choice of the row's context menu by the
  // entry's mnemonic.
  int RowOf(const CObjElement* element) const;
  void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void ChooseFromRowMenu(int row, Qt::Key mnemonic);
  std::string RowText(int row) const;

  // Brings the property sheet's page with this tab caption to the front.
  void OpenPage(const QString& caption);
  // Types into an edit of the front page and presses Enter.
  void TypeIntoPage(const char* editName, const QString& text);

  // Answers the next modal dialog as the operator does: `act` fills it in
  // (nothing for its defaults), then its OK button is clicked. Counts in
  // DialogsAnswered(). `act` may await the dialog that follows.
  void AnswerNextDialog(std::function<void(QDialog&)> act = {});
  int DialogsAnswered() const { return dialogsAnswered_; }
  // Types over the text of a dialog's edit.
  static void TypeIntoDialog(QDialog& dialog, const char* editName, const QString& text);

  std::vector<std::string> SelectedNames() const;
  CObjElement* Named(const std::string& name) const;

  // Stores a reference arc taught before the start: centre (0, -20), radius
  // 25 through (-15, 0) and (20, -5), on and built.
  void TeachReferenceArc();

 private:
  void PollForDialog(int round);
  std::function<void(QDialog&)> dialogAction_;
  bool dialogAwaited_ = false;
  int dialogsAnswered_ = 0;
};
