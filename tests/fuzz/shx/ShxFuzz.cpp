// Stroke fonts: the input is the font file, read once as the main font and
// once as the big font of a text that has single- and double-byte characters.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "tests/fuzz/FuzzInputFile.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

void Draw(const std::string& install, const std::string& mainFont, const std::string& bigFont) {
  // ASCII, a control character, a GBK pair, a lone lead byte at the end.
  const std::string text = "AZaz09 %\x01\xb0\xa1\xd6\xd0\x81";
  int capacity = 0, status = 0;
  ShxTextToStrokes(text, install, mainFont, bigFont, 1, 2, 5, 30, 10, 1, 0.5, 1, 0, nullptr, nullptr, &capacity,
                   &status);
  if (capacity <= 0 || capacity > kShxMaxOutputDoubles) return;
  std::vector<double> coords(static_cast<std::size_t>(capacity));
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(capacity) / 2 + 1);
  int room = capacity;
  const int written = ShxTextToStrokes(text, install, mainFont, bigFont, 1, 2, 5, 30, 10, 1, 0.5, 1, 0,
                                       coords.data(), flags.data(), &room, &status);
  if (written > capacity) __builtin_trap();  // written beyond the room
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path fonts = FuzzFolder() / "Fonts";
  std::filesystem::create_directories(fonts);
  const std::string name = "fuzz.shx";
  const std::string path = (fonts / name).string();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  const std::string install = FuzzFolder().string();
  Draw(install, name, "none.shx");
  Draw(install, "none.shx", name);
  // Read as a point-list font: a main font that does not open is tried as ".fnt".
  std::filesystem::copy_file(path, fonts / "list.fnt", std::filesystem::copy_options::overwrite_existing);
  Draw(install, "list.shx", name);
  return 0;
}
