// The start-button watcher on a scripted port, and the view's port set-up
// for each board type.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/core/StartupValues.h"
#include "app/views/model/CStartButtonWatch.h"
#include "app/views/model/CVendrikViewModel.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/link/LinkMessages.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"
#include "tests/app/views/ViewModelFixture.h"
#include "tests/support/WaitFor.h"
#include "values/ShellValues.h"

namespace {

constexpr WORD kInPort = 889;
constexpr DWORD kIdle = 0xFF;
constexpr DWORD kPressed = 0xF7;  // bit 3 low

// Fails every read (a board that cannot be reached), returning 0 bits.
class FailingPortSpace : public platform::SimulatedPortSpace {
 public:
  bool Read(WORD, DWORD& value, BYTE) override {
    value = 0;
    ++reads;
    return false;
  }
  std::atomic<int> reads{0};
};

class StartButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_ = std::make_shared<platform::SimulatedPortSpace>();
    platform::SetPortSpace(ports_);
    SetPortAddresses(888);
    MarkStatusWord = 0;
  }
  void TearDown() override {
    watch_.Stop();
    MarkStatusWord = 0;
    platform::SetPortSpace(std::make_shared<platform::SimulatedPortSpace>());
  }
  // Polls the scripted input: `ignored` polls idle, then the given polls.
  void Script(int idlePolls, int pressedPolls) {
    for (int i = 0; i < 3 * idlePolls; ++i) ports_->QueueInput(kInPort, kIdle);
    for (int i = 0; i < 3 * pressedPolls; ++i) ports_->QueueInput(kInPort, kPressed);
  }
  // Runs the watcher until it has polled n times.
  void RunPolls(long n) {
    ASSERT_TRUE(watch_.Start(&view_, &clock_, std::chrono::milliseconds(1)));
    WaitUntil([&] { return watch_.Polls() >= n; });
    watch_.Stop();
    EXPECT_GE(watch_.Polls(), n);
  }
  int StartsPosted() {
    int n = 0;
    for (const auto& m : view_.Drain()) n += m.msg == WM_HARD_START ? 1 : 0;
    return n;
  }

  std::shared_ptr<platform::SimulatedPortSpace> ports_;
  platform::SimulatedClock clock_;
  platform::QueueMessageTarget view_;
  CStartButtonWatch watch_;
};

}  // namespace

TEST_F(StartButtonTest, APressHeldOverSeveralPollsStartsOnceAfterRelease) {
  Script(5, 4);
  RunPolls(15);
  EXPECT_EQ(StartsPosted(), 1);
  EXPECT_EQ(watch_.LastInput(), kIdle);
}

TEST_F(StartButtonTest, PressesDuringTheFirstPollsAreIgnored) {
  Script(0, 4);  // polls 1 to 4
  RunPolls(12);
  EXPECT_EQ(StartsPosted(), 0);
}

TEST_F(StartButtonTest, APressRightAfterAnAcceptedOneIsIgnored) {
  Script(5, 1);  // accepted, released at poll 7
  Script(1, 2);  // polls 8 and 9: within the ignore count again
  Script(6, 1);  // poll 16: accepted
  RunPolls(22);
  EXPECT_EQ(StartsPosted(), 2);
}

TEST_F(StartButtonTest, APressDuringMarkingRequestsAStop) {
  MarkStatusWord = MSW_MARKING;
  Script(5, 2);
  RunPolls(12);
  EXPECT_EQ(StartsPosted(), 0);
  EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_REQUEST | MSW_STOP_CONFIRMED), MSW_STOP_REQUEST | MSW_STOP_CONFIRMED);
}

TEST_F(StartButtonTest, FailedReadsNeverLookLikeAPress) {
  auto failing = std::make_shared<FailingPortSpace>();
  platform::SetPortSpace(failing);
  ASSERT_TRUE(watch_.Start(&view_, &clock_, std::chrono::milliseconds(1)));
  EXPECT_TRUE(WaitUntil([&] { return failing->reads >= 60; }));  // twenty polls' worth
  watch_.Stop();
  EXPECT_EQ(watch_.Polls(), 0);  // no poll got a value
  EXPECT_EQ(StartsPosted(), 0);
}

TEST_F(StartButtonTest, StoppingWhileHeldEndsWithoutActing) {
  Script(5, 1000);
  RunPolls(20);
  EXPECT_FALSE(watch_.IsRunning());
  EXPECT_EQ(StartsPosted(), 0);
}

TEST_F(StartButtonTest, ThreeReadsOneMicrosecondApartAreCombined) {
  // One read of the three low is not a press (noise on the line).
  for (int i = 0; i < 15; ++i) ports_->QueueInput(kInPort, kIdle);
  ports_->QueueInput(kInPort, kIdle);
  ports_->QueueInput(kInPort, kPressed);
  ports_->QueueInput(kInPort, kIdle);
  RunPolls(8);
  // The AND of the three reads is low: a press, acted on at release.
  EXPECT_EQ(StartsPosted(), 1);
  const auto waits = clock_.Waits();
  ASSERT_FALSE(waits.empty());
  EXPECT_DOUBLE_EQ(waits.front(), 1.0);
}

struct BoardCase {
  int softType;
  int checkPci;
  WORD base;
  int dataShadow;
  bool invertDir;
  bool watcher;
};

class InitHardwareTest : public ViewModelTest, public ::testing::WithParamInterface<BoardCase> {
 protected:
  void SetUp() override {
    ViewModelTest::SetUp();
    ports_ = std::make_shared<platform::SimulatedPortSpace>();
    platform::SetPortSpace(ports_);
    platform::SetClock(clock_);
    savedCheck_ = g_checkPciBoard.load();
  }
  void TearDown() override {
    model_->StopButtonWatch();
    g_checkPciBoard = savedCheck_;
    platform::SetClock(std::make_shared<platform::SteadyClock>());
    platform::SetPortSpace(std::make_shared<platform::SimulatedPortSpace>());
    MarkStatusWord = 0;
    ViewModelTest::TearDown();
  }
  std::shared_ptr<platform::SimulatedPortSpace> ports_;
  std::shared_ptr<platform::SimulatedClock> clock_ = std::make_shared<platform::SimulatedClock>();
  int savedCheck_ = 0;
};

TEST_P(InitHardwareTest, PortsShadowsAndStartButtonFollowTheBoard) {
  const BoardCase& c = GetParam();
  g_softType = c.softType;
  g_checkPciBoard = c.checkPci;
  WriteRegDword("PCI9865Base", 0xD000);
  MarkStatusWord = 0xFF;
  model_->SetButtonWatchTiming(clock_.get(), std::chrono::milliseconds(1));
  model_->InitHardware();
  EXPECT_EQ(OutPortAddress.load(), c.base);
  EXPECT_EQ(InPortAddress.load(), c.base + 1);
  EXPECT_EQ(CtrlPortAddress.load(), c.base + 2);
  EXPECT_EQ(OutputShadow.load() & 0xFF, c.dataShadow);
  EXPECT_EQ(PulseLevels.load() & 0xFF, 2);
  EXPECT_EQ((MarkStatusWord.load() & MSW_INVERT_DIR) != 0, c.invertDir);
  EXPECT_EQ(model_->ButtonWatch().IsRunning(), c.watcher);
  const auto control = ports_->Writes(static_cast<WORD>(c.base + 2));
  ASSERT_FALSE(control.empty());
  if (c.softType == SOFT_TYPE_USB) {
    ASSERT_EQ(control.size(), 1u);
    EXPECT_EQ(control[0].value, 0x40u);
    EXPECT_TRUE(ports_->Writes(c.base).empty());
  } else {
    EXPECT_EQ(control[0].value & 0x40, 0u);
    EXPECT_EQ(ports_->Writes(c.base).at(0).value, static_cast<DWORD>(c.dataShadow));
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, InitHardwareTest,
                         ::testing::Values(BoardCase{SOFT_TYPE_USB, 0, 888, 4, false, false},
                                           BoardCase{SOFT_TYPE_USB, 1, 0xD000, 4, false, false},
                                           BoardCase{SOFT_TYPE_BIG_PORT_BOARD, 0, 888, 6, true, true},
                                           BoardCase{SOFT_TYPE_SMALL_PORT_BOARD, 1, 0xD000, 5, false, true}));
