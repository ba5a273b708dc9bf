#pragma once
// The readers under fuzzing take a path: each input is written to one file of
// the process's own, so parallel fuzzing jobs do not read each other's inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// A fresh folder of this process (under the data folder the tests give, else
// the temporary folder).
inline const std::filesystem::path& FuzzFolder() {
  static const std::filesystem::path folder = [] {
    const char* data = std::getenv("VENDRIK_DATA_DIR");
    std::filesystem::path dir = data ? std::filesystem::path(data) : std::filesystem::temp_directory_path();
    dir /= "fuzz-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    return dir;
  }();
  return folder;
}

// Writes the input to name in the process's folder and returns its path.
inline std::string WriteFuzzInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (FuzzFolder() / name).string();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}
