// Fuzz target: an HZK bitmap font file and a character code. The first two
// bytes are the code, the rest the file; every dot kind looks the code up.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzInputFile.h"
#include "text/fonts/hzk/HzkFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string path = WriteFuzzInput("HZK", data + 2, size - 2);
  std::vector<std::uint8_t> glyph;
  int dots = 0;
  for (int kind = 2; kind <= 5; ++kind) {
    HzkFont font;
    if (!font.Open(path, *HzkGeometryOf(kind))) continue;
    for (std::uint8_t c1 : {data[0], std::uint8_t{0xA1}, std::uint8_t{0xFF}}) {
      if (font.ReadGlyph(c1, data[1], glyph)) {
        for (std::uint8_t b : glyph) dots += b & 1;
      }
    }
  }
  return dots < 0 ? 1 : 0;
}
