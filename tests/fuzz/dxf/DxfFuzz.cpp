// DXF drawings: counting pass, then filling with the room it asked for and,
// to test the room checks, with half of it. Texts find no fonts here; the
// font readers have their own target.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzInputFile.h"
#include "text/exchange/dxf/DxfImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteFuzzInput("input.dxf", data, size);
  const std::string install = FuzzFolder().string();
  int capacity = 0, count = 0, status = 0;
  ImportDxfFile(path, nullptr, nullptr, &capacity, &count, &status, install);
  if (capacity <= 0 || capacity > (1 << 24)) return 0;
  for (const int room : {capacity, capacity / 2}) {
    if (room <= 0) continue;
    std::vector<double> values(static_cast<std::size_t>(room));
    std::vector<std::uint8_t> flags(static_cast<std::size_t>(room) / 2 + 1);
    int given = room;
    ImportDxfFile(path, values.data(), flags.data(), &given, &count, &status, install);
    if (count > room) __builtin_trap();  // stored beyond the room
  }
  return 0;
}
