#pragma once
// Shared by the project file and document tests: a private folder per test,
// file helpers and a scripted prompt that records the message boxes.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/Prompt.h"

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vendrik-mrk-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string FixturePath(const std::string& name) { return std::string(VENDRIK_TEST_DATA_DIR) + "/mrk/" + name; }

// Installs a fresh recording prompt for one test.
inline std::shared_ptr<platform::ScriptedPrompt> RecordPrompts() {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  return prompt;
}
