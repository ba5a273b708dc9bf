#pragma once
// A fresh folder per test under the test's data folder, and a settings store
// in memory, so no test sees another's files or values.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/InstallDir.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

inline std::string FreshFolder(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(platform::DefaultDataFolder()) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

inline std::shared_ptr<platform::ScriptedPrompt> FreshPrompt() {
  auto prompt = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt);
  return prompt;
}

inline std::shared_ptr<platform::SettingsStore> FreshSettings() {
  auto store = platform::MakeMemorySettingsStore();
  store->CreateKey(platform::kRegistryKey);
  platform::SetSettingsStore(store);
  return store;
}

inline std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}
