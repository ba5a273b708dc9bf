#include "document/objects/MarkedBounds.h"

#include "document/objects/CObjElement.h"

BoundsUnion MarkedBounds(const std::vector<CObjElement*>& elements) {
  BoundsUnion bounds;
  for (const CObjElement* e : elements) {
    if (e != nullptr && e->type != OBJ_PICTURE && e->IsMarkEnabled()) bounds.Add(e->GetBoundRect());
  }
  return bounds;
}
