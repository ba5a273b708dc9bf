#pragma once
// Every test starts from a freshly opened port on a simulated head and clock,
// with settings in memory and the defaults a host would set.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "libs/ravelpen/MoveList.h"
#include "libs/ravelpen/Playback.h"
#include "libs/ravelpen/PlotterHead.h"
#include "libs/ravelpen/PlotterSettings.h"
#include "libs/ravelpen/Ravelpen.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "tests/libs/ravelpen/SimulatedPlotterHead.h"
#include "tests/support/WaitFor.h"

class PlotterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = platform::MakeMemorySettingsStore();
    settings_->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(settings_);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    clock_ = std::make_shared<platform::SimulatedClock>();
    platform::SetClock(clock_);
    head_ = std::make_shared<SimulatedPlotterHead>(300, 200);
    head_->SetLastWritten(ravelpen::Head().Shadow());
    ravelpen::Head().SetPortSpace(head_);
    ravelpen::Moves().Clear();
    ASSERT_EQ(OnOpenPort(), 1);
    InitialPrinter(2000, 1000, 5000);
    InitialRange(100, 90);
    OnSetStepLength(4.0);
    OnSetMachineOrigin(0);
    SetTextPara(5.0, 0, 1.0);
  }
  void TearDown() override {
    WaitIdle();
    ravelpen::Moves().Clear();
    ravelpen::Head().SetPortSpace(nullptr);
    platform::SetClock(nullptr);
    platform::SetPrompt(nullptr);
    platform::SetSettingsStore(nullptr);
  }

  static void WaitIdle() {
    WaitUntil([] { return GetPrinterState() == 0; });
    ravelpen::Player().Join();
  }

  // Machine millimetres of a head position for origin corner 0.
  static double MachineX(long long steps) { return -ravelpen::Settings().rangeX / 2 + steps * 0.004; }
  static double MachineY(long long steps) { return ravelpen::Settings().rangeY / 2 - steps * 0.004; }

  std::shared_ptr<platform::SettingsStore> settings_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  std::shared_ptr<platform::SimulatedClock> clock_;
  std::shared_ptr<SimulatedPlotterHead> head_;
};
