#pragma once
// One layout window: the layout pane and the property pane side by side in a
// splitter, rulers along the top and the left, and the marking display made
// on demand.
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

#include "app/core/FrameGeometry.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CommandMap.h"
#include "app/frames/DocStrings.h"
#include "app/views/model/ViewHostInterfaces.h"

class QSplitter;
class CLeftRulerBar;
class CMainFrame;
class CProperityPane;
class CProperityViewCalls;
class CTopRulerBar;
class CVendrikDoc;
class CVendrikView;

constexpr int ID_TOP_RULER = 1126;
constexpr int ID_LEFT_RULER = 1125;

class CChildFrame : public QMdiSubWindow, public IViewChildFrame {
 public:
  CChildFrame(CMainFrame* mainFrame, std::shared_ptr<CVendrikDoc> document);
  ~CChildFrame() override;

  // The rulers; false when they cannot be made.
  bool OnCreate();
  // The splitter with the layout pane (64 % of clientWidth), registered with
  // the document, and the property pane; false when it cannot be made.
  bool OnCreateClient(int clientWidth);
  // The panes' initial update: the layout view creates the parameter record,
  // the property pane binds the layout view and starts the machine link.
  void InitialUpdateFrame();
  // Every resize gives the columns 61 % and 39 % of the width again.
  void OnSize(int width);
  // Shown maximised.
  void ActivateFrame() override;
  // A cascaded or restored window keeps a usable size: two thirds of the
  // MDI area, at least 480 x 360.
  QSize sizeHint() const override;

  bool IsSplitterCreated() const { return splitterCreated_; }
  QSplitter* Splitter() const { return splitter_; }
  CVendrikView* LayoutView() const { return view_; }
  CProperityPane* PropertyPane() const { return propPane_; }
  CTopRulerBar* TopRuler() const { return topRuler_; }
  CLeftRulerBar* LeftRuler() const { return leftRuler_; }
  CVendrikDoc* Document() const { return document_.get(); }
  int InitialLayoutWidth() const { return initialLayoutWidth_; }
  ColumnWidths IdealWidths() const { return idealWidths_; }

  // Command 32833: the other pane becomes the active one.
  void ChangeActivePane();
  QWidget* ActivePane() const;

  void SetRulerOrigin(int x, int y) override;
  void InvalidateRulers(float scale) override;
  void NotifyRuler(int which) override;
  QPoint GetPropPaneOrigin() const;

  // Called by the marking controller: shows (show != 0) or hides the marking
  // display, making it over the property pane the first time.
  void ShowSyncDisplay(CVendrikDoc* document, int show);
  CDisMarkFrame* DisplayFrame() const { return display_; }

  // Asks whether to save a changed layout; false when the operator cancelled
  // or the save failed.
  bool CanClose();

  // Commands of the layout view, then of its document, then of this frame.
  bool OnCmdMsg(int id, bool execute);
  // Whether one of them has a handler for the command, enabled or not.
  bool HasCommandHandler(int id) const;
  // The window shows the document's title.
  void UpdateTitle();

 private:
  // The first other layout window opens the program's link (this one held it).
  void HandLinkOver();
  void closeEvent(QCloseEvent* event) override;

  CMainFrame* mainFrame_;
  std::shared_ptr<CVendrikDoc> document_;
  int splitterCreated_ = 0;
  QWidget* host_ = nullptr;
  QSplitter* splitter_ = nullptr;
  CTopRulerBar* topRuler_ = nullptr;
  CLeftRulerBar* leftRuler_ = nullptr;
  CVendrikView* view_ = nullptr;
  CProperityPane* propPane_ = nullptr;
  // The layout view's calls on the pane's list and sheet.
  std::unique_ptr<CProperityViewCalls> paneCalls_;
  QPointer<CDisMarkFrame> display_;
  int initialLayoutWidth_ = 0;
  ColumnWidths idealWidths_{0, 0};
  CommandMap commands_;
};
