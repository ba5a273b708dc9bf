#include "app/core/CProcessKiller.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

bool IsAllDigits(const char* s) {
  if (*s == '\0') return false;
  for (; *s; ++s) {
    if (*s < '0' || *s > '9') return false;
  }
  return true;
}

// readlink of /proc/<pid>/exe. A program file replaced while it runs (a new
// build) reads as "<path> (deleted)"; that is still the same program.
std::string ReadExeLink(const std::string& link) {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size() - 1);
  if (n <= 0) return {};
  buffer.resize(static_cast<std::size_t>(n));
  static const std::string kDeleted = " (deleted)";
  if (buffer.size() > kDeleted.size() && buffer.compare(buffer.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0) {
    buffer.resize(buffer.size() - kDeleted.size());
  }
  return buffer;
}

}  // namespace

std::optional<std::vector<ProcessEntry>> ProcProcessTable::Snapshot() {
  DIR* dir = ::opendir("/proc");
  if (dir == nullptr) return std::nullopt;
  std::vector<ProcessEntry> out;
  while (dirent* entry = ::readdir(dir)) {
    if (!IsAllDigits(entry->d_name)) continue;
    const int pid = std::atoi(entry->d_name);
    out.push_back(ProcessEntry{pid, ExecutablePath(pid)});
  }
  ::closedir(dir);
  return out;
}

std::string ProcProcessTable::ExecutablePath(int pid) {
  return ReadExeLink("/proc/" + std::to_string(pid) + "/exe");
}

bool ProcProcessTable::Terminate(int pid) {
  if (pid <= 0) return false;  // never a process group
  return ::kill(pid, SIGTERM) == 0;
}

std::string OwnExecutablePath() { return ReadExeLink("/proc/self/exe"); }

int OwnProcessId() { return static_cast<int>(::getpid()); }

int CProcessKiller::KillProcessesByName(int ownPid, const std::string& exePath) {
  if (exePath.empty()) return 0;
  const auto processes = table_.Snapshot();
  if (!processes) return 0;
  int ended = 0;
  for (const ProcessEntry& p : *processes) {
    if (p.pid == ownPid || p.pid <= 0) continue;
    if (p.exePath != exePath) continue;
    if (TerminateProcessById(p.pid)) ++ended;
  }
  return ended;
}

std::string CProcessKiller::GetProcessPath(int pid) { return table_.ExecutablePath(pid); }

bool CProcessKiller::TerminateProcessById(int pid) { return table_.Terminate(pid); }
