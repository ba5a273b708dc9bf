#include "app/frames/CChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QMdiArea>
#include <QResizeEvent>
#include <QSplitter>

#include "app/core/CommandIds.h"
#include "values/ShellMessages.h"
#include "app/frames/CDisMarkFrame.h"
#include "app/frames/CMainFrame.h"
#include "app/frames/CVendrikApp.h"
#include "app/views/CProperityPane.h"
#include "app/views/PaneProperityViewCalls.h"
#include "app/views/CRulerBars.h"
#include "app/views/CVendrikView.h"
#include "document/doc/CVendrikDoc.h"
#include "marking/controller/CMarkControlWnd.h"
#include "properties/link/CProperityView.h"

namespace {

constexpr int ID_SPLITTER = 0xE900;
constexpr const char* kSyncDisplayTitle = "\xE5\x90\x8C\xE6\xAD\xA5\xE6\x98\xBE\xE7\xA4\xBA\xE7\xAA\x97\xE5\x8F\xA3";  // 同步显示窗口

// The frame's client area: passes its width on to the frame on every resize.
class FrameHost : public QWidget {
 public:
  FrameHost(CChildFrame* frame) : frame_(frame) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    frame_->OnSize(event->size().width());
  }

 private:
  CChildFrame* frame_;
};

}  // namespace

CChildFrame::CChildFrame(CMainFrame* mainFrame, std::shared_ptr<CVendrikDoc> document)
    : QMdiSubWindow(nullptr), mainFrame_(mainFrame), document_(std::move(document)) {
  setAttribute(Qt::WA_DeleteOnClose);
  UpdateTitle();
  commands_.On(cmd::ID_CHANGE_ACTIVE_PANE, [this] { ChangeActivePane(); });
  // As the window's own close button: a changed layout is asked about first.
  commands_.On(cmd::ID_FILE_CLOSE, [this] { close(); });
}

CChildFrame::~CChildFrame() {
  // The view (a child widget) outlives this body; the document and the
  // pane calls may not.
  if (view_ != nullptr) {
    view_->SetDocument(nullptr);
    view_->Model().SetPropertyView(nullptr);
  }
  // The link posts to the layout view: close it while the view still lives.
  const bool heldLink = propPane_ != nullptr && propPane_->View() != nullptr &&
                        CProperityView::LinkOwner() == propPane_->View();
  if (propPane_ != nullptr) propPane_->OnDestroy();
  // Another open layout window takes the program's link up.
  if (heldLink && !mainFrame_->IsClosing()) HandLinkOver();
  // The display shows this layout only: it goes with the frame, and the
  // controller must not keep drawing into it.
  if (display_) {
    if (CMarkControlWnd* control = mainFrame_->MarkControl();
        control != nullptr && control->DisplayWindow() == display_->FormView()) {
      control->SetDisplayWindow(nullptr);
    }
    display_->SetCloseHandler(nullptr);
    delete display_.data();
  }
}

bool CChildFrame::OnCreate() {
  host_ = new FrameHost(this);
  topRuler_ = new CTopRulerBar(host_);
  leftRuler_ = new CLeftRulerBar(host_);
  auto* grid = new QGridLayout(host_);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(topRuler_, 0, 0, 1, 2);
  grid->addWidget(leftRuler_, 1, 0);
  setWidget(host_);
  return true;
}

bool CChildFrame::OnCreateClient(int clientWidth) {
  if (host_ == nullptr) return false;
  splitter_ = new QSplitter(Qt::Horizontal, host_);
  splitter_->setObjectName(QString("splitter%1").arg(ID_SPLITTER));
  splitter_->setChildrenCollapsible(true);
  view_ = new CVendrikView(splitter_);
  view_->SetChildFrame(this);
  view_->SetMainFrame(mainFrame_);
  view_->SetDocument(document_.get());
  // The marking controller reaches the program's one board link, wherever
  // it is held.
  view_->Model().SetLinkHostSource([]() -> ILinkHost* { return CProperityView::LinkOwner(); });
  // The rulers' zero is the work area's centre as the view shows it.
  topRuler_->SetZeroSource([this] {
    return topRuler_->mapFromGlobal(view_->viewport()->mapToGlobal(view_->OriginInViewport())).x();
  });
  leftRuler_->SetZeroSource([this] {
    return leftRuler_->mapFromGlobal(view_->viewport()->mapToGlobal(view_->OriginInViewport())).y();
  });
  propPane_ = new CProperityPane(splitter_);
  paneCalls_ = std::make_unique<PaneProperityViewCalls>(propPane_);
  view_->Model().SetPropertyView(paneCalls_.get());
  splitter_->addWidget(view_);
  splitter_->addWidget(propPane_);
  initialLayoutWidth_ = InitialLayoutPaneWidth(clientWidth);
  splitter_->setSizes({initialLayoutWidth_, 0});
  static_cast<QGridLayout*>(host_->layout())->addWidget(splitter_, 1, 1);
  splitterCreated_ = 1;
  return true;
}

void CChildFrame::HandLinkOver() {
  if (mainFrame_->MdiArea() == nullptr) return;
  for (QMdiSubWindow* window : mainFrame_->MdiArea()->subWindowList()) {
    auto* other = dynamic_cast<CChildFrame*>(window);
    if (other == nullptr || other == this || other->propPane_ == nullptr || other->view_ == nullptr) continue;
    other->propPane_->OnInitialUpdate(&other->view_->Target());
    return;
  }
}

void CChildFrame::InitialUpdateFrame() {
  if (view_ != nullptr) view_->OnInitialUpdate();
  if (propPane_ != nullptr && view_ != nullptr) propPane_->OnInitialUpdate(&view_->Target());
}

void CChildFrame::OnSize(int width) {
  if (!splitterCreated_ || splitter_ == nullptr) return;
  idealWidths_ = SplitColumnWidths(width);
  splitter_->setSizes({idealWidths_.layout, idealWidths_.property});
}

void CChildFrame::ActivateFrame() { showMaximized(); }

QSize CChildFrame::sizeHint() const {
  const QMdiArea* area = mdiArea();
  const QSize space = area != nullptr ? area->viewport()->size() : QSize(960, 720);
  return QSize(std::max(480, space.width() * 2 / 3), std::max(360, space.height() * 2 / 3));
}

QWidget* CChildFrame::ActivePane() const {
  if (propPane_ != nullptr && propPane_->isAncestorOf(QApplication::focusWidget())) return propPane_;
  if (propPane_ != nullptr && QApplication::focusWidget() == propPane_) return propPane_;
  return view_;
}

void CChildFrame::ChangeActivePane() {
  QWidget* next = ActivePane() == view_ ? static_cast<QWidget*>(propPane_) : view_;
  if (next != nullptr) next->setFocus(Qt::OtherFocusReason);
}

void CChildFrame::SetRulerOrigin(int x, int y) {
  if (topRuler_) topRuler_->SetOrigin(x, y);
  if (leftRuler_) leftRuler_->SetOrigin(x, y);
}

void CChildFrame::InvalidateRulers(float scale) {
  if (topRuler_) topRuler_->SetScale(scale);
  if (leftRuler_) leftRuler_->SetScale(scale);
}

void CChildFrame::NotifyRuler(int which) {
  if (which != 0) {
    if (leftRuler_) leftRuler_->Target().PostMessage(WM_RULER_MARK, which);
  } else if (topRuler_) {
    topRuler_->Target().PostMessage(WM_RULER_MARK, 0);
  }
}

QPoint CChildFrame::GetPropPaneOrigin() const {
  return propPane_ != nullptr ? propPane_->mapToGlobal(QPoint(0, 0)) : QPoint();
}

void CChildFrame::ShowSyncDisplay(CVendrikDoc*, int show) {
  if (display_) {
    display_->setVisible(show != 0);
    return;
  }
  CDisMarkFrame* frame = CVendrikApp::Instance() != nullptr
                             ? CVendrikApp::Instance()->DisplayTemplate().CreateFrame(document_, mainFrame_)
                             : nullptr;
  if (frame == nullptr) return;
  frame->SetCloseHandler([this](CDisMarkFrame* closing) {
    if (display_ == closing) display_ = nullptr;
    if (CMarkControlWnd* control = mainFrame_->MarkControl();
        control != nullptr && control->DisplayWindow() == closing->FormView()) {
      control->SetDisplayWindow(nullptr);
    }
  });
  const QPoint origin = GetPropPaneOrigin();
  const QSize size = propPane_ != nullptr ? propPane_->size() : QSize();
  const ScreenRect r =
      SyncDisplayRect({origin.x(), origin.y(), origin.x() + size.width(), origin.y() + size.height()});
  frame->setGeometry(r.left, r.top, r.Width(), r.Height());
  frame->setVisible(show != 0);
  frame->setWindowTitle(QString::fromUtf8(kSyncDisplayTitle));
  display_ = frame;
  if (CMarkControlWnd* control = mainFrame_->MarkControl()) control->SetDisplayWindow(frame->FormView());
}

bool CChildFrame::OnCmdMsg(int id, bool execute) {
  if (view_ != nullptr && view_->OnCmdMsg(id, execute)) return true;
  if (document_ && document_->IsCommandEnabled(static_cast<UINT>(id))) {
    if (!execute) return true;
    document_->OnCommand(static_cast<UINT>(id));
    UpdateTitle();  // a save names the document after its file
    return true;
  }
  if (!commands_.Has(id)) return false;
  return execute ? commands_.Run(id) : true;
}

bool CChildFrame::HasCommandHandler(int id) const {
  return (view_ != nullptr && view_->HasCommandHandler(id)) || CVendrikDoc::HandlesCommand(static_cast<UINT>(id)) ||
         commands_.Has(id);
}

bool CChildFrame::CanClose() { return view_ == nullptr || view_->Model().AskSaveChanges(); }

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (!CanClose()) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

void CChildFrame::UpdateTitle() {
  if (document_) setWindowTitle(QString::fromStdString(document_->GetTitle()));
}
