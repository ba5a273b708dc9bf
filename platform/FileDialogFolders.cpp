#include "platform/FileDialogFolders.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/InstallDir.h"
#include "platform/SettingsStore.h"

namespace platform {
namespace {

std::mutex g_mutex;
std::string g_dataFolder;  // empty: not set yet

// "*.MRK", ".mrk" and "mrk" are one kind.
std::string KindOf(const std::string& defaultExt) {
  std::string kind = defaultExt.substr(std::min(defaultExt.find_first_not_of("*."), defaultExt.size()));
  for (char& c : kind) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return kind;
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string StartFolder() {
  std::string data;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    data = g_dataFolder;
  }
  if (data.empty()) data = DefaultDataFolder();
  const std::string projects = JoinInstallPath(data, "Projects");
  if (IsFolder(projects)) return projects;
  const char* home = std::getenv("HOME");
  return home != nullptr ? std::string(home) : std::string();
}

}  // namespace

void SetFileDialogDataFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_dataFolder = folder;
}

std::string FileDialogFolder(const std::string& defaultExt) {
  std::string folder;
  if (Settings().ReadString(kFileFoldersKey, KindOf(defaultExt), folder) && IsFolder(folder)) return folder;
  return StartFolder();
}

void RememberFileDialogFolder(const std::string& defaultExt, const std::string& chosenPath) {
  const std::string folder = std::filesystem::path(chosenPath).parent_path().string();
  if (folder.empty()) return;
  SettingsStore& settings = Settings();
  if (!settings.KeyExists(kFileFoldersKey)) settings.CreateKey(kFileFoldersKey);
  settings.WriteString(kFileFoldersKey, KindOf(defaultExt), folder);
}

}  // namespace platform
