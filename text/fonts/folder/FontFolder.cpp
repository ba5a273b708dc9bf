#include "text/fonts/folder/FontFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/InstallDir.h"

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string FontFolderOf(const std::string& installFolder) { return platform::JoinInstallPath(installFolder, "Fonts"); }

std::string FontFilePath(const std::string& installFolder, const std::string& fileName) {
  const std::string folder = FontFolderOf(installFolder);
  const std::string exact = platform::JoinInstallPath(folder, fileName);
  std::error_code ec;
  // Names with a folder part are not ours to search for.
  if (fileName.empty() || fileName.find('/') != std::string::npos || std::filesystem::exists(exact, ec)) return exact;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (SameIgnoringCase(name, fileName)) return platform::JoinInstallPath(folder, name);
  }
  return exact;
}
