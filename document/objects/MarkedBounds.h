#pragma once
// The room a job's objects take on the work area.
#include <vector>

#include "document/path/PathListHelpers.h"

class CObjElement;

// The union of the bounds of the listed elements that are marked: pictures
// and objects switched off for marking take no room (nothing found when none
// is left).
BoundsUnion MarkedBounds(const std::vector<CObjElement*>& elements);
