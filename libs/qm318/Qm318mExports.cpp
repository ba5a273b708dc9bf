// Exports of QM318m: the chip layer, every routine prefixed "qm318_".
#include "libs/qm318/LibraryState.h"
#include "libs/qm318/Qm318Api.h"

QM318_API int qm318_initial() { return qm318::TheChipLayer().qm318_initial(); }
QM318_API int qm318_end() { return qm318::TheChipLayer().qm318_end(); }

#define QM318_CHIP(name, params, args) \
  QM318_API int qm318_##name params { return qm318::TheChipLayer().name args; }
#include "libs/qm318/ChipExports.inc"
#undef QM318_CHIP
