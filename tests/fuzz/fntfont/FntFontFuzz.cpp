// Fuzz target: a point-list (".fnt") stroke font, read by the stroke-font
// engine in both passes for a short text, as the text layout calls it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzInputFile.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

// The process's own folder with the "Fonts" folder the engine reads.
const std::string& InstallFolder() {
  static const std::string folder = [] {
    std::filesystem::create_directories(FuzzFolder() / "Fonts");
    return FuzzFolder().string();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InstallFolder();
  WriteFuzzInput("Fonts/fuzz.fnt", data, size);
  const std::string text = "AB 1\x01z";
  int count = 0;
  int status = 0;
  ShxTextToStrokes(text, InstallFolder(), "fuzz.shx", "none.shx", 0, 0, 5, 10, 5, 1, 0.5, 1, 0.5, nullptr, nullptr,
                   &count, &status);
  if (count <= 0 || count > (1 << 20)) return 0;
  std::vector<double> xy(static_cast<std::size_t>(count));
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(count) / 2 + 1);
  int capacity = count;
  ShxTextToStrokes(text, InstallFolder(), "fuzz.shx", "none.shx", 0, 0, 5, 10, 5, 1, 0.5, 1, 0.5, xy.data(),
                   flags.data(), &capacity, &status);
  return 0;
}
