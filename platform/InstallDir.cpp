#include "platform/InstallDir.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string EnvOr(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : std::string();
}

std::string EnsureFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);  // a failure shows when the files are used
  return folder;
}

std::string XdgFolder(const char* overrideVar, const char* xdgVar, const char* homeSub) {
  std::string folder = EnvOr(overrideVar);
  if (folder.empty()) {
    const std::string xdg = EnvOr(xdgVar);
    if (!xdg.empty()) {
      folder = xdg + "/vendrik";
    } else {
      const std::string home = EnvOr("HOME");
      folder = (home.empty() ? std::string(".") : home) + homeSub;
    }
  }
  return EnsureFolder(folder);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string JoinInstallPath(const std::string& folder, const std::string& name) {
  // A short folder text was a drive root that already ended in its separator;
  // on Linux a short folder such as "/op" does not, so it still gets one.
  if (folder.size() > 3) return folder + "/" + name;
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
  return folder + "/" + name;
}

std::string DefaultDataFolder() { return XdgFolder("VENDRIK_DATA_DIR", "XDG_DATA_HOME", "/.local/share/vendrik"); }

std::string DefaultConfigFolder() { return XdgFolder("VENDRIK_CONFIG_DIR", "XDG_CONFIG_HOME", "/.config/vendrik"); }

bool WriteFileAtomic(const std::string& path, const void* data, std::size_t size) {
  if (path.empty() || (data == nullptr && size > 0)) return false;
  std::string temp = path + ".tmpXXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  // Keep the permissions of the file being replaced; new files get rw-r--r--.
  struct stat st {};
  ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
  bool ok = WriteAll(fd, static_cast<const char*>(data), size) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const std::string dir = std::filesystem::path(path).parent_path().string();
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace platform
