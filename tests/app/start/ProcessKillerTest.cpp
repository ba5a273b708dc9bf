#include <gtest/gtest.h>

#include <algorithm>

#include "app/core/CProcessKiller.h"

namespace {

class FakeProcessTable : public ProcessTable {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() override { return processes; }
  std::string ExecutablePath(int pid) override {
    for (const auto& p : *processes) {
      if (p.pid == pid) return p.exePath;
    }
    return {};
  }
  bool Terminate(int pid) override {
    terminated.push_back(pid);
    return true;
  }
  std::optional<std::vector<ProcessEntry>> processes = std::vector<ProcessEntry>{};
  std::vector<int> terminated;
};

const std::string kExe = "/opt/vendrik/bin/vendrik";

}  // namespace

TEST(ProcessKiller, EndsOnlyOtherProcessesOfExactlyThisExecutable) {
  FakeProcessTable table;
  table.processes = std::vector<ProcessEntry>{
      {100, kExe},                                // this process
      {101, kExe},                                // an older copy: ended
      {102, "/opt/vendrik/bin/vendrik-boardsim"},  // name only starts the same
      {103, "/home/op/vendrik/build/tests/test_app_start"},
      {104, "/opt/Vendrik/bin/vendrik"},          // another install
      {105, ""},                                  // path unreadable
      {106, "/opt/vendrik/bin/vendrik.old"},
      {107, kExe},                                // a second older copy
  };
  CProcessKiller killer(table);
  EXPECT_EQ(killer.KillProcessesByName(100, kExe), 2);
  EXPECT_EQ(table.terminated, (std::vector<int>{101, 107}));
}

TEST(ProcessKiller, UnreadableTableOrUnknownOwnPathEndsNothing) {
  FakeProcessTable table;
  table.processes = std::nullopt;
  CProcessKiller killer(table);
  EXPECT_EQ(killer.KillProcessesByName(1, kExe), 0);

  table.processes = std::vector<ProcessEntry>{{5, ""}, {6, kExe}};
  // An unknown own path must not match the processes whose path is unknown.
  EXPECT_EQ(killer.KillProcessesByName(1, ""), 0);
  EXPECT_TRUE(table.terminated.empty());
  EXPECT_EQ(killer.GetProcessPath(6), kExe);
}

TEST(ProcessKiller, SystemTableListsThisProcessWithItsExecutable) {
  ProcProcessTable table;
  const auto snapshot = table.Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  const int self = OwnProcessId();
  const auto it = std::find_if(snapshot->begin(), snapshot->end(), [&](const ProcessEntry& p) { return p.pid == self; });
  ASSERT_NE(it, snapshot->end());
  EXPECT_EQ(it->exePath, OwnExecutablePath());
  EXPECT_FALSE(OwnExecutablePath().empty());
  EXPECT_FALSE(table.Terminate(0));  // never a whole process group
}
