// Fuzz target: an HZK bitmap font file and a character code. The first two
// bytes are the code, the rest the file; every dot kind looks the code up.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text/fonts/hzk/HzkFont.h"

namespace {

// The scratch folder goes when the program ends.
struct ScratchFolder {
  std::string path;
  ~ScratchFolder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

const std::string& FontPath() {
  static const ScratchFolder folder = [] {
    char pattern[] = "/tmp/vendrik-hzk-fuzz-XXXXXX";
    const char* dir = ::mkdtemp(pattern);
    return ScratchFolder{dir ? dir : ""};
  }();
  static const std::string path = (folder.path.empty() ? std::string("/tmp") : folder.path) + "/HZK";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  {
    std::ofstream out(FontPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 2), static_cast<std::streamsize>(size - 2));
  }
  std::vector<std::uint8_t> glyph;
  int dots = 0;
  for (int kind = 2; kind <= 5; ++kind) {
    HzkFont font;
    if (!font.Open(FontPath(), *HzkGeometryOf(kind))) continue;
    for (std::uint8_t c1 : {data[0], std::uint8_t{0xA1}, std::uint8_t{0xFF}}) {
      if (font.ReadGlyph(c1, data[1], glyph)) {
        for (std::uint8_t b : glyph) dots += b & 1;
      }
    }
  }
  return dots < 0 ? 1 : 0;
}
