#include "properties/framework/CPropertyPage.h"

#include <QLineEdit>

#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/StopKeyEventFilter.h"

CPropertyPage::CPropertyPage(int dialogId, std::string caption, int pageCode, UINT changeMessage)
    : dialogId_(dialogId), caption_(std::move(caption)), pageCode_(pageCode), changeMessage_(changeMessage) {
  setObjectName(QString("page%1").arg(dialogId));
  link_.Clear();
}

CPropertyPage::~CPropertyPage() = default;

bool CPropertyPage::UpdateData(bool save) {
  if (save) {
    bool read = false;
    {
      const ReportsHeld held;
      read = bindings_.Save();
    }
    if (!read) ++refusals_;
    refused_ = read ? nullptr : bindings_.RefusedField();
    refusedText_ = refused_ != nullptr ? refused_->text() : QString();
    return read;
  }
  bindings_.Load();
  return true;
}

bool CPropertyPage::HoldsRefusedValue() const {
  // A field locked meanwhile cannot be mended: it holds nothing up.
  return refused_ != nullptr && refused_->isEnabled() && refused_->text() == refusedText_;
}

bool CPropertyPage::OnSetActive() {
  if (!initialised_) {
    initialised_ = true;
    OnInitDialog();
  } else {
    UpdateData(false);
  }
  if (link_.GetValue() != 0 && pageCode_ != kNoPageCode && sheet_ != nullptr)
    sheet_->PostMessage(WM_PAGE_ACTIVATED, static_cast<WPARAM>(pageCode_),
                        reinterpret_cast<LPARAM>(link_.GetObject()));
  return true;
}

void CPropertyPage::OnInitDialog() { UpdateData(false); }

void CPropertyPage::LoadFromObject(CObjElement&) {}
bool CPropertyPage::LoadAdvancedValues(CObjElement&) { return false; }
void CPropertyPage::PrepareValue(int) {}
PropValue CPropertyPage::ValueOf(int id) const { return bindings_.ValueOf(id); }
void CPropertyPage::ReceiveLinkedValue(int, const PropValue&) {}

void CPropertyPage::PostChange(int id) {
  if (sheet_ == nullptr) return;
  // The value and the object are taken now: by the time the sheet handles the
  // message another object may have been loaded into this page.
  sheet_->PostMessage(changeMessage_, static_cast<WPARAM>(id), 0, MakeChange(id));
}

std::shared_ptr<PROPCHANGE> CPropertyPage::MakeChange(int id) {
  PrepareValue(id);
  auto record = std::make_shared<PROPCHANGE>();
  record->id = id;
  record->value = ValueOf(id);
  record->object = link_.GetObject();
  return record;
}

void CPropertyPage::FinishControls() {
  StopKeyEventFilter::InstallOn(this);
  // The edit class has no meta object of its own: a cast finds it.
  for (QLineEdit* line : findChildren<QLineEdit*>())
    if (auto* edit = dynamic_cast<CNotifyEdit*>(line)) {
      edit->SetReportGate([] { return !ReportsAreHeld(); });
      edit->SetRefusalCount([] { return refusals_; });
    }
}
