// HPGL plot files: the dialect test, then the dialect's reader in both passes
// with the room the counting pass asked for.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzInputFile.h"
#include "text/exchange/hpgl/PltImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteFuzzInput("input.plt", data, size);
  using Reader = int (*)(const std::string&, double*, BYTE*, int*, int*, int*);
  const Reader readers[] = {ImportPltDialect1, ImportPltDialect2, ImportPltDialect3};
  const int dialect = DetectPltDialect(path);
  // Every reader, the detected one first: a file need not be what it claims.
  for (int k = 0; k < 3; ++k) {
    const Reader read = readers[(dialect + 2 + k) % 3];
    int capacity = 0, count = 0, status = 0;
    read(path, nullptr, nullptr, &capacity, &count, &status);
    if (capacity < 0 || capacity > (1 << 24)) continue;
    std::vector<double> values(static_cast<std::size_t>(capacity) + 1);
    std::vector<BYTE> flags(static_cast<std::size_t>(capacity) / 2 + 1);
    int room = capacity;
    read(path, values.data(), flags.data(), &room, &count, &status);
    if (count > capacity) __builtin_trap();  // stored beyond the room
  }
  return 0;
}
