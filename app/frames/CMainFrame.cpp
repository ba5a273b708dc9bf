#include "app/frames/CMainFrame.h"

#include <QActionGroup>

#include "app/frames/AlignToolIcons.h"
#include "app/frames/DrawToolIcons.h"
#include "app/frames/EditToolIcons.h"

#include <QAction>
#include <QPointer>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include "app/core/CommandIds.h"
#include "app/core/MachineSetFile.h"
#include "app/core/MissingFontMessage.h"
#include "app/core/NameTables.h"
#include "values/ShellMessages.h"
#include "app/core/StartupValues.h"
#include "app/core/StatusTexts.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMarkToolBar.h"
#include "app/frames/CVendrikApp.h"
#include "app/frames/FrameProfile.h"
#include "app/frames/LockIndicators.h"
#include "app/frames/MarkRecordKeeper.h"
#include "app/frames/DocStrings.h"
#include "app/views/CVendrikView.h"
#include "marking/controller/CMarkControlWnd.h"
#include "marking/widgets/CColorProgressCtrl.h"
#include "platform/InstallDir.h"
#include "platform/PortIo.h"
#include "platform/Prompt.h"
#include "platform_qt/QtMessageTarget.h"
#include "text/layout/MissingFontNotices.h"
#include "widgets/StopKeyEventFilter.h"
#include "values/ShellValues.h"

namespace {

// The view's commands that show a check mark.
constexpr int kCheckedViewCommands[] = {cmd::ID_START_MARK,         cmd::ID_MARK_NO_GAS,
                                        cmd::ID_MARK_INFO_DATABASE, cmd::ID_OPEN_MARK_WINDOW,
                                        cmd::ID_CHECK_VIN_MARKED,   cmd::ID_SELECT_POINTED_POSITION,
                                        cmd::ID_ORIGIN_BY_HAND,     cmd::ID_SYNC_PAPER_PRINT,
                                        cmd::ID_APPLY_OPTIMIZE_SPEED, cmd::ID_BAND_EXCEL};

// The second tool bar: the Edit menu's commands (0: a separator).
constexpr int kEditBarCommands[] = {cmd::ID_EDIT_UNDO, cmd::ID_EDIT_REDO, 0, cmd::ID_EDIT_CUT, cmd::ID_EDIT_COPY,
                                    cmd::ID_EDIT_PASTE, cmd::ID_DELETE_SELECTION, 0, cmd::ID_SELECT_ALL,
                                    cmd::ID_CLEAR_ALL, cmd::ID_CHANGE_MARK_ORDER, 0, cmd::ID_LOCK, cmd::ID_UNLOCK,
                                    cmd::ID_LOCK_ALL, cmd::ID_REMOVE_LOCK};
// The third: the alignments of the selection.
constexpr int kAlignBarCommands[] = {cmd::ID_ALIGN_CENTER, cmd::ID_ALIGN_LEFT, cmd::ID_ALIGN_RIGHT, cmd::ID_ALIGN_TOP,
                                     cmd::ID_ALIGN_BOTTOM};

QString MenuText(const cmd::CommandInfo& info) {
  const QString text = QString::fromUtf8(info.menuText);
  return text.section('\t', 0, 0);
}

QString ShortcutText(const cmd::CommandInfo& info) {
  const QString text = QString::fromUtf8(info.menuText);
  return text.contains('\t') ? text.section('\t', 1) : QString();
}

// A progress bar of the marking controller in a status pane. The pane owns
// the widget; the bar goes when the controller lets go of it.
class PaneProgressBar : public IProgressBar {
 public:
  explicit PaneProgressBar(CColorProgressCtrl* control) : control_(control) {}
  // Gone from its pane at once: the controller lets go at the job's end,
  // often inside a nested event loop, where a deferred delete would wait
  // for the operator's next input.
  ~PaneProgressBar() override {
    if (!control_) return;
    if (control_->thread() == QThread::currentThread()) {
      delete control_.data();
    } else {
      control_->deleteLater();
    }
  }
  void SetRange(int lower, int upper) override {
    if (control_) control_->SetRange(lower, upper);
  }
  void SetStep(int step) override {
    if (control_) control_->SetStep(step);
  }
  // From the marking worker too: the control is guarded for that.
  void SetPos(int pos) override {
    if (control_) control_->SetPos(pos);
  }

 private:
  QPointer<CColorProgressCtrl> control_;
};

}  // namespace

CMainFrame::CMainFrame(CVendrikApp* app) : QMainWindow(nullptr), app_(app) {
  setObjectName("CMainFrame");
  setWindowTitle(QString::fromUtf8(kMainTitle130));
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { OnMessage(m); });
  commands_.On(cmd::ID_VIEW_EDIT_TOOLBAR, [this] { ToggleBar(ToolBar(ID_EDIT_TOOLBAR)); });
  commands_.On(cmd::ID_VIEW_ALIGN_TOOLBAR, [this] { ToggleBar(ToolBar(ID_ALIGN_TOOLBAR)); });
  commands_.On(cmd::ID_VIEW_TOOLBAR, [this] { ToggleBar(ToolBar(ID_MAIN_TOOLBAR)); });
  commands_.On(cmd::ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
  commands_.On(cmd::ID_WINDOW_CASCADE, [this] { mdi_->cascadeSubWindows(); });
  commands_.On(cmd::ID_WINDOW_TILE_HORZ, [this] { mdi_->tileSubWindows(); });
  commands_.On(cmd::ID_WINDOW_ARRANGE, [this] { mdi_->tileSubWindows(); });
  commands_.On(cmd::ID_APP_EXIT, [this] { close(); });
}

CMainFrame::~CMainFrame() {
  closing_ = true;
  FontNotices().SetListener(nullptr);
  SaveBarState();
  // The layout windows go first, while the controller they point into lives.
  if (mdi_ != nullptr) {
    QObject::disconnect(mdi_, nullptr, this, nullptr);
    delete mdi_;
    mdi_ = nullptr;
  }
  markControl_.reset();
  if (g_winIoReady) ShutdownWinIo();
}

bool CMainFrame::LoadFrame() {
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName("MdiArea");
  setCentralWidget(mdi_);
  QObject::connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) { UpdateCommandUI(); });

  FormatDateText();
  // Layouts may run inside a paint or on another thread: the message waits
  // for the event loop. What was noted before the frame existed comes too.
  FontNotices().SetListener(
      [this] { QMetaObject::invokeMethod(this, [this] { TellMissingFonts(); }, Qt::QueuedConnection); });
  QMetaObject::invokeMethod(this, [this] { TellMissingFonts(); }, Qt::QueuedConnection);
  ReadSoftType();
  LoadMachineSet();

  CreateMenus();
  QToolBar* main = CreateToolBar(ID_MAIN_TOOLBAR, "Standard");
  for (int id : {cmd::ID_FILE_NEW, cmd::ID_FILE_OPEN, cmd::ID_FILE_SAVE, cmd::ID_APP_ABOUT}) main->addAction(Action(id));
  main->addSeparator();
  for (int id : {cmd::ID_START_MARK, cmd::ID_PAUSE_MARK, cmd::ID_JUMP_WAITING, cmd::ID_MACHINE_ORIGIN,
                 cmd::ID_ORIGIN_BY_HAND, cmd::ID_SYNC_PAPER_PRINT}) {
    main->addAction(Action(id));
  }
  CreateStatusBar();
  // The Edit menu's commands and the alignments, each with its drawn icon.
  QToolBar* editBar = CreateToolBar(ID_EDIT_TOOLBAR, "Edit");
  for (int id : kEditBarCommands) {
    if (id == 0) {
      editBar->addSeparator();
      continue;
    }
    Action(id)->setIcon(EditToolIcon(id));
    editBar->addAction(Action(id));
  }
  QToolBar* alignBar = CreateToolBar(ID_ALIGN_TOOLBAR, "Align");
  for (int id : kAlignBarCommands) {
    Action(id)->setIcon(AlignToolIcon(id));
    alignBar->addAction(Action(id));
  }

  recordBar_ = new CMarkToolBar(this);
  if (!recordBar_->Create(this, target_.get(), 0x50002800u, ID_MARK_TOOLBAR)) return false;
  recordBar_->setWindowTitle("Excel data");
  recordBar_->setAllowedAreas(Qt::AllToolBarAreas);

  markControl_ = std::make_unique<CMarkControlWnd>();
  if (!markControl_->Create(target_.get(), ID_MARK_CONTROL_WND)) return false;
  controlTarget_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) {
    if (markControl_) markControl_->HandleMessage(m);
  });
  markControl_->SetSelfTarget(controlTarget_.get());
  markControl_->SetFrame(this);
  markControl_->SetRecorder(MakeMarkRecordKeeper(g_installDir));
  // While a job runs the stop keys reach it whichever control has the focus,
  // and when none has (a focused page field replaced by an Open).
  StopKeyEventFilter::InstallOnApplication(this);

  addToolBar(Qt::TopToolBarArea, ToolBar(ID_MAIN_TOOLBAR));
  addToolBar(Qt::LeftToolBarArea, ToolBar(ID_EDIT_TOOLBAR));
  addToolBar(Qt::LeftToolBarArea, ToolBar(ID_ALIGN_TOOLBAR));
  addToolBar(Qt::TopToolBarArea, ToolBar(ID_DRAW_TOOLBAR));
  addToolBar(Qt::TopToolBarArea, recordBar_);

  RestoreBarState();
  UpdateCommandUI();
  return true;
}

void CMainFrame::TellMissingFonts() {
  const std::vector<std::string> names = FontNotices().TakeNew();
  if (!names.empty()) platform::MessageBox(MissingFontMessage(names, g_installDir));
}

void CMainFrame::FormatDateText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  DateFormatNames() = FormatDateSamples(local);
}

void CMainFrame::ActivateFrame() {
  // Without a window manager "maximised" does nothing: fill the screen first.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->availableGeometry());
  showMaximized();
}

QToolBar* CMainFrame::CreateToolBar(int id, const QString& title) {
  auto* bar = new QToolBar(title, this);
  bar->setObjectName(QString("ToolBar%1").arg(id));
  bar->setAllowedAreas(Qt::AllToolBarAreas);
  toolBars_[id] = bar;
  return bar;
}

QToolBar* CMainFrame::ToolBar(int id) const {
  if (id == ID_MARK_TOOLBAR) return recordBar_;
  auto it = toolBars_.find(id);
  return it == toolBars_.end() ? nullptr : it->second;
}

QAction* CMainFrame::Action(int commandId) const {
  auto it = actions_.find(commandId);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateMenus() {
  for (const cmd::CommandInfo& info : cmd::CommandTable()) {
    auto* action = new QAction(MenuText(info), this);
    action->setData(info.id);
    action->setStatusTip(QString::fromUtf8(info.tip));
    action->setToolTip(QString::fromUtf8(info.tip));
    const QString keys = ShortcutText(info);
    if (!keys.isEmpty()) action->setShortcut(QKeySequence(keys));
    const int id = info.id;
    QObject::connect(action, &QAction::triggered, this, [this, id] {
      if (app_ != nullptr) app_->OnCmdMsg(id, true);
      UpdateCommandUI();
    });
    actions_[id] = action;
  }
  Action(cmd::ID_FILE_NEW)->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
  Action(cmd::ID_FILE_OPEN)->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  Action(cmd::ID_FILE_SAVE)->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  Action(cmd::ID_APP_ABOUT)->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  for (int id : {cmd::ID_VIEW_TOOLBAR, cmd::ID_VIEW_STATUS_BAR, cmd::ID_VIEW_EDIT_TOOLBAR, cmd::ID_VIEW_ALIGN_TOOLBAR}) {
    Action(id)->setCheckable(true);
  }

  QMenu* file = menuBar()->addMenu("File(&F)");
  file->addAction(Action(cmd::ID_FILE_NEW));
  file->addAction(Action(cmd::ID_FILE_OPEN));
  file->addAction(Action(cmd::ID_FILE_CLOSE));
  file->addAction(Action(cmd::ID_FILE_SAVE));
  file->addAction(Action(cmd::ID_FILE_SAVE_AS));
  file->addSeparator();
  file->addAction(Action(cmd::ID_EXPORT_POINTS_IMAGE));
  file->addSeparator();
  file->addAction(Action(cmd::ID_FILE_PRINT));
  file->addAction(Action(cmd::ID_FILE_PRINT_SETUP));
  file->addSeparator();
  for (int id = cmd::ID_FILE_MRU_FILE1; id <= cmd::ID_FILE_MRU_FILE4; ++id) file->addAction(Action(id));
  file->addSeparator();
  file->addAction(Action(cmd::ID_APP_EXIT));
  QMenu* edit = menuBar()->addMenu("Edit(&E)");
  edit->addAction(Action(cmd::ID_EDIT_UNDO));
  edit->addAction(Action(cmd::ID_EDIT_REDO));
  // The drawing tools: one checked at a time, in the Draw menu and on their bar.
  QMenu* draw = menuBar()->addMenu("Draw(&D)");
  QToolBar* drawBar = CreateToolBar(ID_DRAW_TOOLBAR, "Draw");
  auto* tools = new QActionGroup(this);
  for (int id : {cmd::ID_SELECT_NONE, cmd::ID_ADD_POINT, cmd::ID_ADD_LINE, cmd::ID_ADD_POLYLINE, cmd::ID_ADD_RECTANGLE,
                 cmd::ID_ADD_MULTIBORDER, cmd::ID_ADD_ARC, cmd::ID_ADD_SPLINE, cmd::ID_ADD_TEXT, cmd::ID_ADD_AUTO_TEXT,
                 cmd::ID_ADD_SYSTEM_DATE, cmd::ID_ADD_VIN, cmd::ID_ADD_RULER, cmd::ID_ADD_BARCODE,
                 cmd::ID_ADD_SPECIAL_PICTURE}) {
    QAction* action = Action(id);
    action->setCheckable(true);
    action->setIcon(DrawToolIcon(id));
    tools->addAction(action);
    draw->addAction(action);
    drawBar->addAction(action);
    toolChecks_.push_back(id);
  }
  QMenu* view = menuBar()->addMenu("View(&V)");
  for (int id : {cmd::ID_VIEW_TOOLBAR, cmd::ID_VIEW_EDIT_TOOLBAR, cmd::ID_VIEW_ALIGN_TOOLBAR, cmd::ID_VIEW_STATUS_BAR}) {
    view->addAction(Action(id));
  }
  QMenu* mark = menuBar()->addMenu("Mark(&M)");
  for (int id : {cmd::ID_START_MARK, cmd::ID_MARK_NO_GAS, cmd::ID_PAUSE_MARK, cmd::ID_JUMP_WAITING, 0,
                 cmd::ID_MACHINE_ORIGIN, cmd::ID_ORIGIN_BY_HAND, cmd::ID_POINTED_POSITION,
                 cmd::ID_SELECT_POINTED_POSITION, cmd::ID_HAND_SCROLL_TO_ORIGIN, cmd::ID_CONFIG_MACHINE_ORIGIN, 0,
                 cmd::ID_OPEN_MARK_WINDOW, cmd::ID_CHECK_VIN_MARKED, cmd::ID_MARK_INFO_DATABASE,
                 cmd::ID_APPLY_OPTIMIZE_SPEED, cmd::ID_LOOK_DATABASE, cmd::ID_CLEAR_DATABASE, 0, cmd::ID_SYNC_PAPER_PRINT,
                 cmd::ID_PRINT_EDGE_SETTING, 0, cmd::ID_TEST_HARDWARE, cmd::ID_DITHERING_SET}) {
    if (id == 0) mark->addSeparator();
    else mark->addAction(Action(id));
  }
  QMenu* setting = menuBar()->addMenu("Setting(&T)");
  for (int id : {cmd::ID_SOFT_TYPE, cmd::ID_RS232_SETTING, cmd::ID_SCREEN_SIZE}) setting->addAction(Action(id));
  for (int id : kCheckedViewCommands) Action(id)->setCheckable(true);
  // The layout view's import, editing, arranging, zoom and needle commands.
  edit->addSeparator();
  for (int id : {57635, 57634, 57637, 32798, 0, 32799, 32800, 32835, 0, 32902, 32903, 32907, 32906}) {
    if (id != 0) {
      edit->addAction(Action(id));
    } else {
      edit->addSeparator();
    }
  }
  draw->addSeparator();
  for (int id : {32782, 32857, 32742, 0, 32801, 32843, 32844, 32842, 32849, 32856, 32837, 0, 32802, 32805, 32806, 32807,
                 32808, 0, 32824}) {
    if (id != 0) {
      draw->addAction(Action(id));
    } else {
      draw->addSeparator();
    }
  }
  for (int id : {0, 32868, 32869, 32870, 32871, 32783, 32812, 32810, 0, 32850, 32851, 32852, 32853}) {
    if (id != 0) {
      view->addAction(Action(id));
    } else {
      view->addSeparator();
    }
  }
  QMenu* needle = menuBar()->addMenu("Needle(&N)");
  for (int id : {32881, 32882, 32886, 0, 32887, 32733, 32734, 32889, 0, cmd::ID_REFER_ARC_ALIGN, cmd::ID_ALIGN_LINE}) {
    if (id != 0) {
      needle->addAction(Action(id));
    } else {
      needle->addSeparator();
    }
  }
  for (int id : {32782, 32801, 32842, 32783, 32812, 32850, 32851, 32852, 32853, 32824, 32881, 32882, 32886, 32733, 32887,
                 32889}) {
    Action(id)->setCheckable(true);
  }
  QObject::connect(needle, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
  QMenu* window = menuBar()->addMenu("Window(&W)");
  for (int id : {cmd::ID_WINDOW_CASCADE, cmd::ID_WINDOW_TILE_HORZ, cmd::ID_WINDOW_ARRANGE, cmd::ID_CHANGE_ACTIVE_PANE}) {
    window->addAction(Action(id));
  }
  QMenu* excel = menuBar()->addMenu("Excel(&E)");
  for (int id : {cmd::ID_BAND_EXCEL, cmd::ID_CONFIG_EXCEL, cmd::ID_PRE_RECORD, cmd::ID_NEXT_RECORD}) {
    excel->addAction(Action(id));
  }
  QMenu* help = menuBar()->addMenu("Help(&H)");
  help->addAction(Action(cmd::ID_APP_ABOUT));
  for (QMenu* menu : {file, edit, draw, view, mark, setting, window, excel, help}) {
    QObject::connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
  }
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QString("StatusBar%1").arg(ID_STATUS_BAR));
  auto* strip = new QWidget(bar);
  auto* layout = new QHBoxLayout(strip);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  const QFontMetrics metrics(bar->font());
  for (const StatusPane& pane : StatusPanes()) {
    const QString text = QString::fromUtf8(pane.initialText);
    auto* label = new QLabel(text, strip);
    label->setObjectName(QString("pane%1").arg(pane.id));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    int textWidth = std::max(metrics.horizontalAdvance(text), metrics.averageCharWidth() * static_cast<int>(text.size()));
    if (pane.widestText != nullptr) textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromUtf8(pane.widestText)));
    label->setFixedWidth(textWidth + 2 * label->frameWidth() + 6);
    layout->addWidget(label);
    panes_[pane.id] = label;
  }
  layout->addStretch(1);
  bar->addPermanentWidget(strip, 1);
  new LockIndicators(Pane(ID_INDICATOR_CAPS), Pane(ID_INDICATOR_NUM), Pane(ID_INDICATOR_SCRL), this);
}

QLabel* CMainFrame::Pane(int paneId) const {
  auto it = panes_.find(paneId);
  return it == panes_.end() ? nullptr : it->second;
}

QString CMainFrame::PaneText(int paneId) const {
  QLabel* pane = Pane(paneId);
  return pane != nullptr ? pane->text() : QString();
}

void CMainFrame::ShowMousePos(double x, double y) {
  if (QLabel* p = Pane(ID_PANE_MOUSE_X)) p->setText(QString::fromStdString(FormatMousePos(x)));
  if (QLabel* p = Pane(ID_PANE_MOUSE_Y)) p->setText(QString::fromStdString(FormatMousePos(y)));
}

void CMainFrame::ShowCursorPos(double x, double y) {
  if (QLabel* p = Pane(ID_PANE_CURSOR_POS)) p->setText(QString::fromStdString(FormatCursorPos(x, y)));
}

void CMainFrame::ShowTotalCount(int n) {
  if (QLabel* p = Pane(ID_PANE_TOTAL_COUNT)) p->setText(QString::fromStdString(FormatTotalCount(n)));
}

void CMainFrame::ShowMarkCount(int finished, int total) {
  if (QLabel* p = Pane(ID_PANE_MARK_COUNT)) p->setText(QString::fromUtf8(FormatMarkCount(finished, total).c_str()));
}

void CMainFrame::ShowMarkTime(long long ms) {
  if (QLabel* p = Pane(ID_PANE_TIME)) p->setText(QString::fromUtf8(FormatMarkTime(ms).c_str()));
}

int CMainFrame::CreatePaneControl(QWidget* control, int paneId, int controlId, int width) {
  QLabel* pane = Pane(paneId);
  if (control == nullptr || pane == nullptr) return 0;
  statusBar()->update();
  auto* layout = static_cast<QHBoxLayout*>(pane->layout());
  if (layout == nullptr) {
    layout = new QHBoxLayout(pane);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
  }
  control->setParent(pane);
  control->setObjectName(QString("control%1").arg(controlId));
  control->setProperty("controlId", controlId);
  const int paneWidth = std::max(0, std::max(pane->width(), pane->minimumWidth()) - 2);
  // The control covers the pane (and its text) over the given width; a
  // control without a size hint of its own would otherwise get none.
  control->setFixedWidth(width == -1 ? paneWidth : std::min(width, paneWidth));
  layout->addWidget(control, 0, Qt::AlignLeft);
  control->show();
  return 1;
}

std::unique_ptr<IProgressBar> CMainFrame::CreatePaneControl(int paneId, int controlId) {
  auto* control = new CColorProgressCtrl();
  if (!CreatePaneControl(control, paneId, controlId, -1)) {
    delete control;
    return nullptr;
  }
  return std::make_unique<PaneProgressBar>(control);
}

void CMainFrame::SetRecordText(int n) {
  if (recordBar_ != nullptr) recordBar_->SetRecordText(n);
}

void CMainFrame::EnableRecordEdit(bool enable) {
  if (recordBar_ != nullptr) recordBar_->EnableRecordEdit(enable);
}

platform::MessageTarget& CMainFrame::Target() { return *target_; }

CChildFrame* CMainFrame::ActiveChildFrame() const {
  return mdi_ != nullptr ? dynamic_cast<CChildFrame*>(mdi_->activeSubWindow()) : nullptr;
}

void CMainFrame::OnMessage(const platform::Message& m) {
  switch (m.msg) {
    case WM_SHOW_MARK_COUNT:
      ShowTotalCount(static_cast<int>(m.wParam));
      break;
    case WM_SHOW_MARK_STATUS:
      ShowMarkCount(static_cast<int>(m.lParam), static_cast<int>(m.wParam));
      break;
    case WM_MARK_FINISHED:
      if (markControl_) markControl_->EndMarking(m.wParam, m.lParam);
      // The marking commands are released now, not at the next input.
      UpdateCommandUI();
      break;
    case WM_NEXT_RECORD:
      if (app_ != nullptr) {
        if (CVendrikView* view = app_->FindFirstLayoutView()) {
          view->Target().Post(platform::Message{WM_NEXT_RECORD, m.wParam, m.lParam, m.payload});
        }
      }
      break;
    case WM_COMMAND:
      // Commands posted to the main window (the view's direct print).
      if (app_ != nullptr) app_->OnCmdMsg(static_cast<int>(m.wParam), true);
      break;
    case WM_SHOW_MARK_TIME:
      ShowMarkTime(static_cast<long long>(m.wParam));
      break;
    default:
      break;
  }
}

void CMainFrame::ToggleBar(QToolBar* bar) {
  if (bar != nullptr) bar->setVisible(!bar->isVisible());
}

bool CMainFrame::OnCmdMsg(int id, bool execute) {
  if (!commands_.Has(id)) return false;
  return execute ? commands_.Run(id) : true;
}

void CMainFrame::UpdateCommandUI() {
  for (auto& [id, action] : actions_) {
    action->setEnabled(app_ != nullptr && app_->OnCmdMsg(id, false));
  }
  // The record edit goes with "Pre record" and "Next record": only while a sheet is open.
  EnableRecordEdit(app_ != nullptr && app_->OnCmdMsg(cmd::ID_NEXT_RECORD, false));
  // The recent files: "&1 <path>" ..., hidden while unused.
  const auto& recent = app_ != nullptr ? app_->RecentFiles().Entries() : std::vector<std::string>{};
  for (int id = cmd::ID_FILE_MRU_FILE1; id <= cmd::ID_FILE_MRU_FILE4; ++id) {
    const std::size_t i = static_cast<std::size_t>(id - cmd::ID_FILE_MRU_FILE1);
    QAction* a = Action(id);
    a->setVisible(i < recent.size());
    if (i < recent.size()) a->setText(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(recent[i])));
  }
  const std::pair<int, QWidget*> toggles[] = {{cmd::ID_VIEW_TOOLBAR, ToolBar(ID_MAIN_TOOLBAR)},
                                              {cmd::ID_VIEW_EDIT_TOOLBAR, ToolBar(ID_EDIT_TOOLBAR)},
                                              {cmd::ID_VIEW_ALIGN_TOOLBAR, ToolBar(ID_ALIGN_TOOLBAR)},
                                              {cmd::ID_VIEW_STATUS_BAR, statusBar()}};
  for (const auto& [id, widget] : toggles) {
    if (QAction* a = Action(id); a != nullptr && widget != nullptr) a->setChecked(!widget->isHidden());
  }
  // The layout view's tools and switches.
  CChildFrame* child = ActiveChildFrame();
  CVendrikView* layout = child != nullptr ? child->LayoutView() : nullptr;
  for (auto& [id, action] : actions_) {
    const bool toggle = std::none_of(std::begin(toggles), std::end(toggles), [id = id](const auto& t) { return t.first == id; });
    if (action->isCheckable() && toggle) action->setChecked(layout != nullptr && layout->Model().IsCommandChecked(id));
  }
}

void CMainFrame::RequestCommandUIUpdate() {
  if (uiUpdatePending_) return;
  uiUpdatePending_ = true;
  QTimer::singleShot(0, this, [this] {
    uiUpdatePending_ = false;
    UpdateCommandUI();
  });
}

bool CMainFrame::CanCloseLayouts() {
  if (mdi_ == nullptr) return true;
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    auto* child = dynamic_cast<CChildFrame*>(window);
    if (child != nullptr && !child->CanClose()) return false;
  }
  return true;
}

void CMainFrame::UpdateFrameTitle() {
  // The MDI area adds " - [<layout>]" itself while a layout window is
  // maximised; the frame's own title stays the program's.
  if (!windowTitle().startsWith(QString::fromUtf8(kMainTitle130))) setWindowTitle(QString::fromUtf8(kMainTitle130));
}

void CMainFrame::SaveBarState() {
  if (barStateSaved_) return;
  barStateSaved_ = true;
  QSettings profile(FrameProfilePath(), QSettings::IniFormat);
  profile.beginGroup(kBarStateSection);
  profile.setValue("BarState", saveState());
  profile.endGroup();
}

void CMainFrame::RestoreBarState() {
  QSettings profile(FrameProfilePath(), QSettings::IniFormat);
  profile.beginGroup(kBarStateSection);
  const QByteArray state = profile.value("BarState").toByteArray();
  profile.endGroup();
  if (!state.isEmpty()) restoreState(state);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A changed layout is not dropped without a question.
  if (!CanCloseLayouts()) {
    event->ignore();
    return;
  }
  SaveBarState();
  QMainWindow::closeEvent(event);
}
