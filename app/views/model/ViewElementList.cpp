// Adding and removing elements, one path each for every command: the
// document, the object list and the selection are kept in step, and the
// selection's cached bounds follow.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"

CObjElement* CVendrikViewModel::AddElement(std::unique_ptr<CObjElement> element, int select) {
  if (m_pDocument == nullptr || element == nullptr) return nullptr;
  CObjElement* raw = element.get();
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    m_pDocument->Objects().Add(std::move(element));
    if (select) m_selection.Set({raw});
  }
  // Selected, the new element's entry is selected and its pages shown, and
  // the list reports the selection back, which names the same element. Else
  // it is only listed: the pages stay on what is selected.
  if (select) {
    m_pPropView->AddObject(raw, select);
  } else {
    m_pPropView->ListObject(raw);
  }
  m_bMemValid = false;
  return raw;
}

void CVendrikViewModel::AddElement(CObjElement* element, int select) {
  AddElement(std::unique_ptr<CObjElement>(element), select);
}

std::vector<std::unique_ptr<CObjElement>> CVendrikViewModel::RemoveSelectedElements() {
  std::vector<std::unique_ptr<CObjElement>> removed;
  if (m_pDocument == nullptr || m_selection.empty()) return removed;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  std::unordered_map<CObjElement*, std::unique_ptr<CObjElement>> taken;
  for (CObjElement* element : m_selection) taken.emplace(element, nullptr);
  // One pass over the document, however many are taken out and wherever
  // they lie; the list takes their entries out in one walk of its own, from
  // the last object back. Entry 0 is the document's own and stays.
  CObjPtrArray& objects = m_pDocument->Objects();
  CObjElement* const first = objects.GetAt(0);
  std::vector<CObjElement*> unlisted;
  for (auto& element : objects.RemoveIf([&](CObjElement* e) { return e != first && taken.contains(e); })) {
    unlisted.push_back(element.get());
    taken[element.get()] = std::move(element);
  }
  std::reverse(unlisted.begin(), unlisted.end());
  m_pPropView->RemoveObjects(unlisted);
  const std::vector<CObjElement*> order = m_selection.GetElements();
  // Nothing may point at the elements once they are gone: the selection
  // lets go of them (leaving a spline's editing first), and the pages show
  // what is left selected: none of them, whichever command took them out.
  m_selection.Clear();
  m_selection.ShowInPane();
  for (CObjElement* element : order) {
    std::unique_ptr<CObjElement>& owned = taken[element];
    if (owned == nullptr) continue;
    owned->SetFlag2(1);
    removed.push_back(std::move(owned));
  }
  return removed;
}

void CVendrikViewModel::DeleteSelection(bool snapshot) {
  if (!HasLayoutSelection() || m_pDocument == nullptr || IsMarkingBusy()) return;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  if (snapshot) PushHistory();
  RemoveSelectedElements();  // deleted here
  m_dragState = 0;
  m_dragShown = false;
  m_pointList.RemoveAll();
  ShowNoObject();
  MarkModified(1);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::SetLayoutModified() { MarkModified(1); }

std::string CVendrikViewModel::DefaultName(int type) {
  std::string name;
  m_pPropView->MakeDefaultName(type, name);
  return name;
}

void CVendrikViewModel::RefreshSelectedPages() {
  const int count = static_cast<int>(m_selection.size());
  for (CObjElement* element : m_selection) m_pPropView->RefreshSheet(element, count);
}

bool CVendrikViewModel::IsDrawingSelected(int type) const {
  return m_selection.size() == 1 && m_selection.front() != nullptr && m_selection.front()->type == type;
}

int CVendrikViewModel::DrawingObjectCount() const {
  return m_pDocument != nullptr ? std::max(m_pDocument->Objects().GetSize() - 1, 0) : 0;
}

void CVendrikViewModel::EndPendingConstruction() {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  m_pointList.RemoveAll();
  m_toolCode = 0;
  m_dragState = 0;
}
