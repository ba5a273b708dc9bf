// Interrupt waits, aborts and the interrupt routine's thread.
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "tests/libs/ch365bus/SimulatedBoards.h"
#include "tests/support/WaitFor.h"

namespace {

using namespace ch365;
using namespace std::chrono_literals;
using DrunvelInterrupt = SimulatedBoards;

std::atomic<int> g_calls{0};
void CountCall() { ++g_calls; }

template <class Condition>
bool Eventually(Condition condition) {
  return WaitUntil(condition);
}

TEST_F(DrunvelInterrupt, WaitReturnsOneAfterAnInterruptAndZeroAfterAnAbort) {
  auto chip = OpenBoard();
  auto waited = std::async(std::launch::async, [] { return CH365mWaitInterrupt(0); });
  ASSERT_TRUE(Eventually([&] { return chip->WaitsInProgress() == 1; }));
  chip->RaiseInterrupt();
  EXPECT_EQ(waited.get(), 1);

  auto aborted = std::async(std::launch::async, [] { return CH365WaitInterrupt(); });
  ASSERT_TRUE(Eventually([&] { return chip->WaitsInProgress() == 1; }));
  EXPECT_EQ(CH365mAbortWaitInt(0), 1);
  EXPECT_EQ(aborted.get(), 0);
}

TEST_F(DrunvelInterrupt, RoutineRunsOncePerInterruptOnItsOwnHandle) {
  auto chip = OpenBoard();
  g_calls = 0;
  ASSERT_EQ(CH365mSetIntRoutine(0, CountCall), 1);
  ASSERT_TRUE(Eventually([&] { return chip->WaitsInProgress() == 1; }));
  EXPECT_EQ(bus_->OpenHandles(), 2);
  for (int expected = 1; expected <= 3; ++expected) {
    chip->RaiseInterrupt();
    ASSERT_TRUE(Eventually([&] { return g_calls == expected && chip->WaitsInProgress() == 1; })) << expected;
  }
  EXPECT_EQ(CH365mSetIntRoutine(0, nullptr), 1);
  EXPECT_EQ(bus_->OpenHandles(), 1);
  chip->RaiseInterrupt();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(g_calls, 3);
}

TEST_F(DrunvelInterrupt, NullRoutineWithNoneRunningSucceedsAtOnce) {
  EXPECT_EQ(CH365mSetIntRoutine(0, nullptr), 1);
  EXPECT_EQ(CH365SetIntRoutine(nullptr), 1);
  EXPECT_TRUE(bus_->Blocks().empty());
}

TEST_F(DrunvelInterrupt, RoutineNeedsAnOpenBridge) {
  EXPECT_EQ(CH365mSetIntRoutine(2, CountCall), 0);
  EXPECT_EQ(CH365mSetIntRoutine(16, CountCall), 0);
}

TEST_F(DrunvelInterrupt, ReplacingTheRoutineStopsTheOldThreadFirst) {
  auto chip = OpenBoard();
  g_calls = 0;
  ASSERT_EQ(CH365SetIntRoutine(CountCall), 1);
  ASSERT_EQ(CH365SetIntRoutine(CountCall), 1);
  ASSERT_TRUE(Eventually([&] { return chip->WaitsInProgress() == 1; }));
  EXPECT_EQ(bus_->OpenHandles(), 2);
  chip->RaiseInterrupt();
  ASSERT_TRUE(Eventually([&] { return g_calls == 1; }));
}

TEST_F(DrunvelInterrupt, ClosingTheBridgeEndsItsInterruptThread) {
  auto chip = OpenBoard();
  ASSERT_EQ(CH365mSetIntRoutine(0, CountCall), 1);
  ASSERT_TRUE(Eventually([&] { return chip->WaitsInProgress() == 1; }));
  EXPECT_EQ(CH365mCloseDevice(0), 1);
  EXPECT_EQ(chip->WaitsInProgress(), 0);
  EXPECT_EQ(bus_->OpenHandles(), 0);
}

TEST_F(DrunvelInterrupt, FailingWaitsAreRetriedWhileTheRoutineIsSet) {
  auto chip = OpenBoard();
  bus_->FailCommand(kWaitInterrupt);
  ASSERT_EQ(CH365mSetIntRoutine(0, CountCall), 1);
  ASSERT_TRUE(Eventually([&] {
    int waits = 0;
    for (const auto& b : bus_->Blocks()) waits += b.command == kWaitInterrupt;
    return waits >= 3;
  }));
  EXPECT_EQ(CH365mSetIntRoutine(0, nullptr), 1);
}

}  // namespace

namespace {

std::atomic<int> g_selfRemovals{0};
void RemoveItself() {
  ++g_selfRemovals;
  CH365mSetIntRoutine(0, nullptr);
}

TEST_F(DrunvelInterrupt, RoutineMayRemoveItself) {
  auto chip = OpenBoard();
  g_selfRemovals = 0;
  ASSERT_EQ(CH365mSetIntRoutine(0, RemoveItself), 1);
  ASSERT_TRUE(Eventually([&] { return chip->WaitsInProgress() == 1; }));
  chip->RaiseInterrupt();
  ASSERT_TRUE(Eventually([&] { return bus_->OpenHandles() == 1; }));
  EXPECT_EQ(g_selfRemovals, 1);
  EXPECT_EQ(CH365mSetIntRoutine(0, nullptr), 1);
}

}  // namespace
