#include "app/frames/CMarkToolBar.h"

#include "values/ShellMessages.h"
#include "app/core/StatusTexts.h"
#include "document/geometry/SharedHelpers.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/StopKeyFilter.h"

namespace {
constexpr int kRecordEditWidth = 60;
}

CMarkToolBar::CMarkToolBar(QWidget* parent) : QToolBar(parent) {
  widgets::InstallStopKeyFilter(static_cast<int (*)(UINT, WPARAM)>(&FilterStopKey));
}

bool CMarkToolBar::Create(QWidget* parent, platform::MessageTarget* parentTarget, unsigned, int id) {
  setParent(parent);
  parentTarget_ = parentTarget;
  setObjectName(QString("ToolBar%1").arg(id));
  edit_ = new CNotifyEdit(this);
  edit_->setObjectName(QString("edit%1").arg(ID_RECORD_EDIT));
  edit_->setFixedWidth(kRecordEditWidth);
  edit_->setText("1");
  edit_->SetKeyHandler([this](int key) { OnEditKey(key); });
  addWidget(edit_);
  return true;
}

void CMarkToolBar::OnEditKey(int) {
  record_ = ParseRecordNumber(edit_->text().toStdString());
  if (parentTarget_ != nullptr) parentTarget_->PostMessage(WM_NEXT_RECORD, static_cast<WPARAM>(record_), 0);
}

void CMarkToolBar::SetRecordText(int n) {
  if (edit_ != nullptr) edit_->setText(QString::fromStdString(FormatRecordNumber(n)));
}

void CMarkToolBar::EnableRecordEdit(bool enable) {
  if (edit_ != nullptr) edit_->setEnabled(enable);
}
