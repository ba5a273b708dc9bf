#pragma once
// Ends the other running copies of this program. A copy is a process whose
// executable is exactly this program's file; a name merely contained in a
// path (a test runner, an editor with the file open) is never matched.
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct ProcessEntry {
  int pid = 0;
  std::string exePath;  // empty when it cannot be read
};

// The process table the killer works on: /proc on Linux, a fake in tests.
class ProcessTable {
 public:
  virtual ~ProcessTable() = default;
  // Every process; nullopt when the table cannot be read.
  virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
  // Path of one process's executable; empty when it cannot be read.
  virtual std::string ExecutablePath(int pid) = 0;
  virtual bool Terminate(int pid) = 0;
};

class ProcProcessTable : public ProcessTable {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  std::string ExecutablePath(int pid) override;
  bool Terminate(int pid) override;  // SIGTERM
};

// The executable of the calling process, and its id.
std::string OwnExecutablePath();
int OwnProcessId();

class CProcessKiller {
 public:
  explicit CProcessKiller(ProcessTable& table) : table_(table) {}
  // Terminates every process other than ownPid whose executable is exePath.
  // Returns how many were ended; a table that cannot be read skips the step.
  int KillProcessesByName(int ownPid, const std::string& exePath);
  std::string GetProcessPath(int pid);
  bool TerminateProcessById(int pid);

 private:
  ProcessTable& table_;
};
