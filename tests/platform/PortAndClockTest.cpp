#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/PortIo.h"

namespace {

// Installs a simulated clock for one test and puts the steady one back after.
class SimulatedTime {
 public:
  SimulatedTime() : clock(std::make_shared<platform::SimulatedClock>()) { platform::SetClock(clock); }
  ~SimulatedTime() {
    platform::SetPumpHook(nullptr);
    platform::SetClock(std::make_shared<platform::SteadyClock>());
  }
  std::shared_ptr<platform::SimulatedClock> clock;
};

TEST(SimulatedPortSpace, RecordsWritesWithTimeAndServesScriptedInput) {
  SimulatedTime time;
  auto ports = std::make_shared<platform::SimulatedPortSpace>();
  platform::SetPortSpace(ports);
  ASSERT_TRUE(InitializeWinIo());

  EXPECT_TRUE(SetPortVal(0x378, 0x1FF, 1));  // only the low byte reaches a byte port
  time.clock->BusyWaitMicros(25);
  EXPECT_TRUE(SetPortVal(0x37A, 0x01, 1));
  ports->QueueInput(0x379, 0x10);
  ports->QueueInput(0x379, 0x20);
  ports->SetIdleInput(0x379, 0x7F);
  DWORD v = 0;
  EXPECT_TRUE(GetPortVal(0x379, &v, 1));
  EXPECT_EQ(v, 0x10u);
  EXPECT_TRUE(GetPortVal(0x379, &v, 1));
  EXPECT_EQ(v, 0x20u);
  EXPECT_TRUE(GetPortVal(0x379, &v, 1));
  EXPECT_EQ(v, 0x7Fu) << "idle value once the script is used up";
  EXPECT_TRUE(GetPortVal(0x2F9, &v, 1));
  EXPECT_EQ(v, 0xFFu) << "an unset port reads as all ones";

  const auto writes = ports->Writes(0x378);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].value, 0xFFu);
  EXPECT_EQ(writes[0].timeMicros, 0);
  ASSERT_EQ(ports->Writes(0x37A).size(), 1u);
  EXPECT_EQ(ports->Writes(0x37A)[0].timeMicros, 25);
  EXPECT_EQ(ports->Accesses().size(), 6u);
  EXPECT_EQ(ports->LastWritten(0x37A), 0x01u);

  // Bad sizes and a missing output fail without touching anything.
  EXPECT_FALSE(SetPortVal(0x378, 1, 3));
  EXPECT_FALSE(GetPortVal(0x379, nullptr, 1));
  EXPECT_FALSE(GetPortVal(0x379, &v, 0));
  EXPECT_EQ(ports->Accesses().size(), 6u);

  // Without recording only the last value per port is kept.
  ports->ClearAccesses();
  ports->SetRecording(false);
  for (int i = 0; i < 1000; ++i) SetPortVal(0x378, static_cast<DWORD>(i), 1);
  EXPECT_TRUE(ports->Accesses().empty());
  EXPECT_EQ(ports->LastWritten(0x378), 999u & 0xFF);
  ShutdownWinIo();
}

TEST(PortSpaceChoice, EnvironmentPicksTheBackendAndRealPortsFailSafely) {
  unsetenv("VENDRIK_PORT_BACKEND");
  EXPECT_NE(dynamic_cast<platform::SimulatedPortSpace*>(platform::MakeConfiguredPortSpace().get()), nullptr);
  setenv("VENDRIK_PORT_BACKEND", "nonsense", 1);
  EXPECT_NE(dynamic_cast<platform::SimulatedPortSpace*>(platform::MakeConfiguredPortSpace().get()), nullptr);
  setenv("VENDRIK_PORT_BACKEND", "linux", 1);
  auto real = platform::MakeConfiguredPortSpace();
  unsetenv("VENDRIK_PORT_BACKEND");
  EXPECT_EQ(dynamic_cast<platform::SimulatedPortSpace*>(real.get()), nullptr);
  DWORD v = 0;
  EXPECT_FALSE(real->Read(0x80, v, 3));
  // Access is per thread: a thread that cannot gain it gets false, never a
  // fault. Port 0x80 (the POST port) is harmless to touch when access is given.
  std::thread([&] {
    if (!real->Initialize()) {
      EXPECT_FALSE(real->Read(0x80, v, 1));
      EXPECT_FALSE(real->Read(0xD000, v, 1));
      EXPECT_FALSE(real->Read(0x3FF, v, 2));  // straddles the low ports
    }
    // No grant covers a double word that runs past the last port.
    EXPECT_FALSE(real->Write(0xFFFF, 0, 4));
    real->Shutdown();
  }).join();
}

TEST(SimulatedClock, BusyWaitsMoveTimeAndAreRecorded) {
  SimulatedTime time;
  auto& clock = platform::CurrentClock();
  EXPECT_EQ(&clock, time.clock.get());
  clock.BusyWaitMicros(10.5);
  clock.BusyWaitMicros(-3);  // a negative wait is recorded but does not move time
  time.clock->Advance(100);
  clock.BusyWaitMicros(2000);
  EXPECT_EQ(time.clock->Waits(), (std::vector<double>{10.5, -3, 2000}));
  EXPECT_DOUBLE_EQ(time.clock->TotalWaitedMicros(), 2010.5);
  EXPECT_EQ(clock.NowMicros(), 2110);
  EXPECT_EQ(clock.CounterFrequency(), 1000000);
  time.clock->ClearWaits();
  EXPECT_TRUE(time.clock->Waits().empty());
}

// Sleeps move the time as waits do but are no busy waits; a polling loop's
// reads of the counter take the time they are given; the wait hook runs on
// the waiting thread after every wait and sleep.
TEST(SimulatedClock, SleepsReadsAndTheWaitHook) {
  platform::SimulatedClock clock;
  std::vector<std::int64_t> seen;
  clock.SetWaitHook([&] { seen.push_back(clock.NowMicros()); });
  clock.SleepMicros(1500);
  clock.BusyWaitMicros(500);
  clock.SleepMicros(-7);
  EXPECT_EQ(seen, (std::vector<std::int64_t>{1500, 2000, 2000}));
  EXPECT_EQ(clock.Waits(), std::vector<double>{500});
  clock.SetWaitHook({});
  clock.SleepMicros(1000);
  EXPECT_EQ(seen.size(), 3u);

  clock.SetAdvancePerRead(2.5);
  const std::int64_t a = clock.QueryCounter();
  const std::int64_t b = clock.QueryCounter();
  EXPECT_EQ(a, 3002);  // 3000, then the read
  EXPECT_EQ(b - a, 3);  // 3002.5 -> 3005
  clock.SetAdvancePerRead(0);
  EXPECT_EQ(clock.QueryCounter(), clock.QueryCounter());
}

TEST(SteadyClock, SleepsAtLeastTheTime) {
  platform::SteadyClock clock;
  const std::int64_t before = clock.NowMicros();
  clock.SleepMicros(2000);
  EXPECT_GE(clock.NowMicros() - before, 2000);
  clock.SleepMicros(std::nan(""));
  clock.SleepMicros(-1e300);
}

TEST(SimulatedClock, PumpHookRunsAtMostOncePerIntervalOfWaiting) {
  SimulatedTime time;
  int pumps = 0;
  platform::SetPumpHook([&] { ++pumps; }, std::chrono::milliseconds(10));
  for (int i = 0; i < 100; ++i) time.clock->BusyWaitMicros(1000);  // 100 ms in 1 ms waits
  EXPECT_GE(pumps, 10);
  EXPECT_LE(pumps, 11);
  platform::SetPumpHook(nullptr);
  time.clock->BusyWaitMicros(50000);
  EXPECT_LE(pumps, 11);
}

// How often the hook runs is counted on the simulated clock above; on the
// real one a loaded machine may hold the thread off for the whole wait.
TEST(SteadyClock, WaitsAtLeastTheTimeAndPumpsNoFasterThanTheInterval) {
  platform::SteadyClock clock;
  std::atomic<int> pumps{0};
  platform::SetPumpHook([&] { ++pumps; }, std::chrono::microseconds(500));
  const auto start = std::chrono::steady_clock::now();
  clock.BusyWaitMicros(20000);
  const auto waited = std::chrono::steady_clock::now() - start;
  platform::SetPumpHook(nullptr);
  EXPECT_GE(waited, std::chrono::microseconds(20000));
  EXPECT_LE(pumps.load(), std::chrono::duration_cast<std::chrono::microseconds>(waited).count() / 500 + 1);
  // NaN and huge negatives return at once.
  clock.BusyWaitMicros(std::nan(""));
  clock.BusyWaitMicros(-1e300);
  const std::int64_t a = clock.NowMicros();
  const std::int64_t b = clock.NowMicros();
  EXPECT_LE(a, b);
}

TEST(PumpHook, HookMayReplaceItselfWhileRunning) {
  SimulatedTime time;
  int second = 0;
  platform::SetPumpHook([&] { platform::SetPumpHook([&] { ++second; }, std::chrono::microseconds(0)); });
  platform::PumpEvents();
  platform::PumpEvents();
  platform::PumpEvents();
  EXPECT_EQ(second, 2);
}

TEST(PumpHook, EachThreadKeepsItsOwnPace) {
  SimulatedTime time;
  std::atomic<int> pumps{0};
  platform::SetPumpHook([&] { ++pumps; }, std::chrono::seconds(100));
  time.clock->BusyWaitMicros(1);
  time.clock->BusyWaitMicros(1);
  EXPECT_EQ(pumps.load(), 1);
  // Another thread's first wait pumps although this thread's turn is used up.
  std::thread([&] { time.clock->BusyWaitMicros(1); }).join();
  EXPECT_EQ(pumps.load(), 2);
}

}  // namespace
