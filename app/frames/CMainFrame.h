#pragma once
// The program's main window: the layout windows in an MDI area, three tool
// bars, the record-number bar, the status-bar panes that show the marking
// progress, and the marking controller it owns.
#include <QMainWindow>
#include <map>
#include <memory>

#include "app/frames/CommandMap.h"
#include "app/views/model/ViewHostInterfaces.h"
#include "marking/controller/MarkInterfaces.h"
#include "platform/Messages.h"

class QAction;
class QLabel;
class QMdiArea;
class QToolBar;
class CChildFrame;
class CMarkControlWnd;
class CMarkToolBar;
class CVendrikApp;

constexpr int ID_MAIN_TOOLBAR = 0xE800;
constexpr int ID_STATUS_BAR = 0xE801;
constexpr int ID_EDIT_TOOLBAR = 137;
constexpr int ID_ALIGN_TOOLBAR = 159;
constexpr int ID_DRAW_TOOLBAR = 160;  // the drawing tools
constexpr int ID_MARK_CONTROL_WND = 1119;

// Section of the frame's profile that keeps the bar state.
inline constexpr const char* kBarStateSection = "Vendrik-V2010";

// Also the marking controller's frame: its reports arrive at Target(), its
// progress bars sit in the two progress panes.
class CMainFrame : public QMainWindow, public IViewMainFrame {
 public:
  explicit CMainFrame(CVendrikApp* app);
  ~CMainFrame() override;

  // The creation sequence: board type and machine settings, tool bars,
  // status bar, record bar, marking controller, docking, saved bar state.
  // False when a part of it fails (the frame is then not usable).
  bool LoadFrame();
  // Shown maximised.
  void ActivateFrame();
  // The date-format table becomes samples of today's date.
  void FormatDateText();

  QMdiArea* MdiArea() const { return mdi_; }
  // The frame is going, and its layout windows with it.
  bool IsClosing() const { return closing_; }
  CChildFrame* ActiveChildFrame() const;
  platform::MessageTarget& Target();
  CMarkControlWnd* MarkControl() const { return markControl_.get(); }
  CMarkToolBar* RecordBar() const { return recordBar_; }
  QToolBar* ToolBar(int id) const;
  QAction* Action(int commandId) const;

  // Status-bar panes.
  QLabel* Pane(int paneId) const;
  QString PaneText(int paneId) const;
  void ShowMousePos(double x, double y);
  void ShowCursorPos(double x, double y) override;
  void ShowTotalCount(int n);
  void ShowMarkCount(int finished, int total);
  void ShowMarkTime(long long ms);
  // Puts the control into the pane, at most `width` wide (-1: the pane's
  // width). Returns 0 for a null control, else non-zero.
  int CreatePaneControl(QWidget* control, int paneId, int controlId, int width);
  int CreatePaneControl(QWidget* control, int paneId, int controlId, int unusedWidth, int maxWidth) {
    (void)unusedWidth;
    return CreatePaneControl(control, paneId, controlId, maxWidth);
  }

  // The controller's progress bar in a pane; null when the pane is missing.
  std::unique_ptr<IProgressBar> CreatePaneControl(int paneId, int controlId) override;
  platform::MessageTarget* GetFrameTarget() override { return target_.get(); }

  void SetRecordText(int n) override;
  void EnableRecordEdit(bool enable);

  // The frame's own commands.
  bool OnCmdMsg(int id, bool execute);
  bool HasCommandHandler(int id) const { return commands_.Has(id); }
  // Enables each command that has a handler on the route, checks the bar toggles.
  void UpdateCommandUI();
  // The state behind the commands changed (a mouse or key event, a message
  // to a layout view): the actions are updated once the events in hand are
  // handled, as an idle update would.
  void RequestCommandUIUpdate();
  // Asks for every changed layout whether to save it; false when the
  // operator cancelled (or a save failed): the program then stays.
  bool CanCloseLayouts();
  // The program's title (string 130).
  void UpdateFrameTitle();

  // The frame's messages (WM_SHOW_MARK_COUNT, ...); also reached by posting.
  void OnMessage(const platform::Message& message);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QToolBar* CreateToolBar(int id, const QString& title);
  void CreateMenus();
  void CreateStatusBar();
  void ToggleBar(QToolBar* bar);
  void SaveBarState();
  void RestoreBarState();
  // Tells the operator about fonts the text layouts found missing, each once.
  void TellMissingFonts();

  CVendrikApp* app_;
  QMdiArea* mdi_ = nullptr;
  std::unique_ptr<platform::MessageTarget> target_;
  std::unique_ptr<platform::MessageTarget> controlTarget_;  // the controller's own messages
  std::map<int, QLabel*> panes_;
  std::map<int, QToolBar*> toolBars_;
  std::vector<int> toolChecks_;  // the drawing tools, checked by the active layout
  std::map<int, QAction*> actions_;
  CMarkToolBar* recordBar_ = nullptr;
  std::unique_ptr<CMarkControlWnd> markControl_;
  CommandMap commands_;
  bool barStateSaved_ = false;
  bool uiUpdatePending_ = false;
  bool closing_ = false;
};
