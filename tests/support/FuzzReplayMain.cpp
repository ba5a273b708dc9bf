// Runs a fuzz target over every file of the folders (or files) named on the
// command line, so a corpus of damaged inputs is read on every test run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
int ReplayFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path root(argv[i]);
    if (std::filesystem::is_regular_file(root)) {
      count += ReplayFile(root);
      continue;
    }
    if (!std::filesystem::is_directory(root)) {
      std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
      return 1;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
      if (entry.is_regular_file()) count += ReplayFile(entry.path());
  }
  // An empty input is always worth one run.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::printf("replayed %d inputs\n", count);
  return 0;
}
