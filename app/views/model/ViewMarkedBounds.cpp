// Bounds of what a job marks and of the selection.
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CObjPtrArray.h"
#include "document/objects/CObjElement.h"

namespace {

bool IsMarkedObject(const CObjElement* element) {
  return element != nullptr && element->type != OBJ_PICTURE && element->IsMarkEnabled();
}

void Unite(CDoubleRect& bounds, const CDoubleRect& r, bool& any) {
  if (!any) {
    bounds = r;
    any = true;
  } else {
    bounds.UnionRect(r);
  }
}

}  // namespace

void CVendrikViewModel::GetMarkedBounds(const std::vector<CObjElement*>& list, CDoubleRect& bounds) {
  bool any = false;
  for (const CObjElement* element : list) {
    if (IsMarkedObject(element)) Unite(bounds, element->GetBoundRect(), any);
  }
}

void CVendrikViewModel::GetDocumentMarkedBounds(const CObjPtrArray& objects, CDoubleRect& bounds) {
  bool any = false;
  for (int i = 1; i < objects.GetSize(); ++i) {
    const CObjElement* element = objects.GetAt(i);
    if (IsMarkedObject(element)) Unite(bounds, element->GetBoundRect(), any);
  }
}

void CVendrikViewModel::GetSelectionBounds(CDoubleRect& bounds) const {
  bool any = false;
  for (const CObjElement* element : m_selection) {
    if (element != nullptr) Unite(bounds, element->boundRect, any);
  }
  if (!any) bounds = CDoubleRect(-2, 2, 2, -2);  // the zero rectangle grown by 2 mm
}
