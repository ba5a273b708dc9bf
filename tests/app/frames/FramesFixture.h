#pragma once
// A started application on the offscreen platform with everything outside
// injected: process table, port board, screen, xdg tools, settings and
// folders of its own for every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/core/CProcessKiller.h"
#include "app/frames/CVendrikApp.h"
#include "platform/KeyboardLocks.h"
#include "platform/Messages.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

void EnsureQtApplication();
// Delivers posted messages and events.
void PumpQt();
// Handles events, and deletes what was given up, as the program's event loop
// does, until done() holds or the bound (for events, never a timing) passes.
bool PumpQtUntil(const std::function<bool()>& done, std::chrono::seconds bound = std::chrono::seconds(150));

class LoggingProcessTable : public ProcessTable {
 public:
  explicit LoggingProcessTable(std::vector<std::string>& log) : log_(log) {}
  std::optional<std::vector<ProcessEntry>> Snapshot() override {
    log_.push_back("processes");
    return processes;
  }
  std::string ExecutablePath(int) override { return {}; }
  bool Terminate(int pid) override {
    log_.push_back("end " + std::to_string(pid));
    return true;
  }
  std::vector<ProcessEntry> processes;

 private:
  std::vector<std::string>& log_;
};

class FramesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs the start-up with the given arguments.
  bool Start(const QStringList& arguments = {});
  // Shuts the application down (the main frame saves its bar state).
  void Stop();
  AppEnvironment Environment();
  // A copy of the hand-made 2008 project file in the installation folder.
  std::string CopyLayoutFixture(const std::string& name);

  std::string folder_;  // the installation folder
  std::vector<std::string> log_;
  std::unique_ptr<LoggingProcessTable> processes_;
  std::shared_ptr<platform::SettingsStore> settings_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::shared_ptr<platform::ScriptedKeyboardLocks> locks_;  // all unknown until a test sets them
  std::unique_ptr<CVendrikApp> app_;
  std::vector<std::vector<std::string>> xdgCalls_;
};

// Collects the messages that reach a layout view.
struct MessageLog {
  std::vector<platform::Message> messages;
  std::function<void(const platform::Message&)> Handler() {
    return [this](const platform::Message& m) { messages.push_back(m); };
  }
};
