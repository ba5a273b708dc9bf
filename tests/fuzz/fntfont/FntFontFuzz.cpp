// Fuzz target: a point-list (".fnt") stroke font, read by the stroke-font
// engine in both passes for a short text, as the text layout calls it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

// The scratch folder goes when the program ends.
struct ScratchFolder {
  std::string path;
  ~ScratchFolder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

const std::string& InstallFolder() {
  static const ScratchFolder folder = [] {
    char pattern[] = "/tmp/vendrik-fnt-fuzz-XXXXXX";
    const char* dir = ::mkdtemp(pattern);
    ScratchFolder f{dir ? dir : ""};
    if (!f.path.empty()) std::filesystem::create_directories(f.path + "/Fonts");
    return f;
  }();
  return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(InstallFolder() + "/Fonts/fuzz.fnt", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
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
