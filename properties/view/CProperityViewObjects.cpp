// The property view's object half: list and sheet, their messages relayed to
// the layout view, and the calls the layout view makes.
#include <QWidget>
#include <algorithm>
#include <unordered_set>

#include "document/doc/CObjPtrArray.h"
#include "document/geometry/CDoublePoint.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/PropChange.h"
#include "properties/link/CProperityView.h"
#include "properties/list/CObjectListBox.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "values/PropertyMessages.h"
#include "widgets/StopKeyEventFilter.h"

namespace {
constexpr int kMinWidth = 340;
constexpr int kMinSheetHeight = 460;
constexpr WPARAM kCmdChangeMarkOrder = 32835;
const char* const kSheetCaption = "\xE5\xAF\xB9\xE8\xB1\xA1\xE5\xB1\x9E\xE6\x80\xA7";  // "对象属性"
}  // namespace

bool CProperityView::OnCreate(QWidget* host) {
  if (host == nullptr || self_ == nullptr) return false;
  list_ = new CObjectListBox();
  list_->Create(host, self_);
  StopKeyEventFilter::InstallOn(list_);
  sheet_ = new CObjProperitySheet(kSheetCaption, self_, 0);
  return sheet_->Create(host);
}

bool CProperityView::ComputeLayout(int cx, int cy, PaneLayout& layout) {
  if (cx <= 0 || cy <= 0) return false;
  const int width = std::max(cx - 14, kMinWidth);
  const int split = (3 * cy - 36) / 10;
  layout.listX = 6;
  layout.listY = 6;
  layout.listWidth = width;
  layout.listHeight = split;
  layout.sheetX = 2;
  layout.sheetY = split;
  layout.sheetWidth = width;
  layout.sheetHeight = std::max(cy + (36 - 3 * cy) / 10, kMinSheetHeight);
  return true;
}

void CProperityView::OnSize(int cx, int cy) {
  PaneLayout layout{};
  if (!ComputeLayout(cx, cy, layout)) return;
  // A page set taller than that keeps its height: the pane scrolls to it.
  if (sheet_ != nullptr) layout.sheetHeight = std::max(layout.sheetHeight, sheet_->minimumSizeHint().height());
  if (list_ != nullptr) list_->setGeometry(layout.listX, layout.listY, layout.listWidth, layout.listHeight);
  if (sheet_ != nullptr) sheet_->setGeometry(layout.sheetX, layout.sheetY, layout.sheetWidth, layout.sheetHeight);
}

bool CProperityView::RelayMessage(const platform::Message& message) {
  const UINT msg = message.msg;
  if (IsPropertyChangeMessage(msg)) {
    if (layoutView_ != nullptr) layoutView_->Post(platform::Message{msg, message.wParam, 0, message.payload});
    return true;
  }
  switch (msg) {
    case WM_LIST_MARKORDER:
      if (layoutView_ != nullptr) layoutView_->PostMessage(WM_COMMAND, kCmdChangeMarkOrder, 0);
      return true;
    case WM_LIST_DELETE:
    case WM_LIST_COMBINE:
      if (layoutView_ != nullptr) layoutView_->PostMessage(msg, 0, 0);
      return true;
    case WM_SHEET_REBUILT:
      if (sheet_ != nullptr) sheet_->EnablePages(1);
      return true;
    case WM_PAGE_ACTIVATED: {
      // The report was posted: the object may have left the list since.
      auto* element = reinterpret_cast<CObjElement*>(message.lParam);
      if (element != nullptr && sheet_ != nullptr && IsListed(element)) element->activePage = sheet_->GetActiveIndex();
      return true;
    }
    case WM_LIST_SELCHANGE:
      // The record goes with the message.
      if (auto record = PropChangeOf(message); record && IsListed(record->object)) ShowObject(record->object);
      return true;
    default: return false;
  }
}

bool CProperityView::IsListed(CObjElement* object) const {
  return list_ != nullptr && object != nullptr && list_->FindObject(object) >= 0;
}

int CProperityView::PostListSelected(CObjElement* object) {
  if (layoutView_ == nullptr) return 0;
  auto record = std::make_shared<PROPCHANGE>();
  record->object = object;
  return PostPropChange(*layoutView_, WM_LIST_SELECTED, std::move(record)) ? 1 : 0;
}

int CProperityView::AddObject(CObjElement* object, int notify) {
  if (list_ == nullptr || sheet_ == nullptr || object == nullptr) return 0;
  list_->AddObject(object, 1, 0);
  sheet_->SetObject(object, 1, true);
  if (notify) return PostListSelected(object);
  return 0;
}

void CProperityView::SelectListIndex(int index) {
  if (list_ == nullptr) return;
  if (CObjElement* object = list_->SelectOnly(index)) ShowObject(object);
}

void CProperityView::ShowObject(CObjElement* object) {
  if (list_ == nullptr || sheet_ == nullptr || list_->GetCount() == 0 || object == nullptr) return;
  sheet_->ShowObject(object, list_->GetSelCount());
  PostListSelected(object);
}

void CProperityView::SetObjectName(const std::string& name) {
  if (sheet_ != nullptr) sheet_->SetObjectName(name);
}

bool CProperityView::HitTest(const CDoublePoint& point, CObjElement*& object, int& index) {
  const int count = list_ != nullptr ? list_->GetCount() : 0;
  for (int i = 1; i < count; ++i) {
    CObjElement* element = list_->GetObjectAt(i);
    if (element != nullptr && element->type != OBJ_PICTURE && element->type != OBJ_PROPERITY && element->PtInBoundRect(point)) {
      object = element;
      index = i;
      return true;
    }
  }
  index = count;
  return false;
}

void CProperityView::SelectObject(CObjElement* object, int index) {
  if (list_ == nullptr || list_->GetSingleSelection() == object) return;
  // The list first: the sheet fills its pages by the number selected there.
  list_->SetSelection({index});
  ShowObject(object);
}

void CProperityView::RefreshSheet(CObjElement* object, int selectionCount) {
  if (sheet_ != nullptr) sheet_->SetObject(object, selectionCount, false);
}

void CProperityView::ReloadPages(CObjElement* object) {
  if (list_ == nullptr || sheet_ == nullptr || object == nullptr) return;
  CObjElement* single = list_->GetSingleSelection();
  if (single == nullptr) return;
  if (object == single && object->type != OBJ_PROPERITY) {
    sheet_->LoadObjectPages(object);
  } else if (object->type == OBJ_PROPERITY) {
    sheet_->LoadWorkAreaPages(object, 1);
  }
}

int CProperityView::FillObjectList(const CObjPtrArray& objects) {
  if (list_ == nullptr) return 0;
  const int count = list_->FillFromArray(objects);
  if (sheet_ != nullptr && !IsListed(sheet_->ShownObject())) sheet_->Forget(sheet_->ShownObject());
  return count;
}

void CProperityView::RemoveObject(CObjElement* object) {
  if (list_ != nullptr) list_->RemoveObject(object, 0);
  if (sheet_ != nullptr) sheet_->Forget(object);
}

void CProperityView::RemoveObjects(const std::vector<CObjElement*>& objects) {
  if (list_ != nullptr) list_->RemoveObjects(objects);
  if (sheet_ != nullptr)
    for (CObjElement* object : objects) sheet_->Forget(object);
}

void CProperityView::ListObject(CObjElement* object) {
  if (list_ != nullptr && object != nullptr) list_->AddObject(object, 0, 0);
}

void CProperityView::ShowSelection(const std::vector<CObjElement*>& objects) {
  if (list_ == nullptr) return;
  // One walk over the list, however many objects are selected.
  const std::unordered_set<CObjElement*> wanted(objects.begin(), objects.end());
  std::vector<int> indexes;
  for (int i = 1; i < list_->GetCount(); ++i)
    if (wanted.count(list_->GetObjectAt(i)) != 0) indexes.push_back(i);
  list_->SetSelection(indexes);
  if (sheet_ == nullptr) return;
  CObjElement* shown = sheet_->ShownObject();
  CObjElement* next = nullptr;
  if (indexes.empty()) {
    // Nothing listed is selected (nothing at all, or the reference arc): no
    // object's pages, the work area's.
    next = list_->GetObjectAt(0);
  } else if (wanted.count(shown) != 0 && IsListed(shown)) {
    return;
  } else {
    for (auto it = objects.rbegin(); it != objects.rend() && next == nullptr; ++it)
      if (IsListed(*it)) next = *it;
  }
  if (next != nullptr && next != shown) sheet_->ShowObject(next, list_->GetSelCount());
}
