// Adding and removing the elements the import, clipboard, arranging and list
// commands make or drop: the document, the object list and the selection
// are kept in step, and the selection's cached bounds follow.
#include <algorithm>
#include <unordered_set>

#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/objects/CObjElement.h"

CObjElement* CVendrikViewModel::AppendElement(std::unique_ptr<CObjElement> element, int notify) {
  if (m_pDocument == nullptr || element == nullptr) return nullptr;
  CObjElement* raw = element.get();
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    m_pDocument->Objects().Add(std::move(element));
    ClearSelection();
    raw->selected = 1;
    m_selection.push_back(raw);
    m_selBounds = raw->GetBoundRect();
  }
  m_pPropView->AddObject(raw, notify);
  m_bMemValid = false;
  return raw;
}

void CVendrikViewModel::DeleteSelectedElements(bool snapshot) {
  if (m_pDocument == nullptr || m_selection.empty()) return;
  if (snapshot) PushHistory();
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  const std::unordered_set<CObjElement*> doomed(m_selection.begin(), m_selection.end());
  for (CObjElement* element : m_selection) m_pPropView->RemoveObject(element);
  m_selection.clear();
  m_selBounds.SetRectEmpty();
  // One pass from the back: removing many objects stays linear.
  CObjPtrArray& objects = m_pDocument->Objects();
  for (int i = objects.GetSize() - 1; i >= 1; --i) {
    if (doomed.count(objects.GetAt(i)) != 0) objects.RemoveAt(i);
  }
  m_pPropView->ShowObject(nullptr);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::SetLayoutModified() { MarkModified(1); }

std::string CVendrikViewModel::DefaultName(int type) {
  std::string name;
  m_pPropView->MakeDefaultName(type, name);
  return name;
}

void CVendrikViewModel::SelectElements(const std::vector<CObjElement*>& elements) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_viewLock);
    ClearSelection();
    for (CObjElement* element : elements) {
      element->selected = 1;
      m_selection.push_back(element);
    }
  }
  UpdateSelectionBounds();
  m_pPropView->SelectListObjects(m_selection);
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
