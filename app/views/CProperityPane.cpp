#include "app/views/CProperityPane.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "app/core/MachineSetFile.h"
#include "platform_qt/QtMessageTarget.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"
#include "properties/pages/CUpdateRoateSetPage.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "values/ShellValues.h"

CProperityPane::CProperityPane(QWidget* parent) : QScrollArea(parent), form_(new QWidget) {
  setObjectName("CProperityPane");
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  form_->setObjectName("CProperityForm");
  form_->setAutoFillBackground(true);
  form_->setBackgroundRole(QPalette::Button);  // the button face colour
  setWidget(form_);
  setFocusPolicy(Qt::StrongFocus);
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { Dispatch(m); });
  CProperityView::Options options;
  options.dataFolder = g_installDir;  // "COMSET_EX.DAT" lies beside the other settings files
  view_ = std::make_unique<CProperityView>(std::move(options));
  view_->SetSelfTarget(target_.get());
  view_->OnCreate(form_);
  CUpdateRoateSetPage::SetMachineSetSaver([] { SaveMachineSet(); });
  // Another page set or page may need another height.
  if (CObjProperitySheet* sheet = view_->GetSheet()) {
    connect(sheet, &QTabWidget::currentChanged, this, [this] { LayOut(); });
  }
  LayOut();
}

CProperityPane::~CProperityPane() {
  OnDestroy();
  // The list and the sheet post to this pane's target: they go first,
  // without laying out what is half gone.
  if (view_ && view_->GetSheet() != nullptr) QObject::disconnect(view_->GetSheet(), nullptr, this, nullptr);
  if (view_) {
    delete view_->GetObjectList();
    delete view_->GetSheet();
  }
  view_.reset();
  target_.reset();
}

platform::MessageTarget& CProperityPane::Target() { return *target_; }

void CProperityPane::Dispatch(const platform::Message& message) {
  if (!view_) return;
  if (!view_->HandleMessage(message)) view_->RelayMessage(message);
}

void CProperityPane::OnInitialUpdate(platform::MessageTarget* layoutView) {
  if (view_) view_->OnInitialUpdate(layoutView);
}

void CProperityPane::OnDestroy() {
  if (!view_ || linkClosed_) return;
  linkClosed_ = true;
  view_->OnDestroy();
}

void CProperityPane::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  LayOut();
}

void CProperityPane::LayOut() {
  if (laying_) return;
  laying_ = true;
  QSize client = maximumViewportSize();
  auto formHeight = [&] {
    int height = std::max(client.height(), kFormHeight);
    if (view_ && view_->GetSheet() != nullptr) {
      const QRect sheet = view_->GetSheet()->geometry();
      height = std::max(height, sheet.y() + sheet.height() + kFormMargin);
    }
    return height;
  };
  if (view_) view_->OnSize(client.width(), client.height());
  // A form taller than the pane takes a vertical scroll bar off its width.
  if (formHeight() > client.height()) {
    client.rwidth() -= verticalScrollBar()->sizeHint().width();
    if (view_) view_->OnSize(client.width(), client.height());
  }
  form_->resize(std::max(client.width(), kFormWidth), formHeight());
  laying_ = false;
}
