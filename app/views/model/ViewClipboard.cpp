// The view's own clipboard (not the system's), select all, clear all, the
// mark order and the list's combine command. The clipboard owns copies of
// what was copied or cut, so deleting or undoing the originals never leaves
// it pointing at freed elements, and a paste renames only its own copies.
#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_map>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"
#include "marking/link/CComRequest.h"
#include "marking/link/ILinkHost.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

namespace {

constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_DELETE = 32798;
constexpr int ID_SELECT_ALL = 32799;
constexpr int ID_CLEAR_ALL = 32800;
constexpr int ID_CHANGE_MARK_ORDER = 32835;
constexpr int ID_COMBINE = 32838;

constexpr std::size_t kLongestPastedName = 29;
constexpr float kPasteStep = 10.0f;
constexpr char kNameTooLong[] = "Object name's string is too long!";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The object names in lower case, sorted, so "does a name begin with this"
// is one search instead of a walk over the list.
class NamePrefixIndex {
 public:
  explicit NamePrefixIndex(const CObjPtrArray& objects) {
    for (int i = 1; i < objects.GetSize(); ++i) names_.insert(Lower(objects.GetAt(i)->name));
  }
  bool AnyBeginsWith(const std::string& prefix) const {
    const std::string key = Lower(prefix);
    const auto it = names_.lower_bound(key);
    return it != names_.end() && it->compare(0, key.size(), key) == 0;
  }
  void Add(const std::string& name) { names_.insert(Lower(name)); }

 private:
  std::multiset<std::string> names_;
};

std::unique_ptr<CObjElement> CopyOf(const CObjElement& source) {
  auto copy = std::make_unique<CObjElement>();
  copy->CopyFrom(source);  // a copy starts unlocked, as every copy does
  copy->selected = 0;
  return copy;
}

}  // namespace

void CVendrikViewModel::RegisterClipboardCommands() {
  const auto any = [this] { return HasLayoutSelection(); };
  const auto drawings = [this] { return DrawingObjectCount() >= 1; };
  AddCommand(ID_EDIT_COPY, [this] { OnCopy(); }, any);
  AddCommand(ID_EDIT_CUT, [this] { OnCut(); }, any);
  AddCommand(ID_EDIT_PASTE, [this] { OnPaste(); }, [this] { return !m_clipboard.empty(); });
  AddCommand(ID_DELETE, [this] { DeleteSelection(); }, any);
  AddCommand(ID_SELECT_ALL, [this] { OnSelectAll(); }, drawings);
  AddCommand(ID_CLEAR_ALL, [this] { OnClearAll(); }, drawings);
  AddCommand(ID_CHANGE_MARK_ORDER, [this] { OnChangeMarkOrder(); }, drawings);
  AddCommand(ID_COMBINE, [this] { OnCombineRequest(); });
}

void CVendrikViewModel::ClearClipboard() { m_clipboard.clear(); }

void CVendrikViewModel::OnCopy() {
  if (!HasLayoutSelection()) return;
  m_pasteOffsetX = kPasteStep;
  m_pasteOffsetY = -kPasteStep;
  ClearClipboard();
  for (const CObjElement* element : m_selection) m_clipboard.push_back(CopyOf(*element));
}

void CVendrikViewModel::OnCut() {
  // A running job holds the elements.
  if (m_pDocument == nullptr || !HasLayoutSelection() || IsMarkingBusy()) return;
  PushHistory();
  ClearClipboard();
  // The cut elements themselves go to the clipboard, in selection order.
  for (auto& element : RemoveSelectedElements()) m_clipboard.push_back(std::move(element));
  m_pasteOffsetX = kPasteStep;
  m_pasteOffsetY = -kPasteStep;
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
  SetLayoutModified();
}

void CVendrikViewModel::OnPaste() {
  if (m_pDocument == nullptr || m_clipboard.empty()) return;
  for (const auto& element : m_clipboard) {
    if (element->name.size() > kLongestPastedName) {
      platform::MessageBox(kNameTooLong);
      ClearSelection();
      ShowNoObject();
      if (m_pWindow != nullptr) m_pWindow->Invalidate();
      return;
    }
  }
  PushHistory();
  NamePrefixIndex names(m_pDocument->Objects());
  std::vector<CObjElement*> pasted;
  for (const auto& source : m_clipboard) {
    // A name some object begins with gets a "1" until none does.
    while (names.AnyBeginsWith(source->name)) source->name += "1";
    auto copy = CopyOf(*source);
    copy->SetFlag2(0);
    copy->RefreshTypeObject();
    copy->MoveBy(m_pasteOffsetX, m_pasteOffsetY);
    copy->UpdateBoundRect();
    names.Add(copy->name);
    // Each copy is listed; the selection becomes all of them below.
    pasted.push_back(AddElement(std::move(copy), 0));
  }
  m_pasteOffsetX += kPasteStep;
  m_pasteOffsetY -= kPasteStep;
  SelectElements(pasted);
  SetLayoutModified();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnSelectAll() {
  if (m_pDocument == nullptr) return;
  std::vector<CObjElement*> all;
  const CObjPtrArray& objects = m_pDocument->Objects();
  all.reserve(static_cast<std::size_t>(std::max(objects.GetSize() - 1, 0)));
  for (int i = 1; i < objects.GetSize(); ++i) all.push_back(objects.GetAt(i));
  SelectElements(all);
  UpdateGridFromSelection();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::OnClearAll() {
  if (IsMarkingBusy()) return;  // the job holds the elements
  OnSelectAll();
  DeleteSelection();
  ShowNoObject();
}

void CVendrikViewModel::OnChangeMarkOrder() {
  if (m_pDocument == nullptr || m_pDialogs == nullptr) return;
  CObjPtrArray& objects = m_pDocument->Objects();
  if (objects.GetSize() <= 2) return;
  std::vector<CObjElement*> order(objects.begin(), objects.end());
  const std::vector<CObjElement*> before = order;
  if (!m_pDialogs->AskMarkOrder(order)) return;
  // Only a reordering of the same elements, the parameter record first, is taken.
  std::vector<CObjElement*> sortedBefore = before;
  std::vector<CObjElement*> sortedAfter = order;
  std::sort(sortedBefore.begin(), sortedBefore.end());
  std::sort(sortedAfter.begin(), sortedAfter.end());
  if (sortedBefore != sortedAfter || order.front() != before.front()) return;
  // The marking order is saved with the layout: undo puts the old one back alone.
  if (order != before) PushHistory();
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    std::unordered_map<CObjElement*, std::unique_ptr<CObjElement>> held;
    while (objects.GetSize() > 0) {
      std::unique_ptr<CObjElement> element = objects.RemoveAt(objects.GetSize() - 1);
      CObjElement* raw = element.get();
      held.emplace(raw, std::move(element));
    }
    for (CObjElement* element : order) objects.Add(std::move(held[element]));
  }
  // The marking order is saved with the layout.
  if (order != before) SetLayoutModified();
  m_pPropView->FillObjectList(objects);
  EndPendingConstruction();
  ShowNoObject();
}

void CVendrikViewModel::OnCombineRequest() {
  if (g_softType.load() != SOFT_TYPE_USB) return;
  ILinkHost* host = GetPropertyView();
  if (host != nullptr && host->GetComRequest() != nullptr) host->GetComRequest()->Signal(0);
}
