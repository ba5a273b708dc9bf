#pragma once
// The one chip layer of a loaded library: process-wide state, built on first
// use, private to each library (both libraries in one process keep their own).
#include "libs/qm318/ChipLayer.h"

namespace qm318 {

ChipLayer& TheChipLayer();

}  // namespace qm318
