// Allocation of new stroke groups for the object builders.
#include <new>

#include "document/path/CStrokeGroup.h"

std::unique_ptr<CStrokeGroup> NewStrokeGroup(const CPointList& list) {
  try {
    return std::make_unique<CStrokeGroup>(list);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::unique_ptr<CStrokeGroup> NewHatchGroup(const CPointList& list, bool clearContours, bool doHatch, float angle,
                                            float spacing) {
  std::unique_ptr<CStrokeGroup> group = NewStrokeGroup(list);
  if (!group) return nullptr;
  if (doHatch) group->HatchFill(angle, spacing);
  if (clearContours) group->RemoveAllLists();
  return group;
}
