// Fuzz target: a BIFF8 workbook stream read for its first two worksheets, as
// the .xls path reads it once libgsf has taken it out of the compound file.
#include <cstddef>
#include <cstdint>

#include "libs/tabrion/BiffWorkbookReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tabrion::ByteSpan stream(data, size);
  for (int sheet = 1; sheet <= 2; ++sheet) {
    tabrion::LoadedSheet out;
    tabrion::ReadBiffSheet(stream, sheet, out);
    out.ForEachText([](long, int, const std::string& text) { (void)text.size(); });
  }
  return 0;
}
