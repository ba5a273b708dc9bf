#include "app/views/CProperityPane.h"

#include "values/ShellValues.h"
#include "platform_qt/QtMessageTarget.h"
#include "properties/link/CProperityView.h"

CProperityPane::CProperityPane(QWidget* parent) : QWidget(parent) {
  setObjectName("CProperityPane");
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  setFocusPolicy(Qt::StrongFocus);
  target_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) {
    if (view_) view_->HandleMessage(m);
  });
  CProperityView::Options options;
  options.dataFolder = g_installDir;  // "COMSET_EX.DAT" lies beside the other settings files
  view_ = std::make_unique<CProperityView>(std::move(options));
  view_->SetSelfTarget(target_.get());
}

CProperityPane::~CProperityPane() { OnDestroy(); }

platform::MessageTarget& CProperityPane::Target() { return *target_; }

void CProperityPane::OnInitialUpdate(platform::MessageTarget* layoutView) {
  if (view_) view_->OnInitialUpdate(layoutView);
}

void CProperityPane::OnDestroy() {
  if (!view_) return;
  view_->OnDestroy();
  view_.reset();
}
