#include "app/views/CVendrikView.h"

#include <QContextMenuEvent>
#include "app/dialogs/CExcelSourceDlg.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QWheelEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QThread>
#include <memory>
#include <optional>

#include "app/core/CommandIds.h"
#include "app/dialogs/CPointerPosDlg.h"
#include "app/settings/SettingsCommands.h"
#include "app/views/CViewMarkDialogs.h"
#include "app/views/CViewMarkDisplay.h"
#include "app/views/CViewSettingsHost.h"
#include "marking/handtools/UiThreadCall.h"
#include "marking/records/MarkDatabaseLocation.h"
#include "marking/records/MarkTime.h"
#include "platform/InstallDir.h"
#include "app/dialogs/QtViewDialogs.h"
#include "app/frames/CChildFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/CVendrikApp.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "platform/NumberText.h"
#include "platform/RaceCheck.h"
#include "platform_qt/QPainterDeviceContext.h"
#include "platform_qt/QtMessageTarget.h"
#include "values/ShellMessages.h"
#include "values/ShellValues.h"

namespace {

// A repaint asked for on another thread (the marking worker's countdown).
class RepaintRequest : public QEvent {
 public:
  explicit RepaintRequest(const std::optional<CDeviceRect>& area) : QEvent(Type()), rect(area) {}
  static QEvent::Type Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  const std::optional<CDeviceRect> rect;
};

// "Pointer position": x and y in millimetres.
bool AskPointerPosition(QWidget* parent, double& x, double& y) {
  CPointerPosDlg dialog(parent);
  dialog.m_x = x;
  dialog.m_y = y;
  dialog.OnInitDialog();
  if (dialog.exec() != QDialog::Accepted) return false;
  x = dialog.m_x;
  y = dialog.m_y;
  return true;
}

// The cursor of a cursor resource number of the view.
QCursor CursorOfResource(int resource) {
  switch (resource) {
    case 139: case 149: case 145: return Qt::CrossCursor;
    case 141: return Qt::PointingHandCursor;
    case 144: return Qt::IBeamCursor;
    case 146: return Qt::ClosedHandCursor;
    case 147: return Qt::SizeAllCursor;
    case 150: return Qt::SizeBDiagCursor;
    case 151: return Qt::SizeVerCursor;
    case 152: return Qt::SizeFDiagCursor;
    case 153: return Qt::SizeHorCursor;
    case 154: return Qt::OpenHandCursor;
    default: return Qt::ArrowCursor;
  }
}

// Windows virtual key codes of the keys the view acts on; 0 for others.
int VirtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return: case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_F3: return 0x72;
    case Qt::Key_F4: return 0x73;
    case Qt::Key_F5: return 0x74;
    case Qt::Key_F8: return 0x77;
    default: return 0;
  }
}

platform::DcPoint ToDc(const QPointF& p) { return {static_cast<int>(p.x()), static_cast<int>(p.y())}; }

// What the mouse event says is held now.
void TakeModifiers(CVendrikViewModel& model, const QMouseEvent& event) {
  model.SetModifierKeys((event.modifiers() & Qt::ShiftModifier) != 0, (event.modifiers() & Qt::ControlModifier) != 0);
}

}  // namespace

CVendrikView::CVendrikView(QWidget* parent) : QAbstractScrollArea(parent), model_(std::make_unique<CVendrikViewModel>()) {
  setObjectName("CVendrikView");
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { OnMessage(m); });
  model_->SetWindow(this);
  model_->SetTarget(target_.get());
  dialogs_ = std::make_unique<QtViewDialogs>(this);
  model_->SetDialogs(dialogs_.get());
  viewport()->setMouseTracking(true);
  model_->m_onContentReplaced = [this] { OnContentReplaced(); };
  model_->m_postCommand = [this](int id) { target_->PostMessage(WM_COMMAND, static_cast<WPARAM>(id), 0); };
  model_->m_updateOverlay = [this] { viewport()->update(); };
  markDialogs_ = std::make_unique<CViewMarkDialogs>(this, target_.get(), [this] { return model_->GetPropertyView(); });
  markDisplay_ = std::make_unique<CViewMarkDisplay>(*this);
  settingsHost_ = std::make_unique<CViewSettingsHost>(*this);
  model_->SetMarkDialogs(markDialogs_.get());
  model_->SetMarkDisplay(markDisplay_.get());
  RegisterSettingsCommands();
  model_->m_editExcelSource = [this](ExcelSourceValues& values) {
    return EditExcelSource(values, [this](QDialog& dialog) {
      dialog.setParent(this, Qt::Dialog);
      return dialog.exec();
    });
  };
}

void CVendrikView::RegisterSettingsCommands() {
  model_->AddCommand(cmd::ID_SOFT_TYPE, [this] { OnSoftTypeCommand(*settingsHost_); });
  model_->AddCommand(cmd::ID_RS232_SETTING, [this] { OnRs232SettingCommand(*settingsHost_); });
  model_->AddCommand(cmd::ID_SCREEN_SIZE, [this] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen != nullptr ? screen->size() : QSize(1024, 768);
    OnScreenSizeCommand(*settingsHost_, pixels.width(), pixels.height());
  });
  model_->AddCommand(cmd::ID_PRINT_EDGE_SETTING,
                     [this] { OnPrintEdgeSettingCommand(*settingsHost_, model_->m_paperPrintSet, g_installDir); });
  model_->AddCommand(cmd::ID_LOOK_DATABASE, [this] {
    OnLookDatabaseCommand(*settingsHost_, marking::MarkDatabaseLocation::FromSettings(g_installDir));
  });
  model_->AddCommand(cmd::ID_CLEAR_DATABASE, [this] {
    OnClearDatabaseCommand(*settingsHost_, marking::MarkDatabaseLocation::FromSettings(g_installDir),
                           marking::MarkTime::Now());
  });
}

bool CVendrikView::MarkingKey(QKeyEvent* event) {
  int key = 0;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = 13; break;
    case Qt::Key_Escape: key = 27; break;
    case Qt::Key_Space: key = 32; break;
    default: break;
  }
  return key != 0 && model_->OnMarkingKey(key);
}

bool CVendrikView::NudgeKey(QKeyEvent* event) {
  using Key = CVendrikViewModel::NudgeKey;
  static const std::pair<int, Key> keys[] = {{Qt::Key_PageUp, Key::PageUp}, {Qt::Key_PageDown, Key::PageDown},
                                             {Qt::Key_End, Key::End},       {Qt::Key_Home, Key::Home},
                                             {Qt::Key_Left, Key::Left},     {Qt::Key_Up, Key::Up},
                                             {Qt::Key_Right, Key::Right},   {Qt::Key_Down, Key::Down}};
  for (const auto& [qtKey, key] : keys) {
    if (event->key() == qtKey && !model_->m_selection.empty()) {
      model_->NudgeSelection(key);
      event->accept();
      return true;
    }
  }
  return false;
}


void CVendrikView::contextMenuEvent(QContextMenuEvent* event) {
  // A right click shows it only when the press handler asked for it.
  if (event->reason() == QContextMenuEvent::Mouse && !menuWanted_) return;
  menuWanted_ = false;
  if (model_->m_toolCode != 0 || !model_->HasDrawingObjects()) return;
  const CObjElement* first = document_->Objects().GetAt(0);
  const auto* record = first != nullptr ? first->GetObjectAs<CDrawProperity>() : nullptr;
  if (record != nullptr && record->IsRotateMark()) return;
  QMenu menu(this);
  for (int id : {cmd::ID_DEMO_OBJECT_BORDER, cmd::ID_DEMO_OBJECT_ORBIT, cmd::ID_DEMO_MAX_BORDER, cmd::ID_MARK_BORDER,
                 cmd::ID_MARK_ORBIT, cmd::ID_MARK_MAX_BORDER, cmd::ID_DELETE_SELECTION, cmd::ID_PERMIT_MARK}) {
    const cmd::CommandInfo* info = cmd::FindCommand(id);
    QAction* action = menu.addAction(QString::fromUtf8(info != nullptr ? info->menuText : "(7):Delete"));
    action->setEnabled(OnCmdMsg(id, false));
    QObject::connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id, true); });
  }
  menu.exec(event->globalPos());
}

CVendrikView::~CVendrikView() {
  OnDestroy();
  SetDocument(nullptr);
  model_->SetWindow(nullptr);
}

platform::MessageTarget& CVendrikView::Target() { return *target_; }

void CVendrikView::SetMessageHandler(std::function<void(const platform::Message&)> handler) {
  handler_ = std::move(handler);
}

void CVendrikView::SetChildFrame(CChildFrame* frame) {
  frame_ = frame;
  model_->SetChildFrame(frame);
}

void CVendrikView::SetMainFrame(CMainFrame* frame) {
  mainFrame_ = frame;
  model_->SetMainFrame(frame);
  model_->SetMarkControl(frame != nullptr ? frame->MarkControl() : nullptr);
}

void CVendrikView::SetDocument(CVendrikDoc* document) {
  if (document_ != nullptr) document_->RemoveView(target_.get());
  document_ = document;
  model_->SetDocument(document);
  if (document_ != nullptr) document_->AddView(target_.get(), true);
}

void CVendrikView::OnInitialUpdate() {
  model_->OnInitialUpdate();
  viewport()->update();
}

void CVendrikView::OnDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  model_->OnDestroy();
}

bool CVendrikView::OnLoadMrkFile(const std::string& path) {
  if (!model_->OnLoadMrkFile(path)) return false;
  if (mainFrame_ != nullptr) {
    const auto* record = document_->Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
    mainFrame_->ShowMarkCount(0, record != nullptr ? record->GetContinuousCount() : 0);
  }
  return true;
}

void CVendrikView::OnContentReplaced() {
  // The page that had the focus may be gone with the old objects: the keys
  // go to the layout again.
  setFocus(Qt::OtherFocusReason);
  if (frame_ != nullptr) frame_->UpdateTitle();
  if (mainFrame_ == nullptr || document_ == nullptr) return;
  mainFrame_->UpdateFrameTitle();
  if (!document_->GetPathName().empty()) {
    // A file read goes first in the recent files.
    if (CVendrikApp* app = CVendrikApp::Instance()) app->AddRecentFile(document_->GetPathName());
    const auto* record = document_->Objects().GetAt(0)->GetObjectAs<CDrawProperity>();
    const int total = record != nullptr ? record->GetContinuousCount() : 0;
    mainFrame_->Target().PostMessage(WM_SHOW_MARK_STATUS, static_cast<WPARAM>(total), 0);
  }
  mainFrame_->UpdateCommandUI();  // Save and the export follow the objects
}

void CVendrikView::UpdateCursor(bool pressed) {
  viewport()->setCursor(CursorOfResource(model_->CursorFor(pressed)));
}

void CVendrikView::mousePressEvent(QMouseEvent* event) {
  const platform::DcPoint at = ToDc(event->position());
  TakeModifiers(*model_, *event);
  if (event->button() == Qt::LeftButton) {
    model_->OnLButtonDown(at);
    UpdateCursor(true);
  } else if (event->button() == Qt::RightButton) {
    menuWanted_ = model_->OnRButtonDown(at);
    UpdateCursor(false);
  }
  viewport()->update();
  StateChanged();
}

void CVendrikView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  TakeModifiers(*model_, *event);
  model_->OnLButtonUp(ToDc(event->position()));
  UpdateCursor(false);
  viewport()->update();
  StateChanged();
}

void CVendrikView::mouseMoveEvent(QMouseEvent* event) {
  const bool left = (event->buttons() & Qt::LeftButton) != 0;
  TakeModifiers(*model_, *event);
  model_->OnMouseMove(ToDc(event->position()), left);
  UpdateCursor(left);
  if (mainFrame_ != nullptr) {
    const CDoublePoint at = model_->PixelToMm(ToDc(event->position()));
    mainFrame_->ShowMousePos(static_cast<float>(at.x), static_cast<float>(at.y));
  }
}

void CVendrikView::keyPressEvent(QKeyEvent* event) {
  if (MarkingKey(event)) {
    event->accept();
    // Enter may have started a job: "Start mark(S)" shows it at once.
    if (mainFrame_ != nullptr) mainFrame_->UpdateCommandUI();
    return;
  }
  // The arrow and paging keys nudge the selection (ViewZoom.cpp).
  if (NudgeKey(event)) {
    StateChanged();
    return;
  }
  const int key = VirtualKeyOf(event->key());
  if (key == 0) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  model_->OnKeyDown(key);
  viewport()->update();
  StateChanged();
}

void CVendrikView::keyReleaseEvent(QKeyEvent* event) {
  const int key = VirtualKeyOf(event->key());
  if (key == 0) {
    QAbstractScrollArea::keyReleaseEvent(event);
    return;
  }
  model_->OnKeyUp(key);
}


void CVendrikView::OnMessage(const platform::Message& message) {
  if (message.msg == WM_LOAD_MRK_FILE && message.payload) {
    OnLoadMrkFile(*std::static_pointer_cast<std::string>(message.payload));
  } else if (message.msg == WM_COMMAND && OnCmdMsg(static_cast<int>(message.wParam), true)) {
    // a posted command of the view's own
  } else {
    model_->OnMessage(message);
  }
  StateChanged();
  if (handler_) handler_(message);
}

void CVendrikView::StateChanged() {
  if (mainFrame_ != nullptr) mainFrame_->RequestCommandUIUpdate();
}

double CVendrikView::WorkAreaWidthMm() const { return g_machineSet.rangeX; }

double CVendrikView::WorkAreaHeightMm() const { return g_machineSet.rangeY; }

QPoint CVendrikView::OriginInViewport() const {
  // Half the client less the ruler offsets: where the rulers put their zero.
  const platform::DcPoint offsets = model_->RulerOffsets();
  return {ClientWidth() / 2 - offsets.x, ClientHeight() / 2 - offsets.y};
}

// IViewWindow. The marking worker may call the repaint requests: they reach
// the widget on its own thread.
void CVendrikView::Invalidate() { RequestRepaint(std::nullopt); }

void CVendrikView::InvalidateRect(const CDeviceRect& rect) { RequestRepaint(rect); }

void CVendrikView::RequestRepaint(const std::optional<CDeviceRect>& rect) {
  if (QThread::currentThread() == thread()) {
    Repaint(rect);
    return;
  }
  // An event of our own rather than a queued call: the race checker is told
  // that what the worker wrote into it is the user-interface thread's to read.
  auto* request = new RepaintRequest(rect);
  platform::HandOver(request);
  QCoreApplication::postEvent(this, request);
}

void CVendrikView::Repaint(const std::optional<CDeviceRect>& rect) {
  if (!rect) {
    model_->m_bMemValid = false;
    viewport()->update();
    return;
  }
  // In countdown mode the saved picture stays: only the seconds change.
  if (!model_->m_bCountdown.load()) model_->m_bMemValid = false;
  viewport()->update(QRect(QPoint(rect->left, rect->top), QPoint(rect->right, rect->bottom)));
}

bool CVendrikView::event(QEvent* event) {
  platform::TakeOver(event);  // before the type is read: a request is built on the posting thread
  if (event->type() != RepaintRequest::Type()) return QAbstractScrollArea::event(event);
  Repaint(static_cast<RepaintRequest*>(event)->rect);
  return true;
}

int CVendrikView::ClientWidth() const { return clientWidth_.load(); }

int CVendrikView::ClientHeight() const { return clientHeight_.load(); }

platform::DcPoint CVendrikView::GetScrollPosition() const { return {scrollX_.load(), scrollY_.load()}; }

void CVendrikView::CacheGeometry() {
  clientWidth_ = viewport()->width();
  clientHeight_ = viewport()->height();
  scrollX_ = horizontalScrollBar()->value();
  scrollY_ = verticalScrollBar()->value();
}

void CVendrikView::SetScrollSizes(int, int) { UpdateScrollBars(); }

void CVendrikView::ScrollToPosition(int x, int y) {
  horizontalScrollBar()->setValue(x);
  verticalScrollBar()->setValue(y);
  CacheGeometry();
}

bool CVendrikView::EditPointerPosition(double& x, double& y) {
  // The marking controller may ask from its worker: the dialog runs on the
  // user-interface thread all the same.
  auto values = std::make_shared<CDoublePoint>(x, y, 0);
  QPointer<CVendrikView> self(this);
  const int ok = handtools::RunOnUiThread(
      [self, values] { return self && AskPointerPosition(self, values->x, values->y) ? 1 : 0; }, 0);
  if (ok == 0) return false;
  x = values->x;
  y = values->y;
  return true;
}

void CVendrikView::UpdateScrollBars() {
  const QSize page = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, model_->m_scrollWidth - page.width()));
  horizontalScrollBar()->setPageStep(page.width());
  horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 100));
  verticalScrollBar()->setRange(0, std::max(0, model_->m_scrollHeight - page.height()));
  verticalScrollBar()->setPageStep(page.height());
  verticalScrollBar()->setSingleStep(std::max(1, page.height() / 100));
  CacheGeometry();
}

void CVendrikView::Scrolled() {
  CacheGeometry();
  model_->m_bMemValid = false;
  viewport()->update();
}

void CVendrikView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  CacheGeometry();
  // The extents depend on the client size (never smaller than it): taken
  // again, centred, once the view has been set up.
  if (model_->m_initialUpdateDone) {
    model_->OnWindowSize();
  } else if (model_->m_scrollWidth > 0) {
    model_->UpdateScrollExtents();
  } else {
    UpdateScrollBars();
  }
  Scrolled();
  // Both rulers' zero follows the work area's centre.
  if (frame_ != nullptr) frame_->InvalidateRulers(model_->m_zoom);
}

void CVendrikView::scrollContentsBy(int dx, int dy) {
  Scrolled();
  if (dx != 0) model_->OnScroll(0);
  if (dy != 0) model_->OnScroll(1);
}

void CVendrikView::wheelEvent(QWheelEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!model_->OnMouseWheel(event->angleDelta().y(), {at.x(), at.y()})) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  UpdateScrollBars();
  event->accept();
}

void CVendrikView::paintEvent(QPaintEvent*) {
  const QSize size = viewport()->size();
  if (size.isEmpty()) return;
  const platform::DcPoint scroll = GetScrollPosition();
  // The saved picture of the layout; a countdown's seconds keep it (their
  // repaints leave it valid) and are written over it.
  if (!model_->m_bMemValid || picture_.size() != size || !(pictureAt_ == scroll)) {
    if (picture_.size() != size) picture_ = QImage(size, QImage::Format_RGB32);
    QPainter painter(&picture_);
    platform_qt::QPainterDeviceContext dc(painter, &picture_);
    model_->DrawLayout(dc, scroll, size.width(), size.height());
    pictureAt_ = scroll;
  }
  QPainter p(viewport());
  p.drawImage(0, 0, picture_);
  platform_qt::QPainterDeviceContext overlay(p);
  model_->DrawFeedback(overlay);
  if (model_->m_bCountdown.load() != 0) model_->OnDraw(overlay, scroll, size.width(), size.height());
}

void CVendrikView::PrintTo(QPrinter& printer) {
  printer.setResolution(model_->m_paperPrintSet.dpi);
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  platform_qt::QPainterDeviceContext dc(painter);
  model_->OnPrint(dc, PrintPage{page.width(), page.height(), static_cast<double>(printer.resolution())});
  painter.end();
}

QPrinter& CVendrikView::ProgramPrinter() {
  // The settings of "Print setup" hold for every print; a view without the
  // program (tests) keeps a printer of its own.
  if (CVendrikApp* app = CVendrikApp::Instance()) return app->Printer();
  if (!ownPrinter_) ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *ownPrinter_;
}

bool CVendrikView::HasCommandHandler(int id) const {
  return id == cmd::ID_FILE_PRINT || id == cmd::ID_FILE_PRINT_DIRECT || model_->HasCommand(id);
}

bool CVendrikView::OnCmdMsg(int id, bool execute) {
  switch (id) {
    case cmd::ID_FILE_PRINT:
      if (execute) {
        QPrinter& printer = ProgramPrinter();
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
      }
      return true;
    case cmd::ID_FILE_PRINT_DIRECT:
      if (execute) PrintTo(ProgramPrinter());
      return true;
    default:
      return model_->RunCommand(id, execute);
  }
}
