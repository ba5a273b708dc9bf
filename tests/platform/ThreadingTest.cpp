#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Event.h"
#include "platform/Messages.h"

using namespace std::chrono_literals;

namespace {

TEST(Event, ManualResetStaysSetForEveryWaiter) {
  platform::Event event(true, false);
  EXPECT_FALSE(event.Wait(0ms));
  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) waiters.emplace_back([&] {
    if (event.Wait(60s)) ++woken;
  });
  event.Set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(woken.load(), 3);
  EXPECT_TRUE(event.IsSet());
  event.Reset();
  EXPECT_FALSE(event.Wait(1ms));
  platform::Event initially(true, true);
  EXPECT_TRUE(initially.Wait(0ms));
}

TEST(Event, AutoResetReleasesOneWaitPerSet) {
  platform::Event event(false, true);
  EXPECT_TRUE(event.Wait(0ms));
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.Wait(1ms));
  std::thread setter([&] {
    std::this_thread::sleep_for(5ms);
    event.Set();
  });
  event.Wait();  // blocks until the other thread sets it
  setter.join();
  EXPECT_FALSE(event.IsSet());
}

TEST(Event, WaitForEitherTellsWhichAndTimesOut) {
  platform::Event a(false), b(true);
  EXPECT_EQ(platform::WaitForEither(a, b, 5ms), -1);
  b.Set();
  EXPECT_EQ(platform::WaitForEither(a, b, 5ms), 1);
  EXPECT_TRUE(b.IsSet()) << "a manual event stays set";
  b.Reset();
  std::thread setter([&] {
    std::this_thread::sleep_for(10ms);
    a.Set();
  });
  EXPECT_EQ(platform::WaitForEither(a, b, 60s), 0) << "woken by the set, not timed out";
  setter.join();
  EXPECT_FALSE(a.IsSet()) << "the auto event was consumed by the wait";
  EXPECT_EQ(platform::WaitForEither(a, b, -5ms), -1);
}

// On a simulated clock the time-out comes only when the time is advanced
// past the deadline, however long the waiter has been waiting.
TEST(Event, WaitForEitherUntilTimesOutOnTheClock) {
  platform::SimulatedClock clock;
  platform::Event a(false), b(true);
  std::atomic<int> result{-2};
  std::thread waiter([&] { result = platform::WaitForEitherUntil(a, b, clock, 5000); });
  clock.Advance(4999);
  std::this_thread::sleep_for(20ms);  // the waiter polls meanwhile; its time is not up
  EXPECT_EQ(result.load(), -2);
  clock.Advance(1);
  waiter.join();
  EXPECT_EQ(result.load(), -1);

  b.Set();
  EXPECT_EQ(platform::WaitForEitherUntil(a, b, clock, 0), 1) << "an event set already wins over the time";
  a.Set();
  EXPECT_EQ(platform::WaitForEitherUntil(a, b, clock, 0), 0) << "the first is looked at first";
  EXPECT_FALSE(a.IsSet()) << "the auto event was consumed";
  b.Reset();
  std::thread setter([&] { a.Set(); });
  EXPECT_EQ(platform::WaitForEitherUntil(a, b, clock, 1 << 30), 0);
  setter.join();
}

TEST(QueueMessageTarget, KeepsEachSendersOrderAcrossThreads) {
  platform::QueueMessageTarget queue;
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  std::vector<std::thread> senders;
  for (int t = 0; t < kThreads; ++t)
    senders.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i)
        ASSERT_TRUE(queue.PostMessage(WM_USER + 100, static_cast<WPARAM>(t), i, std::make_shared<int>(i)));
    });
  std::vector<platform::Message> got;
  while (got.size() < kThreads * kEach) {
    auto m = queue.WaitTake(60s);
    ASSERT_TRUE(m.has_value());
    got.push_back(std::move(*m));
  }
  for (auto& t : senders) t.join();
  std::map<WPARAM, LPARAM> next;
  for (const auto& m : got) {
    EXPECT_EQ(m.msg, WM_USER + 100);
    EXPECT_EQ(m.lParam, next[m.wParam]++);
    ASSERT_TRUE(m.payload);
    EXPECT_EQ(*std::static_pointer_cast<int>(m.payload), m.lParam);
  }
  EXPECT_EQ(queue.Size(), 0u);
  EXPECT_FALSE(queue.TryTake().has_value());
  EXPECT_FALSE(queue.WaitTake(1ms).has_value());
}

TEST(QueueMessageTarget, DrainTakesEverythingInOrder) {
  platform::QueueMessageTarget queue;
  for (int i = 0; i < 5; ++i) queue.PostMessage(1123, static_cast<WPARAM>(i));
  EXPECT_EQ(queue.TryTake()->wParam, 0u);
  const auto rest = queue.Drain();
  ASSERT_EQ(rest.size(), 4u);
  for (std::size_t i = 0; i < rest.size(); ++i) EXPECT_EQ(rest[i].wParam, i + 1);
  EXPECT_EQ(queue.Size(), 0u);
}

TEST(MessageTargetHandle, PostsWhileTheTargetLivesAndFailsAfter) {
  auto queue = std::make_unique<platform::QueueMessageTarget>();
  auto handle = queue->Handle();
  EXPECT_TRUE(handle->PostMessage(1257, 1));
  EXPECT_EQ(queue->TryTake()->wParam, 1u);
  queue.reset();
  EXPECT_FALSE(handle->PostMessage(1257, 2)) << "the target is gone";
  EXPECT_FALSE(handle->Handle()->PostMessage(1257, 3)) << "and so for a handle of the handle";
}

TEST(MessageTargetHandle, DestroyingATargetWaitsForAPostUnderWay) {
  std::atomic<bool> inHandler{false};
  std::atomic<bool> handlerDone{false};
  auto target = std::make_unique<platform::CallbackMessageTarget>([&](const platform::Message&) {
    inHandler = true;
    std::this_thread::sleep_for(50ms);
    handlerDone = true;
  });
  auto handle = target->Handle();
  std::thread poster([&] { handle->PostMessage(1124); });
  while (!inHandler) std::this_thread::yield();
  target.reset();
  EXPECT_TRUE(handlerDone) << "the handler ran to its end before the target went";
  poster.join();
  EXPECT_FALSE(handle->PostMessage(1124));
}

}  // namespace
