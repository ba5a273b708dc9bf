// Bounds of the selection.
#include "app/views/model/CVendrikViewModel.h"
#include "document/objects/CObjElement.h"
#include "document/path/PathListHelpers.h"

void CVendrikViewModel::GetSelectionBounds(CDoubleRect& bounds) const {
  BoundsUnion selection;
  for (const CObjElement* element : m_selection) {
    if (element != nullptr) selection.Add(element->boundRect);
  }
  bounds = selection.Found() ? selection.Rect() : CDoubleRect(-2, 2, 2, -2);  // the zero rectangle grown by 2 mm
}
