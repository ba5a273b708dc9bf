// Fuzz target: an .xlsx workbook held in memory, read for its first worksheet
// (archive, workbook, relationships, styles, shared strings and sheet parts).
#include <cstddef>
#include <cstdint>

#include "libs/tabrion/XlsxSheetReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tabrion::LoadedSheet out;
  tabrion::ReadXlsxBytes(data, size, 1, out);
  return 0;
}
