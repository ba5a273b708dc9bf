#include "properties/sheet/CObjProperitySheet.h"

#include <QApplication>
#include <QEvent>
#include <QTabBar>
#include <optional>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "platform_qt/QtMessageTarget.h"
#include "properties/framework/CPropertyPage.h"
#include "properties/framework/PropChange.h"
#include "properties/pages/CUpdateDrawSizePage.h"
#include "properties/pages/CUpdateObjNamePage.h"
#include "properties/pages/CUpdatePrintProperityPage.h"
#include "values/PropertyMessages.h"
#include "widgets/StopKeyFilter.h"

CObjProperitySheet::CObjProperitySheet(std::string caption, platform::MessageTarget* parentTarget, int firstPage)
    : caption_(std::move(caption)), parent_(parentTarget), firstPage_(firstPage) {
  widgets::InstallStopKeyFilter(static_cast<int (*)(UINT, WPARAM)>(&FilterStopKey));
  setObjectName("CObjProperitySheet");
  setWindowTitle(QString::fromStdString(caption_));
  self_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { HandleMessage(m); });
  for (std::size_t i = 0; i < kPageSlotCount; ++i) {
    pages_[i] = CreatePage(static_cast<PageSlot>(i));
    if (pages_[i]) {
      pages_[i]->SetSheetTarget(self_.get());
      pages_[i]->hide();
    }
  }
  connect(this, &QTabWidget::currentChanged, this, [this](int index) { OnCurrentChanged(index); });
  tabBar()->installEventFilter(this);
}

CObjProperitySheet::~CObjProperitySheet() {
  building_ = true;
  RemoveAllPages();
  // Pages are members: they go before the tab widget's own children.
}

bool CObjProperitySheet::Create(QWidget* parent) {
  setParent(parent);
  setFocusPolicy(Qt::TabFocus);
  if (CPropertyPage* page = Page(PageSlot::Default)) AddPage(page);
  SetActivePage(firstPage_);
  ActivateCurrentIfNew();
  show();
  return true;
}

platform::MessageTarget& CObjProperitySheet::Target() { return *self_; }

CPropertyPage* CObjProperitySheet::ActivePage() const { return dynamic_cast<CPropertyPage*>(currentWidget()); }

void CObjProperitySheet::SetActivePage(int index) {
  if (index >= 0 && index < count()) setCurrentIndex(index);
}

bool CObjProperitySheet::eventFilter(QObject* watched, QEvent* event) {
  // The press took the focus from the field first, so its value is checked
  // by now; a refused one holds the page in front with the focus back in it.
  if (watched == tabBar() && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
    if (CPropertyPage* page = ActivePage(); page != nullptr && page->HoldsRefusedValue()) return true;
  return QTabWidget::eventFilter(watched, event);
}

void CObjProperitySheet::AddPage(CPropertyPage* page) {
  addTab(page, QString::fromStdString(page->Caption()));
}

void CObjProperitySheet::RemoveAllPages() {
  // A field being typed in reports once, while its page is whole, and the
  // focus then leaves the sheet: taking the pages out must not hand it from
  // field to field, each reporting (a page never filled refusing its empty
  // fields with a message box in the middle of the rebuild).
  // A value refused and told already (the operator then chose another
  // object) is not checked again; and a refused value told by that report
  // sent the focus back to its field: the pages going now are no reports.
  std::optional<CPropertyPage::ReportsHeld> told;
  if (CPropertyPage* front = ActivePage(); front != nullptr && front->HoldsRefusedValue()) told.emplace();
  if (QWidget* focus = QApplication::focusWidget(); focus != nullptr && isAncestorOf(focus)) focus->clearFocus();
  const CPropertyPage::ReportsHeld held;
  while (count() > 0) {
    if (auto* page = dynamic_cast<CPropertyPage*>(widget(0))) page->ResetInitialisation();
    removeTab(0);
  }
}

void CObjProperitySheet::ShowObject(CObjElement* object, int selectionCount) { SetObject(object, selectionCount, true); }

void CObjProperitySheet::SetObject(CObjElement* object, int selectionCount, bool rebuild) {
  if (object == nullptr) return;
  // A refresh of an object that is not shown has nothing to refill.
  if (!rebuild && object != shown_) return;
  if (rebuild) shown_ = object;
  const int type = object->type;
  const bool sameType = currentType_ == type;
  if (rebuild && !sameType) BuildPages(type);
  FillPages(object, rebuild, selectionCount, sameType);
  currentType_ = type;
  ActivateCurrentIfNew();
  if (rebuild && parent_ != nullptr) parent_->PostMessage(WM_SHEET_REBUILT);
}

void CObjProperitySheet::Forget(const CObjElement* object) {
  if (object != nullptr && object == shown_) shown_ = nullptr;
}

void CObjProperitySheet::BuildPages(int type) {
  EnablePages(0);
  building_ = true;
  RemoveAllPages();
  for (PageSlot slot : PageSetOf(type))
    if (CPropertyPage* page = Page(slot)) AddPage(page);
  building_ = false;
}

void CObjProperitySheet::EnablePages(int value) {
  for (std::size_t i = 0; i < kPageSlotCount; ++i)
    if (pages_[i] && static_cast<PageSlot>(i) != PageSlot::Default) pages_[i]->Link().SetValue(value);
}

void CObjProperitySheet::SetObjectName(const std::string& name) {
  if (auto* page = PageAs<CUpdateObjNamePage>(PageSlot::ObjName)) page->SetObjectName(name);
}

void CObjProperitySheet::LoadWorkAreaPages(CObjElement* element, int refresh) {
  if (element == nullptr) return;
  for (PageSlot slot : WorkAreaSlots()) {
    if (CPropertyPage* page = Page(slot)) {
      page->Link().SetObject(element);
      page->LoadFromObject(*element);
    }
  }
  if (!refresh) return;
  auto* stored = dynamic_cast<CPropertyPage*>(widget(element->activePage));
  if (stored == nullptr || !stored->IsInitialised()) return;
  for (PageSlot slot : WorkAreaSlots())
    if (Page(slot) == stored) stored->UpdateData(false);
}

void CObjProperitySheet::LoadObjectPages(CObjElement* element) {
  if (element == nullptr) return;
  PageSlot slot;
  switch (element->type) {
    case OBJ_SERIAL: slot = PageSlot::AutoText; break;
    case OBJ_VIN: slot = PageSlot::ObjVin; break;
    case OBJ_BARCODE: slot = PageSlot::BarCode; break;
    case OBJ_RULER: slot = PageSlot::ObjRulerBar; break;
    default: return;
  }
  CPropertyPage* page = Page(slot);
  if (page == nullptr || !page->LoadAdvancedValues(*element)) return;
  if (widget(element->activePage) == page && page->IsInitialised()) page->UpdateData(false);
}

void CObjProperitySheet::FillPages(CObjElement* object, bool rebuild, int selectionCount, bool sameType) {
  auto* marking = PageAs<CUpdatePrintProperityPage>(PageSlot::PrintProperity);
  // A date takes a spreadsheet cell too, when its own source and column are
  // chosen (the row stepping fills only the other texts).
  const bool takesCells = object->IsTextType(0) || object->type == OBJ_DATE;
  if (marking != nullptr)
    marking->SetTextValues(takesCells ? 1 : 0, object->dataSource, object->excelColumn, object->id);
  bool workArea = false;
  if (object->type == OBJ_PROPERITY) {
    LoadWorkAreaPages(object, 0);
    workArea = true;
  } else {
    for (PageSlot slot : PageSetOf(object->type)) {
      if (CPropertyPage* page = Page(slot)) {
        page->Link().SetObject(object);
        page->LoadFromObject(*object);
      }
    }
  }
  const bool single = selectionCount == 1 || workArea;
  if (!sameType && rebuild) {
    if (selectionCount == 1) SetActivePage(object->activePage);
    return;
  }
  if (marking != nullptr && marking->IsInitialised()) marking->RestoreComboSelections();
  CPropertyPage* active = ActivePage();
  if (active != nullptr && single && active->IsInitialised()) active->UpdateData(false);
  if (sameType && rebuild && single) SetActivePage(object->activePage);
}

void CObjProperitySheet::OnCurrentChanged(int index) {
  if (building_) return;
  if (auto* page = dynamic_cast<CPropertyPage*>(widget(index))) page->OnSetActive();
}

void CObjProperitySheet::ActivateCurrentIfNew() {
  CPropertyPage* page = ActivePage();
  if (page != nullptr && !page->IsInitialised()) page->OnSetActive();
}

void CObjProperitySheet::HandleMessage(const platform::Message& message) {
  if (message.msg == WM_PAGE_ACTIVATED) {
    if (parent_ != nullptr) parent_->PostMessage(WM_PAGE_ACTIVATED, message.wParam, message.lParam);
    return;
  }
  if (IsPropertyChangeMessage(message.msg)) OnChange(message);
}

void CObjProperitySheet::OnChange(const platform::Message& message) {
  PageSlot slot;
  if (!SlotOfChangeMessage(message.msg, slot)) return;
  CPropertyPage* page = Page(slot);
  if (page == nullptr) return;
  const int id = static_cast<int>(message.wParam);
  // The page copied its value when it reported the change.
  std::shared_ptr<PROPCHANGE> record =
      message.payload ? std::static_pointer_cast<PROPCHANGE>(message.payload) : page->MakeChange(id);
  // The work-style page keeps its own copy of the marking range.
  if (slot == PageSlot::DrawSize && (id == CUpdateDrawSizePage::kRangeX || id == CUpdateDrawSizePage::kRangeY))
    if (CPropertyPage* setup = Page(PageSlot::PrintSetup)) setup->ReceiveLinkedValue(id, record->value);
  if (parent_ != nullptr) PostPropChange(*parent_, message.msg, std::move(record));
}
