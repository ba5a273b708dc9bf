#include "libs/qm318/LibraryState.h"

namespace qm318 {

ChipLayer& TheChipLayer() {
  static ChipLayer layer;
  return layer;
}

}  // namespace qm318
