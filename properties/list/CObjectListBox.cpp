#include "properties/list/CObjectListBox.h"

#include <QItemSelection>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <unordered_set>

#include "document/doc/CObjPtrArray.h"
#include "document/objects/CObjElement.h"
#include "platform/Cp936.h"
#include "properties/framework/PropChange.h"
#include "properties/list/DefaultNames.h"
#include "values/PropertyMessages.h"

namespace {

constexpr int kElementRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;  // the name in code page 936 bytes

// Name order without case, as the list box sorts.
bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
  });
}

}  // namespace

class CObjectListBox::QuietSelection {
 public:
  explicit QuietSelection(CObjectListBox& list) : list_(list) { ++list_.quiet_; }
  ~QuietSelection() { --list_.quiet_; }

 private:
  CObjectListBox& list_;
};

CObjectListBox::CObjectListBox() {
  setObjectName(QString("list%1").arg(kControlId));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
  setFrameShape(QFrame::StyledPanel);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
}

CObjectListBox::~CObjectListBox() = default;

bool CObjectListBox::Create(QWidget* parent, platform::MessageTarget* parentTarget) {
  setParent(parent);
  parent_ = parentTarget;
  show();
  return true;
}

QListWidgetItem* CObjectListBox::MakeItem(CObjElement* element) const {
  auto* item = new QListWidgetItem(QString::fromStdString(platform::Cp936ToUtf8(element->name)));
  item->setData(kElementRole, QVariant::fromValue(static_cast<void*>(element)));
  item->setData(kNameRole, QByteArray::fromStdString(element->name));
  item->setSizeHint(QSize(0, kItemHeight));
  return item;
}

std::string CObjectListBox::NameOf(const QListWidgetItem* item) {
  return item->data(kNameRole).toByteArray().toStdString();
}

bool CObjectListBox::IsParameterRecordAt(int index) const {
  const CObjElement* element = GetObjectAt(index);
  return element != nullptr && element->type == OBJ_PROPERITY;
}

int CObjectListBox::SortedIndexFor(const std::string& name) const {
  // The parameter record keeps item 0 whatever the names: "show no object"
  // selects item 0, and the hit test starts after it.
  int lo = IsParameterRecordAt(0) ? 1 : 0;
  int hi = count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (LessNoCase(name, NameOf(item(mid)))) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

int CObjectListBox::AddObject(CObjElement* element, int select, int selectFirst) {
  if (element == nullptr) return -1;
  QuietSelection quiet(*this);
  const int index = element->type == OBJ_PROPERITY ? 0 : SortedIndexFor(element->name);
  Insert(index, element);
  if (select) SetSelection({selectFirst ? 0 : index});
  return index;
}

void CObjectListBox::MakeDefaultName(int type, std::string& name) {
  const char* prefix = DefaultNamePrefix(type);
  if (prefix == nullptr) return;
  name = IsWholeDefaultName(type) ? std::string(prefix) : names_.NextName(prefix);
}

void CObjectListBox::Insert(int index, CObjElement* element) {
  insertItem(index, MakeItem(element));
  names_.Add(element->name);
}

void CObjectListBox::Take(int index) {
  QListWidgetItem* it = takeItem(index);
  if (it == nullptr) return;
  names_.Remove(NameOf(it));
  delete it;
}

void CObjectListBox::SetSelection(const std::vector<int>& indexes) {
  QuietSelection quiet(*this);
  clearSelection();
  const std::vector<int> chosen = indexes.empty() ? std::vector<int>{0} : indexes;
  // One selection of runs of rows: selecting item by item costs the
  // selection model a walk over all it holds for every item.
  std::vector<int> rows;
  for (int i : chosen)
    if (i >= 0 && i < count()) rows.push_back(i);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  QItemSelection selection;
  for (std::size_t k = 0; k < rows.size();) {
    std::size_t last = k;
    while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
    selection.select(model()->index(rows[k], 0), model()->index(rows[last], 0));
    k = last + 1;
  }
  if (!selection.isEmpty()) selectionModel()->select(selection, QItemSelectionModel::Select);
  if (QListWidgetItem* caret = item(chosen.front())) setCurrentItem(caret, QItemSelectionModel::NoUpdate);
}

CObjElement* CObjectListBox::SelectOnly(int index) {
  SetSelection({index});
  return GetObjectAt(index);
}

int CObjectListBox::FindObject(CObjElement* element, int from) const {
  for (int i = std::max(from, 0); i < count(); ++i)
    if (GetObjectAt(i) == element) return i;
  return -1;
}

void CObjectListBox::RefreshObject(CObjElement* element) {
  const int index = FindObject(element, 1);
  if (index < 0) return;
  QuietSelection quiet(*this);
  Take(index);
  Insert(index, element);
  SetSelection({index});
}

int CObjectListBox::GetSelCount() const { return static_cast<int>(selectedItems().size()); }

std::vector<int> CObjectListBox::GetSelectedIndexes() const {
  std::vector<int> rows;
  for (int i = 0; i < count(); ++i)
    if (item(i)->isSelected()) rows.push_back(i);
  return rows;
}

CObjElement* CObjectListBox::GetSingleSelection() const {
  const QList<QListWidgetItem*> items = selectedItems();
  if (items.size() != 1) return nullptr;
  return static_cast<CObjElement*>(items.front()->data(kElementRole).value<void*>());
}

CObjElement* CObjectListBox::GetObjectAt(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? static_cast<CObjElement*>(it->data(kElementRole).value<void*>()) : nullptr;
}

void CObjectListBox::ResetContent() {
  QuietSelection quiet(*this);
  clear();
  names_.Clear();
  lastSingle_ = nullptr;
}

int CObjectListBox::FillFromArray(const CObjPtrArray& objects) {
  return FillFromArray(std::vector<CObjElement*>(objects.begin(), objects.end()));
}

int CObjectListBox::FillFromArray(const std::vector<CObjElement*>& objects) {
  ResetContent();
  QuietSelection quiet(*this);
  // One sort and one insertion instead of a sorted insert per element.
  std::vector<CObjElement*> sorted;
  for (CObjElement* e : objects)
    if (e != nullptr) sorted.push_back(e);
  std::stable_sort(sorted.begin(), sorted.end(), [](const CObjElement* a, const CObjElement* b) {
    const bool aRecord = a->type == OBJ_PROPERITY;
    const bool bRecord = b->type == OBJ_PROPERITY;
    if (aRecord != bRecord) return aRecord;  // the parameter record first
    return LessNoCase(a->name, b->name);
  });
  setUpdatesEnabled(false);
  for (CObjElement* e : sorted) {
    addItem(MakeItem(e));
    names_.Add(e->name);
  }
  setUpdatesEnabled(true);
  return count();
}

void CObjectListBox::RemoveObject(CObjElement* element, int selectFirst) {
  const int index = FindObject(element);
  QuietSelection quiet(*this);
  if (index >= 0) Take(index);
  if (lastSingle_ == element) lastSingle_ = nullptr;
  if (selectFirst) SetSelection({0});
}

void CObjectListBox::RemoveObjects(const std::vector<CObjElement*>& elements) {
  const std::unordered_set<CObjElement*> all(elements.begin(), elements.end());
  // Each element loses its first item, as a search from the top finds it.
  std::unordered_set<CObjElement*> pending = all;
  std::vector<int> rows;
  for (int i = 0; i < count() && !pending.empty(); ++i)
    if (pending.erase(GetObjectAt(i)) != 0) rows.push_back(i);
  QuietSelection quiet(*this);
  // From the bottom up: the rows still to be taken keep their indexes.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) Take(*row);
  if (all.count(lastSingle_) != 0) lastSingle_ = nullptr;
}

void CObjectListBox::OnSelectionChanged() {
  if (quiet_ > 0) return;
  CObjElement* element = GetObjectAt(currentRow());
  if (element == nullptr || element == lastSingle_) return;
  lastSingle_ = element;
  if (parent_ == nullptr) return;
  auto record = std::make_shared<PROPCHANGE>();
  record->object = element;
  PostPropChange(*parent_, WM_LIST_SELCHANGE, std::move(record));
}

void CObjectListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    lastSingle_ = GetSingleSelection();
  } else if (event->button() == Qt::RightButton) {
    ShowContextMenu(event->globalPosition().toPoint());
  }
  QListWidget::mousePressEvent(event);
}

CObjectListBox::MenuState CObjectListBox::ContextMenuState(int selectedCount, int caret, int itemCount) {
  MenuState state;
  if (selectedCount > 0 && caret > 0) {
    state.show = true;
    state.markOrderGrey = true;
    state.combineGrey = selectedCount == 1;
  } else if (itemCount >= 3 && caret == 0) {
    state.show = true;
    state.deleteGrey = true;
  }
  return state;
}

void CObjectListBox::ShowContextMenu(const QPoint& at) {
  const MenuState state = ContextMenuState(GetSelCount(), currentRow(), count());
  if (!state.show) return;
  QMenu menu(this);
  menu.setObjectName("menu164");
  QAction* del = menu.addAction("Delete(&D)");
  QAction* combine = menu.addAction("Combine(&C)");
  QAction* order = menu.addAction("Change mark order(&S)");
  del->setEnabled(!state.deleteGrey);
  combine->setEnabled(!state.combineGrey);
  order->setEnabled(!state.markOrderGrey);
  QAction* chosen = menu.exec(at);
  if (chosen == del) OnMenuCommand(kCmdDelete);
  if (chosen == combine) OnMenuCommand(kCmdCombine);
  if (chosen == order) OnMenuCommand(kCmdMarkOrder);
}

void CObjectListBox::OnMenuCommand(int command) {
  if (parent_ == nullptr) return;
  switch (command) {
    case kCmdDelete: parent_->PostMessage(WM_LIST_DELETE); break;
    case kCmdCombine: parent_->PostMessage(WM_LIST_COMBINE); break;
    case kCmdMarkOrder: parent_->PostMessage(WM_LIST_MARKORDER); break;
    default: break;
  }
}
