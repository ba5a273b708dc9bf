#include <memory>
#include <numeric>

#include <gtest/gtest.h>

#include "document/geometry/SharedState.h"
#include "marking/link/CPreciseDelay.h"
#include "marking/link/PortSerialWriter.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"

namespace {

class PortTiming : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_ = std::make_shared<platform::SimulatedClock>();
    ports_ = std::make_shared<platform::SimulatedPortSpace>();
    platform::SetClock(clock_);
    platform::SetPortSpace(ports_);
    SetPortAddresses(0x378);
    mask_ = 0x6F;  // bits 5 and 6 set before the reset
  }
  void TearDown() override {
    platform::SetClock(std::make_shared<platform::SteadyClock>());
    platform::SetPortSpace(std::make_shared<platform::SimulatedPortSpace>());
  }
  std::vector<DWORD> CtrlWrites() {
    std::vector<DWORD> v;
    for (const auto& a : ports_->Writes(0x37A)) v.push_back(a.value);
    return v;
  }
  // Decodes the words from the control-port writes: start, 32 bits, stop.
  std::vector<std::uint32_t> Words(const std::vector<DWORD>& w) {
    std::vector<std::uint32_t> words;
    for (std::size_t i = 0; i + 102 <= w.size(); i += 102) {
      std::uint32_t word = 0;
      for (int bit = 0; bit < 32; ++bit) {
        const DWORD data = w[i + 3 + 3 * static_cast<std::size_t>(bit) + 1];
        word = (word << 1) | ((data & 0x06) == 0x06 ? 1u : 0u);
      }
      words.push_back(word);
    }
    return words;
  }

  std::shared_ptr<platform::SimulatedClock> clock_;
  std::shared_ptr<platform::SimulatedPortSpace> ports_;
  std::atomic<int> mask_{0};
};

}  // namespace

TEST_F(PortTiming, PulseFrequencyWordsOnTheControlLines) {
  CPortSerialWriter writer(mask_);
  writer.ResetPortShadow();
  EXPECT_EQ(mask_.load(), 0x9F);
  EXPECT_EQ(ControlShadow.load(), 0);

  EXPECT_EQ(writer.SendPulseFrequency(0, 500, 50), 2);
  auto w = CtrlWrites();
  ASSERT_EQ(w.size(), 204u);
  EXPECT_EQ(Words(w), (std::vector<std::uint32_t>{0x015A0079u, (57u << 16) | 28u}));
  // Start: clock high, data lines high/high (mask bits 7 and 5), clock low.
  EXPECT_EQ(w[0], 0x08u);
  EXPECT_EQ(w[1] & 0x06u, 0x02u);
  EXPECT_EQ(w[2] & 0x08u, 0u);
  // Stop levels: mask bits 6 and 4.
  EXPECT_EQ(w[100] & 0x06u, 0x04u);
  // Every write is followed by 10 microseconds; 50 between the two words.
  const auto waits = clock_->Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 10.0), 204);
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 50.0), 1);

  ports_->ClearAccesses();
  writer.SendPulseFrequency(0, 0, 50);  // a frequency of 0 is sent as 1
  EXPECT_EQ(Words(CtrlWrites())[1] >> 16, 28800u);
}

TEST_F(PortTiming, OnlyFourByteWordsAreSent) {
  CPortSerialWriter writer(mask_);
  writer.ResetPortShadow();
  const BYTE data[5] = {1, 2, 3, 4, 5};
  writer.SendPortWord(0, data, 3);
  writer.SendPortWord(0, data, 5);
  writer.SendPortWord(0, nullptr, 4);
  EXPECT_TRUE(CtrlWrites().empty());
  writer.SendPortWord(0, data, 4);
  EXPECT_EQ(Words(CtrlWrites()), (std::vector<std::uint32_t>{0x01020304u}));
}

TEST_F(PortTiming, PreciseWaitsOnTheClock) {
  CPreciseDelay delay(clock_.get());
  EXPECT_EQ(delay.TicksPer10us(), 0);
  delay.Wait(25000);
  EXPECT_EQ(delay.TicksPer10us(), 10) << "calibrated on first use";
  EXPECT_EQ(clock_->Waits().back(), 25.0);
  EXPECT_EQ(delay.ElapsedNs(), 25000);
  clock_->ClearWaits();
  delay.Wait(0);
  delay.Wait(-5);
  EXPECT_TRUE(clock_->Waits().empty());

  platform::SteadyClock steady;
  CPreciseDelay real(&steady);
  EXPECT_EQ(real.Calibrate(), 10000);
  const auto t0 = std::chrono::steady_clock::now();
  real.Wait(200000);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::microseconds(200));
  const std::int64_t overheadNs = real.Overhead() * 10000 / real.TicksPer10us();
  EXPECT_GE(real.ElapsedNs(), 200000 - overheadNs) << "less only the read overhead";
}
