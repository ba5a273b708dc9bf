#include "app/views/PaneProperityViewCalls.h"

#include <unordered_set>

void PaneProperityViewCalls::SelectListObjects(const std::vector<CObjElement*>& objects) {
  CObjectListBox* list = View() != nullptr ? View()->GetObjectList() : nullptr;
  if (list == nullptr) return;
  // One walk over the list, however many objects are selected.
  const std::unordered_set<CObjElement*> wanted(objects.begin(), objects.end());
  std::vector<int> indexes;
  for (int i = 1; i < list->GetCount(); ++i) {
    if (wanted.count(list->GetObjectAt(i)) != 0) indexes.push_back(i);
  }
  list->SetSelection(indexes);
}

std::vector<CObjElement*> PaneProperityViewCalls::SelectedListObjects() {
  CObjectListBox* list = View() != nullptr ? View()->GetObjectList() : nullptr;
  std::vector<CObjElement*> objects;
  if (list == nullptr) return objects;
  for (int index : list->GetSelectedIndexes()) {
    if (CObjElement* object = list->GetObjectAt(index)) objects.push_back(object);
  }
  return objects;
}
