// Fuzz target: a ".dot" dot font file as a whole. Counts from the file must
// never lead a read past a record or past the end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/fonts/dot/DotFontFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DotFontFile font;
  font.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  long sum = 0;
  for (int code = 0; code < 256; ++code) {
    if (const auto* dots = font.Find(static_cast<std::uint8_t>(code))) {
      for (std::uint8_t b : *dots) sum += DotColumn(b) + DotRow(b);
    }
  }
  return sum == -1 ? 1 : 0;
}
