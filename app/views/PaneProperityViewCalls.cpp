#include "app/views/PaneProperityViewCalls.h"

std::vector<CObjElement*> PaneProperityViewCalls::SelectedListObjects() {
  CObjectListBox* list = View() != nullptr ? View()->GetObjectList() : nullptr;
  std::vector<CObjElement*> objects;
  if (list == nullptr) return objects;
  for (int index : list->GetSelectedIndexes()) {
    if (CObjElement* object = list->GetObjectAt(index)) objects.push_back(object);
  }
  return objects;
}
