#include "app/views/CProperityPane.h"

#include <QResizeEvent>
#include <algorithm>

#include "platform_qt/QtMessageTarget.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"
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
  LayOut();
}

CProperityPane::~CProperityPane() {
  OnDestroy();
  // The list and the sheet post to this pane's target: they go first.
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
  const QSize client = viewport()->size();
  form_->resize(std::max(client.width(), kFormWidth), std::max(client.height(), kFormHeight));
  if (view_) view_->OnSize(client.width(), client.height());
}
